#include "feedbatch/input_list.h"

namespace feedbatch {

std::optional<std::string> InputList::Next() {
    while (position_ < value_.size() && value_[position_] == ',') ++position_;
    if (position_ >= value_.size()) return std::nullopt;
    std::size_t end = value_.find(',', position_);
    if (end == std::string::npos) end = value_.size();
    std::string name = value_.substr(position_, end - position_);
    position_ = end;
    return name;
}

}  // namespace feedbatch
