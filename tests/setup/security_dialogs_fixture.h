#pragma once

// Shared pieces of the security dialog tests: text scripts in the script
// driver's language played against a dialog the test runs, checks put
// between their steps, and the security files of a small master written
// through the record layer.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog.h"
#include "platform/scripted_interaction.h"

namespace security_tests {

// A script under construction: text steps (parsed by the script driver's
// parser) and checks between them.
class Script {
public:
    Script();
    // Appends the steps of a text script; a line that does not parse fails
    // the test.
    Script& Steps(std::string_view text);
    // A check between steps: the text it returns (empty when it holds).
    Script& Check(std::string description, std::function<std::string()> check);
    // Runs the dialog modally against the script; failures and steps left
    // over fail the test under the name given.
    int Play(platform::Dialog& dialog, const std::string& name);

    platform::ScriptedInteraction& Interaction() { return interaction_; }

private:
    platform::ScriptedInteraction interaction_;
};

// The lines of a list or combo box.
std::vector<std::string> Lines(const platform::Window& window, int id);

// Names types H ("CS", "Common Stock"), B ("CB", "Corporate Bond") and
// S ("T", "Treasury Bill").
void WriteThreeTypes();

// A security of the master as the tests write it.
struct Security {
    std::string id;
    char type = ' ';  // ' ' none
};
// Writes SECURITY.IDX with the identifiers and, for each position, a new
// SECURITY.REC record with the type and a zero SECURITY.EXT record.
void WriteMaster(const std::vector<Security>& securities);

// Record n (from 1) of a 128-byte record file as bytes; empty when the
// file is shorter.
std::string RecordOf(const std::string& file, int n);
// The whole file as bytes (empty when missing).
std::string FileBytes(const std::string& file);

}  // namespace security_tests
