// The list reports' reads of the account and security files: the records
// are fetched one by one and their fields decoded by the record layer's
// codecs (account_file.h, account_billing.h, security_file.h).

#include "reports/lists/account_reads.h"

#include "records/account_billing.h"
#include "records/account_file.h"
#include "records/account_lists.h"
#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "records/security_file.h"

namespace reports {

namespace {

constexpr std::size_t kAccountRecordLength = 128;

// The account's records from its first record on: each record read on its
// own, a record that cannot be read left blank and marked unread.
struct AccountRecords {
    records::AccountRecordSet set;
    std::array<bool, 8> read{};
};

AccountRecords ReadAccountRecords(long first_record, int how_many) {
    AccountRecords recs;
    for (records::Record& r : recs.set) r = records::Record(kAccountRecordLength, ' ');
    records::DirectFile file(records::kAccountRecords, kAccountRecordLength, /*create=*/false);
    for (int i = 0; i < how_many; ++i)
        recs.read[static_cast<std::size_t>(i)] =
            file.Read(first_record + i, recs.set[static_cast<std::size_t>(i)]);
    return recs;
}

std::string Padded(const std::string& text, std::size_t width) {
    return records::Fixed(text, width);
}

}  // namespace

ClientData ReadClientData(long first_record) {
    const AccountRecords recs = ReadAccountRecords(first_record, 6);
    records::CAccountEntry a;
    records::DecodeAccountRecords(recs.set, a);
    ClientData c;
    for (std::size_t i = 0; i < 6; ++i) c.read[i] = recs.read[i];
    if (c.read[0]) {
        c.address[0] = Padded(a.name, 32);
        for (std::size_t i = 0; i < 3; ++i) c.address[i + 1] = Padded(a.address[i], 32);
    }
    if (c.read[1]) {
        c.manager = Padded(a.manager_code, 4);
        c.salutation = Padded(a.salutation, 32);
        c.short_name = Padded(a.short_name, 32);
        c.tax_id = Padded(a.tax_id, 12);
        c.home_phone = Padded(a.home_phone, 12);
        c.business_phone = Padded(a.business_phone, 12);
        c.opened = Padded(a.date_opened, 8);
    }
    if (c.read[2]) {
        c.address[4] = Padded(a.address[3], 32);
        c.custodian_account = Padded(a.custodian1, 16) + Padded(a.custodian2, 16);
        c.custodian = Padded(a.custodian_id, 8);
        c.broker = Padded(a.broker_id, 8);
        c.fiscal_year_end = a.fiscal_year_end_month;
        c.cash_code = Padded(a.cash_balance_code, 4);
        for (std::size_t i = 5; i < 10; ++i) c.combined[i] = Padded(a.combined[i], 8);
    }
    if (c.read[3]) {
        c.index1_price = a.index1_price;
        c.index2_price = a.index2_price;
        c.opening_value = a.opening_value;
        c.fee_code = Padded(a.management_fee_code, 1);
        c.setup_charge = a.setup_charge;
        c.billing_frequency = a.billing_frequency;
        c.invoice_letter = a.invoice_letter_type;
        c.fee_option = a.management_fee_option;
        for (std::size_t i = 0; i < 5; ++i) c.combined[i] = Padded(a.combined[i], 8);
        c.objective = Padded(a.investment_objective, 4);
        const records::AccountBilling billing = records::AccountBilling::Decode(recs.set[3]);
        c.total_billed = billing.total_billed;
        c.balance_due = billing.balance_due;
        c.period_month = billing.period_month;
        c.period_year = billing.period_year;
        c.master = billing.master;
    }
    if (c.read[4]) {
        c.notes[0] = Padded(a.notes[0], 60);
        c.notes[1] = Padded(a.notes[1], 60);
    }
    if (c.read[5]) {
        c.notes[2] = Padded(a.notes[2], 60);
        c.notes[3] = Padded(a.notes[3], 60);
    }
    return c;
}

SummaryFields ReadSummaryFields(long first_record) {
    // Records 2 to 4 of the account.
    AccountRecords recs;
    for (records::Record& r : recs.set) r = records::Record(kAccountRecordLength, ' ');
    {
        records::DirectFile file(records::kAccountRecords, kAccountRecordLength, /*create=*/false);
        for (std::size_t i = 1; i < 4; ++i)
            recs.read[i] = file.Read(first_record + static_cast<long>(i), recs.set[i]);
    }
    records::CAccountEntry a;
    records::DecodeAccountRecords(recs.set, a);
    SummaryFields s;
    s.read = recs.read[1] && recs.read[2] && recs.read[3];
    if (recs.read[1]) {
        s.manager = Padded(a.manager_code, 4);
        s.short_name = Padded(a.short_name, 32);
        s.opened = Padded(a.date_opened, 8);
    }
    if (recs.read[2]) s.custodian_account = Padded(a.custodian1, 16) + Padded(a.custodian2, 16);
    if (recs.read[3]) s.opening_value = a.opening_value;
    return s;
}

namespace {

// One record of account entry k, decoded; false when it cannot be read.
bool ReadAccountRecord(int entry, std::size_t which, records::CAccountEntry& account) {
    records::AccountRecordSet set;
    for (records::Record& r : set) r = records::Record(kAccountRecordLength, ' ');
    records::DirectFile file(records::kAccountRecords, kAccountRecordLength, /*create=*/false);
    if (!file.Read(records::AccountBaseRecord(entry) + static_cast<long>(which), set[which])) return false;
    records::DecodeAccountRecords(set, account);
    return true;
}

}  // namespace

bool ReadShortName(int entry, std::string& short_name) {
    records::CAccountEntry a;
    if (!ReadAccountRecord(entry, 1, a)) return false;
    short_name = Padded(a.short_name, 32);
    return true;
}

bool ReadCustodianAccount(int entry, std::string& custodian_account) {
    records::CAccountEntry a;
    if (!ReadAccountRecord(entry, 2, a)) return false;
    custodian_account = Padded(a.custodian1, 16) + Padded(a.custodian2, 16);
    return true;
}

bool ReadSecurityText(long record, SecurityText& security) {
    records::SecurityRecord fields;
    if (!records::ReadSecurity(record, fields)) return false;
    security.cusip = records::Fixed(fields.cusip, 12);
    security.description1 = records::Fixed(fields.description1, 32);
    security.description2 = records::Fixed(fields.description2, 32);
    return true;
}

}  // namespace reports
