#include "shell/printer_settings.h"

#include "records/common_file.h"
#include "records/record.h"
#include "shell/field_helpers.h"

namespace shell {

PrinterSettings g_printer;

PrinterSettings ReadPrinterSettings() {
    const records::PrinterWords words = records::Rdprto();
    records::Record record(128);
    for (std::size_t i = 0; i < words.size(); ++i) record.SetI16(2 * i, words[i]);
    PrinterSettings settings;
    settings.PrinterPageLength = record.I16(0);
    settings.PrinterTopLines = record.I16(2);
    settings.LeftMargin = record.R4(4);
    settings.RightMargin = record.R4(12);
    settings.PrinterIntensity = record.I32(20);
    // The face name is a text of up to 32 characters, ended by a zero byte
    // or blank padded.
    std::string face = record.Text(64, 32);
    face = face.substr(0, face.find('\0'));
    settings.PrinterFontName = TrimField(face, 32);
    if (settings.PrinterFontName.empty()) settings.PrinterFontName = "Courier";
    return settings;
}

}  // namespace shell
