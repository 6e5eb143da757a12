#pragma once

// What a printed PDF holds, read back by poppler-utils (scripts/deps): the
// text of each page by pdftotext, which reads the characters drawn whatever
// face the machine gave "Courier", so that a test of printed pages passes
// on any set of fonts.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace road {

// The text of every page of a PDF, laid out as printed; nothing when the
// file cannot be read.
inline std::vector<std::string> PdfPageTexts(const std::filesystem::path& pdf) {
    const std::filesystem::path text = pdf.parent_path() / (pdf.stem().string() + ".txt");
    const std::string command =
        "pdftotext -layout '" + pdf.string() + "' '" + text.string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return {};
    std::ifstream in(text, std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Each page is ended by a form feed.
    std::vector<std::string> pages;
    std::size_t at = 0;
    for (std::size_t end; (end = all.find('\f', at)) != std::string::npos; at = end + 1)
        pages.push_back(all.substr(at, end - at));
    return pages;
}

}  // namespace road
