#include "entry/tran_list.h"

#include <algorithm>
#include <cstdio>

#include "entry/cash_dialog.h"
#include "entry/trades_dialog.h"
#include "entry/tran_record.h"
#include "entry/transfers_dialog.h"
#include "platform/feedback.h"
#include "platform/message_box.h"
#include "records/files.h"
#include "records/record.h"
#include "records/record_services.h"
#include "records/transaction_lines.h"
#include "shell/report_globals.h"
#include "shell/tran_selection.h"

namespace entry {
namespace {

using namespace platform;
using L = CTranList;

constexpr int kUnit = records::kTransactionListUnit;
constexpr const char* kDiagnosticCaption = "Transaction Menu Diagnostic";
// A listed line is cut to this width, and shown without its first columns.
constexpr std::size_t kLineWidth = 85;
constexpr std::size_t kHiddenColumns = 5;

DialogTemplate ListTemplate() {
    return {kTranListFormId, "Transactions List",
            Column({Static(L::kSelectionLine, "").Chars(60),
                    Static(L::kHeading, std::string(kTranListHeading1) + "\n" + kTranListHeading2).Chars(82),
                    Row({ListBox(L::kList).Chars(82).Lines(L::kShownLines), ScrollBar(L::kScroll)}),
                    Row({Button(L::kAddAllocation, "Add Allocation", kHidden | kDisabled), Stretch(),
                         Button(L::kDone, "Done")})})};
}

std::string TrimRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
    return text;
}

bool IsTradeCode(const std::string& code) {
    const std::string c = records::Fixed(code, 2);
    return c == "S " || c == "SS" || c == "B " || c == "SP" || c == "CS";
}

bool IsTransferCode(const std::string& code) {
    const std::string c = records::Fixed(code, 2);
    return c == "SI" || c == "SO";
}

}  // namespace

CTranList::CTranList() : FormView(ListTemplate()) {
    Bind(kScroll, Notify::Scroll, [this](const Notification& n) { OnScroll(n); });
    Bind(kList, Notify::DoubleClick, &L::OnEdit);
    Bind(kList, Notify::SelChange, [this] { selection_ = std::max(0, GetDlgItem(kList).GetCurSel()); });
    Bind(kAddAllocation, Notify::Clicked, &L::OnAddAllocation);
    Bind(kDone, Notify::Clicked, &L::OnDone);
}

CTranList::~CTranList() = default;

void CTranList::OnInitialUpdate() {
    FormView::OnInitialUpdate();
    offline_ = shell::g_report.EditDownloadedFlag != 0;
    block_ = shell::g_report.EditBlockFlag != 0;
    shell::g_report.EditDownloadedFlag = 0;
    shell::g_report.EditBlockFlag = 0;
    source_ = block_ ? kBlockSource : offline_ ? kOfflineSource : kAccountSource;
    if (offline_ || block_)
        SetDlgItemText(kHeading, std::string(kTranListHeading1) + "\n" + kTranListHeading2Lines);
    if (block_) {
        GetDlgItem(kAddAllocation).ShowWindow(SW_SHOW);
        GetDlgItem(kAddAllocation).EnableWindow(true);
    }
    records_.reserve(records::kTransactionListLimit);
    selection_ = 0;
    scroll_ = 1;
    Load();
    const shell::TranSelection& s = shell::g_tran_selection;
    std::string line;
    if (source_ == kAccountSource) {
        line = s.SortOption == shell::kTranSortBySecurity
                   ? "Account=" + s.Account + "  Sort option: security " + s.Security
                   : "Account=" + s.Account + "  Sort option: date " + s.Date;
    }
    SetDlgItemText(kSelectionLine, line);
}

std::vector<std::string> CTranList::HeadingLines() const {
    return {kTranListHeading1, source_ == kAccountSource ? kTranListHeading2 : kTranListHeading2Lines};
}

bool CTranList::OpenSource() const {
    switch (source_) {
        case kOfflineSource:
            records::Open4(kUnit, records::kOfflineTransactionFile);
            return records::IsOpen(kUnit);
        case kBlockSource:
            records::Open4(kUnit, records::kBlockTradeFile);
            return records::IsOpen(kUnit);
        default: {
            char name[32];
            std::snprintf(name, sizeof name, "tr%s.rec", TrimRight(shell::g_tran_selection.Account).c_str());
            return records::Opnfil(kUnit, 128, name) == 0;
        }
    }
}

void CTranList::CloseSource() const {
    records::Close(kUnit);
}

std::string CTranList::ShownLine(int position) const {
    std::string line;
    if (position < 1 || position > ListedCount()) return line;
    if (records::Trnlin(records_, lines_[static_cast<std::size_t>(position - 1)], source_, line) != 0)
        return {};
    line = TrimRight(line.substr(0, std::min(line.size(), kLineWidth)));
    return line.size() > kHiddenColumns ? line.substr(kHiddenColumns) : std::string();
}

