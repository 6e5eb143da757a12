// The transaction ledger: goldens of the ledger lines under each filter,
// the account loop, the opening balance and the TRANSACT.TRN export.

#include "reports/ledgers/transaction_ledger.h"

#include <gtest/gtest.h>

#include "records/files.h"
#include "records/report_output.h"
#include "reports/ledgers/ledger_account_pages.h"
#include "tests/fixtures/golden.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/reports/ledgers/ledger_data.h"

namespace {

using fixtures::TempDataDir;

struct Selection {
    std::string mode = "S   ";
    std::string manager = "????";
    std::string account = "SMITH1";
    std::string start = "01/01/05";
    std::string end = "12/31/05";
    std::string security_type = "    ";
    std::string codes = std::string(20, ' ');
    std::string transaction_type = "    ";
};

std::string RunLedger(const Selection& s) {
    reports::Transld(s.mode, s.manager, records::Fixed(s.account, 8), s.start, s.end, s.security_type,
                     records::Fixed(s.codes, 20), s.transaction_type, 3, records::Fixed("LEDGER.TXT", 12),
                     12);
    return fixtures::ReportText("LEDGER.TXT");
}

// The amounts of the CLOSING BALANCE and NET AMOUNT lines, in order.
std::vector<std::string> Closings(const std::string& text) {
    std::vector<std::string> amounts;
    std::size_t at = 0;
    while ((at = text.find('\n', at)) != std::string::npos) {
        const std::size_t next = text.find('\n', at + 1);
        const std::string line =
            text.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1);
        if (line.find("CLOSING BALANCE") != std::string::npos || line.find("NET AMOUNT") != std::string::npos)
            amounts.push_back(line.substr(line.find_last_of(' ') + 1));
        at = next == std::string::npos ? next : next;
        if (at == std::string::npos) break;
    }
    return amounts;
}

class Ledger : public ::testing::Test {
protected:
    void SetUp() override {
        ledgerfix::WriteFirm();
        ledgerfix::WriteLedgerAccounts();
    }
    TempDataDir dir_;
};

struct LedgerCase {
    const char* golden;
    const char* account;
    const char* security_type;
    const char* codes;
    const char* transaction_type;
};

class LedgerGoldens : public Ledger, public ::testing::WithParamInterface<LedgerCase> {};

TEST_P(LedgerGoldens, MatchesTheGolden) {
    const LedgerCase& c = GetParam();
    Selection s;
    s.account = c.account;
    s.security_type = records::Fixed(c.security_type, 4);
    s.codes = c.codes;
    s.transaction_type = records::Fixed(c.transaction_type, 4);
    fixtures::CompareWithGolden(std::string("reports/ledgers/") + c.golden, RunLedger(s));
}

