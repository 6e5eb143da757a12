#pragma once

// The data directory of the list report tests: the firm heading, the
// program date, brokers and custodians with every printed field, and the
// accounts and securities of the account lists and searches.

#include <cstdint>
#include <string>
#include <vector>

#include "tests/fixtures/report_data.h"

namespace listfix {

inline fixtures::PartyFields Party(const std::string& id, const std::string& name, const std::string& phone) {
    fixtures::PartyFields p;
    p.id = id;
    p.lines = {name, "100 " + id + " STREET", "SUITE 2", "NEW YORK, NY", "10005"};
    p.attention = "ATTN " + id + " DESK";
    p.executive = "EXEC " + id;
    p.telephone = phone;
    p.long_name = name + " LONG NAME";
    p.third_rest = "REST OF " + id;
    return p;
}

// Brokers out of ID order, with a deleted and a blank entry between them.
inline std::vector<fixtures::PartyFields> Brokers() {
    return {Party("MERRIL", "MERRILL LYNCH", "2125551000"),
            Party("$$$$$$", "DELETED BROKER", "0000000000"),
            Party("BEAR", "BEAR STEARNS", "2125552000"),
            Party("", "BLANK ENTRY", ""),
            Party("SCHWAB", "CHARLES SCHWAB & CO", "4155553000"),
            Party("AGED", "A. G. EDWARDS", "5551234"),
            Party("PAINE", "PAINEWEBBER", "")};
}

inline std::vector<fixtures::PartyFields> Custodians() {
    return {Party("STATEST", "STATE STREET BANK", "6175554000"), Party("$$$$$$", "DELETED CUSTODIAN", ""),
            Party("BNYM", "BANK OF NEW YORK", "2125555000"), Party("", "BLANK ENTRY", ""),
            Party("NTRUST", "NORTHERN TRUST", "3125556000")};
}

// The accounts of the account lists and searches, in index order:
//  1 SMITH1  broker and custodian, every field, a negative balance due
//  2 $$$$$$  deleted
//  3 JONES   broker only, a master account (and combined accounts, not shown)
//  4 BAKER   six combined accounts; fiscal month, billing frequency and
//            period end month as a blank R4 holds them (8224)
//  5 (blank key)
//  6 ADAMS   custodian only, period end February of year 0, no
//            investment objective (four zero bytes)
//  7 YOUNG   its records 4 to 8 are cut off ACCOUNT.REC (WriteAccounts
//            with cut_last)
inline std::vector<fixtures::ClientFields> Clients() {
    fixtures::ClientFields smith;
    smith.id = "SMITH1";
    smith.address = {"JOHN A. SMITH", "12 ELM STREET", "APT 4B", "SPRINGFIELD, IL 62701", "USA"};
    smith.manager = "ABCD";
    smith.salutation = "DEAR JOHN:";
    smith.short_name = "ALPHA FUND";
    smith.tax_id = "123-45-6789";
    smith.home_phone = "2175551111";
    smith.business_phone = "2175552222";
    smith.opened = "03/15/95";
    smith.custodian_account = "2222-SMITH";
    smith.custodian = "BNYM";
    smith.broker = "MERRIL";
    smith.fiscal_year_end = 6;
    smith.cash_code = "S";
    smith.index1_price = 459.27f;
    smith.index2_price = 1234.5f;
    smith.opening_value = 1200000.0;
    smith.fee_code = "A";
    smith.setup_charge = 250.0f;
    smith.billing_frequency = 3;
    smith.invoice_letter = 2;
    smith.fee_option = 1;
    smith.objective = "GROW";
    smith.total_billed = 15250.75f;
    smith.balance_due = -1234.5f;
    smith.period_month = 6;
    smith.period_year = 98;
    smith.notes = {"PREFERS QUARTERLY CALLS", "NO TOBACCO STOCKS", "", "REVIEW IN JANUARY"};

    fixtures::ClientFields deleted;
    deleted.id = "$$$$$$";
    deleted.short_name = "DELETED ACCOUNT";
    deleted.manager = "ABCD";

    fixtures::ClientFields jones;
    jones.id = "JONES";
    jones.address = {"MARY JONES", "4 OAK LANE", "BOSTON, MA 02110", "", ""};
    jones.manager = "ABXY";
    jones.salutation = "DEAR MARY:";
    jones.short_name = "ZETA TRUST";
    jones.opened = "11/01/01";
    jones.custodian_account = "1111-JONES";
    jones.broker = "BEAR";
    jones.fiscal_year_end = 12;
    jones.opening_value = 50000.0;
    jones.master = "SMITH1";
    jones.combined = {"SMITH1", "BAKER"};
    jones.billing_frequency = 7;
    jones.period_month = 12;
    jones.period_year = 1;

    fixtures::ClientFields baker;
    baker.id = "BAKER";
    baker.address = {"BAKER FAMILY TRUST", "PO BOX 9", "", "", ""};
    baker.manager = "ZZZZ";
    baker.short_name = "BAKER TRUST";
    baker.opened = "07/04/98";
    baker.custodian_account = "9999-BAKER";
    baker.fiscal_year_end = 8224;
    baker.billing_frequency = 8224;
    baker.period_month = 8224;
    baker.period_year = 8224;
    baker.opening_value = 1000.0;
    baker.combined = {"ACC001", "ACC002", "ACC003", "ACC004", "ACC005", "ACC006"};

    fixtures::ClientFields blank;
    blank.id = "";
    blank.short_name = "BLANK KEY ACCOUNT";

    fixtures::ClientFields adams;
    adams.id = "ADAMS";
    adams.address = {"ADAMS & CO", "", "", "", ""};
    adams.manager = "ABQQ";
    adams.short_name = "MIDDLE ACCOUNT";
    adams.opened = "01/02/00";
    adams.custodian_account = "3333-ADAMS";
    adams.custodian = "NTRUST";
    adams.opening_value = 0.5;
    adams.period_month = 2;
    adams.period_year = 0;
    adams.objective = std::string(4, '\0');

    fixtures::ClientFields young;
    young.id = "YOUNG";
    young.address = {"PAT YOUNG", "", "", "", ""};
    young.manager = "QQQQ";
    young.short_name = "YOUNG IRA";
    young.custodian_account = "4444-YOUNG";
    young.opened = "06/01/97";
    young.opening_value = 999.0;  // in a record that is cut off

    return {smith, deleted, jones, baker, blank, adams, young};
}

// Writes the accounts; ACCOUNT.REC is cut after YOUNG's third record, and
// the index header carries the account-list sort order.
inline void WriteAccounts(int16_t sort_order = 1) {
    fixtures::WriteClients(Clients());
    fixtures::SetAccountSortOrder(sort_order);
    fixtures::CutFile("ACCOUNT.REC", (7 - 1) * 8 + 3);
}

inline std::vector<fixtures::SecurityEntry> Securities() {
    return {{.symbol = "IBM",
             .cusip = "459200101",
             .description1 = "INTL BUSINESS MACHINES",
             .description2 = "COMMON STOCK",
             .type = "H"},
            {.symbol = "$$$$$$$$$$$$", .cusip = "OLD", .description1 = "OAK BOND FUND (OLD)", .type = "H"},
            {.symbol = "T 5.25 02",
             .cusip = "912827ZZ1",
             .description1 = "US TREASURY NOTE",
             .description2 = "5.25% DUE 11/15/02",
             .type = "3",
             .maturity = "11/15/02",
             .rate = 5.25f,
             .moody_rating = "AAA",
             .sp_rating = "AAA"},
            {.symbol = "OAKBF", .cusip = "671234567", .description1 = "OAK BOND FUND", .type = "7"},
            {.symbol = "OAKLOW", .cusip = "671234999", .description1 = "Oak Bond Fund", .type = "7"}};
}

inline void WriteFirm() {
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS, INC.", 58, 0);
    fixtures::WriteProgramDate("12/08/98");
}

}  // namespace listfix
