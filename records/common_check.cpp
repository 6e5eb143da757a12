// COMMON.FIL read as it stands, and the copy kept of a damaged one.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "records/common_file.h"
#include "records/files.h"

namespace records {
namespace {

constexpr std::size_t kRecordLength = 128;

}  // namespace

CommonFileContents InspectCommonFile() {
    CommonFileContents contents;
    const std::filesystem::path path = ResolveName(kCommonFile);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return contents;
    contents.exists = true;
    // Read whole rather than through a record file, which would create or
    // extend nothing but still opens for writing; the program's own
    // buffered writes go out first, so the read sees them.
    FlushPendingWrites();
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    contents.size = bytes.size();
    auto record = [&](int n) -> const char* {
        const std::size_t at = static_cast<std::size_t>(n - 1) * kRecordLength;
        return at + kRecordLength <= bytes.size() ? bytes.data() + at : nullptr;
    };
    if (const char* date = record(kProgramDateRecord)) contents.date_text = std::string(date, 8);
    if (const char* options = record(kOptionsRecord)) {
        Options read{};
        for (std::size_t i = 0; i < read.size(); ++i) read[i] = static_cast<unsigned char>(options[i]);
        contents.options = read;
    }
    return contents;
}

bool KeepDamagedCommonFile() {
    std::error_code error;
    std::filesystem::copy_file(ResolveName(kCommonFile), kDamagedCommonFile,
                               std::filesystem::copy_options::overwrite_existing, error);
    return !error;
}

}  // namespace records
