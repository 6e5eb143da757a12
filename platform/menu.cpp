#include "platform/menu.h"

namespace platform {

MenuItem Command(int id, std::string caption) {
    return {MenuItem::Type::Command, id, std::move(caption), {}};
}
MenuItem Popup(std::string caption, std::vector<MenuItem> items) {
    return {MenuItem::Type::Popup, 0, std::move(caption), std::move(items)};
}
MenuItem Separator() {
    return {MenuItem::Type::Separator, 0, {}, {}};
}
MenuItem WindowList() {
    return {MenuItem::Type::WindowList, 0, {}, {}};
}

}  // namespace platform
