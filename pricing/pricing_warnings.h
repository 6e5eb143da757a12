#pragma once

// Where the answer checks and the dividend and split writers of the
// automatic pricing run put their warning lines. During a run that is
// autoerr.txt, open on unit 21 for the whole conversation; tests and the
// fuzz targets collect the lines in a string.

#include <functional>
#include <string>
#include <string_view>

namespace pricing {

// The unit on which the automatic pricing run keeps autoerr.txt open.
inline constexpr int kAutoErrorUnit = 21;
// The name of the pricing run's warning file.
inline constexpr const char* kAutoErrorFileName = "autoerr.txt";

// Takes one warning line (without its line end).
using WarningSink = std::function<void(std::string_view line)>;

// Writes each line to the text file open on the unit.
WarningSink UnitWarnings(int unit = kAutoErrorUnit);
// Appends each line and a line feed to the text.
WarningSink StringWarnings(std::string& text);

}  // namespace pricing
