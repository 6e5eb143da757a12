// The security and bond listings of the security master.

#include "reports/lists/security_listings.h"

#include <algorithm>
#include <string>
#include <vector>

#include "records/amounts.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/files.h"
#include "records/prices.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/security_file.h"
#include "records/security_types.h"
#include "reports/kernel/page_headings.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"

namespace reports {
namespace {

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// The last day of the month before the date's month, MM/DD/YY.
std::string MonthEndBefore(std::string_view date) {
    int16_t month = 0, day = 0, year = 0;
    records::Redate(date, month, day, year);
    year = static_cast<int16_t>(records::WindowYear(year));
    if (--month < 1) {
        month = 12;
        --year;
    }
    day = static_cast<int16_t>(records::DaysInMonth(month, year));
    std::string text;
    records::Wrdate(text, month, day, year);
    return text;
}

std::string CommonText(int record, std::size_t offset, std::size_t length) {
    records::DirectFile common(records::kCommonFile, 128, false);
    records::Record rec;
    if (!common.Read(record, rec)) return std::string(length, ' ');
    return rec.Text(offset, length);
}

// A price column "(F12.4)", or "        N/A " when the price is missing.
std::string PriceText(double price, bool missing) {
    return missing ? std::string("        N/A ") : records::Write("(F12.4)", {price});
}

struct Listed {
    long record;      // SECURITY.REC record, the index position
    std::string key;  // the first 8 characters of the CUSIP
};

// The securities of the index to list, in CUSIP order: a blank sorts
// before digits, digits before letters, byte by byte; equal keys keep
// index order.
std::vector<Listed> SelectSecurities(const std::vector<std::string>& index, bool bonds, char type_filter) {
    std::vector<Listed> selected;
    for (std::size_t k = 0; k < index.size(); ++k) {
        const std::string& key = index[k];
        if (key.compare(0, 4, "$$$$") == 0 || key.compare(0, 4, "CASH") == 0) continue;
        records::SecurityRecord security;
        // An unreadable security ends the scan: what was selected is listed.
        if (!records::ReadSecurity(static_cast<long>(k + 1), security)) break;
        const char type = security.TypeCharacter();
        const bool wanted =
            bonds ? records::IsFixedIncomeType(type) : type_filter == ' ' || type == type_filter;
        if (wanted) selected.push_back({static_cast<long>(k + 1), records::Fixed(security.cusip, 8)});
    }
    std::stable_sort(selected.begin(), selected.end(), [](const Listed& a, const Listed& b) {
        return std::lexicographical_compare(
            a.key.begin(), a.key.end(), b.key.begin(), b.key.end(),
            [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
    });
    return selected;
}

class Listing {
public:
    Listing(ReportFrame& frame, bool bonds, std::string program_date, std::string price_date,
            std::string month_end)
        : frame_(frame),
          bonds_(bonds),
          program_date_(std::move(program_date)),
          price_date_(std::move(price_date)),
          month_end_(std::move(month_end)) {}

    void Heading() {
        records::Pghead(page_, lines_, page_length_);
        std::string printed = program_date_;
        const std::string printed_text = records::H2000(printed);
        if (bonds_) {
            frame_.Write("(2X,'DATE PRINTED: ',3A4,29X,'BOND DATA BASE')", Items().Text(printed_text, 4, 3));
            frame_.Blank();
            frame_.Blank();
            frame_.Write("(39X,'BOND',20X,'FIRST',7X,'LAST')");
            frame_.Write(
                "(32X,'BOND',2X,'RATING',10X,'ISSUE',4X,'COUPON',5X,'COUPON',3X,'OID',1X,'CALL',1X,'CALL',4X,"
                "'CALL',2X,'PUT',2X,'PUT',6X,'PUT')");
            frame_.Write(
                "(3X,'CUSIP',8X,'DESCRIPTION',5X,'TYPE',1X,'MDY',2X,'S&P',3X,'INS',4X,'DATE',5X,'DATE',2X,'"
                "OID',"
                "2X,'DATE',3X,'YIELD',1X,'FEA',1X,'DATE',4X,'PRICE',1X,'FEA',2X,'DATE',4X,'PRICE')");
            frame_.Blank();
            lines_ = static_cast<int16_t>(lines_ + 7);
            return;
        }
        frame_.Write("(58X,'SECURITY DATA BASE')");
        frame_.Blank();
        frame_.Blank();
        frame_.Line(DatePrintedLine(printed_text, 1));
        frame_.Blank();
        std::string price = price_date_, month_end = month_end_;
        const std::string price_text = records::H2000(price);
        const std::string month_end_text = records::H2000(month_end);
        frame_.Write("(47X,'CUSIP',5X,3A4,1X,3A4,'      ','SECURITY     ',' MATURITY   DIV. IND AUTO')",
                     Items().Text(price_text, 4, 3).Text(month_end_text, 4, 3));
        frame_.Write(
            "(2X,'SYMBOL     SECURITY DESCRIPTION              NUMBER','        PRICE       PRICE           "
            "TYPE "
            "         DATE','     RATE CLA PRIC')");
        frame_.Blank();
        lines_ = static_cast<int16_t>(lines_ + 9);
    }

    // A new page when the next security's lines would pass the page.
    void Room() {
        if (lines_ > page_length_ - 4) Heading();
    }

    void Count(int n) { lines_ = static_cast<int16_t>(lines_ + n); }

private:
    ReportFrame& frame_;
    bool bonds_;
    std::string program_date_, price_date_, month_end_;
    int16_t page_ = 1, lines_ = 0, page_length_ = 0;
};

}  // namespace

void Allpos(int16_t kind, std::string_view price_date, std::string_view type_filter,
            std::string_view output_name) {
    const bool bonds = kind >= 1;
    ReportFrame frame(output_name, true);
    const std::string program_date = CommonText(records::kProgramDateRecord, 0, 8);
    const std::string codes = records::TypeCodeList();
    const records::Options options = records::Rdopts();
    const std::string option_word(reinterpret_cast<const char*>(options.data()), 4);

    std::string date = records::Fixed(price_date, 8);
    std::string month_end;
    char filter = ' ';
    if (!bonds) {
        int16_t mode = 0, error = 0;
        float number = 0;
        std::string checked = date;
        records::Ckdate(checked, mode, error, number, 0.0f, 1991231.0f);
        if (error != 0) {
            frame.Write("(1X,'illegal date ',2A4)", Items().Text(date, 4, 2));
            return;
        }
        date = checked;
        month_end = MonthEndBefore(date);
        if (!IsBlank(type_filter)) {
            std::string type, unused;
            records::Cvtypc(codes, records::Fixed(type_filter, 4), type, "    ", unused, 2);
            if (IsBlank(type)) {
                frame.Write("(1X,'invalid security type ',A4)",
                            Items().Text(records::Fixed(type_filter, 4), 4, 1));
                return;
            }
            filter = type[0];
        }
    }

    Listing listing(frame, bonds, program_date, date, month_end);
    listing.Heading();

    const std::vector<std::string> index = records::ReadSecurityIndex();
    const std::vector<double> prices = bonds ? std::vector<double>() : records::ReadPriceFile(date);
    const std::vector<double> month_end_prices =
        bonds ? std::vector<double>() : records::ReadPriceFile(month_end);
    auto price_of = [](const std::vector<double>& file, long record) {
        return record >= 1 && static_cast<std::size_t>(record) <= file.size()
                   ? file[static_cast<std::size_t>(record - 1)]
                   : records::kNoPriceValue;
    };

    for (const Listed& entry : SelectSecurities(index, bonds, filter)) {
        records::Record rec, ext_rec;
        if (!records::ReadSecurityRecord(entry.record, rec) ||
            !records::ReadSecurityExtension(entry.record, ext_rec))
            continue;
        const records::SecurityRecord security = records::SecurityRecord::Decode(rec);
        const records::SecurityExtension terms = records::SecurityExtension::Decode(ext_rec);
        const std::string& symbol = index[static_cast<std::size_t>(entry.record - 1)];
        const char type = security.TypeCharacter();
        listing.Room();
        if (bonds) {
            frame.Write(
                "(1X,9A1,1X,5A4,3(1X,A4),1X,5A1,2(1X,2A4),1X,A1,1X,2A4,1X,F5.2,1X,A1,1X,2A4,F8.3,1X,A1,1X,"
                "2A4,F8.3)",
                Items()
                    .Text(symbol, 1, 9)
                    .Text(security.description1, 4, 5)
                    .Text(terms.bond_type, 4, 1)
                    .Text(terms.moody_rating, 4, 1)
                    .Text(terms.sp_rating, 4, 1)
                    .Text(terms.insurer, 1, 5)
                    .Text(terms.issue_date, 4, 2)
                    .Text(terms.first_coupon_date, 4, 2)
                    .Text(std::string(1, terms.oid), 1, 1)
                    .Text(terms.last_coupon_date, 4, 2)
                    .Number(terms.oid_yield)
                    .Text(std::string(1, terms.call_feature), 1, 1)
                    .Text(terms.call_date, 4, 2)
                    .Number(terms.call_price)
                    .Text(std::string(1, terms.put_feature), 1, 1)
                    .Text(terms.put_date, 4, 2)
                    .Number(terms.put_price));
            listing.Count(1);
            continue;
        }

        double price = records::kNoPriceValue, last = records::kNoPriceValue;
        if (type != '1') {
            price = price_of(prices, entry.record);
            last = price_of(month_end_prices, entry.record);
        }
        if (type == '1' || type == 'S') price = last = 1.0;
        if (type == '4') price = last = 100.0;
        std::string title(20, ' ');
        int16_t status = 0;
        records::Gtitle(std::string(1, type), title, ext_rec.I16(62), status);
        const float rate = security.rate < 0 ? 0.0f : security.rate;
        const bool no_flag = std::string_view("14STX").find(type) != std::string_view::npos ||
                             static_cast<unsigned char>(security.autopricing) <= ' ';
        const std::string flag = no_flag ? " " : std::string(1, security.autopricing);
        frame.Write("(1X,3A4,8A4,1X,9A1,A12,A12,2X,5A4,2A4,F7.2,2X,A2,3X,A1)",
                    Items()
                        .Text(symbol, 4, 3)
                        .Text(security.description1, 4, 8)
                        .Text(security.cusip, 1, 9)
                        .Text(PriceText(price, price < 0), 12, 1)
                        .Text(PriceText(last, last <= 0), 12, 1)
                        .Text(title, 4, 5)
                        .Text(security.due_date, 4, 2)
                        .Number(rate)
                        .Text(security.category, 2, 1)
                        .Text(flag, 1, 1));
        listing.Count(1);
        std::string second = records::Fixed(security.description2, 32);
        if (type != '1') records::Ckdesc(second, option_word, security.rate, security.due_date);
        if (!IsBlank(second)) {
            frame.Write("(13X,8A4)", Items().Text(second, 4, 8));
            listing.Count(1);
        }
    }
}

}  // namespace reports
