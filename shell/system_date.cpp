// The system date of the main frame's tool bar: today's date at start, and
// the commit of a typed date as the program date.

#include <ctime>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/message_box.h"
#include "records/common_file.h"
#include "shell/command_ids.h"
#include "shell/field_helpers.h"
#include "shell/main_frame.h"
#include "shell/report_globals.h"
#include "shell/runner.h"

namespace shell {

std::string TodayText() {
    const std::tm now = platform::LocalTime(platform::GetClock().Now());
    char text[16];
    std::strftime(text, sizeof text, "%m/%d/%y", &now);
    return text;
}

std::string CMainFrame::GetSystemDateText() const {
    return GetDlgItemText(kSystemDateEdit);
}

void CMainFrame::OnSystemDateKillFocus() {
    const std::string typed = GetSystemDateText();
    std::string date = typed;
    if (CheckDateText(date)) {
        // The edit shows the date as the program keeps it: zero-filled,
        // a four-digit year as its two digits.
        if (date != typed) SetDlgItemText(kSystemDateEdit, date);
        const bool changed = date != g_report.SystemDate;
        g_report.EndDate = date;
        g_report.SystemDate = date;
        int status = 0;
        std::vector<records::FailedWrite> failed;
        {
            records::KeepFailedWrites keep;
            status = records::Setsdt(date);
            failed = records::TakeFailedWrites();
        }
        // January 1 of the year, written as the record layer reads dates:
        // two digits in each place.
        g_report.StartDate = "01/01/" + date.substr(6, 2);
        // The date is stored again before every command: a date the user
        // changed that could not be saved is told once.
        if (status != 0 && changed)
            ShowNotSaved("The program date " + date, records::kCommonFile, failed, GetSafeHwnd());
        return;
    }
    const std::string message = "Illegal system date:" + typed + "  reverting to " + g_report.SystemDate;
    SetDlgItemText(kSystemDateEdit, g_report.SystemDate);
    platform::MessageBox(message, "Illegal System Date", platform::MB_ICONEXCLAMATION | platform::MB_OK,
                         GetSafeHwnd());
}

}  // namespace shell
