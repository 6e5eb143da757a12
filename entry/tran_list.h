#pragma once

// The transaction list window (form 115, the transaction list template's
// view): the transactions of one source in date order, fourteen lines at a
// time, scrolled by the window's own scroll bar; a double-click opens the
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
#include <vector>

#include "platform/view.h"

namespace entry {

inline constexpr int kTranListFormId = 115;

inline constexpr const char* kTranListHeading1 =
    "                  TAX   TRANSACT  QUANTITY/   UNIT              NET   ";
inline constexpr const char* kTranListHeading2 =
    "   SYMBOL    CODE LOT   DATE      FACE VALUE  PRICE    COMMIS.  AMOUNT   BROKER";
inline constexpr const char* kTranListHeading2Lines =
    "   SYMBOL    CODE LOT   DATE      FACE VALUE  PRICE    COMMIS.  AMOUNT  ACCOUNT";

class CTranList : public platform::FormView {
public:
    static constexpr int kList = 1040;
    static constexpr int kHeading = 1164;
    static constexpr int kScroll = 1195;
    static constexpr int kSelectionLine = 1004;
    static constexpr int kAddAllocation = 1470;
    static constexpr int kDone = 1143;
    // Lines the list box shows.
    static constexpr int kShownLines = 14;

    CTranList();
    ~CTranList() override;

    void OnInitialUpdate() override;

    // 0 the account's file, 1 the block file, 2 the off-line file.
    int Source() const { return source_; }
    // The first shown line, counted from 1.
    int ScrollPosition() const { return scroll_; }
    // The number of listed lines.
    int ListedCount() const { return static_cast<int>(lines_.size()); }
    // The lines of the whole list as they show (each listed line, cut and
    // without its first five characters): what printing the window prints.
    std::vector<std::string> AllLines() const;
    // The two heading lines of the window.
    std::vector<std::string> HeadingLines() const;

private:
    bool OpenSource() const;
    void CloseSource() const;
    void Load();
    // The shown text of listed line `position` (from 1); the source must be open.
    std::string ShownLine(int position) const;
    void FillShownLines();
    void OnScroll(const platform::Notification& n);
    void OnEdit();
    void OnAddAllocation();
    void OnDone();

    bool offline_ = false;
    bool block_ = false;
    int source_ = 0;
    std::vector<int16_t> records_;  // record numbers minus 1, in list order
    std::vector<int> lines_;        // per listed line: its position in records_ (from 1)
    int scroll_ = 1;
    int selection_ = 0;
};

// The view of the transaction list template.
std::unique_ptr<platform::View> MakeTranList();

}  // namespace entry
