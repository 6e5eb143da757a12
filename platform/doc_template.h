#pragma once

// Document templates: what kind of view (and child frame) a window of each
// kind gets. The list keeps them in the order they were registered, since
// callers name a template by its position.

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/pictures.h"

namespace platform {

class View;
class ChildFrame;

struct DocTemplate {
    using ViewFactory = std::function<std::unique_ptr<View>()>;
    using FrameFactory = std::function<std::unique_ptr<ChildFrame>()>;

    DocTemplate(std::string name, ViewFactory make_view, FrameFactory make_frame = {},
                Picture icon = Picture::Document)
        : name(std::move(name)),
          make_view(std::move(make_view)),
          make_frame(std::move(make_frame)),
          icon(icon) {}

    std::string name;
    ViewFactory make_view;
    FrameFactory make_frame;  // empty: a plain ChildFrame
    Picture icon;
};

class DocTemplateList {
public:
    // Registers a template; returns its position (0, 1, ...).
    int Add(DocTemplate doc_template);
    // The template at a position, or nullptr.
    const DocTemplate* Get(int position) const;
    int Count() const { return static_cast<int>(templates_.size()); }

private:
    std::deque<DocTemplate> templates_;  // stable addresses: frames keep pointers
};

}  // namespace platform
