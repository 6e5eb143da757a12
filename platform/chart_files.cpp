#include "platform/chart_files.h"

#include <strings.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kNoFile = "Chart data file does not exist.";
constexpr std::string_view kNoTitle = "PieChart.out does not have title.";
constexpr std::string_view kBadPercentage = "PieChart.out has improperly formatted percentage.";
constexpr std::string_view kNoCount = "Grapher.out does not have record 1.";
constexpr std::string_view kTooManySets = "Grapher.out has more than 10 data sets.";
constexpr std::string_view kNoName = "Grapher.out:Error reading names.";
constexpr std::string_view kNoData = "0 data records in file.";

// The chart shows at most this many data sets of Grapher.out, and keeps this
// much of each name.
constexpr int kMaxDataSets = 3;
constexpr std::size_t kMaxNameLength = 49;

// The lines of a text file, each without its LF or CR LF. A last line
// without a line end counts; the end of the file after a line end is no
// further line.
std::optional<std::vector<std::string>> ReadLines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string TrimRight(std::string_view s) {
    std::size_t end = s.size();
    while (end > 0 && (s[end - 1] == ' ' || s[end - 1] == '\t' || s[end - 1] == '\r' || s[end - 1] == '\n'))
        --end;
    return std::string(s.substr(0, end));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view SkipBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

// A number at the start of `s` (after blanks; a sign, digits, a decimal
// point and an exponent), read the same in every locale. `whole`: nothing
// but blanks may follow it. Infinities and NaNs are no numbers here.
std::optional<double> ReadNumber(std::string_view s, bool whole) {
    s = SkipBlanks(s);
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (!s.empty() && s.front() == '-') return std::nullopt;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    if (whole && !SkipBlanks(s.substr(static_cast<std::size_t>(end - s.data()))).empty()) return std::nullopt;
    return value;
}

std::optional<int> ReadInteger(std::string_view s, bool whole) {
    s = SkipBlanks(s);
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (!s.empty() && s.front() == '-') return std::nullopt;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc()) return std::nullopt;
    if (whole && !SkipBlanks(s.substr(static_cast<std::size_t>(end - s.data()))).empty()) return std::nullopt;
    return value;
}

std::vector<std::string_view> SplitBlanks(std::string_view s) {
    std::vector<std::string_view> words;
    while (true) {
        s = SkipBlanks(s);
        if (s.empty()) return words;
        std::size_t n = 0;
        while (n < s.size() && !IsBlank(s[n])) ++n;
        words.push_back(s.substr(0, n));
        s.remove_prefix(n);
    }
}

// One period line of Grapher.out: the period number and `sets` values.
// The values are read as words separated by blanks. The writer puts the
// first value straight after a three-digit period field, so a value of six
// characters (1000.0 and up) touches the period number; such a line is read
// by the writer's columns instead: the period in columns 2-4, then each
// value in six columns followed by a blank.
std::optional<std::vector<double>> ReadPeriodLine(std::string_view line, int sets) {
    const std::vector<std::string_view> words = SplitBlanks(line);
    std::vector<double> values;
    if (static_cast<int>(words.size()) > sets && ReadInteger(words[0], true)) {
        for (int s = 1; s <= sets; ++s) {
            const auto value = ReadNumber(words[static_cast<std::size_t>(s)], true);
            if (!value) break;
            values.push_back(*value);
        }
        if (static_cast<int>(values.size()) == sets) return values;
    }
    values.clear();
    auto column = [&](std::size_t first, std::size_t width) {
        return first < line.size() ? line.substr(first, width) : std::string_view();
    };
    if (!ReadInteger(column(1, 3), true)) return std::nullopt;
    for (int s = 0; s < sets; ++s) {
        const auto value = ReadNumber(column(4 + 7 * static_cast<std::size_t>(s), 6), true);
        if (!value) return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

template <class T>
ChartRead<T> Failure(std::string_view text) {
    ChartRead<T> read;
    read.error = std::string(text);
    return read;
}

}  // namespace

std::string_view ChartFileName(ChartFile file) {
    switch (file) {
        case ChartFile::AssetAllocation:
            return "PieChart.out";
        case ChartFile::IndustryCategory:
            return "PieChrt1.out";
        case ChartFile::Performance:
            break;
    }
    return "Grapher.out";
}

fs::path FindChartFile(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    const fs::path exact = dir / std::string(name);
    if (fs::is_regular_file(exact, ec)) return exact;
    // Of several spellings, the first in name order, so the choice does not
    // depend on the order the directory lists them.
    fs::path found;
    const std::string wanted(name);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (::strcasecmp(entry.c_str(), wanted.c_str()) != 0) continue;
        std::error_code kind_error;
        if (!it->is_regular_file(kind_error)) continue;
        if (found.empty() || it->path().filename() < found.filename()) found = it->path();
    }
    return found;
}

