#include "reports/aum/aum_page.h"

#include <string>

#include "records/common_file.h"
#include "records/dates.h"
#include "records/layout.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/security_holdings_files.h"
#include "reports/aum/aum_security_pages.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

using records::kNoPriceValue;

constexpr const char* kValueNA = "         N/A";
constexpr const char* kGainNA = "       N/A  ";
constexpr const char* kUnitNA = "     N/A";
constexpr const char* kShareNA = "  N/A ";

// The value of a kind in the units the page prints: per 100 of face for
// the fixed-income kind, per hundredth for type "R".
double Scaled(double value, int8_t kind) {
    if (kind == records::kValuedPerHundred) return value * 100;
    if (kind == records::kValuedTimes100) return value * 0.01;
    return value;
}

}  // namespace

void Aumhdr(int16_t& page, int16_t& lines, std::string_view pricing_date, int16_t& page_length,
            std::string_view program_date, int16_t /*output_mode*/, std::string_view /*security_type*/,
            std::string_view type_title, std::string_view manager, ReportFrame& frame) {
    std::string pricing = records::Fixed(pricing_date, 8);
    std::string printed = records::Fixed(program_date, 8);
    const std::string pricing_text = records::H2000(pricing);
    const std::string printed_text = records::H2000(printed);
    records::Pghead(page, lines, page_length);
    const std::string blank(132, ' ');
    frame.Write("(56X,'ASSETS UNDER MANAGEMENT')");
    frame.Line(blank);
    frame.Write("(1X,'PORTFOLIO MANAGER : ',A4)", Items().Text(manager, 4, 1));
    frame.Write("(1X,'DATE PRINTED: ',3A4,24X,'SECURITY TYPE: ',5A4,12X,'PRICING DATE: ',3A4)",
                Items().Text(printed_text, 4, 3).Text(type_title, 4, 5).Text(pricing_text, 4, 3));
    frame.Line(blank);
    frame.Write("(94X,'UNREALIZED',9X,'% OF',4X,'ACCTS')");
    frame.Write(
        "(34X,'    SHARES/     AVG',6X,'TOTAL',5X,'MARKET  ',3X,'MARKET',3X,'SHORT-TERM',2X,'LONG-TERM',3X,"
        "'TOTMKT',2X,'WITH')");
    frame.Write(
        "(1X,'SECURITY DESCRIPTION',17X,'FACE AMT.   COST ',4X,'COST ',5X,'PRICE',6X,'VALUE',4X,'GAIN(LOSS)',"
        "2X,'GAIN(LOSS)',2X,'VALUE ',2X,'POS.')");
    frame.Line(blank);
    lines += 9;
}

void Aumprt(int16_t output_mode, std::string_view security_type, std::string_view type_title,
            std::string_view manager, const records::DirectFile& summaries, ReportFrame& frame) {
    records::SecuritySummaryHeader header;
    records::Record rec;
    if (summaries.Read(1, rec))
        header = records::SecuritySummaryHeader::Decode(rec);
    else
        header.count = 0;
    const std::string program_date = records::ProgramDateText();
    int16_t page = 1, lines = 0, page_length = 58;
    auto heading = [&] {
        Aumhdr(page, lines, header.pricing_date, page_length, program_date, output_mode, security_type,
               type_title, manager, frame);
    };
    heading();
    if (header.count <= 0) return;

    // An unknown grand value (an unpriced lot) makes every share unknown.
    const bool grand_known = header.market_value != kNoPriceValue;
    bool unknown = !grand_known;
    for (int k = 1; k <= header.count; ++k) {
        if (!summaries.Read(k + 1, rec)) continue;
        const records::SecuritySummary s = records::SecuritySummary::Decode(rec);
        const bool priced = s.unit_value >= 0 && s.market_value != kNoPriceValue;
        if (!priced) unknown = true;
        double quantity = s.quantity;
        records::Drnd3(quantity);
        const std::string quantity_text = NumberText(quantity, "(F16.3)", 16, false);
        const double average = s.quantity != 0 ? Scaled(s.cost / s.quantity, s.valuation_kind) : 0;
        std::string share = kShareNA;
        if (grand_known && priced) {
            const double of_total =
                header.market_value > 0 ? 100.0 * s.market_value / header.market_value : 0;
            share = records::Write("(F5.1)", {of_total});
        } else if (grand_known) {
            share = kShareNA;
        }
        if (lines >= page_length - 2) heading();
        ++lines;
        frame.Write("(1X,7A4,1X,A16,A8,1X,A12,A8,1X,A12,A12,A12,1X,A5,I6)",
                    Items()
                        .Text(s.description1, 4, 7)
                        .Text(quantity_text, 16, 1)
                        .Text(records::Write("(F8.2)", {average}), 8, 1)
                        .Text(Amount12(s.cost), 12, 1)
                        .Text(priced ? records::Write("(F8.2)", {Scaled(s.unit_value, s.valuation_kind)})
                                     : std::string(kUnitNA),
                              8, 1)
                        .Text(priced ? Amount12(s.market_value) : kValueNA, 12, 1)
                        .Text(priced ? GainText12(s.short_term_gain) : kGainNA, 12, 1)
                        .Text(priced ? GainText12(s.long_term_gain) : kGainNA, 12, 1)
                        .Text(share, 5, 1)
                        .Int(s.accounts));
        if (!records::IsBlank(s.description2)) {
            ++lines;
            frame.Write("(3X,8A4)", Items().Text(s.description2, 4, 8));
        }
    }

    const bool value_known = !unknown && header.market_value != kNoPriceValue;
    const bool short_known = !unknown && header.short_term_gain != kNoPriceValue;
    const bool long_known = !unknown && header.long_term_gain != kNoPriceValue;
    if (lines >= page_length - 2) heading();
    frame.Write("(55X,12('-'),9X,12('-'),2X,9('-'),3X,9('-'))");
    frame.Line(std::string(132, ' '));
    frame.Write("(1X,'TOTALS FOR ',I3,' ISSUES:',32X,A12,9X,A12,A12,A12)",
                Items()
                    .Int(header.count)
                    .Text(Amount12(header.cost), 12, 1)
                    .Text(value_known ? Amount12(header.market_value) : kValueNA, 12, 1)
                    .Text(short_known ? GainText12(header.short_term_gain) : kGainNA, 12, 1)
                    .Text(long_known ? GainText12(header.long_term_gain) : kGainNA, 12, 1));
}

}  // namespace reports
