#include "engine/rebuild.h"

#include <cerrno>
#include <filesystem>
#include <optional>
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
// nothing of them for the end of the run. The fault of the first, none
// when there were none.
std::optional<records::WriteFault> TakeLostWorkFiles(bool lot_texts) {
    std::optional<records::WriteFault> lost = records::TakeLostWrites(HoldingsWorkName());
    const std::optional<records::WriteFault> gains = records::TakeLostWrites(GainsWorkName());
    if (!lost) lost = gains;
    if (lot_texts) {
        const std::optional<records::WriteFault> texts = records::TakeLostWrites(LotTextsWorkName());
        if (!lost) lost = texts;
    }
    return lost;
}

// Moves a work file over the account's file; the fault of a move that
// failed.
bool MoveWorkFile(std::string_view work, const std::string& target, std::optional<records::WriteFault>& fault) {
    errno = 0;
    if (records::MoveFileOver(work, target)) return true;
    fault = records::FaultOfError(errno != 0 ? errno : EIO);
    return false;
}

}  // namespace

void Rbldhl(std::string_view account, int16_t& flag) {
    std::optional<records::WriteFault> fault;
    Rbldhl(account, flag, fault);
}

void Rbldhl(std::string_view account, int16_t& flag, std::optional<records::WriteFault>& fault) {
    flag = kReplayDone;
    fault.reset();
    const std::string label(8, '\0');
    const ReplayResult result = ReplayTransactions(account, label, kEveryTransaction, 1, 0);
    if (result.status != kReplayDone) {
        fault = TakeLostWorkFiles(result.lot_texts);
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
    if ((fault = TakeLostWorkFiles(lot_texts))) {
        flag = kWorkFilesFailed;
        return;
    }
    if (!MoveWorkFile(HoldingsWorkName(), records::Paknam(account, "HL", ".REC"), fault) ||
        (lot_texts && !MoveWorkFile(LotTextsWorkName(), records::Paknam(account, "HL", ".EXT"), fault)) ||
        !MoveWorkFile(GainsWorkName(), records::Paknam(account, "GL", ".REC"), fault)) {
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