std::string PieSlice::Label() const {
    char text[64];
    std::snprintf(text, sizeof text, " - %0.1f%%", percent);
    return name + text;
}

ChartRead<PieChartData> ReadPieChartFile(const fs::path& dir, ChartFile file) {
    using Read = ChartRead<PieChartData>;
    // Columns (from 0) of the label and of the start of the percentage.
    const bool categories = file == ChartFile::IndustryCategory;
    const std::size_t label_start = categories ? 1 : 0;
    const std::size_t label_width = 32;
    const std::size_t percent_start = label_start + label_width;

    const fs::path path = FindChartFile(dir, ChartFileName(categories ? file : ChartFile::AssetAllocation));
    const auto lines = path.empty() ? std::nullopt : ReadLines(path);
    if (!lines) return Failure<PieChartData>(kNoFile);
    if (lines->empty()) return Failure<PieChartData>(kNoTitle);

    Read read;
    read.data.title = (*lines)[0];
    for (std::size_t i = 1; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        const auto percent = line.size() > percent_start
                                 ? ReadNumber(std::string_view(line).substr(percent_start), false)
                                 : std::nullopt;
        if (!percent) return Failure<PieChartData>(kBadPercentage);
        const std::string_view label = line.size() > label_start
                                           ? std::string_view(line).substr(label_start, label_width)
                                           : std::string_view();
        read.data.slices.push_back({TrimRight(label), *percent});
    }
    if (read.data.slices.empty()) return Failure<PieChartData>(kNoData);
    return read;
}

ChartRead<LineChartData> ReadLineChartFile(const fs::path& dir) {
    const fs::path path = FindChartFile(dir, ChartFileName(ChartFile::Performance));
    const auto lines = path.empty() ? std::nullopt : ReadLines(path);
    if (!lines) return Failure<LineChartData>(kNoFile);
    if (lines->empty()) return Failure<LineChartData>(kNoCount);
    const auto count = ReadInteger((*lines)[0], false);
    if (!count) return Failure<LineChartData>(kNoCount);
    if (*count > kMaxDataSets) return Failure<LineChartData>(kTooManySets);
    // A file that declares no data set has nothing to draw.
    if (*count < 1) return Failure<LineChartData>(kNoData);
    const int sets = *count;

    ChartRead<LineChartData> read;
    for (int s = 1; s <= sets; ++s) {
        if (static_cast<std::size_t>(s) >= lines->size()) return Failure<LineChartData>(kNoName);
        const std::string& line = (*lines)[static_cast<std::size_t>(s)];
        read.data.names.push_back(TrimRight(std::string_view(line).substr(0, kMaxNameLength)));
    }
    read.data.values.resize(static_cast<std::size_t>(sets));
    // The line after the names says whether the periods are months or
    // quarters; the chart counts periods without it.
    for (std::size_t i = static_cast<std::size_t>(sets) + 2; i < lines->size(); ++i) {
        // A line without a period number and a value for every data set is
        // left out, so that no point is drawn from a value never read.
        const auto values = ReadPeriodLine((*lines)[i], sets);
        if (!values) continue;
        for (int s = 0; s < sets; ++s)
            read.data.values[static_cast<std::size_t>(s)].push_back((*values)[static_cast<std::size_t>(s)]);
    }
    if (read.data.values[0].empty()) return Failure<LineChartData>(kNoData);
    return read;
}

}  // namespace platform
