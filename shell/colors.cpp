// The colour list, its file and the colouring of dialogs.

#include "shell/colors.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/dialog.h"

namespace shell {
namespace {

using platform::ColorRef;
using platform::ControlKind;

// LedraColors.dat: the mark, the number of entries, then each entry's name
// (length and bytes), background and text colour; numbers are 4-byte
// little-endian.
constexpr char kColorFileMark[4] = {'L', 'C', 'O', 'L'};
constexpr std::uint32_t kLongestName = 4096;

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

bool GetU32(const std::string& in, std::size_t& at, std::uint32_t& v) {
    if (at > in.size() || in.size() - at < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    at += 4;
    return true;
}

bool Parse(const std::string& bytes, std::deque<CColorCntrl>& list) {
    if (bytes.size() < 8 || bytes.compare(0, 4, kColorFileMark, 4) != 0) return false;
    std::size_t at = 4;
    std::uint32_t count = 0;
    if (!GetU32(bytes, at, count)) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t length = 0, background = 0, text = 0;
        if (!GetU32(bytes, at, length) || length > kLongestName || bytes.size() - at < length) return false;
        CColorCntrl entry;
        entry.name = bytes.substr(at, length);
        at += length;
        if (!GetU32(bytes, at, background) || !GetU32(bytes, at, text)) return false;
        entry.desc.background = background;
        entry.desc.text = text;
        list.push_back(std::move(entry));
    }
    return at == bytes.size();
}

// Sets a colour role of a widget (and makes it paint its background when
// the role is a background role).
void SetRole(QWidget* w, QPalette::ColorRole role, ColorRef color, bool fill = false) {
    if (!w) return;
    QPalette palette = w->palette();
    palette.setColor(role, ToQColor(color));
    w->setPalette(palette);
    if (fill) w->setAutoFillBackground(true);
}

class DialogColoring : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && object->isWidgetType() &&
            static_cast<QWidget*>(object)->isWindow()) {
            for (platform::Dialog* dialog : platform::Dialog::OpenDialogs())
                if (dialog->GetWidget() == object) ColorWindow(*dialog);
        }
        return QObject::eventFilter(object, event);
    }
};

}  // namespace

QColor ToQColor(ColorRef color) {
    return QColor(color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff);
}

std::deque<CColorCntrl>& ColorList() {
    static std::deque<CColorCntrl> list;
    return list;
}

CColorCntrl* FindColorEntry(std::string_view name) {
    for (CColorCntrl& entry : ColorList())
        if (entry.name == name) return &entry;
    return nullptr;
}

const QBrush* GetCtlColorBrush(CtlColorContext& dc, std::string_view name) {
    if (CColorCntrl* entry = FindColorEntry(name)) {
        if (entry->desc.text != 0) {
            dc.transparent = true;
            dc.text_color = entry->desc.text;
        }
        if (entry->desc.background != 0) {
            dc.transparent = true;
            entry->desc.brush = QBrush(ToQColor(entry->desc.background), Qt::SolidPattern);
            return &*entry->desc.brush;
        }
        return nullptr;
    }
    if (!name.empty()) ColorList().push_back(CColorCntrl{std::string(name), {}});
    return nullptr;
}

bool LoadColors() {
    std::deque<CColorCntrl>& list = ColorList();
    list.clear();
    std::ifstream in(kColorFile, std::ios::binary);
    if (!in) return true;  // no colours chosen yet
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::deque<CColorCntrl> loaded;
    if (!Parse(bytes, loaded)) return false;
    list = std::move(loaded);
    return true;
}

bool SaveColors() {
    std::deque<CColorCntrl>& list = ColorList();
    std::erase_if(list, [](const CColorCntrl& e) { return e.desc.background == 0 && e.desc.text == 0; });
    std::string bytes(kColorFileMark, 4);
    PutU32(bytes, static_cast<std::uint32_t>(list.size()));
    for (const CColorCntrl& entry : list) {
        PutU32(bytes, static_cast<std::uint32_t>(entry.name.size()));
        bytes += entry.name;
        PutU32(bytes, entry.desc.background);
        PutU32(bytes, entry.desc.text);
    }
    list.clear();

    const std::filesystem::path target(kColorFile);
    std::filesystem::path beside = target;
    beside += ".new";
    bool written = false;
    {
        std::ofstream out(beside, std::ios::binary | std::ios::trunc);
        written = out && out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && out.flush();
    }
    std::error_code error;
    if (written) std::filesystem::rename(beside, target, error);
    if (!written || error) {
        std::filesystem::remove(beside, error);
        return false;
    }
    return true;
}

void ColorWindow(platform::Window& window) {
    QWidget* top = window.GetWidget();
    if (!top) return;
    const std::string caption = window.GetWindowText();

    CtlColorContext dialog_dc;
    if (GetCtlColorBrush(dialog_dc, caption + kDialogSuffix))
        SetRole(top, QPalette::Window, FindColorEntry(caption + kDialogSuffix)->desc.background, true);
    if (dialog_dc.text_color) SetRole(top, QPalette::WindowText, *dialog_dc.text_color);

    // List boxes and scroll bars are named by their own text when they have
    // one, else by their window's.
    for (int id : window.GetControlIds()) {
        platform::Control control = window.GetDlgItem(id);
        const bool list = control.Kind() == ControlKind::ListBox;
        if (!list && control.Kind() != ControlKind::ScrollBar) continue;
        const std::string own = control.GetWindowText();
        const std::string name = (own.empty() ? caption : own) + (list ? kListboxSuffix : kScrollbarSuffix);
        CtlColorContext dc;
        QWidget* w = control.Widget();
        if (GetCtlColorBrush(dc, name)) {
            const ColorRef background = FindColorEntry(name)->desc.background;
            SetRole(w, list ? QPalette::Base : QPalette::Window, background, !list);
            if (!list) SetRole(w, QPalette::Button, background);
        }
        if (dc.text_color) SetRole(w, list ? QPalette::Text : QPalette::WindowText, *dc.text_color);
    }

    // Static texts always go by their window's text: one entry for all.
    const QList<QLabel*> labels = top->findChildren<QLabel*>();
    if (labels.isEmpty()) return;
    CtlColorContext dc;
    const std::string name = caption + kTextSuffix;
    const QBrush* brush = GetCtlColorBrush(dc, name);
    for (QLabel* label : labels) {
        if (brush) SetRole(label, QPalette::Window, FindColorEntry(name)->desc.background, true);
        if (dc.text_color) SetRole(label, QPalette::WindowText, *dc.text_color);
    }
}

void InstallDialogColoring() {
    static DialogColoring* coloring = nullptr;
    if (coloring || !QCoreApplication::instance()) return;
    coloring = new DialogColoring(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(coloring);
}

}  // namespace shell
