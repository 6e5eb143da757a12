#include "pricing/pricing_warnings.h"

#include "records/files.h"

namespace pricing {

WarningSink UnitWarnings(int unit) {
    return [unit](std::string_view line) { records::WriteLine(unit, line); };
}

WarningSink StringWarnings(std::string& text) {
    return [&text](std::string_view line) {
        text.append(line);
        text.push_back('\n');
    };
}

}  // namespace pricing
