// Keys of a dialog's controls: Alt and a letter of a push button presses
// it, of a label moves to the field it names, as in the dialogs of a
// desktop program. A caption's own "&" keeps its letter; the others get
// letters unique within their dialog, push buttons choosing first, so that
// the words of the captions stay as they are.

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QVariant>

#include "platform/internal_widgets.h"
#include "platform/menu.h"
#include "platform/text.h"

namespace platform::detail {
namespace {

// Properties of a control given a letter: its caption as the program wrote
// it, the caption as shown with its "&", and the letter.
constexpr const char* kPlainCaption = "ledraPlainCaption";
constexpr const char* kShownCaption = "ledraShownCaption";
constexpr const char* kMnemonicLetter = "ledraMnemonicLetter";

QString Escaped(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    return escaped;
}

// Puts "&" before the first `letter` that begins a word, else before the
// first `letter` anywhere; the text as it is when there is none. "&&" is a
// shown "&".
QString WithLetter(const QString& text, QChar letter) {
    qsizetype any = -1;
    bool word_start = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
                ++i;
                word_start = false;
                continue;
            }
            return text;  // a letter of its own
        }
        if (text[i].toLower() == letter) {
            if (word_start) return text.left(i) + QLatin1Char('&') + text.mid(i);
            if (any < 0) any = i;
        }
        word_start = text[i] == QLatin1Char(' ');
    }
    return any < 0 ? text : text.left(any) + QLatin1Char('&') + text.mid(any);
}

bool IsField(const ControlDef& def) {
    return def.kind == ControlKind::Edit || def.kind == ControlKind::ComboBox ||
           def.kind == ControlKind::ListBox;
}

}  // namespace

void GiveMnemonics(const std::vector<MadeControl>& controls) {
    struct Candidate {
        QWidget* widget;
        QWidget* buddy;       // the field a label names
        std::string caption;  // in menu form: "&&" shows "&"
    };
    std::vector<Candidate> buttons, others;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlDef& def = *controls[i].def;
        QWidget* w = controls[i].widget;
        if (def.caption.empty()) continue;
        switch (def.kind) {
            case ControlKind::Button:
                buttons.push_back({w, nullptr, def.caption});
                break;
            case ControlKind::CheckBox:
            case ControlKind::Radio:
                others.push_back({w, nullptr, def.caption});
                break;
            case ControlKind::Static:
                // A label names the field that follows it.
                if (def.picture == Picture::None && i + 1 < controls.size() && IsField(*controls[i + 1].def))
                    others.push_back({w, controls[i + 1].widget, FromQt(Escaped(ToQt(def.caption)))});
                break;
            default:
                break;
        }
    }
    std::vector<Candidate> all = std::move(buttons);
    all.insert(all.end(), others.begin(), others.end());
    std::vector<MenuItem> items;
    for (const Candidate& c : all) items.push_back(Command(0, c.caption));
    const std::vector<std::string> captions = MenuCaptionsWithMnemonics(items);
    for (std::size_t k = 0; k < all.size(); ++k) {
        const QString shown = ToQtDisplay(captions[k]);
        const QKeySequence key = QKeySequence::mnemonic(shown);
        if (key.isEmpty()) continue;
        QWidget* w = all[k].widget;
        QString letter;
        for (qsizetype i = 0; i + 1 < shown.size(); ++i) {
            if (shown[i] != QLatin1Char('&')) continue;
            if (shown[i + 1] == QLatin1Char('&')) {
                ++i;
                continue;
            }
            letter = shown[i + 1].toLower();
            break;
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            w->setProperty(kPlainCaption, label->text());
            label->setBuddy(all[k].buddy);
            label->setText(shown);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            w->setProperty(kPlainCaption, button->text());
            button->setText(shown);
        }
        w->setProperty(kShownCaption, shown);
        w->setProperty(kMnemonicLetter, letter);
    }
}

QString CaptionToShow(const QWidget* w, const QString& text) {
    const QVariant letter = w->property(kMnemonicLetter);
    if (!letter.isValid()) return text;
    // A label with a letter shows "&&" as "&".
    const QString escaped = qobject_cast<const QLabel*>(w) ? Escaped(text) : text;
    const QString letters = letter.toString();
    return letters.isEmpty() ? escaped : WithLetter(escaped, letters[0]);
}

QString CaptionShown(const QWidget* w, const QString& text) {
    if (!w->property(kMnemonicLetter).isValid()) return text;
    if (w->property(kShownCaption).toString() == text) return w->property(kPlainCaption).toString();
    // Without the "&" of the letter, and "&&" of a label as the "&" it shows.
    QString plain;
    const bool label = qobject_cast<const QLabel*>(w) != nullptr;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            if (text[i + 1] == QLatin1Char('&')) {
                plain += label ? QStringLiteral("&") : QStringLiteral("&&");
                ++i;
                continue;
            }
            if (label || QString(text[i + 1]).toLower() == w->property(kMnemonicLetter).toString()) continue;
        }
        plain += text[i];
    }
    return plain;
}

}  // namespace platform::detail
