#include "platform/dialog_keys.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <map>

#include "platform/property_sheet.h"
#include "platform/text.h"
#include "platform/view.h"

namespace platform {
namespace {

// The caption as a person reads it: without the "&" of its key.
std::string Plain(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return "\"" + FromQt(plain) + "\"";
}

std::string KeyName(const QKeySequence& key) {
    return key.toString(QKeySequence::PortableText).toStdString();
}

bool Inside(const QWidget* w, const std::vector<const QWidget*>& parts) {
    for (const QWidget* part : parts)
        if (part && (w == part || part->isAncestorOf(w))) return true;
    return false;
}

// Adds the keyed controls below `root` (leaving out those inside `skip`) to
// `keys`, and a fault for each push button without a key.
void Collect(const QWidget* root, const std::vector<const QWidget*>& skip,
             std::map<std::string, std::vector<std::string>>& keys, std::vector<std::string>& faults) {
    for (const QWidget* w : root->findChildren<QWidget*>()) {
        if (Inside(w, skip)) continue;
        QString text;
        if (const auto* button = qobject_cast<const QPushButton*>(w)) {
            text = button->text();
            if (!text.isEmpty() && QKeySequence::mnemonic(text).isEmpty())
                faults.push_back("push button " + Plain(text) + " has no key");
        } else if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
            text = qobject_cast<const QAbstractButton*>(w)->text();
        } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (!label->buddy()) continue;  // a label's key moves to its field
            text = label->text();
        } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
            text = group->title();
        } else {
            continue;
        }
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty()) keys[KeyName(key)].push_back(Plain(text));
    }
}

void AddClashes(const std::map<std::string, std::vector<std::string>>& keys, std::vector<std::string>& faults) {
    for (const auto& [key, captions] : keys) {
        if (captions.size() < 2) continue;
        std::string line = key + " is";
        for (std::size_t i = 0; i < captions.size(); ++i)
            line += (i == 0 ? " " : i + 1 == captions.size() ? " and " : ", ") + captions[i];
        faults.push_back(line);
    }
}

}  // namespace

std::vector<std::string> KeyFaults(const Window& window) {
    const QWidget* root = window.GetWidget();
    if (!root) return {"the window is not built"};
    std::vector<std::string> faults;
    const auto* sheet = dynamic_cast<const PropertySheet*>(&window);
    std::vector<const QWidget*> pages;
    for (int i = 0; sheet && i < sheet->GetPageCount(); ++i) pages.push_back(sheet->GetPage(i)->GetWidget());
    std::map<std::string, std::vector<std::string>> own;
    // A child window's form shares its keys with the menu bar above it.
    if (const auto* view = dynamic_cast<const View*>(&window))
        for (const std::string& caption : view->MenuBarCaptions())
            if (const QKeySequence key = QKeySequence::mnemonic(ToQt(caption)); !key.isEmpty())
                own[KeyName(key)].push_back("menu " + Plain(ToQt(caption)));
    Collect(root, pages, own, faults);
    if (!sheet || pages.empty()) {
        AddClashes(own, faults);
        return faults;
    }
    // Each page shows with the sheet's own buttons.
    for (int i = 0; i < sheet->GetPageCount(); ++i) {
        const PropertyPage* page = sheet->GetPage(i);
        if (!page->GetWidget()) continue;
        std::map<std::string, std::vector<std::string>> keys = own;
        std::vector<std::string> page_faults;
        Collect(page->GetWidget(), {}, keys, page_faults);
        AddClashes(keys, page_faults);
        for (const std::string& fault : page_faults) faults.push_back("page \"" + page->Caption() + "\": " + fault);
    }
    return faults;
}

}  // namespace platform
