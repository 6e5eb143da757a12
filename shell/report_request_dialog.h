#pragma once

// The report request dialog (dialog 150), the smaller shared request
// dialog: a report date, a list of brokers or custodians, a manager code
// and the output destination, with the extra fields single reports switch
// on (a second date, a year, a search text, the income post date). It
// serves the commission, maturity alert and summary of accounts reports,
// the broker and custodian lists, the transaction import, billing summary,
// income autopost and stock split runs and the three Find commands.
// Generate Report checks the entries, stores them in the report globals and
// closes with IDOK; with errors it shows the message list and stays open.

#include <string>

#include "platform/dialog.h"

namespace shell {

inline constexpr int kReportRequestDialogId = 150;

class CReportRequestDlg : public platform::Dialog {
public:
    static constexpr int kReportDateLabel = 1066;
    static constexpr int kReportDate = 1070;
    static constexpr int kAccountGroup = 1200;
    static constexpr int kAllRadio = 1429;
    static constexpr int kSelectRadio = 1068;
    static constexpr int kBrokerGroup = 1071;
    static constexpr int kBrokerList = 1069;
    static constexpr int kManagerCombo = 1161;
    static constexpr int kPostedLabel = 1375;
    static constexpr int kPostedDate = 1376;
    static constexpr int kSecondDateLabel = 1067;
    static constexpr int kSecondDate = 1072;
    static constexpr int kSearchLabel = 1403;
    static constexpr int kSearchEdit = 1404;
    static constexpr int kYearLabel = 1444;
    static constexpr int kYearEdit = 1123;
    static constexpr int kGenerate = 1169;

    static constexpr const char* kResourceCaption = "Commissions By Broker";

    explicit CReportRequestDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnCancel() override;
    void OnGenerateReport();

private:
    void FillBrokers(bool custodians);
};

bool IsReportRequestCode(int code);

// The year that the year field of the stock split runs starts with: the
// third number of the date text ("%hd/%hd/%hd"; 0 when there is none, and
// a number outside 0 to 99 counts as 0), 0-50 in the 2000s, 51-99 in the
// 1900s.
int DefaultSplitYear(const std::string& system_date);

}  // namespace shell
