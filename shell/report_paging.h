#pragma once

// Paging through a report's lines in a window: the report display view and
// the report errors window both read a window's report line file and move
// through it with scroll bars.

#include <string>

#include "platform/control.h"
#include "platform/window.h"

namespace shell {

// Line n (from 1) of report window `window`'s line file, trailing blanks
// removed; false when the file has no such line.
bool ReadReportLine(int window, long n, std::string& text);

// Moves `bar` as the scroll notification `n` asks: a line or a page of
// `page` lines up or down, to the thumb's position, to the top or the
// bottom, kept within the bar's range. Returns whether the position
// changed; a notification of any other kind moves nothing.
bool MoveScrollBar(platform::Control& bar, const platform::Notification& n, int page);

}  // namespace shell
