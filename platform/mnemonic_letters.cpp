#include "platform/mnemonic_letters.h"

#include <functional>
#include <map>
#include <set>

namespace platform::detail {

std::vector<std::size_t> ChooseMnemonicPlaces(const std::vector<MnemonicCaption>& captions, MnemonicRule rule,
                                              std::size_t kept) {
    const std::size_t n = captions.size();
    std::vector<std::size_t> place(n, kNoMnemonicPlace);
    std::vector<bool> fixed(n, false);    // an own, a first-choice or a kept letter
    std::map<char32_t, std::size_t> owner;  // letter -> caption
    for (std::size_t k = 0; k < n; ++k) {
        if (!captions[k].own) continue;
        owner[*captions[k].own] = k;
        fixed[k] = true;
    }
    for (std::size_t k = 0; k < n; ++k) {
        const MnemonicCaption& c = captions[k];
        if (!c.wanted || fixed[k] || c.first_choice == kNoMnemonicPlace) continue;
        for (const MnemonicCaption::Place& p : c.places) {
            if (p.at != c.first_choice) continue;
            if (owner.count(p.letter)) break;
            owner[p.letter] = k;
            place[k] = p.at;
            fixed[k] = true;
            break;
        }
    }
    // Gives caption k a letter, moving the holder of a letter it wants to
    // another of the holder's when the holder may move; seen keeps one walk
    // from coming back to a letter.
    std::function<bool(std::size_t, std::set<char32_t>&)> take = [&](std::size_t k, std::set<char32_t>& seen) {
        for (const MnemonicCaption::Place& p : captions[k].places) {
            if (!seen.insert(p.letter).second) continue;
            const auto it = owner.find(p.letter);
            if (it == owner.end() || (!fixed[it->second] && take(it->second, seen))) {
                owner[p.letter] = k;
                place[k] = p.at;
                return true;
            }
        }
        return false;
    };
    for (std::size_t k = 0; k < n; ++k) {
        if (!captions[k].wanted || fixed[k]) continue;
        if (rule == MnemonicRule::kFreeLetterFirst) {
            for (const MnemonicCaption::Place& p : captions[k].places) {
                if (owner.count(p.letter)) continue;
                owner[p.letter] = k;
                place[k] = p.at;
                break;
            }
        }
        if (place[k] == kNoMnemonicPlace) {
            std::set<char32_t> seen;
            take(k, seen);
        }
        if (k < kept) fixed[k] = true;
    }
    return place;
}

}  // namespace platform::detail
