// The records of a new member account and COMMON.FIL record 29.

#include "records/member_accounts.h"

#include "records/account_records.h"
#include "records/common_file.h"
#include "records/files.h"

namespace records {

AccountRecordSet MemberAccountRecords(const NewMemberAccount& a, const Record& keep_r3) {
    AccountRecordSet r;
    for (Record& rec : r) rec = Record(kAccountRecordLength, ' ');

    // R1: the name and address lines 1 to 3.
    r[0].SetText(0, 32, a.lines[0]);
    r[0].SetText(32, 32, a.lines[1]);
    r[0].SetText(64, 32, a.lines[2]);
    r[0].SetText(96, 32, a.lines[3]);

    // R2: manager code, short name, tax id and the opening date; the
    // reserved bytes, the salutation and the phones blank.
    r[1].SetText(16, 4, a.manager_code);
    r[1].SetText(52, 32, a.lines[0]);
    r[1].SetText(84, 12, a.tax_id);
    r[1].SetText(120, 8, a.date_opened);

    // R3: address line 4, the custodian account number, fiscal year end
    // December and the cash balance code; bytes 126-127 as they were.
    r[2].SetText(0, 32, a.lines[4]);
    r[2].SetText(32, 32, a.custodian_account);
    r[2].SetI16(80, 12);
    r[2].SetText(94, 4, a.cash_balance_code);
    for (std::size_t b = 126; b < 128; ++b) r[2].data()[b] = keep_r3.size() > b ? keep_r3.data()[b] : 0;

    // R4: zero prices and value, the performance start zero, fee code "0",
    // no setup charge, billing every quarter, letter type 2, fee option 1;
    // combined accounts and objective blank; the performance words zero.
    Record& r4 = r[3];
    for (std::size_t b = 0; b < 36; ++b) r4.data()[b] = 0;
    r4.SetText(36, 1, "0");
    r4.SetR4(37, 0.0f);
    r4.SetI16(41, 3);
    r4.SetI16(43, 2);
    r4.SetI16(45, 1);
    for (std::size_t b = 91; b < 103; ++b) r4.data()[b] = 0;
    for (std::size_t b = 111; b < 115; ++b) r4.data()[b] = 0;
    for (std::size_t b = 116; b < 128; ++b) r4.data()[b] = 0;

    // R5 and R6: the member's block as the four note lines.
    r[4].SetText(0, 60, a.notes[0]);
    r[4].SetText(60, 60, a.notes[1]);
    r[5].SetText(0, 60, a.notes[2]);
    r[5].SetText(60, 60, a.notes[3]);
    return r;
}

bool ReadLastMemberIdentifier(std::string& text) {
    DirectFile common(kCommonFile, kAccountRecordLength, /*create=*/false);
    Record rec;
    if (!common.Read(kLastMemberIdentifierRecord, rec)) return false;
    text = rec.Text(0, 8);
    return true;
}

void WriteLastMemberIdentifier(std::string_view text) {
    DirectFile common(kCommonFile, kAccountRecordLength);
    Record rec(kAccountRecordLength, 0);
    if (!common.Read(kLastMemberIdentifierRecord, rec)) rec = Record(kAccountRecordLength, 0);
    rec.SetText(0, 8, text);
    common.Write(kLastMemberIdentifierRecord, rec);
}

}  // namespace records
