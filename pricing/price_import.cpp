#include "pricing/price_import.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/symbols.h"
#include "pricing/price_dates.h"
#include "pricing/price_lines.h"
#include "pricing/security_search.h"
#include "records/common_file.h"
#include "records/files.h"
#include "records/layout.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"

namespace pricing {

namespace {

using records::Fixed;
using records::Write;

constexpr int kImportUnit = 12;
constexpr int kPriceUnit = 11;

struct ProgramDate {
    std::string text = std::string(8, ' ');
    float number = 0;
};

// COMMON.FIL record 2: the program date, MM/DD/YY and its date number.
// Without it no line's date can pass, so nothing is filed.
ProgramDate ReadProgramDate() {
    ProgramDate date;
    records::DirectFile common(records::kCommonFile, 128, /*create=*/false);
    records::Record rec;
    if (common.ok() && common.Read(records::kProgramDateRecord, rec)) {
        date.text = rec.Text(0, 8);
        date.number = rec.R4(8);
    }
    return date;
}

// The identifier as the report shows it: a byte that is no printable
// character would break the report line, so it shows as a blank.
std::string Printable(std::string_view text) {
    std::string out = Fixed(text, 12);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u > 126) c = ' ';
    }
    return out;
}

// The error report: one page a failing line, pages numbered from 1.
class ErrorReport {
public:
    explicit ErrorReport(int16_t layout) : layout_(layout) {}

    void Failed(std::string_view identifier) {
        StartPage();
        const std::string id = Printable(identifier);
        const std::string_view v(id);
        const std::vector<records::OutItem> words = {v.substr(0, 4), v.substr(4, 4), v.substr(8, 4)};
        const std::string blank;
        switch (layout_) {
            case kLayoutGeneric1:
            case kLayoutGeneric4:
            case kLayoutGeneric5:
            case kLayoutFidelity:
            case kLayoutDst:
                records::Prtout(Write("(1X,'Warning, ',3A4,'has invalid price data.')", words));
                records::Prtout(blank);
                break;
            default:
                break;
        }
        switch (layout_) {
            case kLayoutSchwab:
            case kLayoutGeneric4:
            case kLayoutGeneric5:
                records::Prtout(Write("(1X,'Price data for ',3A4,'is not available.')", words));
                records::Prtout(blank);
                break;
            default:
                break;
        }
    }

    // Ends the report; a run in which no line failed still says what it
    // did, so that its output is never mistaken for a report that failed.
    void End(long filed, std::string_view output_file) {
        if (page_ == 1) {
            StartPage();
            records::Prtout(Write("(1X,'No errors: ',I6,' prices filed.')", {static_cast<long long>(filed)}));
        }
        std::string name;
        records::Prtout(std::string(records::kReportLineWidth, ' '), "END", name);
        if (!records::IsBlank(output_file)) records::Acopy(records::kReportWorkFile, output_file);
    }

private:
    void StartPage() {
        if (page_ == 1) {
            std::string name;
            records::Prtout(std::string(records::kReportLineWidth, ' '), "START", name);
        }
        records::Pghead(page_, line_count_, page_length_);
        records::Prtout(Write("(22X,'PRICE FILE IMPORT ERROR REPORT')"));
        records::Prtout("");
    }

    int16_t layout_;
    int16_t page_ = 1;
    int16_t line_count_ = 0;
    int16_t page_length_ = 0;
};

// The width over which a layout's identifiers are compared: the layouts
// whose identifiers are 8 characters compare 8.
std::size_t MatchWidth(int16_t layout) {
    return layout == kLayoutSchwab || layout == kLayoutGeneric4 || layout == kLayoutGeneric5 ? 8 : 12;
}

bool HasSecondIdentifier(int16_t layout) {
    return layout == kLayoutGeneric1 || layout == kLayoutGeneric5 || layout == kLayoutFidelity;
}

}  // namespace

void Tranfi(std::string_view import_file, int16_t name_length, int16_t layout,
            std::string_view identification, std::string_view output_file, int16_t output_length) {
    std::vector<FiledPrices> filed;
    Tranfi(import_file, name_length, layout, identification, output_file, output_length, filed);
}

void Tranfi(std::string_view import_file, int16_t /*name_length*/, int16_t layout,
            std::string_view identification, std::string_view output_file, int16_t /*output_length*/,
            std::vector<FiledPrices>& filed_prices) {
    filed_prices.clear();
    const ProgramDate program = ReadProgramDate();
    const SecuritySearch securities = SecuritySearch::Load();
    if (securities.Count() == 0) return;
    engine::Opnseq(kImportUnit, import_file);
    records::UnitGuard input(kImportUnit);
    if (!records::IsOpen(kImportUnit)) return;

    const Identification by =
        Fixed(identification, 4) == "S   " ? Identification::kSymbol : Identification::kCusip;
    const std::size_t width = MatchWidth(layout);
    ErrorReport report(layout);
    long filed = 0;
    std::string line;
    while (records::ReadLine(kImportUnit, line)) {
        // A blank line carries no price and names nothing to report.
        if (records::IsBlank(CleanLine(line, ReadWidth(layout)))) continue;
        PriceLine fields = ParsePriceLine(line, layout);
        if (fields.failed) {
            report.Failed(fields.identifier);
            continue;
        }
        std::string date = records::IsBlank(fields.date) ? program.text : fields.date;
        int16_t mode = 0, date_failed = 0;
        float number = 0;
        Tfdate(date, mode, date_failed, number, 0.0f, program.number);
        if (date_failed != 0) {
            report.Failed(fields.identifier);
            continue;
        }
        if (HasSecondIdentifier(layout) && fields.second.compare(0, 4, "$$$$") == 0) continue;
        const int entry = securities.Find(fields.identifier, by, width);
        if (entry == 0) continue;
        double price = fields.price;
        if (layout == kLayoutDst && !DstPrice(fields.dst_digits, securities.Type(entry) == 'J', price)) {
            report.Failed(fields.identifier);
            continue;
        }
        if (price <= 0) continue;
        records::Rwpric(1, -kPriceUnit, date, entry, price);
        ++filed;
        auto same_date = [&date](const FiledPrices& f) { return f.date == date; };
        if (auto it = std::find_if(filed_prices.begin(), filed_prices.end(), same_date); it != filed_prices.end())
            ++it->count;
        else
            filed_prices.push_back(FiledPrices{date, 1});
    }
    report.End(filed, output_file);
}

}  // namespace pricing
