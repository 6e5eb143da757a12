#pragma once

// The plain view: an empty white window. The view of template 1 is this one
// until the program gives that template its transaction list (entry/,
// through the application's view factory); the print and chart views of
// templates 2 and 3 are views of their own (print_view.h, chart_view.h).

#include <QPainter>

#include "platform/view.h"

namespace shell {

class EmptyView : public platform::View {
public:
    void OnDraw(QPainter& painter) override;
};

}  // namespace shell
