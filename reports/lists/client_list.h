#pragma once

// The account list "CLIENT LIST" (report code 181).

#include <cstdint>
#include <string_view>

namespace reports {

// One client form a page for every account of ACCOUNT.IDX (selection
// "A   ") whose manager code matches the requested pattern ("?" takes any
// character), in the order the index header names (1 account ID, 2 short
// name, 3 custodian account number); any other selection prints the one
// account named by account_id, whatever its manager code. The work file is
// always copied to output_name.
void Acclis(std::string_view selection, std::string_view account_id, std::string_view manager,
            std::string_view output_name);

// The page heading of the account list: page number (raised by one before
// it is written; a blank line when page numbers are suppressed), firm
// name, title, the sort order's line (none for an order other than 1-3)
// and the date printed.
void Aclhdr(class ReportFrame& frame, std::string_view program_date, int16_t sort_order, int16_t& page);

}  // namespace reports
