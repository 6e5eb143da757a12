// The block codec of the data-feed protocol: a received body of arbitrary
// bytes is unescaped, and any text escaped and unescaped again must come
// back as it was when it holds only bytes the escape carries (1 to 126 and
// 160 to 254: a NUL ends the body, 0x80 marks a bare byte and the others
// are not sent); the check digits always have their width.

#include <string>

#include "feed/dialup/block_codec.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)feed::UnescapeBody(bytes);
    std::string carried;
    for (const char c : bytes) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u >= 1 && u <= 126) || (u >= 160 && u <= 254)) carried += c;
    }
    fuzz::Require(feed::UnescapeBody(feed::EscapeBody(carried)) == carried);
    (void)feed::EscapeBody(bytes);
    std::size_t total = 0;
    for (const auto& piece : feed::EscapeBodyPieces(bytes)) total += piece.bytes.size();
    (void)total;
    const unsigned crc = feed::md_crc16_string(bytes);
    fuzz::Require(crc <= 0xFFFF && feed::CrcDigits(crc).size() == 4);
    return 0;
}
