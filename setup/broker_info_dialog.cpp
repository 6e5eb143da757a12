// Broker Information.

#include "setup/broker_info_dialog.h"

#include "platform/message_box.h"
#include "setup/broker_data_dialog.h"

namespace setup {
namespace {

using namespace platform;
using D = CBrokerInfoDlg;

DialogTemplate BrokerInfoTemplate() {
    std::vector<Node> address;
    for (int i = 0; i < 5; ++i)
        address.push_back(Row(
            {Label("Address line " + std::to_string(i + 1)).Chars(12), Edit(D::kAddress1 + i).Chars(32)}));
    return {kBrokerInfoDialogId, "BROKER INFORMATION",
            Column({
                Row({Static(D::kIdentifierLabel, "Broker ID").Chars(18), Edit(D::kIdentifier).Chars(10),
                     Stretch()}),
                Row({Static(D::kShortNameLabel, "Broker short name").Chars(18), Edit(D::kShortName).Chars(14),
                     Stretch()}),
                Group(D::kAddressFrame, "Broker Address", address),
                Row({Static(D::kPhoneLabel, "Broker phone").Chars(18), Edit(D::kPhone).Chars(14), Stretch()}),
                Row({Label("Attention").Chars(18), Edit(D::kAttention).Chars(32)}),
                Group(D::kFirmFrame, "Brokerage firm",
                      {Row({Label("Long name").Chars(10), Edit(D::kLongName).Chars(60)}),
                       Row({Label("Short name").Chars(10), Edit(D::kFirmShortName).Chars(10), Stretch()})}),
                Row({Stretch(), Button(D::kSave, "OK", kDefault)}),
            })};
}

// The eleven fields of a record by control, with their limits.
struct FieldControl {
    int id;
    std::string records::CBrokerRecord::*field;
    int limit;
};

}  // namespace

CBrokerInfoDlg::CBrokerInfoDlg(Window* parent) : Dialog(BrokerInfoTemplate(), parent), data_dialog_(parent) {
    Bind(kSave, Notify::Clicked, &D::OnSave);
}

namespace {

const std::vector<FieldControl>& Fields() {
    using R = records::CBrokerRecord;
    static const std::vector<FieldControl> fields = {
        {D::kIdentifier, &R::identifier, 8},
        {D::kShortName, &R::short_name, 12},
        {D::kPhone, &R::phone, 12},
        {D::kAttention, &R::attention, 32},
        {D::kLongName, &R::firm_long_name, 60},
        {D::kFirmShortName, &R::firm_short_name, 8},
    };
    return fields;
}

}  // namespace

bool CBrokerInfoDlg::OnInitDialog() {
    if (CustodianFlag()) {
        SetWindowText("Custodian Information");
        SetDlgItemText(kAddressFrame, "Custodian Address");
        SetDlgItemText(kFirmFrame, "Custodian Firm");
        SetDlgItemText(kIdentifierLabel, "Custodian ID");
        SetDlgItemText(kPhoneLabel, "Custodian Phone");
        SetDlgItemText(kShortNameLabel, "Custodian Shortname");
    }
    opened_ = data_dialog_ ? data_dialog_->GetDlgItemText(CBrokerDataDlg::kIdEdit) : std::string();
    SetDlgItemText(kIdentifier, opened_);
    const int position = FindBrokerRecord(opened_);
    if (position >= 0) {
        const records::CBrokerRecord& record = *BrokerArray()[static_cast<std::size_t>(position)];
        for (const FieldControl& f : Fields()) SetDlgItemText(f.id, record.*f.field);
        for (int i = 0; i < 5; ++i) SetDlgItemText(kAddress1 + i, record.address[i]);
    }
    for (const FieldControl& f : Fields()) GetDlgItem(f.id).LimitText(f.limit);
    for (int i = 0; i < 5; ++i) GetDlgItem(kAddress1 + i).LimitText(32);
    return true;
}

void CBrokerInfoDlg::OnSave() {
    const std::string id = GetDlgItemText(kIdentifier);
    if (id.empty()) {
        MessageBox("Save: Broker ID cannot be empty.", "Broker ID Error", MB_OK | MB_ICONEXCLAMATION,
                   GetSafeHwnd());
        return;
    }
    int position = FindBrokerRecord(id);
    // Changing the identifier to that of another entry would overwrite
    // that entry unseen: the user says so first.
    if (position >= 0 && id != opened_ &&
        MessageBox("ID " + id + " already exists. Replace its information ?", "Confirm Change", MB_OKCANCEL,
                   GetSafeHwnd()) != IDOK)
        return;
    auto& brokers = BrokerArray();
    if (position < 0) {
        auto record = std::make_unique<records::CBrokerRecord>();
        record->identifier = id;
        if (data_dialog_) data_dialog_->GetDlgItem(CBrokerDataDlg::kList).AddString(id);
        brokers.push_back(std::move(record));
        position = static_cast<int>(brokers.size()) - 1;
    }
    records::CBrokerRecord& record = *brokers[static_cast<std::size_t>(position)];
    for (const FieldControl& f : Fields()) record.*f.field = GetDlgItemText(f.id);
    for (int i = 0; i < 5; ++i) record.address[i] = GetDlgItemText(kAddress1 + i);
    EndDialog(IDOK);
}

}  // namespace setup
