#pragma once

// Items for the report layouts. The layouts print texts in words ("8A4"
// for a 32-character name, "13A1" for a telephone), one item per word;
// Items cuts a text into those words and keeps them alive for the write:
//   frame.Write("(5X,A4,A2,12X,8A4,4X,13A1)",
//               Items().Text(id, 4, 1).Text(id.substr(4), 2, 1).Text(name, 4, 8).Text(phone, 1, 13));

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "records/layout.h"

namespace reports {

class Items {
public:
    // The text blank padded or cut to width x count, as count items of
    // width characters.
    Items& Text(std::string_view text, std::size_t width, std::size_t count);
    Items& Int(long long value);
    Items& Number(double value);

    operator records::OutItems() const { return records::OutItems(items_); }

private:
    std::deque<std::string> texts_;
    std::vector<records::OutItem> items_;
};

}  // namespace reports
