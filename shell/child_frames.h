#pragma once

// The MDI child frames: CChildFrame holds a report display, a transaction
// list or a print view; CChildFrameChart holds the chart view. A frame
// opened while the transaction-list-pending flag is set (the dispatcher sets
// it just before it opens the transaction list) has a fixed size and no
// maximize box.

#include "platform/view.h"

namespace shell {

class CChildFrame : public platform::ChildFrame {
public:
    void PreCreateWindow(platform::FrameStyle& style) override;
    bool OnCreate() override;
};

class CChildFrameChart : public platform::ChildFrame {
public:
    void PreCreateWindow(platform::FrameStyle& style) override;
    // The chart view makes and fills its chart as the frame is made; a chart
    // that cannot be drawn ends the frame's creation.
    bool OnCreate() override;
};

}  // namespace shell
