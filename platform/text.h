#pragma once

// Text crossing between the program and the widgets. The program's texts are
// bytes, one byte a character, as they are stored in the record files; the
// widgets hold Unicode. Both directions go through Latin-1, so that every
// byte value survives a round trip through a control and a fixed-width field
// keeps its width. A character typed on screen that Latin-1 cannot hold
// comes back as "?".

#include <QString>
#include <string>
#include <string_view>

namespace platform {

QString ToQt(std::string_view text);
std::string FromQt(const QString& text);

// A text of file bytes as a person reads it: like ToQt, but a zero byte
// (a field never written) shows as a blank rather than as a box. For what
// is only shown: labels, list lines, captions, report and chart text.
QString ToQtDisplay(std::string_view text);

// The fixed-pitch face the program's reports are shown in ("Courier" until
// the program sets its printer font): lists and texts laid out in columns
// use it, so that their columns line up.
void SetFixedPitchFace(std::string face);
const std::string& FixedPitchFace();

}  // namespace platform
