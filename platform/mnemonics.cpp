// Keys of a dialog's controls: Alt and a letter of a push button presses
// it, of a label moves to the field it names, as in the dialogs of a
// desktop program. A caption's own "&" keeps its letter; the others get
// letters unique within their dialog, push buttons choosing first, so that
// the words of the captions stay as they are.

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QVariant>
#include <algorithm>
#include <map>
#include <vector>

#include "platform/internal_widgets.h"
#include "platform/mnemonic_letters.h"
#include "platform/text.h"

namespace platform::detail {
namespace {

// Properties of a control given a letter: its caption as the program wrote
// it, the caption as shown with its "&", and the letter.
constexpr const char* kPlainCaption = "ledraPlainCaption";
constexpr const char* kShownCaption = "ledraShownCaption";
constexpr const char* kMnemonicLetter = "ledraMnemonicLetter";
// The letters of the keys around the control's dialog body (`taken`).
constexpr const char* kAroundLetters = "ledraAroundLetters";

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

// The places in a caption ("&&" a shown "&") that may carry a letter: the first
// letters of its words first, then its other letters and digits.
std::vector<qsizetype> Places(const QString& caption) {
    std::vector<qsizetype> starts, others;
    bool word_start = true;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
            ++i;
            word_start = false;
            continue;
        }
        if (caption[i].isLetterOrNumber() && caption[i].unicode() < 128)
            (word_start ? starts : others).push_back(i);
        word_start = caption[i] == QLatin1Char(' ');
    }
    starts.insert(starts.end(), others.begin(), others.end());
    return starts;
}

// The place of a caption's own letter ("&" not doubled), or -1.
qsizetype OwnPlace(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

// Captions with a letter each where the letters allow: own letters stay;
// each other caption, in order, takes its first free place; one that finds
// none takes a letter from an earlier caption that can move to another,
// but never from the first `kept` captions (the push buttons). The `taken`
// letters belong to keys outside these captions and are left to them; a
// caption whose own letter the menu bar has loses its "&" and chooses as
// the others do.
std::vector<QString> WithLetters(std::vector<QString> captions, std::size_t kept, const TakenLetters& taken) {
    const std::size_t n = captions.size();
    // The taken letters hold their places as captions of their own, ahead
    // of the others and never moved.
    std::vector<QChar> held = taken.beside;
    held.insert(held.end(), taken.menu_bar.begin(), taken.menu_bar.end());
    std::vector<MnemonicCaption> choice(held.size() + n);
    for (std::size_t k = 0; k < held.size(); ++k) choice[k].own = held[k].toLower().unicode();
    for (std::size_t k = 0; k < n; ++k) {
        MnemonicCaption& c = choice[held.size() + k];
        QString& caption = captions[k];
        if (const qsizetype own = OwnPlace(caption); own >= 0) {
            const QChar letter = caption[own].toLower();
            if (std::any_of(taken.menu_bar.begin(), taken.menu_bar.end(),
                            [&](QChar bar) { return bar.toLower() == letter; }))
                caption.remove(own - 1, 1);
            else
                c.own = letter.unicode();
        }
        for (const qsizetype at : Places(caption))
            c.places.push_back({static_cast<std::size_t>(at), caption[at].toLower().unicode()});
    }
    const std::vector<std::size_t> place =
        ChooseMnemonicPlaces(choice, MnemonicRule::kFreeLetterFirst, held.size() + kept);
    std::vector<QString> result;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t at = place[held.size() + k];
        result.push_back(at == kNoMnemonicPlace ? captions[k]
                                                : captions[k].left(static_cast<qsizetype>(at)) + QLatin1Char('&') +
                                                      captions[k].mid(static_cast<qsizetype>(at)));
    }
    return result;
}

bool IsField(const ControlDef& def) {
    return def.kind == ControlKind::Edit || def.kind == ControlKind::ComboBox ||
           def.kind == ControlKind::ListBox;
}

}  // namespace

