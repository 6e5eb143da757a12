#pragma once

// The transaction list window (form 115, the transaction list template's
// view): the transactions of one source in date order, as many lines at a
// time as its box holds (the box grows with the window; fourteen lines of
// the table's font are its least height), scrolled by the window's own
// scroll bar, the moving keys and the wheel; a double-click opens the
// trade, transfer or cash dialog on the line and the list reloads after OK.
//
// Its source is fixed when it opens, from the main frame's flags (which it
// then clears): the account's transaction file of the transaction selection
// by default, OFFLINET.DAT with the edit-downloaded flag, TRADEBLK.DAT with
// the edit-block flag (which wins when both are set). Every load, scroll
// step and edit opens the source on unit 6 and closes it again; scrolling
// by one line formats only the line that comes into view.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/view.h"
#include "shell/report_globals.h"

namespace entry {

inline constexpr int kTranListFormId = 115;
// The report code of the transaction list (Transactions / Transaction
// Editor), which also prints the list window.
inline constexpr int kTranListReportCode = 21;

inline constexpr const char* kTranListHeading1 =
    "                  TAX   TRANSACT  QUANTITY/   UNIT              NET   ";
inline constexpr const char* kTranListHeading2 =
    "   SYMBOL    CODE LOT   DATE      FACE VALUE  PRICE    COMMIS.  AMOUNT   BROKER";
inline constexpr const char* kTranListHeading2Lines =
    "   SYMBOL    CODE LOT   DATE      FACE VALUE  PRICE    COMMIS.  AMOUNT  ACCOUNT";

// The listed transactions of a source (0 the account's file of the
// transaction selection, 1 the block file, 2 the off-line file), in list
// order: the transactions the loader took (record numbers minus 1) and,
// per listed line, its position among them (from 1): the transactions the
// line formatter accepts.
struct TranListing {
    std::vector<int16_t> records;
    std::vector<int> lines;
    bool opened = false;   // the source could be opened
    int16_t overflow = 0;  // more than the list holds were found: `total`
    int16_t total = 0;
};

// Opens the source on unit 6; false when it cannot be opened.
bool OpenTranSource(int source);
void CloseTranSource();
// Loads the listing of the source (opened and closed here).
TranListing ListTransactions(int source);
// The shown text of listed line `position` (from 1): the formatted line cut
// to 85 characters, trailing blanks removed, without its first five
// columns. The source must be open.
std::string TranListLine(const TranListing& listing, int position, int source);

// The source printing the list prints: the window sets it to its own
// before it prints; the account's file otherwise.
void SetTranListPrintSource(int source);
// The transaction list as a report (code 21): the page heading, the two
// column headings and every listed line of the print source, page after
// page; output mode 3 copies the work file to the named file.
void Tranlist(int16_t output_mode, std::string_view output_name);

class CTranList : public platform::FormView {
public:
    static constexpr int kList = 1040;
    static constexpr int kHeading = 1164;
    static constexpr int kScroll = 1195;
    static constexpr int kSelectionLine = 1004;
    static constexpr int kAddAllocation = 1470;
    static constexpr int kDone = 1143;
    // The list box's least height, in lines of its font.
    static constexpr int kLeastLines = 14;

    CTranList();
    ~CTranList() override;

    void OnInitialUpdate() override;
    void OnSize(int width, int height) override;
    bool OnVKeyToItem(int id, platform::Key key, int caret) override;

    // 0 the account's file, 1 the block file, 2 the off-line file.
    int Source() const { return source_; }
    // The first shown line, counted from 1.
    int ScrollPosition() const { return scroll_; }
    // The number of listed lines.
    int ListedCount() const { return static_cast<int>(listing_.lines.size()); }
    // The lines the box holds, which a page of the list is.
    int PageLines() const { return page_; }
    // The lines of the whole list as they show (each listed line, cut and
    // without its first five characters): what printing the window prints.
    std::vector<std::string> AllLines() const;
    // The two heading lines of the window.
    std::vector<std::string> HeadingLines() const;

private:
    void Load();
    // The whole lines the box holds at its present size (at least one).
    int LinesTheBoxHolds() const;
    // Shows the list `lines` at a time, the selected transaction kept
    // selected and in view.
    void ShowAsTheBoxHolds(int lines);
    // The first line of the view at the end of the list.
    int LastStart() const;
    // Shows the list from line `first` (kept within the list) with listed
    // line `selected` selected (kept within the view); every shown line is
    // formatted anew.
    void ShowFrom(int first, int selected);
    void FillShownLines();
    // Moves the view to line `first`, formatting only the line that comes
    // into view on a move of one line; the selection stays on its
    // transaction while it is in view.
    void ScrollTo(int first);
    void OnFilePrint();
    void OnScroll(const platform::Notification& n);
    void OnEdit();
    void OnAddAllocation();
    void OnDone();

    bool offline_ = false;
    bool block_ = false;
    int source_ = 0;
    TranListing listing_;
    int scroll_ = 1;
    int selection_ = 0;  // within the view, from 0
    int page_ = kLeastLines;
    shell::ReportSelection saved_selection_;
};

// The view of the transaction list template.
std::unique_ptr<platform::View> MakeTranList();

}  // namespace entry
