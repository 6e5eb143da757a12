// Dialogue scripts of arbitrary bytes run by the interpreter, with no line
// open (commands that talk to the line fail as on a dead port). A bound on
// the lines run stands in for the user's cancel: past it the error cell is
// set, as a cancel does, and the interpreter must unwind. Character delays
// are kept short so that a WRITE cannot sleep the run away.

#include <string>

#include "feed/dialup/data_request.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/script.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr long kLineBound = 20000;
long g_lines = 0;

int Count(int channel, std::string_view, int) {
    if (channel == feed::kChannelScriptEcho && ++g_lines > kLineBound && feed::ErrorCell() == 0)
        feed::ErrorCell() = -1;
    if (feed::CharacterDelay() > 1000) feed::CharacterDelay() = 1000;
    return channel;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 2);
    fuzz::FreshDataDir();
    fuzz::WriteFile("fuzz.dlg", parts[0]);
    // A second file for GOSUB targets and exit dialogues that name it.
    fuzz::WriteFile("exit.dlg", parts[1]);
    feed::ResetLibraryForTesting();
    feed::md_set_message_callback(&Count);
    g_lines = 0;
    feed::ErrorCell() = 0;
    (void)feed::md_run_script("fuzz.dlg");
    feed::md_set_message_callback(nullptr);
    feed::ResetLibraryForTesting();
    return 0;
}
