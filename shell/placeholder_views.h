#pragma once

// Views of the templates whose windows are not built here yet: the print
// view (template 2), the chart view (template 3) and, until the transaction
// entry subsystem gives template 1 its transaction list, a plain view. Each
// opens as an empty white window.

#include <QPainter>

#include "platform/view.h"

namespace shell {

class EmptyView : public platform::View {
public:
    void OnDraw(QPainter& painter) override;
};

}  // namespace shell
