#pragma once

// The working appraisal run (report code 101): for one account, or for
// every account of a manager code, the holdings valued as of a report date,
// one account a pass. Holval values the next account into TEMP1.WRK and
// keeps the run's cursor in HCONTROL.FIL; Prhold prints the account's pages
// and says whether another account follows; Holdings loops on the state
// word between them and ends the run.

#include <cstdint>
#include <optional>
#include <string>

#include "records/common_file.h"
#include "reports/kernel/lot_securities.h"
#include "reports/kernel/report_frame.h"

namespace reports {

// The state word of a working appraisal run.
enum HoldingsState : int16_t {
    kHoldingsValue = 0,     // value the next account
    kHoldingsPrint = 1,     // print the account just valued
    kHoldingsGainStep = 2,  // the gain and loss step follows (silent mode only)
    kHoldingsDone = 3,      // run finished
};

// What the passes of one run share: the work file it writes into, opened
// with the first account (or when the run ends without one).
struct HoldingsRun {
    std::string output_name = "XXX.TXT";
    int16_t mode = 1;
    std::optional<ReportFrame> frame;
    // The security files, opened at the first account valued.
    std::optional<RunSecurities> securities;

    // Starts OUTPUT.TMP unless it is started already.
    void Start();
    // A report line (starting OUTPUT.TMP first when needed).
    void Say(const std::string& line);
};

// The report entry: runs the whole report and returns when it is finished.
// Every run starts afresh (an HCONTROL.FIL left by an interrupted run is
// deleted first) and HCONTROL.FIL is deleted at the end.
void Holdings(std::string& kind, std::string& manager, std::string& account, std::string& date,
              std::string& accrued, std::string& post, int16_t& mode, std::string& output_name,
              int name_length);

// One valuation pass: leaves the state word at kHoldingsPrint (an account
// was valued into TEMP1.WRK) or kHoldingsDone (no account left, or the
// run had to stop; a report line then says why).
void Holval(HoldingsRun& run, int16_t& state, int16_t& mode, std::string& kind, std::string& manager,
            std::string& account, std::string& date, const std::string& accrued, const std::string& post);

// Ends the run.
void Holend(int16_t& state);

// Looks an account up by identifier in ACCOUNT.IDX: position = its entry
// + 1 (0 when absent or the index is empty); name, the custodian account
// text (R3 bytes 32-63), the code of R3 bytes 72-79, the manager code and
// the investment objective (R4 bytes 87-90). The name is blanked first;
// the other outputs stay as they were for an absent account.
void Gtclid(const std::string& account, int16_t& position, std::string& name, std::string& text,
            std::string& code, std::string& manager, std::string& word);

// The cash-equivalent rule of the valuation: a maturity (windowed YYMMDD
// number; 0 for none) from the report date to one year later, both
// included, or a past maturity after 1970.
bool MovesToCashEquivalents(float maturity_number, float report_date_number);

}  // namespace reports
