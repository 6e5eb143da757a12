#pragma once

// What the trades, cash and transfers dialogs share: the modes a builder
// fixes before the dialog runs (a new entry from the menu, an edit of a
// listed transaction through CurrentTranRecord, a line of the off-line
// file, a block allocation), the account box, the mode word, the buttons
// (post, Delete with its confirmation, Cancel), Enter moving to the next
// control, the posting routine's flags turned into message lines under
// their field labels, and the rewrite of an off-line or block line.

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "engine/entry_form.h"
#include "engine/posting_steps.h"
#include "entry/tran_record.h"
#include "platform/dialog.h"

namespace entry {

// Controls the three dialogs share.
inline constexpr int kAccountBox = 1159;
inline constexpr int kAccountStatic = 1200;
inline constexpr int kSymbolBox = 1121;
inline constexpr int kCodeBox = 1441;
inline constexpr int kTypeEdit = 1130;
inline constexpr int kDateEdit = 1123;
inline constexpr int kPostButton = 1143;
inline constexpr int kDeleteButton = 1448;
inline constexpr int kBalanceStatic = 1452;
inline constexpr int kLotsList = 1453;

inline constexpr const char* kLotsHeading = "Lot      Cost          Holdings    Date pur.";

// The label of each posting field, by field number (1 to 18); a flag with
// no label of its own shows one blank.
using FieldLabels = std::array<const char*, engine::kEntryFieldCount>;

class CTransactionDlg : public platform::Dialog {
public:
    using platform::Dialog::Dialog;

    // Set by the builder before the dialog runs.
    void SetOfflineMode(bool on) { offline_ = on; }
    void SetBlockMode(bool on) { block_ = on; }
    bool OfflineMode() const { return offline_; }
    bool BlockMode() const { return block_; }

    bool OnEnterKey() override;

    // Posts (or rewrites) the entry; true when the dialog may close.
    virtual bool PostTransaction(bool remove) = 0;

protected:
    // Binds the post, Delete and Cancel buttons.
    void BindButtons();
    // True when the dialog edits a listed transaction.
    bool Editing() const { return CurrentTranRecord != nullptr; }
    // Fills the account box from ACCOUNT.IDX, in index order or reversed.
    void FillAccounts(bool reverse);
    // Sets the account box or the static account line for the mode.
    void ShowAccount();
    // The account: the static line's when editing, the box's when adding.
    std::string AccountText() const;
    engine::PostingMode Mode(bool remove) const;
    // The record the posting works on: the listed line's record when
    // editing, 0 when adding.
    int32_t PostingRecord() const;
    // Adds one message line per flagged field (label, ":", message cut to
    // 79 characters without trailing blanks), in field order.
    static void AddPostingMessages(const engine::EntryForm& form, const FieldLabels& labels);
    // Shows the cash balance and the lots of the account and security in
    // the balance line and the lots list. `selected_box` is the account or
    // symbol box whose selection just changed (its selected line is taken,
    // as its text is not yet updated), or 0 to take both boxes' texts.
    void RefreshHoldings(int selected_box);
    // The first two characters of the code box's text.
    std::string CodeText() const;

    // Rewrites the edit view of the listed line of the off-line or block
    // file (whichever the mode names): fill changes the view read from the
    // file. On a delete the line's symbol is blanked instead, so that the
    // list passes over it. A failed open, read or write puts "Could not
    // write <file>." in the message list and shows it; nothing is written.
    bool RewriteLine(bool remove, const std::function<void(std::string& view)>& fill);
    const char* LineFile() const;

    // Focus handler of a date edit: the whole text selected.
    void SelectAll(int id);

private:
    void OnPost();
    void OnDelete();
    void OnCancelClicked();

    bool offline_ = false;
    bool block_ = false;
};

// Text helpers for the initial display.
std::string FormatDouble(double value);  // "%f"
// The price with the decimals option 81 asks for: rounded to them (4 when
// the option is outside 4 to 8), shown with 4 to 7 decimals, else 8.
std::string FormatPrice(float price);
// A typed number read as the posting and the files take it: the normalised
// text (always with its point) and its value.
std::string NumberField(std::string_view typed);
double NumberValue(std::string_view typed);

}  // namespace entry
