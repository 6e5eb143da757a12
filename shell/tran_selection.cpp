#include "shell/tran_selection.h"

namespace shell {

TranSelection g_tran_selection;

void SetTranSelection(int32_t sort_option, std::string_view security, std::string_view date,
                      std::string_view account) {
    g_tran_selection.Account = std::string(account);
    g_tran_selection.Security = std::string(security);
    g_tran_selection.Date = std::string(date);
    g_tran_selection.parsed = ParseDateText(date);
    g_tran_selection.SortOption = sort_option;
}

}  // namespace shell
