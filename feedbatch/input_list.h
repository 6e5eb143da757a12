#pragma once

// The request files of the inputfile setting: names separated by commas.
// Commas between names are skipped (so "a,,b" names a and b), and blanks
// belong to the names ("a, b" names "a" and " b").

#include <optional>
#include <string>
#include <string_view>

namespace feedbatch {

class InputList {
public:
    explicit InputList(std::string_view value = {}) : value_(value) {}

    // Back to the first name.
    void Rewind() { position_ = 0; }
    // The next name, or nothing at the end of the list.
    std::optional<std::string> Next();

private:
    std::string value_;
    std::size_t position_ = 0;
};

}  // namespace feedbatch