INSTANTIATE_TEST_SUITE_P(Filters, LedgerGoldens,
                         ::testing::Values(
                             // Opening balance from the deposit before the window, the bond's
                             // interest line, the transfer's "N" interest line left out of the
                             // balance, notes in the security column, CLOSING BALANCE 732.50.
                             LedgerCase{"transaction_ledger_unfiltered.txt", "SMITH1", "", "", ""},
                             // A debit larger than the deposits: the closing balance in brackets.
                             LedgerCase{"transaction_ledger_negative.txt", "JONES", "", "", ""},
                             // Only the interest lines of the B and SI with accrued interest.
                             LedgerCase{"transaction_ledger_codes_ip.txt", "SMITH1", "", "IP", ""},
                             // The transactions of type "T": NET AMOUNT (205.00).
                             LedgerCase{"transaction_ledger_type_t.txt", "SMITH1", "", "", "T"},
                             // The "N" adjustment alone nets 0.00.
                             LedgerCase{"transaction_ledger_type_n.txt", "SMITH1", "", "", "N"},
                             // Common stocks (type C, code CS): the IBM trades only.
                             LedgerCase{"transaction_ledger_security_type.txt", "SMITH1", "CS", "", ""},
                             // An account that is not in the index: blank name, no transactions.
                             LedgerCase{"transaction_ledger_unknown_account.txt", "NOBODY", "", "", ""}),
                         [](const ::testing::TestParamInfo<LedgerCase>& info) {
                             std::string name = info.param.golden;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace

namespace {

// A short page: the heading takes 13 lines and a detail line that finds
// the page at its length less 9 starts the next page.
TEST_F(Ledger, BreaksThePageAtItsLengthLessNine) {
    ledgerfix::WriteFirm(30);
    fixtures::CompareWithGolden("reports/ledgers/transaction_ledger_page_break.txt", RunLedger(Selection{}));
}

// SMITH1's transactions with the sale of the XYZ bond (20.00 of accrued
// interest) made a transfer of the type.
void WriteSmithWithTransferOfType(const std::string& type) {
    std::vector<records::TransactionRecord> transactions = ledgerfix::SmithTransactions();
    for (records::TransactionRecord& t : transactions)
        if (t.code == "SI  ") t.type = records::Fixed(type, 4);
    fixtures::WriteTransactions("SMITH1", transactions);
}

// A transfer of type "R" with accrued interest under the type filter "R":
// its interest line is made an "N" line, which never went into the net
// amount and so is not taken out of it either.
TEST_F(Ledger, TransferInterestUnderATypeFilterLeavesTheNetAmountAlone) {
    WriteSmithWithTransferOfType("R");
    Selection s;
    s.transaction_type = "R   ";
    fixtures::CompareWithGolden("reports/ledgers/transaction_ledger_type_transfer.txt", RunLedger(s));
}

// The same transfer of type "T" under the code list "SI" and the type
// filter "T": its interest line goes into the net amount and comes out
// again, netting 0.00.
TEST_F(Ledger, TransferInterestUnderACodeListAndATypeFilterNetsNothing) {
    WriteSmithWithTransferOfType("T");
    Selection s;
    s.codes = "SI";
    s.transaction_type = "T   ";
    const std::string text = RunLedger(s);
    EXPECT_EQ(Closings(text), std::vector<std::string>{"0.00"}) << text;
}

// The same transfer under the code list "SI" alone: its interest line is
// made "N", and only an unfiltered ledger leaves "N" lines out of its
// balance, so the net amount takes it: NET AMOUNT (20.00).
TEST_F(Ledger, TransferInterestUnderACodeListGoesIntoTheNetAmount) {
    Selection s;
    s.codes = "SI";
    const std::string text = RunLedger(s);
    EXPECT_EQ(Closings(text), std::vector<std::string>{"(20.00)"}) << text;
}

// The manager pattern of the account loop, over the index SMITH1 (ABCD),
// a deleted entry, JONES (ABZZ) and a blank key.
TEST_F(Ledger, TheAccountLoopTakesTheAccountsOfThePattern) {
    fixtures::ClientFields deleted;
    deleted.id = "$$$$$$";
    deleted.manager = "ABCD";
    deleted.short_name = "DELETED ACCOUNT";
    fixtures::ClientFields blank;
    blank.manager = "ABCD";
    blank.short_name = "BLANK KEY";
    fixtures::ClientFields smith;
    smith.id = "SMITH1";
    smith.manager = "ABCD";
    smith.short_name = "SMITH FAMILY TRUST";
    fixtures::ClientFields jones;
    jones.id = "JONES";
    jones.manager = "ABZZ";
    jones.short_name = "JONES IRA";
    fixtures::WriteClients({smith, deleted, jones, blank});
    struct Case {
        const char* pattern;
        std::vector<std::string> names;
    } cases[] = {
        {"????", {"SMITH FAMILY TRUST", "JONES IRA"}},
        {"AB??", {"SMITH FAMILY TRUST", "JONES IRA"}},
        {"A??Z", {"JONES IRA"}},
        {"ABC?", {"SMITH FAMILY TRUST"}},
        {"XY??", {}},
    };
    for (const Case& c : cases) {
        Selection s;
        s.mode = "A   ";
        s.manager = c.pattern;
        const std::string text = RunLedger(s);
        std::vector<std::string> names;
        for (const char* name : {"SMITH FAMILY TRUST", "JONES IRA", "DELETED ACCOUNT", "BLANK KEY"}) {
            const std::size_t at = text.find(name);
            if (at != std::string::npos) names.push_back(name);
        }
        EXPECT_EQ(names, c.names) << c.pattern;
        if (c.names.size() == 2) {
            EXPECT_LT(text.find("SMITH FAMILY TRUST"), text.find("JONES IRA"));
        }
    }
}

// With option 78 every listed line goes to TRANSACT.TRN; the file is
// written anew by each run, for every account of the run.
TEST_F(Ledger, ExportWritesTransactTrnOncePerRun) {
    fixtures::SetOptions({{records::Opt::kLedgerExportType, 1}});
    const std::string expected =
        "CUST-000,010305,dep,ca,cash     ,    10000.00\r\n"
        "CUST-000,011005,   ,ca,cash     ,     8550.00\r\n"
        "CUST-000,020105,   ,ca,cash     ,    10100.00\r\n"
        "CUST-000,020105,   ,ca,cash     ,       12.50\r\n"
        "CUST-000,031505,   ,ca,cash     ,       45.00\r\n"
        "CUST-000,040105,   ,ca,cash     ,     5050.00\r\n"
        "CUST-000,040105,   ,ca,cash     ,       20.00\r\n"
        "CUST-000,050205,   ,ca,cash     ,     4500.00\r\n"
        "CUST-000,061505,   ,ca,cash     ,      300.00\r\n"
        "CUST-000,063005,   ,ca,cash     ,      250.00\r\n"
        "CUST-000,063005,   ,ca,cash     ,      100.00\r\n"
        "JON-7777,010505,dep,ca,cash     ,     1000.00\r\n"
        "JON-7777,021005,   ,ca,cash     ,     1600.00\r\n";
    Selection s;
    s.mode = "A   ";
    for (int run = 0; run < 2; ++run) {
        RunLedger(s);
        const std::vector<unsigned char> bytes = TempDataDir::ReadBytes(reports::kLedgerExportFile);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected) << "run " << run + 1;
    }
    // Without the option no file is written.
    fixtures::SetOptions({{records::Opt::kLedgerExportType, 0}});
    records::Purge(reports::kLedgerExportFile);
    RunLedger(s);
    EXPECT_FALSE(TempDataDir::Exists(reports::kLedgerExportFile));
}

TEST(LedgerExportLine, FieldsAtTheirPositions) {
    struct Case {
        const char* custodian;
        const char* date;
        const char* code;
        double amount;
        const char* line;
    } cases[] = {
        {"ABCDEFGHIJK", "01/03/05", "FI  ", 10000, "ABCDEFGH,010305,dep,ca,cash     ,    10000.00"},
        {"", " 1/ 3/05", "FO  ", -12.345, "        ,010305,wdl,ca,cash     ,       12.35"},
        {"X", "12/31/99", "B   ", -8550, "X       ,123199,   ,ca,cash     ,     8550.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reports::LedgerExportLine(c.custodian, c.date, c.code, c.amount), c.line);
}

// More transactions than the old selection table held: the account is
// listed whole and the report ends with its closing balance.
TEST_F(Ledger, ListsAnAccountOfManyTransactionsWhole) {
    std::vector<records::TransactionRecord> many;
    for (int k = 0; k < 3100; ++k) {
        records::TransactionRecord t = fixtures::Transaction("FI", "CASH", "", "03/01/05", 0, 1, 0, 1);
        many.push_back(t);
    }
    fixtures::WriteTransactions("SMITH1", many);
    const std::vector<std::string> lines = fixtures::ReportFileLines(
        (reports::Transld("S   ", "????", "SMITH1  ", "01/01/05", "12/31/05", "    ", std::string(20, ' '),
                          "    ", 3, "LEDGER.TXT  ", 12),
         "LEDGER.TXT"));
    long details = 0;
    for (const std::string& line : lines)
        if (line.find("CASH RECVD") != std::string::npos) ++details;
    EXPECT_EQ(details, 3100);
    EXPECT_EQ(Closings(fixtures::ReportText("LEDGER.TXT")), std::vector<std::string>{"3,100.00"});
}

// A transaction file cut short ends that account's listing; its closing
// lines are written and the next account is listed.
TEST_F(Ledger, AnUnreadableRecordEndsOnlyThatAccountsListing) {
    fixtures::CutFile("TRSMITH1.REC", 4);  // header and three transactions
    Selection s;
    s.mode = "A   ";
    const std::string text = RunLedger(s);
    EXPECT_NE(text.find("02/01/05  PURCHASE"), std::string::npos);
    EXPECT_EQ(text.find("DIV INCOME"), std::string::npos);
    EXPECT_EQ(Closings(text), (std::vector<std::string>{"(8,662.50)", "(600.00)"}));
}

// Output mode below 1 writes nothing; mode 2 leaves an empty work file.
TEST_F(Ledger, OutputModesBelowOneAndTwoListNothing) {
    records::Purge(records::kReportWorkFile);
    reports::Transld("S   ", "????", "SMITH1  ", "01/01/05", "12/31/05", "    ", std::string(20, ' '), "    ",
                     0, "LEDGER.TXT  ", 12);
    EXPECT_FALSE(TempDataDir::Exists(records::kReportWorkFile));
    reports::Transld("S   ", "????", "SMITH1  ", "01/01/05", "12/31/05", "    ", std::string(20, ' '), "    ",
                     2, "LEDGER.TXT  ", 12);
    EXPECT_TRUE(TempDataDir::Exists(records::kReportWorkFile));
    EXPECT_TRUE(TempDataDir::ReadBytes(records::kReportWorkFile).empty());
}

// An empty data directory: the report says the index cannot be read.
TEST(LedgerEmpty, AMissingIndexIsSaid) {
    TempDataDir dir;
    Selection s;
    s.mode = "A   ";
    EXPECT_NE(RunLedger(s).find("ACCOUNT.IDX record 1 could not be read."), std::string::npos);
}

}  // namespace

namespace {

// The opening balance is the first cash lot's while the CASH security is
// of type "1"; otherwise 0, never the cost of whatever lot came last.
TEST_F(Ledger, OpeningBalanceIsTheCashLotOrZero) {
    std::vector<records::TransactionRecord> transactions = ledgerfix::SmithTransactions();
    // A purchase before the window leaves a lot after the cash lot.
    transactions.push_back(fixtures::Transaction("B", "IBM", "", "12/20/04", 10, 700, ledgerfix::kIbmKey, 2));
    fixtures::WriteTransactions("SMITH1", transactions);
    int16_t status = -1;
    EXPECT_DOUBLE_EQ(reports::Ldgcsh("SMITH1  ", "01/01/05", status), 4300.0);
    EXPECT_EQ(status, 0);
    // Transactions of the day itself are left out.
    EXPECT_DOUBLE_EQ(reports::Ldgcsh("SMITH1  ", "12/20/04", status), 5000.0);

    fixtures::SecurityEntry cash;
    cash.symbol = "CASH";
    cash.type = "C";
    fixtures::SecurityEntry ibm;
    ibm.symbol = "IBM";
    ibm.type = "C";
    fixtures::WriteSecurityFiles({cash, ibm});
    EXPECT_DOUBLE_EQ(reports::Ldgcsh("SMITH1  ", "01/01/05", status), 0.0);
}

// SMITH1's IBM trades with a holding key of 0, which the replay's search
// could take for the cash lot: only the replay can tell the opening
// balance, and the ledger prints its figure. Before the purchase (and on
// its day, which is left out) the transactions tell it without the replay.
TEST_F(Ledger, OpeningBalanceAfterATradeOfKey0IsTheReplays) {
    std::vector<records::TransactionRecord> transactions = ledgerfix::SmithTransactions();
    for (records::TransactionRecord& t : transactions)
        if (t.symbol == records::Fixed("IBM", 12)) t.holding_key = 0;
    fixtures::WriteTransactions("SMITH1", transactions);
    const struct Case {
        const char* start;
        double replayed;
        const char* opening;
    } cases[] = {
        {"01/10/05", 15000, "15,000.00"},  // 5,000 + 10,000
        {"01/11/05", 6450, "6,450.00"},    // less the purchase of 8,550
        {"06/01/05", 882.5, "882.50"},     // less the bond's 10,112.50, plus 45 and the sale's 4,500
    };
    for (const Case& c : cases) {
        Selection s;
        s.start = c.start;
        const std::string line = fixtures::LineWith(RunLedger(s), "OPENING BALANCE");
        EXPECT_EQ(line.substr(line.find_last_of(' ') + 1), c.opening) << c.start;
        int16_t status = -1;
        EXPECT_DOUBLE_EQ(reports::Ldgcsh("SMITH1  ", c.start, status), c.replayed) << c.start;
    }
}

}  // namespace

namespace {

// A security record that cannot be read drops its transactions: no line,
// no balance change, no interest line.
TEST_F(Ledger, AnUnreadableSecurityDropsItsTransactions) {
    fixtures::CutFile("SECURITY.REC", 2);  // CASH and IBM; the bond's record is gone
    const std::string text = RunLedger(Selection{});
    EXPECT_EQ(text.find("XYZ CORP"), std::string::npos);
    EXPECT_EQ(text.find("BND PRCH INT"), std::string::npos);
    EXPECT_NE(text.find("INTL BUSINESS MACHINES"), std::string::npos);
    // 732.50 without the bond's 10,100.00 and 12.50.
    EXPECT_EQ(Closings(text), std::vector<std::string>{"10,845.00"});
}

}  // namespace

namespace {

// The security column of a cash line shows the transaction's note for the
// income and expense codes (DI DE II IE MI ME), the symbol for the others.
TEST_F(Ledger, IncomeAndExpenseLinesShowTheirNote) {
    struct CodeCase {
        const char* code;
        bool note;
    };
    const CodeCase cases[] = {{"DI", true},  {"DE", true},  {"II", true},  {"IE", true},
                              {"MI", true},  {"ME", true},  {"FI", false}, {"FO", false},
                              {"MF", false}, {"BC", false}, {"AI", false}, {"AO", false}};
    std::vector<records::TransactionRecord> transactions;
    for (const CodeCase& c : cases)
        transactions.push_back(ledgerfix::Cash(c.code, "03/01/05", 10, std::string("NOTE OF ") + c.code));
    fixtures::WriteTransactions("SMITH1", transactions);
    const std::string text = RunLedger(Selection{});
    for (const CodeCase& c : cases) {
        const std::string note = std::string("NOTE OF ") + c.code;
        // The line of the code: its description follows the date.
        const reports::LedgerCode entry = reports::LedgerCodeTable(c.code, false);
        const std::size_t line = text.find(std::string(entry.description));
        ASSERT_NE(line, std::string::npos) << c.code;
        const std::string symbol_column = text.substr(line + 13, 12);
        EXPECT_EQ(symbol_column, c.note ? note + std::string(12 - note.size(), ' ') : "CASH        ")
            << c.code;
    }
}

}  // namespace
