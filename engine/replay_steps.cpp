#include "engine/replay_steps.h"

namespace engine {

ReplayCode ReplayCodes::LookUp(std::string_view code, uint32_t word) {
    ReplayCode found;
    int16_t not_found = 0;
    records::Code(code, found.cls, found.sign, found.transfer, 1, not_found);
    if (not_found != 0) found = ReplayCode{};
    entries_.push_back({word, found});
    return found;
}

}  // namespace engine
