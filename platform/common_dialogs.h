#pragma once

// The common dialogs: choosing a file to open or save, a font, a colour, the
// printer settings. Each goes through the installed Interaction, so a test
// script answers them.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/interaction.h"

class QPainter;
class QPrinter;

namespace platform {

std::optional<std::string> GetOpenFileName(FileDialogRequest request);
std::optional<std::string> GetSaveFileName(FileDialogRequest request);
std::optional<FontChoice> ChooseFont(const FontRequest& request);
std::optional<ColorRef> ChooseColor(const ColorRequest& request);
// The print set-up dialog (paper, orientation) and the print dialog (printer,
// pages) on a printer's settings; true when confirmed.
bool PrintSetupDialog(QPrinter& printer, WindowHandle owner = 0);
bool PrintDialog(QPrinter& printer, WindowHandle owner = 0);
// The print preview of pages that `paint` draws on the printer it is given;
// true when the person printed from the preview.
bool PrintPreviewDialog(QPrinter& printer, std::function<void(QPrinter& printer)> paint,
                        WindowHandle owner = 0);

// Begins a print job: the painter starts on the printer in a fresh state.
// A printer's paint engine outlives the job and keeps the last job's
// transformation, which it would apply to the next job's first clip (a
// chart printed after a report came out blank); the painter's own
// transformation is handed to the engine before anything is drawn.
bool BeginPrintJob(QPainter& painter, QPrinter& printer);

// Splits a classic filter "Desc (*.a)|*.a|All Files (*.*)|*.*||" into
// (description, patterns) pairs; the patterns keep their ";" separators.
std::vector<std::pair<std::string, std::string>> ParseFileFilter(std::string_view filter);

}  // namespace platform
