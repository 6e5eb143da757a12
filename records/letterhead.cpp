#include "records/letterhead.h"

#include <cstdint>

#include "records/common_file.h"
#include "records/files.h"
#include "records/record.h"

namespace records {

namespace {

constexpr std::size_t kRecordLength = 128;
// The part of a 40-character line kept in record 22.
constexpr std::size_t kTailWidth = kLetterheadAddressWidth - kLetterheadContactWidth;

// A word of four characters as the little-endian number its bytes make.
// Zero bytes (a record never written) make a number below four blanks;
// every word of printable characters makes one at or above it. The number
// is taken unsigned, so a word that ends in a character above 127 (an
// accented letter) keeps its text.
uint32_t WordNumber(const std::string& text, std::size_t at) {
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i)
        u = (u << 8) | static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
    return u;
}

constexpr uint32_t kFourBlanks = 0x20202020;

std::string Fit(const std::string& line, std::size_t width) {
    std::string fitted = line.substr(0, width);
    fitted.resize(width, ' ');
    return fitted;
}

}  // namespace

std::size_t LetterheadWidth(std::size_t index) {
    return index < kLetterheadAddressLines ? kLetterheadAddressWidth : kLetterheadContactWidth;
}

LetterheadLines Letrhd() {
    LetterheadLines lines;
    for (std::size_t i = 0; i < kLetterheadLines; ++i) lines[i] = std::string(LetterheadWidth(i), ' ');

    DirectFile common(kCommonFile, kRecordLength);
    Record rec;
    // Record 22: the last eight characters of lines 1 to 5.
    if (common.Read(kLetterheadTailsRecord, rec)) {
        for (std::size_t i = 0; i < kLetterheadAddressLines; ++i)
            lines[i].replace(kLetterheadContactWidth, kTailWidth, rec.Text(i * kTailWidth, kTailWidth));
        // Record 23: the first 32 characters of lines 1 to 4.
        if (common.Read(kLetterheadHeadsRecord, rec)) {
            for (std::size_t i = 0; i < 4; ++i)
                lines[i].replace(0, kLetterheadContactWidth,
                                 rec.Text(i * kLetterheadContactWidth, kLetterheadContactWidth));
            // Record 24: the first 32 characters of line 5, then lines 6 to 8.
            if (common.Read(kLetterheadContactRecord, rec)) {
                lines[4].replace(0, kLetterheadContactWidth, rec.Text(0, kLetterheadContactWidth));
                for (std::size_t i = 5; i < kLetterheadLines; ++i)
                    lines[i] = rec.Text((i - 4) * kLetterheadContactWidth, kLetterheadContactWidth);
            }
        }
    }

    for (std::string& line : lines)
        for (std::size_t at = 0; at + 4 <= line.size(); at += 4)
            if (WordNumber(line, at) < kFourBlanks) line.replace(at, 4, "    ");
    return lines;
}

void Wletrhd(const LetterheadLines& lines) {
    LetterheadLines fitted;
    for (std::size_t i = 0; i < kLetterheadLines; ++i) fitted[i] = Fit(lines[i], LetterheadWidth(i));

    DirectFile common(kCommonFile, kRecordLength);
    Record tails;
    if (!common.Read(kLetterheadTailsRecord, tails)) tails = Record(kRecordLength, ' ');
    for (std::size_t i = 0; i < kLetterheadAddressLines; ++i)
        tails.SetText(i * kTailWidth, kTailWidth, fitted[i].substr(kLetterheadContactWidth));
    common.Write(kLetterheadTailsRecord, tails);

    Record heads(kRecordLength, ' ');
    for (std::size_t i = 0; i < 4; ++i)
        heads.SetText(i * kLetterheadContactWidth, kLetterheadContactWidth,
                      fitted[i].substr(0, kLetterheadContactWidth));
    common.Write(kLetterheadHeadsRecord, heads);

    Record contact(kRecordLength, ' ');
    contact.SetText(0, kLetterheadContactWidth, fitted[4].substr(0, kLetterheadContactWidth));
    for (std::size_t i = 5; i < kLetterheadLines; ++i)
        contact.SetText((i - 4) * kLetterheadContactWidth, kLetterheadContactWidth, fitted[i]);
    common.Write(kLetterheadContactRecord, contact);
}

}  // namespace records
