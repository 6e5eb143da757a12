// Reading a report window's lines and moving its scroll bars.

#include "shell/report_paging.h"

#include <algorithm>
#include <cstdint>

#include "platform/constants.h"
#include "records/report_output.h"

namespace shell {

using namespace platform;

bool ReadReportLine(int window, long n, std::string& text) {
    std::string line;
    int16_t status = 0;
    records::Rdlin2(window, n, line, status);
    if (status != 0) return false;
    line.erase(line.find_last_not_of(' ') + 1);
    text = line;
    return true;
}

bool MoveScrollBar(Control& bar, const Notification& n, int page) {
    int low = 0, high = 0;
    bar.GetScrollRange(low, high);
    const int current = bar.GetScrollPos();
    int position = current;
    switch (n.scroll_code) {
        case SB_LINEUP:
            position -= 1;
            break;
        case SB_LINEDOWN:
            position += 1;
            break;
        case SB_PAGEUP:
            position -= page;
            break;
        case SB_PAGEDOWN:
            position += page;
            break;
        case SB_THUMBPOSITION:
            position = n.position;
            break;
        case SB_TOP:
            position = low;
            break;
        case SB_BOTTOM:
            position = high;
            break;
        default:
            return false;
    }
    position = std::clamp(position, low, high);
    if (position == current) return false;
    bar.SetScrollPos(position);
    return true;
}

}  // namespace shell