void GiveMnemonics(const std::vector<MadeControl>& controls, const TakenLetters& taken) {
    struct Candidate {
        QWidget* widget;
        QWidget* buddy;   // the field a label names
        QString caption;  // "&&" shows "&"
    };
    // Push buttons the table shows choose first, then those shown only in
    // some modes, so that where the letters run short the button always
    // there has one.
    std::vector<Candidate> buttons, mode_buttons, others;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlDef& def = *controls[i].def;
        QWidget* w = controls[i].widget;
        if (def.caption.empty()) continue;
        switch (def.kind) {
            case ControlKind::Button:
                ((def.style & kHidden) ? mode_buttons : buttons)
                    .push_back({w, nullptr, ToQtDisplay(def.caption)});
                break;
            case ControlKind::CheckBox:
            case ControlKind::Radio:
                others.push_back({w, nullptr, ToQtDisplay(def.caption)});
                break;
            case ControlKind::Static:
                // A label names the field that follows it; a heading of
                // columns names none.
                if (def.picture == Picture::None && !(def.style & kFixedPitch) && i + 1 < controls.size() &&
                    IsField(*controls[i + 1].def))
                    others.push_back({w, controls[i + 1].widget, Escaped(ToQtDisplay(def.caption))});
                break;
            default:
                break;
        }
    }
    std::vector<Candidate> all = std::move(buttons);
    all.insert(all.end(), mode_buttons.begin(), mode_buttons.end());
    const std::size_t button_count = all.size();
    all.insert(all.end(), others.begin(), others.end());
    std::vector<QString> plain;
    for (const Candidate& c : all) plain.push_back(c.caption);
    const std::vector<QString> captions = WithLetters(plain, button_count, taken);
    QString around;
    for (const std::vector<QChar>* letters : {&taken.beside, &taken.menu_bar})
        for (const QChar letter : *letters) around += letter.toLower();
    for (std::size_t k = 0; k < all.size(); ++k) {
        const QString& shown = captions[k];
        const QChar letter = CaptionLetter(shown);
        // A caption without a key shows as written, unless it gave up its
        // own letter.
        if (letter.isNull() && shown == all[k].caption) continue;
        QWidget* w = all[k].widget;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            w->setProperty(kPlainCaption, label->text());
            label->setBuddy(all[k].buddy);
            label->setText(shown);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            w->setProperty(kPlainCaption, button->text());
            button->setText(shown);
        }
        w->setProperty(kShownCaption, shown);
        w->setProperty(kMnemonicLetter, letter.isNull() ? QString() : QString(letter));
        if (!around.isEmpty()) w->setProperty(kAroundLetters, around);
    }
}

QString CaptionToShow(QWidget* w, const QString& text) {
    const QVariant letter = w->property(kMnemonicLetter);
    if (!letter.isValid()) return text;
    // A label with a letter shows "&&" as "&".
    const QString escaped = qobject_cast<const QLabel*>(w) ? Escaped(text) : text;
    const QString letters = letter.toString();
    if (!letters.isEmpty()) {
        const QString shown = WithLetter(escaped, letters[0]);
        if (shown != escaped || OwnPlace(escaped) >= 0) return shown;
    }
    // The new text lacks the letter ("Done" became "Post"): another one
    // that no other control of the dialog has.
    std::map<QChar, QWidget*> used;
    for (const QChar around : w->property(kAroundLetters).toString()) used[around] = nullptr;
    for (QWidget* other : w->window()->findChildren<QWidget*>())
        if (other != w)
            if (const QString l = other->property(kMnemonicLetter).toString(); !l.isEmpty())
                used[l[0]] = other;
    const std::vector<qsizetype> places = Places(escaped);
    for (const qsizetype at : places) {
        const QChar c = escaped[at].toLower();
        if (used.count(c)) continue;
        w->setProperty(kMnemonicLetter, QString(c));
        return escaped.left(at) + QLatin1Char('&') + escaped.mid(at);
    }
    // A push button takes a label's letter; the label finds another.
    if (qobject_cast<QAbstractButton*>(w)) {
        for (const qsizetype at : places) {
            auto* label = qobject_cast<QLabel*>(used[escaped[at].toLower()]);
            if (!label) continue;
            w->setProperty(kMnemonicLetter, QString(escaped[at].toLower()));
            const QString label_text = CaptionShown(label, label->text());
            label->setProperty(kMnemonicLetter, QString());
            label->setText(CaptionToShow(label, label_text));
            return escaped.left(at) + QLatin1Char('&') + escaped.mid(at);
        }
    }
    w->setProperty(kMnemonicLetter, QString());
    return escaped;
}

QChar CaptionLetter(const QString& caption) {
    const qsizetype own = OwnPlace(caption);
    return own < 0 ? QChar() : caption[own].toLower();
}

QChar MnemonicLetter(const QWidget* w) {
    const QString letter = w->property(kMnemonicLetter).toString();
    return letter.isEmpty() ? QChar() : letter[0];
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
