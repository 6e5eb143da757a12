#pragma once

// printf-style formatting into a std::string, for the program's fixed list
// texts ("Input file accessed: %s", "Current Time: %d:%02d ...").

#include <string>

namespace feedbatch {

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace feedbatch
