#pragma once

// Broker Information (dialog 108): the detail editor of one broker or
// custodian of the data dialog's array (the custodian flag chooses the
// captions). OK stores the eleven fields under the identifier shown, which
// the user may change: a new identifier adds an entry; the identifier of
// another existing entry replaces that entry's fields only when the user
// confirms it. Escape keeps the record as it was.

#include <string>

#include "platform/dialog.h"

namespace setup {

inline constexpr int kBrokerInfoDialogId = 108;

class CBrokerInfoDlg : public platform::Dialog {
public:
    static constexpr int kIdentifier = 1026;
    static constexpr int kShortName = 1027;
    static constexpr int kAddress1 = 1028;  // to 1032
    static constexpr int kPhone = 1033;
    static constexpr int kAttention = 1034;
    static constexpr int kLongName = 1035;
    static constexpr int kFirmShortName = 1036;
    static constexpr int kSave = 1016;
    static constexpr int kShortNameLabel = 1080;
    static constexpr int kAddressFrame = 1081;
    static constexpr int kPhoneLabel = 1082;
    static constexpr int kFirmFrame = 1083;
    static constexpr int kIdentifierLabel = 1382;

    // The parent is the data dialog, whose edit 1003 names the record and
    // whose list 1004 takes a new identifier.
    explicit CBrokerInfoDlg(platform::Window* parent);

    bool OnInitDialog() override;

private:
    void OnSave();

    platform::Window* data_dialog_;
    std::string opened_;  // the identifier the dialog opened with
};

}  // namespace setup
