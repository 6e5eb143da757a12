#pragma once

// The data directory of the broker commission report tests: brokers ALDEN,
// BAXTER and CORWIN (and a deleted entry between them), three accounts and
// commissioned trades.

#include <string>
#include <vector>

#include "records/account_records.h"
#include "records/record.h"
#include "tests/fixtures/account_builder.h"
#include "tests/fixtures/report_data.h"

namespace commission_fixture {

inline void WriteBrokers() {
    fixtures::WriteBrokers({
        {.id = "CORWIN", .lines = {"CORWIN & CO"}, .long_name = "CORWIN AND COMPANY INCORPORATED NY"},
        {.id = "ALDEN", .lines = {"ALDEN SECURITIES"}, .long_name = "ALDEN SECURITIES"},
        {.id = "$$$$", .lines = {"GONE BROKERAGE"}, .long_name = "GONE BROKERAGE"},
        {.id = "BAXTER", .lines = {"BAXTER BROS"}, .long_name = "BAXTER BROTHERS"},
    });
}

inline void WriteAccounts() {
    fixtures::WriteClients({
        {.id = "SMITH", .manager = "AB", .short_name = "JOHN Q PUBLIC"},
        {.id = "JONES", .manager = "ACX", .short_name = "MARY SMITH TRUST"},
        {.id = "EMPTY", .manager = "AB", .short_name = "NO TRADES AT ALL"},
    });
}

// A trade with its broker and commission.
inline records::TransactionRecord Trade(const std::string& code, const std::string& symbol,
                                        const std::string& date, const std::string& broker, double commission,
                                        double quantity = 100, double amount = 1000) {
    records::TransactionRecord t = fixtures::Transaction(code, symbol, "", date, quantity, amount, 0, 2);
    t.broker = records::Fixed(broker, 8);
    t.commission = commission;
    t.price = 10.0f;
    return t;
}

inline void WriteCommon(const std::string& program_date = "03/20/01", short page_length = 58) {
    fixtures::WriteProgramDate(program_date);
    fixtures::WriteFirmHeading("LEDRA TEST ADVISERS", page_length);
}

}  // namespace commission_fixture
