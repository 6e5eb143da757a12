#pragma once

// The custodian list (report code 185).

#include <string_view>

namespace reports {

// The "CUSTODIAN LIST" on 132-column pages, in CUSTDN.IDX order: selection
// "S   " the first custodian whose ID equals custodian_id, anything else
// every custodian. "$$$$" and blank entries are passed over in both modes.
// The work file is always copied to output_name.
void Csdnlist(std::string_view selection, std::string_view custodian_id, std::string_view output_name);

}  // namespace reports
