#include "platform/doc_template.h"

namespace platform {

int DocTemplateList::Add(DocTemplate doc_template) {
    templates_.push_back(std::move(doc_template));
    return Count() - 1;
}

const DocTemplate* DocTemplateList::Get(int position) const {
    return position >= 0 && position < Count() ? &templates_[static_cast<std::size_t>(position)] : nullptr;
}

}  // namespace platform
