// The data directory at start-up: made only when the user agrees, checked
// for writing, and its COMMON.FIL checked for damage.

#include "shell/data_directory.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/message_box.h"
#include "records/common_file.h"
#include "shell/app.h"
#include "shell/field_helpers.h"
#include "shell/options_dialog.h"

namespace shell {
namespace {

// The caption of the program's own start-up messages: its main window's title.
constexpr const char* kCaption = "TREL1";
constexpr std::uintmax_t kRecordLength = 128;
// Faults of the options record named in full; the rest are counted.
constexpr std::size_t kOptionFaultsNamed = 3;

WritableCheck& InjectedCheck() {
    static WritableCheck check;
    return check;
}

// A file made, written and removed again: the one test that a read-only
// medium, a full disk and the permissions all answer. The file is removed
// whatever came of writing it.
std::optional<records::WriteFault> ProbeWritable() {
    const char* probe = "LEDRA.WR$";
    const int fd = ::open(probe, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return records::FaultOfError(errno);
    int error = 0;
    if (::write(fd, "x", 1) != 1) error = errno != 0 ? errno : ENOSPC;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (::unlink(probe) != 0 && error == 0) error = errno;
    if (error != 0) return records::FaultOfError(error);
    return std::nullopt;
}

// What the start-up says of a directory that cannot be written; the
// read-only medium's text is the first the program had.
std::string NotWritableText(records::WriteFault fault, const std::string& directory) {
    const std::string quoted = "\"" + directory + "\"";
    const std::string what =
        "reports, postings, the data base update, set-up changes and the program date will not work";
    switch (fault) {
        case records::WriteFault::kReadOnly:
            return "The data directory " + quoted + " is read-only.\nNothing can be written to it: " + what + ".";
        case records::WriteFault::kDiskFull:
            return "The disk of the data directory " + quoted + " is full.\nNothing more can be written to it: " +
                   what + " until there is space again.";
        case records::WriteFault::kNoPermission:
            return "There is no permission to write in the data directory " + quoted +
                   ".\nNothing can be written to it: " + what + ".";
        case records::WriteFault::kOther:
            break;
    }
    return "The data directory " + quoted + " cannot be written.\nNothing can be written to it: " + what + ".";
}

// Bytes as they may be shown in a message: others than printable ones as "?".
std::string Printable(const std::string& bytes) {
    std::string shown;
    for (char c : bytes) shown += (c >= ' ' && c <= '~') ? c : '?';
    return shown;
}

bool OptionValueAllowed(const OptionInfo& info, unsigned char value) {
    switch (info.kind) {
        case OptionKind::YesNo:
            return value <= 1;
        case OptionKind::Number:
            // 0 is an option never set, which the options dialog steps from.
            return value == 0 || (value >= info.smallest && value <= info.largest);
        case OptionKind::Character:
            return value == 0 || (value >= ' ' && value <= '~');
        case OptionKind::None:
            return true;
    }
    return true;
}

}  // namespace

int OpenDataDirectory(const std::filesystem::path& path, bool named_on_command_line) {
    std::error_code error;
    if (named_on_command_line && !std::filesystem::exists(path, error)) {
        const std::string question =
            "The data directory \"" + path.string() + "\" does not exist.\nCreate it?";
        if (platform::MessageBox(question, kCaption, platform::MB_YESNO | platform::MB_ICONQUESTION) !=
            platform::IDYES)
            return 1;
    }
    if (const std::string problem = EnterDataDirectory(path); !problem.empty()) {
        std::fprintf(stderr, "Ledra: %s\n", problem.c_str());
        platform::MessageBox(problem, kCaption, platform::MB_OK | platform::MB_ICONSTOP);
        return 1;
    }
    return 0;
}

void SetDataDirectoryWritableCheck(WritableCheck check) {
    InjectedCheck() = std::move(check);
}

std::optional<records::WriteFault> DataDirectoryWriteFault() {
    return InjectedCheck() ? InjectedCheck()() : ProbeWritable();
}

bool DataDirectoryWritable() {
    return !DataDirectoryWriteFault();
}

std::vector<std::string> CommonFileDamage() {
    const records::CommonFileContents contents = records::InspectCommonFile();
    std::vector<std::string> damage;
    if (!contents.exists) return damage;
    if (contents.size == 0) return {"it is empty"};
    if (contents.size % kRecordLength != 0)
        damage.push_back("its size, " + std::to_string(contents.size) + " bytes, is not a whole number of " +
                         std::to_string(kRecordLength) + "-byte records");
    if (contents.date_text) {
        const std::string& text = *contents.date_text;
        const bool never_written = text.find_first_not_of(std::string(" \0", 2)) == std::string::npos;
        std::string date = text;
        if (!never_written && !CheckDateText(date))
            damage.push_back("the program date (record 2) reads \"" + Printable(text) +
                             "\", which is not a date");
    }
    if (contents.options) {
        std::vector<std::string> faults;
        for (int n = 1; n <= COptionsDlg::kOptionCount; ++n) {
            const unsigned char value = (*contents.options)[static_cast<std::size_t>(n - 1)];
            if (!OptionValueAllowed(OptionTable(n), value))
                faults.push_back("option " + std::to_string(n) + " holds " + std::to_string(value));
        }
        if (!faults.empty()) {
            std::string listed = "the options (record 31) hold values no option allows: ";
            for (std::size_t i = 0; i < faults.size() && i < kOptionFaultsNamed; ++i)
                listed += (i ? ", " : "") + faults[i];
            if (faults.size() > kOptionFaultsNamed)
                listed += " and " + std::to_string(faults.size() - kOptionFaultsNamed) + " more";
            damage.push_back(listed);
        }
    }
    return damage;
}

void CheckDataDirectoryAtStartup(platform::WindowHandle owner) {
    std::error_code error;
    const std::string directory = std::filesystem::current_path(error).string();
    const std::optional<records::WriteFault> fault = DataDirectoryWriteFault();
    const bool writable = !fault;
    if (fault)
        platform::MessageBox(NotWritableText(*fault, directory), kCaption,
                             platform::MB_OK | platform::MB_ICONEXCLAMATION, owner);
    const std::vector<std::string> damage = CommonFileDamage();
    if (damage.empty()) return;
    std::string text = std::string(records::kCommonFile) + " in \"" + directory + "\" is damaged: ";
    for (std::size_t i = 0; i < damage.size(); ++i) text += (i ? "; " : "") + damage[i];
    text += ".\n";
    if (writable && records::KeepDamagedCommonFile())
        text += std::string("A copy was kept as ") + records::kDamagedCommonFile + ". ";
    else
        text += std::string("No copy could be kept as ") + records::kDamagedCommonFile + ". ";
    text += "The program goes on with what can be read.";
    platform::MessageBox(text, kCaption, platform::MB_OK | platform::MB_ICONEXCLAMATION, owner);
}

}  // namespace shell
