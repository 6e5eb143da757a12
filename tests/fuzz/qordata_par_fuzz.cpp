// The data-feed parameter file qordata.par of arbitrary bytes: read with
// its call sets, checked against the call and port tables (single values,
// required settings, defaults and scrambled values), and any line's
// elements unscrambled.

#include <cstdlib>
#include <string>
#include <vector>

#include "feed/dialup/data_request.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/params.h"
#include "feed/dialup/scramble.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

int Drop(int channel, std::string_view, int) {
    return channel;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 2);
    fuzz::FreshDataDir();
    fuzz::WriteFile("qordata.par", parts[0]);
    // The call set selected, from the second part.
    const std::string call_set(parts[1].substr(0, parts[1].find('\n')));
    if (call_set.empty())
        ::unsetenv("CALLSET");
    else
        ::setenv("CALLSET", call_set.c_str(), 1);

    feed::ResetLibraryForTesting();
    feed::md_set_message_callback(&Drop);
    feed::ErrorCell() = 0;
    if (feed::md_read_params("qordata.par")) {
        (void)feed::md_check_settings(feed::CallTable());
        (void)feed::md_check_settings(feed::PortTable());
    }
    std::vector<std::string> elements;
    std::string_view rest = parts[1];
    while (!rest.empty() && elements.size() < 64) {
        const std::size_t at = rest.find(',');
        elements.emplace_back(rest.substr(0, at));
        rest.remove_prefix(at == std::string_view::npos ? rest.size() : at + 1);
    }
    feed::md_unscramble_value(elements);
    (void)feed::md_scramble_text(parts[1].substr(0, 19), fuzz::Byte(parts[1]) & 15);
    feed::md_set_message_callback(nullptr);
    feed::ResetLibraryForTesting();
    return 0;
}
