#include "engine/symbols.h"

#include <filesystem>

#include "records/files.h"
#include "records/record.h"

namespace engine {

namespace {

constexpr std::size_t kSymbolWidth = 12;
// SECURITY.IDX keys hold at most nine significant characters.
constexpr std::size_t kSignificantWidth = 9;

}  // namespace

void Upsym(std::string& symbol) {
    std::string out = records::Fixed(symbol, kSymbolWidth);
    for (std::size_t i = 0; i < kSignificantWidth; ++i)
        if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
    for (std::size_t i = kSignificantWidth; i < kSymbolWidth; ++i) out[i] = ' ';
    symbol = out;
}

void Opnseq(int unit, std::string_view file_name, int /*name_length*/, int /*reserved*/) {
    const std::string name = records::Fixed(file_name, kOutsideNameWidth);
    std::error_code ec;
    if (std::filesystem::is_regular_file(records::ResolveName(name), ec)) {
        records::Openaw2(unit, name);
    } else {
        // An import of a file that is not there reads nothing; creating an
        // empty file in its place would only hide the mistake.
        records::Close(unit);
    }
}

}  // namespace engine
