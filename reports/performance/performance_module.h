#pragma once

// The performance module (report code 121): one of five performance
// reports over one account, the accounts of a manager pattern or a
// composite of accounts, as the performance reports dialog chose it.
//
// Report types: 1 monthly performance and the performance summary, 2
// combined performance (a composite built by Combpf), 3 the summary of
// performance by account, 4 the monthly performance by account, 5 the
// performance of an asset class. Any other type runs nothing.

#include <cstdint>
#include <string_view>

namespace reports {

// selection "S   " one account, "A   " the manager pattern; dates
// MM/DD/YY; choice: the dialog's asset class (1 cash equivalents, 2
// equities, 3 fixed income, 4 one security, 5 all classes), which a type 5
// run hands on with 4 and 5 exchanged, and the other types replace by 0;
// frequency "M   " or "Q   "; output_mode 1 the work file, 3 also a copy
// into output_name; list_file: the composite's account list; group: the
// composite's 32-character description. PCONTROL.FIL is deleted first, so
// no run resumes what an earlier one left.
void Mperf(int16_t report_type, std::string_view selection, std::string_view manager,
           std::string_view account, std::string_view start, std::string_view end, int16_t& choice,
           std::string_view frequency, int16_t output_mode, std::string_view output_name, int name_length,
           std::string_view list_file, int list_length, int16_t unused, std::string_view group);

}  // namespace reports
