// The choice of mnemonic letters shared by menus and dialogs: own letters
// kept, first choices, kept captions, and the one difference of rule.

#include "platform/mnemonic_letters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::detail::ChooseMnemonicPlaces;
using platform::detail::kNoMnemonicPlace;
using platform::detail::MnemonicCaption;
using platform::detail::MnemonicRule;

// A caption whose places are its letters in order (place i, letter text[i]).
MnemonicCaption Caption(const std::string& letters) {
    MnemonicCaption c;
    for (std::size_t i = 0; i < letters.size(); ++i) c.places.push_back({i, static_cast<char32_t>(letters[i])});
    return c;
}

constexpr std::size_t kNone = kNoMnemonicPlace;

TEST(MnemonicLetters, DialogsTakeAFreeLetterMenusDisplaceInOrder) {
    // "ab" then "ac": the second finds "a" taken. A dialog gives it the free
    // "c"; a menu moves the first to "b" so that the second has "a".
    const std::vector<MnemonicCaption> captions = {Caption("ab"), Caption("ac")};
    EXPECT_EQ(ChooseMnemonicPlaces(captions, MnemonicRule::kFreeLetterFirst), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(ChooseMnemonicPlaces(captions, MnemonicRule::kDisplaceInOrder), (std::vector<std::size_t>{1, 0}));
}

TEST(MnemonicLetters, OwnFirstChoiceAndKeptLettersNeverMove) {
    struct Case {
        const char* name;
        std::vector<MnemonicCaption> captions;
        std::size_t kept;
        std::vector<std::size_t> free_first;
        std::vector<std::size_t> displace;
    };
    MnemonicCaption own = Caption("a");
    own.own = U'a';
    MnemonicCaption standard = Caption("xa");
    standard.first_choice = 1;  // "a", before the captions ahead of it choose
    MnemonicCaption unwanted = Caption("b");
    unwanted.wanted = false;
    const std::vector<Case> cases = {
        // An own "a" is kept; the other finds only "a" and gets nothing.
        {"own letter", {Caption("a"), own}, 0, {kNone, kNone}, {kNone, kNone}},
        // The first choice takes "a" although an earlier caption wants it.
        {"first choice", {Caption("ab"), standard}, 0, {1, 1}, {1, 1}},
        // A kept first caption keeps "a": the second has no other letter.
        {"kept", {Caption("ab"), Caption("a")}, 1, {0, kNone}, {0, kNone}},
        // Not kept, the first moves to "b" for the second.
        {"not kept", {Caption("ab"), Caption("a")}, 0, {1, 0}, {1, 0}},
        // A caption that wants no letter takes none and holds none.
        {"unwanted", {unwanted, Caption("b")}, 0, {kNone, 0}, {kNone, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseMnemonicPlaces(c.captions, MnemonicRule::kFreeLetterFirst, c.kept), c.free_first) << c.name;
        EXPECT_EQ(ChooseMnemonicPlaces(c.captions, MnemonicRule::kDisplaceInOrder, c.kept), c.displace) << c.name;
    }
}

}  // namespace
