#pragma once

// The Account, Broker and Custodian Data dialog (dialog 106): keeps one of
// the firm's master lists. Setup/Account (code 42) shows the accounts,
// Setup/Broker (code 41) the brokers, Setup/Custodian the custodians. The
// list is loaded into the program-wide array of its kind when the dialog
// opens; Info opens the detail editor of the identifier typed or picked
// (the account information sheet, or the broker information dialog),
// Delete takes an entry out of the array, and Done writes the whole list
// back. Escape writes nothing and deletes no file.
//
// An account deleted here keeps its own files (holdings, transactions,
// gains) until Done: Done deletes them, for every account deleted since
// the dialog opened, before it writes the account files, so an Escape
// never leaves a key in ACCOUNT.IDX whose files are gone.

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog.h"
#include "records/broker_list.h"

namespace setup {

inline constexpr int kBrokerDataDialogId = 106;

// Account, broker and custodian identifiers have at most 6 characters.
// Their edits take the 8 of an index key, so that a longer identifier,
// typed or pasted, is refused with a message instead of cut without one.
inline constexpr std::size_t kIdentifierWidth = 6;
inline constexpr int kIdentifierEditWidth = 8;

// The program-wide array of broker (or custodian) records that the data
// dialog loaded, and the custodian flag it sets (1 in custodian mode),
// which the broker information dialog reads for its captions.
std::vector<std::unique_ptr<records::CBrokerRecord>>& BrokerArray();
int& CustodianFlag();
// The position of the first record of the broker array whose identifier
// equals the text byte for byte, or -1.
int FindBrokerRecord(std::string_view identifier);

class CBrokerDataDlg : public platform::Dialog {
public:
    static constexpr int kIdEdit = 1003;
    static constexpr int kList = 1004;
    static constexpr int kInfo = 1005;
    static constexpr int kDelete = 1006;
    static constexpr int kDone = 1008;
    static constexpr int kListFrame = 1317;

    enum Mode { kAccounts = 0, kBrokers = 1, kCustodians = 2 };

    explicit CBrokerDataDlg(platform::Window* parent = nullptr);

    void SetAccountMode() { mode_ = kAccounts; }
    void SetBrokerMode() { mode_ = kBrokers; }
    void SetCustodianMode() { mode_ = kCustodians; }
    int Mode() const { return mode_; }

    bool OnInitDialog() override;
    void OnCancel() override;

private:
    void OnSelect();
    void OnInfo();
    void OnDelete();
    void OnDone();
    // Makes sure the identifier in the edit names an entry, adding a new
    // one when it is new and acceptable; false (with its message shown)
    // when not.
    bool EnsureEntry();
    bool SaveAccounts();
    bool SaveBrokers();
    void ReleaseArrays();
    std::string Caption() const;

    int mode_ = kBrokers;
    unsigned char account_flag_ = 1;
    // The message that refused ACCOUNT.IDX on loading; the accounts are
    // then not saved.
    std::string index_refused_;
    // Accounts deleted since the dialog opened, whose files Done deletes.
    std::set<std::string> deleted_accounts_;
};

}  // namespace setup
