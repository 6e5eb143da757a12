#include "reports/kernel/report_items.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace reports {
namespace {

// Texts cut into words, padded or cut to their width, beside numbers; the
// same whether the line fits the object's own room or spills past it (more
// items, longer texts), and in a copy once the original is gone.
TEST(ReportItems, WordsNumbersAndLongLines) {
    {
        const Items items = std::move(Items().Text("ABCDEFGHI", 4, 2).Int(42).Text("XY", 1, 3).Number(1.5));
        EXPECT_EQ(records::Write("(2A4,I4,3A1,F5.1)", items), "ABCDEFGH  42XY   1.5");
    }
    std::string expected;
    Items many;
    for (int i = 0; i < 30; ++i) {
        const std::string word = std::to_string(100 + i) + std::string(20, static_cast<char>('a' + i % 26));
        many.Text(word, 3, 1).Text(word, 20, 1).Int(i);
        expected += word.substr(0, 3) + word.substr(0, 20) + (i < 10 ? " " : "") + std::to_string(i);
    }
    EXPECT_EQ(records::Write("(30(A3,A20,I2))", many), expected);
    // Words of one text on both sides of the end of the object's own room.
    Items across;
    for (int i = 0; i < 37; ++i) across.Int(i % 10);
    across.Text("ABCDEFG", 1, 7);
    EXPECT_EQ(records::Write("(37I1,7A1)", across), "0123456789012345678901234567890123456ABCDEFG");
    std::unique_ptr<Items> original = std::make_unique<Items>();
    original->Text("LONG", 1, 4).Text(std::string(400, 'z'), 400, 1).Number(-2.25);
    const Items copy = *original;
    Items assigned;
    assigned.Text("gone", 4, 1);
    assigned = *original;
    original.reset();
    const std::string want = "LONG" + std::string(400, 'z') + "  -2.25";
    EXPECT_EQ(records::Write("(4A1,A400,F7.2)", copy), want);
    EXPECT_EQ(records::Write("(4A1,A400,F7.2)", assigned), want);
}

}  // namespace
}  // namespace reports
