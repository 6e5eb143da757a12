#include "shell/placeholder_views.h"

namespace shell {

void EmptyView::OnDraw(QPainter& painter) {
    painter.fillRect(GetClientRect(), Qt::white);
}

}  // namespace shell
