#include "tests/setup/security_dialogs_fixture.h"

#include <gtest/gtest.h>

#include "records/files.h"
#include "records/security_file.h"
#include "records/security_types.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/script_driver.h"

namespace security_tests {

using fixtures::TempDataDir;

Script::Script() = default;

Script& Script::Steps(std::string_view text) {
    tools::ParsedScript parsed = tools::ParseScript(text, nullptr);
    for (const std::string& error : parsed.errors) ADD_FAILURE() << error;
    for (platform::ScriptStep& step : parsed.steps) interaction_.Add(std::move(step));
    return *this;
}

Script& Script::Check(std::string description, std::function<std::string()> check) {
    interaction_.Run(std::move(description), std::move(check));
    return *this;
}

int Script::Play(platform::Dialog& dialog, const std::string& name) {
    platform::ScopedInteraction installed(interaction_);
    const int result = dialog.DoModal();
    for (const std::string& failure : interaction_.Failures()) ADD_FAILURE() << name << ": " << failure;
    EXPECT_EQ(interaction_.StepsLeft(), 0u) << name;
    return result;
}

std::vector<std::string> Lines(const platform::Window& window, int id) {
    const platform::Control c = window.GetDlgItem(id);
    std::vector<std::string> lines;
    for (int i = 0; i < c.GetCount(); ++i) lines.push_back(c.GetText(i));
    return lines;
}

void WriteThreeTypes() {
    records::TypeNames types;
    types.codes[16] = "CS";
    types.names[16] = "Common Stock";
    types.codes[8] = "CB";
    types.names[8] = "Corporate Bond";
    types.codes[20] = "T";
    types.names[20] = "Treasury Bill";
    ASSERT_TRUE(records::WriteTypeNames(types));
}

void WriteMaster(const std::vector<Security>& securities) {
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < securities.size(); ++i) {
        ids.push_back(securities[i].id);
        const long n = static_cast<long>(i + 1);
        records::Record rec = records::NewSecurityRecord(securities[i].id, static_cast<int16_t>(n), false);
        if (securities[i].type != ' ') rec.SetText(76, 4, std::string(1, securities[i].type));
        ASSERT_TRUE(records::WriteSecurityRecord(n, rec));
        ASSERT_TRUE(records::WriteSecurityExtension(n, records::NewSecurityExtension()));
    }
    ASSERT_TRUE(records::WriteSecurityIndex(ids));
}

std::string FileBytes(const std::string& file) {
    // The program finds its files with the name's case ignored.
    const std::string path = records::ResolveName(file);
    if (!TempDataDir::Exists(path)) return {};
    const std::vector<unsigned char> bytes = TempDataDir::ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

std::string RecordOf(const std::string& file, int n) {
    const std::string all = FileBytes(file);
    const std::size_t start = static_cast<std::size_t>(n - 1) * 128;
    if (all.size() < start + 128) return {};
    return all.substr(start, 128);
}

}  // namespace security_tests
