#pragma once

// The position summary (report code 102): for one account or every account
// of a manager code, each lot with its quantity, purchase date, unit cost,
// price, market value and unrealized gain, then the account's cash and
// totals.

#include <cstdint>
#include <string>
#include <string_view>

namespace reports {

// scope "A" every account of the index, anything else the one account;
// manager: 4 characters, "?" matches any character; account (in/out):
// the one account, afterwards the last account listed; report_date
// MM/DD/YY; output_mode 1 lines to the work file, 3 also copied into
// output_name, 0 or below writes nothing.
void Prhlrec(std::string_view scope, std::string_view manager, std::string& account,
             std::string_view report_date, int16_t output_mode, std::string_view output_name,
             int16_t name_length = 12);

// The ordering key of a holding: the type's place in the type list x 10^14
// plus its due date as eight digits, or, without a due date, a number made
// of the symbol's first six characters. due_date is YYMMDD with a two-digit
// year.
double Hldkey(std::string_view type, float due_date, std::string_view symbol);

}  // namespace reports