void CTranList::Load() {
    Control list = GetDlgItem(kList);
    records_.clear();
    lines_.clear();
    const bool open = OpenSource();
    int16_t count = 0, pages = 0, overflow = 0, total = 0;
    if (open) {
        const shell::TranSelection& s = shell::g_tran_selection;
        const bool by_security = s.SortOption == shell::kTranSortBySecurity;
        // The start key: January 1 of the selection's year, in the date
        // numbers' window (a year below 51 is 100 + YY), so that a date of
        // 2003 does not list the 1990s. An invalid date lists everything.
        float start = 0;
        if (s.parsed.number >= 0) {
            const int year = s.parsed.year % 100 < 51 ? 100 + s.parsed.year % 100 : s.parsed.year % 100;
            start = static_cast<float>(year * 10000 + 101);
        }
        WaitCursor wait;
        records::Ldtrns(records_, count, start, pages, records::Fixed(s.Security, 12),
                        by_security ? "S   " : "D   ", overflow, total, source_);
    }
    if (overflow != 0) {
        char text[96];
        std::snprintf(text, sizeof text, "Error sorting transactions. %d found > 12000 max.", total);
        MessageBox(text, kDiagnosticCaption, MB_ICONEXCLAMATION, GetSafeHwnd());
    } else if (count == 0) {
        MessageBox("Error no transactions found.", kDiagnosticCaption, MB_ICONEXCLAMATION, GetSafeHwnd());
    }
    records_.resize(static_cast<std::size_t>(std::max<int16_t>(count, 0)));
    list.ResetContent();
    if (open) {
        std::string line;
        for (int k = 1; k <= static_cast<int>(records_.size()); ++k)
            if (records::Trnlin(records_, k, source_, line) == 0) lines_.push_back(k);
    }
    const int last_start = std::max(1, ListedCount() - (kShownLines - 1));
    scroll_ = std::clamp(scroll_, 1, last_start);
    if (open) FillShownLines();
    Control bar = GetDlgItem(kScroll);
    bar.SetScrollRange(1, last_start);
    bar.SetScrollPos(scroll_);
    selection_ = std::clamp(selection_, 0, std::max(0, list.GetCount() - 1));
    if (list.GetCount() > 0) list.SetCurSel(selection_);
    if (open) CloseSource();
}

void CTranList::FillShownLines() {
    Control list = GetDlgItem(kList);
    list.ResetContent();
    for (int i = 0; i < kShownLines && scroll_ + i <= ListedCount(); ++i)
        list.AddString(ShownLine(scroll_ + i));
}

void CTranList::OnScroll(const Notification& n) {
    Control bar = GetDlgItem(kScroll);
    int low = 1, high = 1;
    bar.GetScrollRange(low, high);
    int position = scroll_;
    switch (n.scroll_code) {
        case SB_LINEUP:
            position -= 1;
            break;
        case SB_LINEDOWN:
            position += 1;
            break;
        case SB_PAGEUP:
            position -= kShownLines;
            break;
        case SB_PAGEDOWN:
            position += kShownLines;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            position = n.position;
            break;
        case SB_TOP:
            position = low;
            break;
        case SB_BOTTOM:
            position = high;
            break;
        default:
            return;
    }
    position = std::clamp(position, low, high);
    if (position == scroll_) return;
    const int moved = position - scroll_;
    scroll_ = position;
    bar.SetScrollPos(scroll_);
    if (!OpenSource()) return;
    Control list = GetDlgItem(kList);
    if (moved == 1 && list.GetCount() == kShownLines) {
        // One line down: the first line goes, the one coming into view is
        // the only line formatted.
        list.DeleteString(0);
        list.AddString(ShownLine(scroll_ + kShownLines - 1));
        selection_ = std::max(0, selection_ - 1);
    } else if (moved == -1 && list.GetCount() > 0) {
        if (list.GetCount() == kShownLines) list.DeleteString(kShownLines - 1);
        list.InsertString(0, ShownLine(scroll_));
        selection_ = std::min(kShownLines - 1, selection_ + 1);
    } else {
        FillShownLines();
    }
    selection_ = std::clamp(selection_, 0, std::max(0, list.GetCount() - 1));
    if (list.GetCount() > 0) list.SetCurSel(selection_);
    CloseSource();
}

void CTranList::OnEdit() {
    Control list = GetDlgItem(kList);
    const int selected = list.GetCurSel();
    if (selected < 0) return;
    selection_ = selected;
    const int position = scroll_ + selected;
    if (position < 1 || position > ListedCount()) return;
    const int entry = records_[static_cast<std::size_t>(lines_[static_cast<std::size_t>(position - 1)] - 1)];

    auto record = std::make_unique<CTranRecord>();
    bool filled = false;
    if (OpenSource()) {
        filled = record->Fill(source_, entry + 1, TrimRight(shell::g_tran_selection.Account));
        CloseSource();
    }
    if (filled) {
        CurrentTranRecord = record.get();
        int result = IDCANCEL;
        if (IsTradeCode(record->code)) {
            CTradesDlg dialog(this);
            dialog.SetOfflineMode(offline_);
            dialog.SetBlockMode(block_);
            result = dialog.DoModal();
        } else if (IsTransferCode(record->code)) {
            CTransfersDlg dialog(this);
            dialog.SetOfflineMode(offline_);
            result = dialog.DoModal();
        } else {
            CCashDlg dialog(this);
            dialog.SetOfflineMode(offline_);
            result = dialog.DoModal();
        }
        CurrentTranRecord = nullptr;
        if (result == IDOK) Load();
    } else {
        // A line that no longer reads opens nothing; the list is read again.
        Load();
    }
}

void CTranList::OnAddAllocation() {
    if (!block_) return;
    CurrentTranRecord = nullptr;
    CTradesDlg dialog(this);
    dialog.SetOfflineMode(offline_);
    dialog.SetBlockMode(block_);
    dialog.DoModal();
    Load();
}

void CTranList::OnDone() {
    if (ChildFrame* frame = GetParentFrame()) frame->PostClose();
}

std::vector<std::string> CTranList::AllLines() const {
    std::vector<std::string> all;
    if (!OpenSource()) return all;
    for (int position = 1; position <= ListedCount(); ++position) all.push_back(ShownLine(position));
    CloseSource();
    return all;
}

std::unique_ptr<platform::View> MakeTranList() {
    return std::make_unique<CTranList>();
}

}  // namespace entry
