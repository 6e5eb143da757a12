#include "platform/common_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <filesystem>

#include "platform/text.h"
#include "platform/window.h"

namespace platform {
namespace {

QWidget* ParentOf(WindowHandle owner) {
    Window* w = FromHandle(owner);
    return w ? w->GetWidget() : nullptr;
}

bool HaveWidgets() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ParseFileFilter(std::string_view filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        const std::size_t bar = filter.find('|', start);
        const std::size_t end = bar == std::string_view::npos ? filter.size() : bar;
        parts.emplace_back(filter.substr(start, end - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty()) break;
        pairs.emplace_back(parts[i], parts[i + 1]);
    }
    return pairs;
}

std::optional<std::string> GetOpenFileName(FileDialogRequest request) {
    request.save = false;
    return CurrentInteraction().ShowFileDialog(request);
}

std::optional<std::string> GetSaveFileName(FileDialogRequest request) {
    request.save = true;
    return CurrentInteraction().ShowFileDialog(request);
}

std::optional<FontChoice> ChooseFont(const FontRequest& request) {
    return CurrentInteraction().ShowFontDialog(request);
}

std::optional<ColorRef> ChooseColor(const ColorRequest& request) {
    return CurrentInteraction().ShowColorDialog(request);
}

bool PrintSetupDialog(QPrinter& printer, WindowHandle owner) {
    return CurrentInteraction().ShowPrintDialog({PrintDialogKind::Setup, &printer, owner, {}});
}

bool PrintDialog(QPrinter& printer, WindowHandle owner) {
    return CurrentInteraction().ShowPrintDialog({PrintDialogKind::Print, &printer, owner, {}});
}

bool BeginPrintJob(QPainter& painter, QPrinter& printer) {
    if (!painter.begin(&printer)) return false;
    // Setting the transformation, even to the one it is, marks it changed,
    // so the engine takes it in before the first clip or drawing.
    painter.setWorldTransform(QTransform(), false);
    return true;
}

bool PrintPreviewDialog(QPrinter& printer, std::function<void(QPrinter& printer)> paint, WindowHandle owner) {
    return CurrentInteraction().ShowPrintDialog(
        {PrintDialogKind::Preview, &printer, owner, std::move(paint)});
}

std::optional<std::string> ScreenInteraction::ShowFileDialog(const FileDialogRequest& request) {
    if (!HaveWidgets()) return std::nullopt;
    QFileDialog dialog(ParentOf(request.owner));
    dialog.setWindowTitle(ToQt(request.title.empty() ? (request.save ? "Save As" : "Open") : request.title));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save || !request.must_exist ? QFileDialog::AnyFile
                                                           : QFileDialog::ExistingFile);
    QStringList filters;
    for (const auto& [description, patterns] : ParseFileFilter(request.filter)) {
        QString p = ToQt(patterns);
        p.replace(';', ' ');
        filters << ToQt(description) + " (" + p + ")";
    }
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.initial_dir.empty()) dialog.setDirectory(ToQt(request.initial_dir));
    if (!request.initial_name.empty()) dialog.selectFile(ToQt(request.initial_name));
    if (!request.default_ext.empty()) dialog.setDefaultSuffix(ToQt(request.default_ext));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FromQt(dialog.selectedFiles().front());
}

std::optional<FontChoice> ScreenInteraction::ShowFontDialog(const FontRequest& request) {
    if (!HaveWidgets()) return std::nullopt;
    QFont initial(ToQt(request.initial.face), request.initial.point_size,
                  request.initial.bold ? QFont::Bold : QFont::Normal, request.initial.italic);
    bool ok = false;
    const QFont font = QFontDialog::getFont(
        &ok, initial, ParentOf(request.owner), QString(),
        request.fixed_pitch_only ? QFontDialog::MonospacedFonts : QFontDialog::FontDialogOptions());
    if (!ok) return std::nullopt;
    return FontChoice{FromQt(font.family()), font.pointSize(), font.bold(), font.italic()};
}

std::optional<ColorRef> ScreenInteraction::ShowColorDialog(const ColorRequest& request) {
    if (!HaveWidgets()) return std::nullopt;
    const QColor initial(request.initial & 0xFF, (request.initial >> 8) & 0xFF,
                         (request.initial >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(initial, ParentOf(request.owner));
    if (!chosen.isValid()) return std::nullopt;
    return Rgb(chosen.red(), chosen.green(), chosen.blue());
}

bool ScreenInteraction::ShowPrintDialog(const PrintRequest& request) {
    if (!HaveWidgets() || !request.printer) return false;
    if (request.kind == PrintDialogKind::Setup) {
        QPageSetupDialog dialog(request.printer, ParentOf(request.owner));
        return dialog.exec() == QDialog::Accepted;
    }
    if (request.kind == PrintDialogKind::Preview) {
        QPrintPreviewDialog preview(request.printer, ParentOf(request.owner));
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&request](QPrinter* printer) {
                             if (request.paint && printer) request.paint(*printer);
                         });
        return preview.exec() == QDialog::Accepted;
    }
    QPrintDialog dialog(request.printer, ParentOf(request.owner));
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace platform
