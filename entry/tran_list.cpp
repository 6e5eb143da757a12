#include "entry/tran_list.h"

#include <algorithm>
#include <cstdio>

#include "entry/cash_dialog.h"
#include "entry/trades_dialog.h"
#include "entry/tran_record.h"
#include "entry/transfers_dialog.h"
#include "platform/feedback.h"
#include "platform/message_box.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/record.h"
#include "records/record_services.h"
#include "records/report_output.h"
#include "records/transaction_lines.h"
#include "reports/kernel/report_frame.h"
#include "shell/colors.h"
#include "shell/print_view.h"
#include "shell/report_globals.h"
#include "shell/report_paging.h"
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
    return {
        kTranListFormId, "Transactions List",
        Column({Static(L::kSelectionLine, "").Chars(60),
                Static(L::kHeading, std::string(kTranListHeading1) + "\n" + kTranListHeading2, kFixedPitch)
                    .Chars(82),
                Row({ListBox(L::kList, kFixedPitch | kWantKeys).Chars(82).Lines(L::kLeastLines),
                     ScrollBar(L::kScroll)}),
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
    Bind(ID_FILE_PRINT, Notify::Clicked, &L::OnFilePrint);
}

CTranList::~CTranList() = default;

void CTranList::OnInitialUpdate() {
    FormView::OnInitialUpdate();
    // The program colours of "Transactions List Dialog", "... Listbox",
    // "... Text" and "... Scrollbar".
    shell::ColorWindow(*this);
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
    shell::SaveSelection(saved_selection_);
    saved_selection_.ReportCode = kTranListReportCode;
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

bool OpenTranSource(int source) {
    switch (source) {
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

void CloseTranSource() {
    records::Close(kUnit);
}

TranListing ListTransactions(int source) {
    TranListing listing;
    listing.opened = OpenTranSource(source);
    if (!listing.opened) return listing;
    const shell::TranSelection& s = shell::g_tran_selection;
    const bool by_security = s.SortOption == shell::kTranSortBySecurity;
    // The start key: January 1 of the selection's year, in the date
    // numbers' window (a year below 51 is 100 + YY), so that a date of 2003
    // does not list the 1990s. An invalid date lists everything.
    float start = 0;
    if (s.parsed.number >= 0) {
        const int yy = s.parsed.year % 100;
        start = static_cast<float>(records::WindowYear(yy) * 10000 + 101);
    }
    int16_t count = 0, pages = 0;
    listing.records.reserve(records::kTransactionListLimit);
    records::Ldtrns(listing.records, count, start, pages, records::Fixed(s.Security, 12),
                    by_security ? "S   " : "D   ", listing.overflow, listing.total, source);
    listing.records.resize(static_cast<std::size_t>(std::max<int16_t>(count, 0)));
    std::string line;
    for (int k = 1; k <= static_cast<int>(listing.records.size()); ++k)
        if (records::Trnlin(listing.records, k, source, line) == 0) listing.lines.push_back(k);
    CloseTranSource();
    return listing;
}

std::string TranListLine(const TranListing& listing, int position, int source) {
    std::string line;
    if (position < 1 || position > static_cast<int>(listing.lines.size())) return line;
    if (records::Trnlin(listing.records, listing.lines[static_cast<std::size_t>(position - 1)], source,
                        line) != 0)
        return {};
    line = TrimRight(line.substr(0, std::min(line.size(), kLineWidth)));
    return line.size() > kHiddenColumns ? line.substr(kHiddenColumns) : std::string();
}

void CTranList::Load() {
    {
        WaitCursor wait;
        listing_ = ListTransactions(source_);
    }
    if (listing_.overflow != 0) {
        char text[96];
        std::snprintf(text, sizeof text, "Error sorting transactions. %d found > 12000 max.", listing_.total);
        MessageBox(text, kDiagnosticCaption, MB_ICONEXCLAMATION, GetSafeHwnd());
    } else if (listing_.records.empty()) {
        MessageBox("Error no transactions found.", kDiagnosticCaption, MB_ICONEXCLAMATION, GetSafeHwnd());
    }
    ShowAsTheBoxHolds(LinesTheBoxHolds());
}

int CTranList::LinesTheBoxHolds() const {
    return std::max(1, GetDlgItem(kList).GetLinesShown());
}

void CTranList::ShowAsTheBoxHolds(int lines) {
    const int selected = scroll_ + selection_;
    page_ = lines;
    ShowFrom(std::max(scroll_, selected - page_ + 1), selected);
}

void CTranList::OnSize(int width, int height) {
    FormView::OnSize(width, height);
    // The box stretches with the window: it shows as many lines as it
    // holds, keeping the selected transaction selected and in view.
    if (!GetDlgItem(kList)) return;
    if (const int lines = LinesTheBoxHolds(); lines != page_) ShowAsTheBoxHolds(lines);
}

int CTranList::LastStart() const {
    return std::max(1, ListedCount() - (page_ - 1));
}

void CTranList::ShowFrom(int first, int selected) {
    scroll_ = std::clamp(first, 1, LastStart());
    Control list = GetDlgItem(kList);
    list.ResetContent();
    if (OpenTranSource(source_)) {
        FillShownLines();
        CloseTranSource();
    }
    Control bar = GetDlgItem(kScroll);
    bar.SetScrollRange(1, LastStart());
    bar.SetScrollPage(page_);
    bar.SetScrollPos(scroll_);
    selection_ = std::clamp(selected - scroll_, 0, std::max(0, list.GetCount() - 1));
    if (list.GetCount() > 0) list.SetCurSel(selection_);
}

void CTranList::FillShownLines() {
    Control list = GetDlgItem(kList);
    list.ResetContent();
    for (int i = 0; i < page_ && scroll_ + i <= ListedCount(); ++i)
        list.AddString(TranListLine(listing_, scroll_ + i, source_));
}

void CTranList::OnScroll(const Notification& n) {
    Control bar = GetDlgItem(kScroll);
    if (!shell::MoveScrollBar(bar, n, page_)) return;
    ScrollTo(bar.GetScrollPos());
}

void CTranList::ScrollTo(int first) {
    first = std::clamp(first, 1, LastStart());
    GetDlgItem(kScroll).SetScrollPos(first);
    const int moved = first - scroll_;
    scroll_ = first;
    if (!OpenTranSource(source_)) return;
    Control list = GetDlgItem(kList);
    if (moved == 1 && list.GetCount() == page_) {
        // One line down: the first line goes, the one coming into view is
        // the only line formatted.
        list.DeleteString(0);
        list.AddString(TranListLine(listing_, scroll_ + page_ - 1, source_));
        selection_ = std::max(0, selection_ - 1);
    } else if (moved == -1 && list.GetCount() > 0) {
        if (list.GetCount() == page_) list.DeleteString(page_ - 1);
        list.InsertString(0, TranListLine(listing_, scroll_, source_));
        selection_ = std::min(page_ - 1, selection_ + 1);
    } else if (moved != 0) {
        FillShownLines();
    }
    selection_ = std::clamp(selection_, 0, std::max(0, list.GetCount() - 1));
    if (list.GetCount() > 0) list.SetCurSel(selection_);
    CloseTranSource();
}

bool CTranList::OnVKeyToItem(int id, Key key, int caret) {
    if (id != kList || ListedCount() == 0) return false;
    const int count = GetDlgItem(kList).GetCount();
    switch (key) {
        case Key::Up:
        case Key::Down: {
            // Within the view the list moves its own selection; past its
            // edge the view moves a line and the selection with it.
            const bool down = key == Key::Down;
            if (down ? caret < count - 1 || scroll_ >= LastStart() : caret > 0 || scroll_ <= 1) return false;
            ScrollTo(scroll_ + (down ? 1 : -1));
            selection_ = down ? GetDlgItem(kList).GetCount() - 1 : 0;
            GetDlgItem(kList).SetCurSel(selection_);
            return true;
        }
        case Key::PageUp:
        case Key::PageDown: {
            // A page is the lines the box holds: the view and the selection
            // move by one, the selection to the first or last line at the
            // list's ends.
            const int selected = scroll_ + std::max(0, caret);
            const int step = key == Key::PageDown ? page_ : -page_;
            ShowFrom(scroll_ + step, std::clamp(selected + step, 1, ListedCount()));
            return true;
        }
        case Key::Home:
            ShowFrom(1, 1);
            return true;
        case Key::End:
            ShowFrom(ListedCount(), ListedCount());
            return true;
        default:
            return false;
    }
}

void CTranList::OnEdit() {
    Control list = GetDlgItem(kList);
    const int selected = list.GetCurSel();
    if (selected < 0) return;
    selection_ = selected;
    const int position = scroll_ + selected;
    if (position < 1 || position > ListedCount()) return;
    const int entry =
        listing_
            .records[static_cast<std::size_t>(listing_.lines[static_cast<std::size_t>(position - 1)] - 1)];

    auto record = std::make_unique<CTranRecord>();
    bool filled = false;
    if (OpenTranSource(source_)) {
        filled = record->Fill(source_, entry + 1, TrimRight(shell::g_tran_selection.Account));
        CloseTranSource();
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
    if (!OpenTranSource(source_)) return all;
    for (int position = 1; position <= ListedCount(); ++position)
        all.push_back(TranListLine(listing_, position, source_));
    CloseTranSource();
    return all;
}

void CTranList::OnFilePrint() {
    // The list prints itself: the selection saved when the window opened
    // runs code 21 over this window's source.
    SetTranListPrintSource(source_);
    shell::ReportPrintJob job;
    job.SetRerun(&saved_selection_);
    shell::PrintWithDialog(job, GetSafeHwnd());
    SetTranListPrintSource(kAccountSource);
}

// ---- The list as a report

namespace {
int g_print_source = kAccountSource;
}  // namespace

void SetTranListPrintSource(int source) {
    g_print_source = source;
}

void Tranlist(int16_t output_mode, std::string_view output_name) {
    reports::ReportFrame frame = reports::ReportFrame::ForOutputMode(output_name, output_mode);
    const int source = g_print_source;
    const TranListing listing = ListTransactions(source);
    const std::string heading2 = source == kAccountSource ? kTranListHeading2 : kTranListHeading2Lines;
    int16_t page = 1, line_count = 0, page_length = 0;
    auto heading = [&] {
        records::Pghead(page, line_count, page_length);
        frame.Line(std::string(" ") + kTranListHeading1);
        frame.Line(" " + heading2);
        frame.Blank();
        line_count = static_cast<int16_t>(line_count + 3);
    };
    heading();
    if (!listing.opened) {
        frame.Stop(" The transactions could not be read.");
        return;
    }
    if (listing.overflow != 0) {
        char text[96];
        std::snprintf(text, sizeof text, " Error sorting transactions. %d found > 12000 max.", listing.total);
        frame.Stop(text);
        return;
    }
    if (listing.lines.empty()) {
        frame.Stop(" Error no transactions found.");
        return;
    }
    if (!OpenTranSource(source)) return;
    for (int position = 1; position <= static_cast<int>(listing.lines.size()); ++position) {
        if (page_length > 0 && line_count >= page_length) heading();
        frame.Line(" " + TranListLine(listing, position, source));
        ++line_count;
    }
    CloseTranSource();
}

std::unique_ptr<platform::View> MakeTranList() {
    return std::make_unique<CTranList>();
}

}  // namespace entry
