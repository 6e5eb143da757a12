#pragma once

// The options dialog (dialog 149, "Options Dialog"): the numbered system
// options of the options record (COMMON.FIL record 31, option n in byte
// n), eleven to a page. A yes/no option is a check box (and "Y" or "N" in
// its field), a number option has an up-down control that steps through its
// range, a character option is typed into its field. The dialog works on a
// copy of the record and writes it back only through Done; Escape or the
// close box discard the changes.

#include <array>
#include <string>

#include "platform/dialog.h"
#include "records/common_file.h"

namespace shell {

inline constexpr int kOptionsDialogId = 149;

// What kind of value an option holds.
enum class OptionKind { None, YesNo, Number, Character };

struct OptionInfo {
    OptionKind kind = OptionKind::None;
    const char* text = "";
    int smallest = 0;  // number options
    int largest = 0;
};

// The table of option n (1 to 90); kind None for a number without an option.
const OptionInfo& OptionTable(int option);

class COptionsDlg : public platform::Dialog {
public:
    static constexpr int kRows = 11;
    // Positions paged through: options 1 to 90.
    static constexpr int kOptionCount = 90;
    static constexpr int kLastPage = (kOptionCount - 1) / kRows;

    static constexpr std::array<int, kRows> kLabelIds = {1010, 1011, 1012, 1013, 1014, 1015,
                                                         1016, 1017, 1018, 1019, 1020};
    static constexpr std::array<int, kRows> kEditIds = {1050, 1051, 1052, 1053, 1054, 1055,
                                                        1056, 1057, 1359, 1362, 1366};
    static constexpr std::array<int, kRows> kCheckIds = {1058, 1231, 1347, 1234, 1235, 1236,
                                                         1237, 1238, 1239, 1240, 1241};
    static constexpr std::array<int, kRows> kSpinIds = {1038, 1039, 1040, 1041, 1042, 1043,
                                                        1044, 1045, 1046, 1047, 1048};
    static constexpr int kPageUp = 1035;
    static constexpr int kPageDown = 1036;
    static constexpr int kPageLabel = 1037;
    static constexpr int kDone = 1004;

    explicit COptionsDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;

    int Page() const { return page_; }
    const records::Options& WorkingCopy() const { return options_; }

private:
    void ShowPage();
    void OnCheck(int row);
    void OnSpin(int row, const platform::Notification& n);
    void OnEditChange(int row);
    void OnPageUp();
    void OnPageDown();
    void OnDone();

    records::Options options_{};
    int page_ = 0;
    bool initialising_ = false;
};

// The label of an option's row: its number right-justified in three
// places, a point, a blank and its text.
std::string OptionLabel(int option);

}  // namespace shell
