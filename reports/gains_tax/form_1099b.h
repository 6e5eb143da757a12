#pragma once

// The form 1099-B report (report code 91).

#include <cstdint>
#include <string>
#include <string_view>

namespace reports {

// The report's own account look-up: the place of the account in
// ACCOUNT.IDX (both 4-character halves equal). Found: position and
// key_position the place within its index record (1-16), index_record that
// record's number, name the account's short name (blank when its second
// ACCOUNT.REC record cannot be read). Absent, or an index that cannot be
// read: position 0 and index_record 0.
void Fndact(std::string_view id, int16_t& position, std::string& name, int16_t& index_record,
            int16_t& key_position);

// One pre-printed 1099-B block of 31 lines per buy, sale, short sale and
// cover short made on trade_date, for every account of the manager code
// (mode "A   ") or the one account (any other mode). The trade date is
// normalised in place; second_date is overwritten with the trade date plus
// three days and printed in each block. The work file is always copied to
// output_name.
void T1099b(std::string_view mode, std::string_view account, std::string_view manager,
            std::string& trade_date, std::string& second_date, std::string_view output_name);

}  // namespace reports
