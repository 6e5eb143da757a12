#pragma once

// The choice of mnemonic letters among captions that share one key space
// (the items of a menu, the controls of a dialog): a caption's own "&"
// keeps its letter; the others, in order, take a place of theirs whose
// letter no caption holds, an earlier caption giving its letter up for
// another of its own when that lets a later one have a letter at all.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform::detail {

inline constexpr std::size_t kNoMnemonicPlace = std::string::npos;

// A caption as the choice sees it.
struct MnemonicCaption {
    // Whether it takes a letter (a menu's separators take none).
    bool wanted = true;
    // The (lower-case) letter of its own "&", which it keeps.
    std::optional<char32_t> own;
    // A place it takes before any other caption chooses, when no own letter
    // holds its letter, and then keeps (the framework's standard letters).
    std::size_t first_choice = kNoMnemonicPlace;
    // The places that may carry its letter, in the order it prefers them,
    // each with its letter in lower case.
    struct Place {
        std::size_t at;
        char32_t letter;
    };
    std::vector<Place> places;
};

enum class MnemonicRule {
    // A caption takes its first place whose letter is free, and displaces
    // an earlier caption only when none is (the dialogs).
    kFreeLetterFirst,
    // A caption walks its places in order and at each one displaces the
    // letter's holder when it can move (the menus).
    kDisplaceInOrder,
};

// The place chosen for each caption (kNoMnemonicPlace for one that keeps its
// own letter or gets none). The first `kept` captions never give up the
// letter they got.
std::vector<std::size_t> ChooseMnemonicPlaces(const std::vector<MnemonicCaption>& captions, MnemonicRule rule,
                                              std::size_t kept = 0);

}  // namespace platform::detail
