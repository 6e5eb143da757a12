#include "engine/rebuild.h"

#include <filesystem>
#include <string>

#include "engine/replay.h"
#include "records/file_names.h"
#include "records/files.h"

namespace engine {

namespace {

bool Exists(std::string_view name) {
    const std::string path = records::ResolveName(name);
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

// Takes the lost writes of the replay's work files: a rebuild that does
// not move them tells its caller, which warns of the account, and leaves
// nothing of them for the end of the run. True when there were any.
bool TakeLostWorkFiles(bool lot_texts) {
    bool lost = records::TakeLostWrites(HoldingsWorkName());
    lost = records::TakeLostWrites(GainsWorkName()) || lost;
    if (lot_texts) lost = records::TakeLostWrites(LotTextsWorkName()) || lost;
    return lost;
}

}  // namespace

void Rbldhl(std::string_view account, int16_t& flag) {
    flag = kReplayDone;
    const std::string label(8, '\0');
    const ReplayResult result = ReplayTransactions(account, label, kEveryTransaction, 1, 0);
    if (result.status != kReplayDone) {
        TakeLostWorkFiles(result.lot_texts);
        flag = result.status;
        return;
    }
    if (!Exists(HoldingsWorkName()) || !Exists(GainsWorkName())) {
        flag = kWorkFilesFailed;
        return;
    }
    // The lot texts follow their lots, whose record numbers they share. A
    // replay without them removed HL.EXT, so only one with them looks for
    // it (a name that is not there costs a listing of the data directory).
    const bool lot_texts = result.lot_texts && Exists(LotTextsWorkName());
    // Every work file must be whole before any is moved (a full disk may
    // take the gains after the holdings went through): the account keeps
    // its holdings, lot texts and gains together, all old or all new.
    if (TakeLostWorkFiles(lot_texts)) {
        flag = kWorkFilesFailed;
        return;
    }
    if (!records::MoveFileOver(HoldingsWorkName(), records::Paknam(account, "HL", ".REC"))) {
        flag = kWorkFilesFailed;
        return;
    }
    if (lot_texts && !records::MoveFileOver(LotTextsWorkName(), records::Paknam(account, "HL", ".EXT"))) {
        flag = kWorkFilesFailed;
        return;
    }
    if (!records::MoveFileOver(GainsWorkName(), records::Paknam(account, "GL", ".REC"))) {
        flag = kWorkFilesFailed;
        return;
    }
    // The new gains file is in place: the transactions may now point into
    // it. A failure here leaves the holdings and gains rebuilt, which is
    // what the caller needs to know; the links are set again by the next
    // rebuild.
    WriteGainLinks(account, result.links);
}

}  // namespace engine
