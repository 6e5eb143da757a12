#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/interaction.h"
#include "platform/text.h"
#include "platform/window.h"

namespace platform {

int MessageBox(std::string_view text, std::string_view caption, unsigned flags, WindowHandle owner) {
    return CurrentInteraction().ShowMessageBox({std::string(text), std::string(caption), flags, owner});
}

std::vector<int> MessageBoxAnswers(unsigned flags) {
    switch (flags & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE:
            return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL:
            return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO:
            return {IDYES, IDNO};
        case MB_RETRYCANCEL:
            return {IDRETRY, IDCANCEL};
        default:
            return {IDOK};
    }
}

int MessageBoxEscapeAnswer(unsigned flags) {
    const std::vector<int> answers = MessageBoxAnswers(flags);
    for (int a : answers)
        if (a == IDCANCEL) return IDCANCEL;
    return answers.size() == 1 ? IDOK : 0;
}

int ScreenInteraction::ShowMessageBox(const MessageBoxRequest& request) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return MessageBoxEscapeAnswer(request.flags);
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (request.flags & MB_ICONMASK) {
        case MB_ICONSTOP:
            icon = QMessageBox::Critical;
            break;
        case MB_ICONQUESTION:
            icon = QMessageBox::Question;
            break;
        case MB_ICONEXCLAMATION:
            icon = QMessageBox::Warning;
            break;
        case MB_ICONASTERISK:
            icon = QMessageBox::Information;
            break;
    }
    QWidget* parent = nullptr;
    if (Window* w = FromHandle(request.owner)) parent = w->GetWidget();
    QMessageBox box(icon, ToQtDisplay(request.caption), ToQtDisplay(request.text), QMessageBox::NoButton,
                    parent);
    const std::vector<int> answers = MessageBoxAnswers(request.flags);
    std::vector<std::pair<QPushButton*, int>> buttons;
    for (int answer : answers) {
        QMessageBox::StandardButton standard = QMessageBox::Ok;
        switch (answer) {
            case IDCANCEL:
                standard = QMessageBox::Cancel;
                break;
            case IDABORT:
                standard = QMessageBox::Abort;
                break;
            case IDRETRY:
                standard = QMessageBox::Retry;
                break;
            case IDIGNORE:
                standard = QMessageBox::Ignore;
                break;
            case IDYES:
                standard = QMessageBox::Yes;
                break;
            case IDNO:
                standard = QMessageBox::No;
                break;
            default:
                break;
        }
        buttons.emplace_back(box.addButton(standard), answer);
    }
    const std::size_t def = (request.flags & MB_DEFMASK) >> 8;
    box.setDefaultButton(buttons[def < buttons.size() ? def : 0].first);
    const int escape = MessageBoxEscapeAnswer(request.flags);
    for (auto& [button, answer] : buttons)
        if (answer == escape) box.setEscapeButton(button);
    box.exec();
    for (auto& [button, answer] : buttons)
        if (box.clickedButton() == button) return answer;
    return escape != 0 ? escape : answers.front();
}

}  // namespace platform
