// Request files of arbitrary bytes through the data-feed library's request
// driver: the file named by INPUT= is read and its lines sent, one by one,
// to a session double that answers each with the bytes of the second part
// (split into answer parts at each "\x1e"), written to the OUTPUT= file.
// The serial protocol beneath a real session is not reached here.

#include <cstdlib>
#include <string>
#include <vector>

#include "feed/dialup/data_request.h"
#include "feed/dialup/messages.h"
#include "feed/dialup/session.h"
#include "tests/feed/common/feed_test_support.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto parts = fuzz::Split(data, size, 3);
    fuzz::FreshDataDir();
    static const bool configured = [] {
        ::setenv("XDG_CONFIG_HOME", fuzz::DataDir().c_str(), 1);
        ::unsetenv("CALLSFILE");
        ::unsetenv("CALLSET");
        return true;
    }();
    (void)configured;
    fuzz::WriteFile("qordata.par", feedtest::kStandardParams);
    fuzz::WriteFile("request.txt", parts[0]);

    std::vector<std::string> answer;
    std::string_view rest = parts[1];
    while (answer.size() < 16) {
        const std::size_t at = rest.find('\x1e');
        answer.emplace_back(rest.substr(0, at));
        if (at == std::string_view::npos) break;
        rest.remove_prefix(at + 1);
    }
    feedtest::FakeSession session;
    session.server = [&answer](const std::string&) { return answer; };
    session.greeting = {std::string(parts[2])};
    session.chunk = 1 + fuzz::Byte(parts[2]) % 64;

    feed::ResetLibraryForTesting();
    feed::md_install_session(&session);
    std::string options = "INPUT=request.txt,OUTPUT=answers.txt";
    std::vector<char> buffer(options.begin(), options.end());
    buffer.push_back('\0');
    (void)feed::DataRequest(0, "", buffer.data());
    std::string hang = "HANGUP";
    std::vector<char> hangup(hang.begin(), hang.end());
    hangup.push_back('\0');
    (void)feed::DataRequest(0, "", hangup.data());
    feed::md_install_session(nullptr);
    feed::ResetLibraryForTesting();
    return 0;
}
