#include "platform/text.h"

namespace platform {

QString ToQt(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString ToQtDisplay(std::string_view text) {
    QString shown = ToQt(text);
    shown.replace(QChar(u'\0'), QChar(u' '));
    return shown;
}

std::string FromQt(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

namespace {
std::string& TheFixedPitchFace() {
    static std::string face = "Courier";
    return face;
}
}  // namespace

void SetFixedPitchFace(std::string face) {
    TheFixedPitchFace() = face.empty() ? std::string("Courier") : std::move(face);
}

const std::string& FixedPitchFace() {
    return TheFixedPitchFace();
}

}  // namespace platform
