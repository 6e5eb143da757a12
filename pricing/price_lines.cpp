// The seven layouts of price import lines.

#include "pricing/price_lines.h"

#include <algorithm>

#include "engine/symbols.h"
#include "records/layout.h"
#include "records/record.h"

namespace pricing {

namespace {

using records::Fixed;
using records::IsBlank;
using records::Read;

// Columns from..to (1-based, inclusive) of a line; positions past its end
// read as blanks.
std::string Columns(std::string_view line, std::size_t from, std::size_t to) {
    std::string out(to - from + 1, ' ');
    for (std::size_t p = from; p <= to && p <= line.size(); ++p) out[p - from] = line[p - 1];
    return out;
}

// Reads a numeric field under its layout; a blank field is no price.
bool ReadPrice(const std::string& field, std::string_view layout, double& price) {
    if (IsBlank(field)) return false;
    return Read(field, layout, {&price});
}

// YYMMDD as MM/DD/YY: the pairs in the order 2, 3, 1.
std::string YymmddToDate(const std::string& yymmdd) {
    return yymmdd.substr(2, 2) + "/" + yymmdd.substr(4, 2) + "/" + yymmdd.substr(0, 2);
}

// The form in which SECURITY.IDX keeps a symbol.
std::string Upper(std::string text) {
    engine::Upsym(text);
    return text;
}

// The raw line of layouts 5 and 7: its first `width` bytes, untouched.
std::string RawLine(std::string_view line, std::size_t width) {
    return Fixed(line.substr(0, std::min(line.size(), width)), width);
}

}  // namespace

std::size_t ReadWidth(int16_t layout) {
    switch (layout) {
        case kLayoutGeneric5:
            return 185;
        case kLayoutFidelity:
            return 84;
        case kLayoutDst:
            return 97;
        default:
            return kWorkingLineWidth;
    }
}

std::string CleanLine(std::string_view line, std::size_t width) {
    const std::size_t n = std::min({line.size(), width, kWorkingLineWidth});
    std::string out;
    out.reserve(kWorkingLineWidth);
    for (std::size_t i = 0; i < n && out.size() < kWorkingLineWidth; ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        const std::size_t p = i + 1;
        if (c == '\t') {
            // Tab stops at column 9 only: the code's own first columns are
            // short, and a tab further on is taken as a separator.
            if (p <= 8) out.append(9 - p, ' ');
        } else if (c < 32 || c > 126) {
            out.push_back(' ');
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return Fixed(out, kWorkingLineWidth);
}

void Tfcsv(std::string_view line, std::string& identifier, double& price, int16_t& failed) {
    const std::string text = Fixed(line, kWorkingLineWidth);
    const std::size_t n = text.size();
    // Identifier: after the second comma, past the opening quote.
    std::size_t commas = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] != ',') continue;
        if (++commas == 2) {
            identifier = Columns(text, i + 3, i + 11) + "   ";
            break;
        }
    }
    // Price: after the ninth comma that closes a field (one preceded by a
    // blank or a quote), so that commas inside quoted texts do not count.
    std::size_t counted = 0, start = n;
    for (std::size_t i = 1; i < n; ++i) {
        if (text[i] == ',' && (text[i - 1] == ' ' || text[i - 1] == '"') && ++counted == 9) {
            start = i + 1;
            break;
        }
    }
    if (start >= n) {
        failed = 1;
        return;
    }
    std::string field;
    for (std::size_t i = start; i < n && text[i] != ',' && field.size() < 9; ++i) field.push_back(text[i]);
    if (IsBlank(field)) {
        failed = 1;
        return;
    }
    // Without a point the digits are a whole price: "125" is 125, not 0.0125.
    if (field.find('.') == std::string::npos) field.insert(field.find_last_not_of(' ') + 1, ".");
    double value = 0;
    if (!Read(Fixed(field, 7), "(F7.4)", {&value})) {
        failed = 1;
        return;
    }
    price = value;
}

bool DstPrice(std::string_view digits, bool type_j, double& price) {
    const std::string d = Fixed(digits, 9);
    if (IsBlank(d)) return false;
    const std::string text =
        type_j ? d.substr(0, 3) + "." + d.substr(3, 6) : d.substr(0, 5) + "." + d.substr(5, 4);
    return Read(text, type_j ? "(F10.6)" : "(F10.4)", {&price});
}

PriceLine ParsePriceLine(std::string_view line, int16_t layout) {
    PriceLine out;
    switch (layout) {
        case kLayoutGeneric1: {
            const std::string w = CleanLine(line, ReadWidth(layout));
            out.identifier = Columns(w, 1, 12);
            out.second = out.identifier;
            out.date = Columns(w, 13, 20);
            out.failed = !ReadPrice(Columns(w, 21, 32), "(F12.4)", out.price);
            break;
        }
        case kLayoutSchwab:
        case kLayoutGeneric4: {
            const std::string w = CleanLine(line, ReadWidth(layout));
            out.identifier = Upper(Columns(w, 3, 10));
            out.failed = !ReadPrice(Columns(w, 12, 23), "(F12.4)", out.price);
            break;
        }
        case kLayoutGeneric3: {
            int16_t failed = 0;
            Tfcsv(CleanLine(line, ReadWidth(layout)), out.identifier, out.price, failed);
            out.failed = failed != 0;
            break;
        }
        case kLayoutGeneric5: {
            const std::string r = RawLine(line, ReadWidth(layout));
            out.identifier = Upper(Columns(r, 54, 61));
            out.second = Columns(r, 4, 12);
            if (IsBlank(out.second.substr(0, 4))) out.second = out.identifier;
            out.second = Upper(out.second);
            out.date = YymmddToDate(Columns(r, 88, 93));
            out.failed = !ReadPrice(Columns(r, 66, 76), "(F11.4)", out.price);
            break;
        }
        case kLayoutFidelity: {
            const std::string w = CleanLine(line, ReadWidth(layout));
            out.second = Columns(w, 18, 26) + "   ";
            out.identifier = Upper(Columns(w, 28, 36));
            // Only 84 characters are read: column 85 of the field is blank.
            out.failed = !ReadPrice(Columns(w, 71, 84) + " ", "(F15.4)", out.price);
            break;
        }
        case kLayoutDst: {
            const std::string r = RawLine(line, ReadWidth(layout));
            out.identifier = Upper(Columns(r, 7, 15));
            out.date = YymmddToDate(Columns(r, 25, 30));
            out.dst_digits = Columns(r, 31, 39);
            double probe = 0;
            out.failed = !DstPrice(out.dst_digits, false, probe);
            break;
        }
        default:
            out.failed = true;
            break;
    }
    return out;
}

}  // namespace pricing
