#pragma once

// The stock split dialogs of Modules/Stock Splits/Modify Stock Splits:
// "Stock Split" (dialog 193) asks for a year and a security; "Stock Splits"
// (194) lists that security's splits of the year from the year's split file
// and adds, modifies and deletes them, writing them back on Ok; "Stock
// Split Edit" (195) edits one split's ratio, ex-date and pay date.

#include <array>
#include <string>

#include "platform/dialog.h"
#include "records/stock_splits.h"

namespace shell {
class CMainFrame;
}

namespace setup {

inline constexpr int kStockSplitDialogId = 193;
inline constexpr int kStockSplitsDialogId = 194;
inline constexpr int kStockSplitEditDialogId = 195;

// The report code the command sets.
inline constexpr int kModifyStockSplitsCode = 361;

class CStockSplitDlg : public platform::Dialog {
public:
    static constexpr int kYear = 1123;
    static constexpr int kSecurity = 1413;
    static constexpr int kOk = 1380;
    static constexpr int kCancel = 1140;
    static constexpr int kFirstYear = 1951;
    static constexpr int kLastYear = 2050;

    explicit CStockSplitDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;

    // What the dialog ended with OK on.
    const std::string& YearText() const { return year_text_; }
    const std::string& Security() const { return security_; }

private:

    std::string year_text_;
    std::string security_;
};

class CStockSplitsDlg : public platform::Dialog {
public:
    // Rows 1 to 8: the labels and the check buttons.
    static constexpr std::array<int, 8> kRowLabels = {1416, 1417, 1418, 1419, 1420, 1421, 1424, 1425};
    static constexpr std::array<int, 8> kRowButtons = {1434, 1435, 1233, 1234, 1436, 1236, 1437, 1240};
    static constexpr int kModify = 1422;
    static constexpr int kAdd = 1109;
    static constexpr int kDelete = 1377;
    static constexpr int kOk = 1380;
    static constexpr int kCancel = 1140;

    CStockSplitsDlg(std::string year_text, std::string security, platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;

    const records::SplitList& Splits() const { return list_; }
    int SelectedRow() const { return selected_; }

    // The text of a row label for split n (from 1).
    static std::string RowText(int n, const records::SplitEntry& split);

private:
    void Refresh();
    void OnRow(int row);
    void OnAdd();
    void OnModify();
    void OnDelete();

    std::string year_text_;
    std::string security_;
    int year_ = 0;
    records::SplitList list_;
    int selected_ = 0;
};

class CStockSplitEditDlg : public platform::Dialog {
public:
    static constexpr int kRatio = 1438;
    static constexpr int kExDate = 1439;
    static constexpr int kPayDate = 1440;
    static constexpr int kOk = 1380;
    static constexpr int kCancel = 1140;

    CStockSplitEditDlg(std::string ex_date, std::string pay_date, float ratio,
                       platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // The entries as checked by OK (dates MM/DD/YY).
    const std::string& ExDate() const { return ex_date_; }
    const std::string& PayDate() const { return pay_date_; }
    float Ratio() const { return ratio_; }

private:
    std::string ex_date_;
    std::string pay_date_;
    float ratio_;
};

// Modules/Stock Splits/Modify Stock Splits: sets the report code 361, runs
// "Stock Split" and, when it ends with OK, "Stock Splits" on its year and
// security.
void RunModifyStockSplits(shell::CMainFrame& frame);

}  // namespace setup
