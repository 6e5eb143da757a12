#pragma once

// The Security Data dialog (dialog 136, Setup/Security, report code 43):
// keeps the security master. The user picks or types an identifier (a new
// one is created at once at the next index position, its SECURITY.REC and
// SECURITY.EXT records written), gives it a type, deletes it or opens its
// two information pages. A security is known by its position n in
// SECURITY.IDX; positions are never reused and a deleted identifier keeps
// its position as twelve "$". The master starts with the cash security
// at entry 1, which the dialog never deletes or retypes, and a directory
// without a type table starts with the standard one.
//
// SECURITY.IDX is written whole whenever an identifier is added or
// deleted, so that the index always names every record written; Done and
// Escape only close the dialog.

#include <string>
#include <vector>

#include "platform/dialog.h"

namespace setup {

inline constexpr int kSecurityDataDialogId = 136;

// The page the Security Data dialog's page loop opens next: 0 page 1,
// 1 page 2, 4 none. Each page sets it before it closes.
extern int SecurityPageRequest;
inline constexpr int kRequestPage1 = 0;
inline constexpr int kRequestPage2 = 1;
inline constexpr int kRequestNoPage = 4;

// Whether page 2 (the fixed-income terms) may be used for the type at a
// position of the type order.
bool TypeAllowsPage2(int type_position);

class CSecurityDataDlg : public platform::Dialog {
public:
    static constexpr int kIdCombo = 1374;
    static constexpr int kEntryFrame = 1384;
    static constexpr int kChosenId = 1382;
    static constexpr int kChosenFrame = 1383;
    static constexpr int kSelectNewId = 1385;
    static constexpr int kTypeList = 1375;
    static constexpr int kTypeFrame = 1386;
    static constexpr int kTypePrompt = 1387;
    static constexpr int kDelete = 1377;
    static constexpr int kPage1 = 1311;
    static constexpr int kPage2 = 1258;
    static constexpr int kDone = 1380;

    explicit CSecurityDataDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;

    // What the information pages read of the chosen security.
    const std::string& Identifier() const { return identifier_; }
    int EntryNumber() const { return entry_; }
    int TypePosition() const { return type_position_; }
    // The selected line of the type list ("CS - Common stock").
    std::string TypeLine() const;
    // The identifiers by index position (element 0 a placeholder).
    const std::vector<std::string>& Identifiers() const { return identifiers_; }

private:
    void EnterEntryState();
    // The first position from 1 whose identifier equals the text exactly.
    int FindEntry(const std::string& identifier) const;
    // Writes SECURITY.IDX from the identifier list; says so when it cannot.
    void WriteIndex();
    void RunPages(int request);

    void OnSelectSecurity();
    void OnSelectType();
    void OnDelete();
    void OnSelectNewId();
    void OnPage1();
    void OnPage2();
    void OnDone();

    std::vector<std::string> identifiers_;
    std::string identifier_;
    int entry_ = 0;
    int type_position_ = -1;
    bool chosen_ = false;
};

}  // namespace setup
