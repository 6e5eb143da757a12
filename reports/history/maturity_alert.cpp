// The maturity and expiration alert: lot selection into MATRE.HLD and the
// listing by time section.

#include "reports/history/maturity_alert.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "records/amounts.h"
#include "records/chars.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/sorts.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/holdings_source.h"
#include "reports/kernel/page_headings.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

// Security types that are never alerted.
bool NeverAlerted(char type) {
    return std::strchr("9HJLNP", type) != nullptr && type != '\0';
}

float DateNumber(int year, int month, int day) {
    return static_cast<float>((year * 100 + month) * 100 + day);
}

// The call, put and maturity data of a lot's security, as the listing
// prints it.
struct AlertSecurity {
    std::string cusip = std::string(12, ' ');
    std::string description = std::string(32, ' ');
    std::string maturity = std::string(8, ' ');
    float rate = records::kNoRate;
    char type = ' ';
    std::string call_date = std::string(8, ' ');
    double call_price = 0;
    std::string put_date = std::string(8, ' ');
    double put_price = 0;
    std::string moody = std::string(4, ' ');
    std::string sp = std::string(4, ' ');
};

// Reads SECURITY.REC record n; false when it cannot be read.
bool ReadAlertSecurity(const records::DirectFile& file, long n, AlertSecurity& sec) {
    records::Record rec;
    if (!file.Read(n, rec)) return false;
    sec.cusip = rec.Text(0, 12);
    sec.description = rec.Text(12, 32);
    sec.type = static_cast<char>(rec.data()[76]);
    sec.maturity = rec.Text(88, 8);
    sec.rate = rec.R4(96);
    return true;
}

// The text with each four-character word below four blanks made blank: a
// field never written (zero bytes) prints as blanks.
std::string BlankLowWords(std::string text) {
    for (std::size_t w = 0; w + 4 <= text.size(); w += 4)
        if (records::BelowBlankWord(text.substr(w, 4))) text.replace(w, 4, "    ");
    return text;
}

// Reads SECURITY.EXT record n. A record that cannot be read leaves the
// lot without call or put data.
void ReadAlertTerms(const records::DirectFile& file, long n, AlertSecurity& sec) {
    records::Record rec;
    if (!file.Read(n, rec)) return;
    sec.call_date = BlankLowWords(rec.Text(38, 8));
    sec.call_price = rec.R8(46);
    sec.moody = BlankLowWords(rec.Text(68, 4));
    sec.sp = BlankLowWords(rec.Text(72, 4));
    sec.put_date = BlankLowWords(rec.Text(97, 8));
    sec.put_price = rec.R8(105);
}

bool InWindow(float date, const MaturityWindow& window) {
    return date > 0 && date >= window.report && date <= window.ends[3];
}

// One lot record of MATRE.HLD.
struct AlertLot {
    float alert = 0;
    std::string symbol;
    std::string lot_symbol;
    std::string name;
    std::string account;
    std::string trade_date;
    double face = 0;
    double net = 0;
    int16_t position = 0;

    static AlertLot Decode(const records::Record& rec) {
        AlertLot lot;
        lot.alert = rec.R4(0);
        lot.symbol = rec.Text(4, 12);
        lot.lot_symbol = rec.Text(16, 12);
        lot.name = rec.Text(28, 32);
        lot.account = rec.Text(60, 8);
        lot.trade_date = rec.Text(68, 8);
        lot.face = rec.R8(76);
        lot.net = rec.R8(84);
        lot.position = rec.I16(92);
        return lot;
    }
    void Encode(records::Record& rec) const {
        rec.SetR4(0, alert);
        rec.SetText(4, 12, symbol);
        rec.SetText(16, 12, lot_symbol);
        rec.SetText(28, 32, name);
        rec.SetText(60, 8, account);
        rec.SetText(68, 8, trade_date);
        rec.SetR8(76, face);
        rec.SetR8(84, net);
        rec.SetI16(92, position);
    }
};

void SectionTitle(ReportFrame& frame, int s) {
    switch (s) {
        case 1:
            frame.Write("(35X,'SECURITIES CALLABLE, PUTABLE, MATURING, OR ','EXPIRING IN ',I1,' MONTH')",
                        {1LL});
            frame.Write("(35X,62('-'))");
            break;
        case 2:
        case 3:
            frame.Write("(35X,'SECURITIES CALLABLE, PUTABLE, MATURING, OR ','EXPIRING IN ',I1,' MONTHS')",
                        {static_cast<long long>(s)});
            frame.Write("(35X,63('-'))");
            break;
        default:
            frame.Write(
                "(35X,'SECURITIES CALLABLE, PUTABLE, MATURING, OR ','EXPIRING IN ',I1,' TO 12 MONTHS')",
                {static_cast<long long>(s)});
            frame.Write("(35X,69('-'))");
            break;
    }
}

// The listing's page state.
struct ListingPage {
    ReportFrame& frame;
    std::string program_date;
    std::string report_date;
    int16_t page = 1;
    int16_t lines = 0;
    int16_t length = 0;

    void Heading() { Mathdr(page, lines, program_date, length, report_date); }
    void HeadingIfFull() {
        if (lines > length - 6) Heading();
    }
};

}  // namespace

float AlertDateNumber(std::string_view date) {
    int16_t month = 0;
    int16_t day = 0;
    int16_t year = 0;
    records::Redate(date, month, day, year);
    if (month < 1) return 0;
    year = static_cast<int16_t>(records::WindowYear(year));
    return DateNumber(year, month, day);
}

MaturityWindow MaturityWindowEnds(std::string_view report_date) {
    MaturityWindow window;
    std::string date = records::Fixed(report_date, 8);
    int16_t mode = 0;
    int16_t error = 0;
    records::Ckdate(date, mode, error, window.report, 0, 1991231);
    int16_t m = 0;
    int16_t d = 0;
    int16_t y = 0;
    records::Redate(date, m, d, y);
    y = static_cast<int16_t>(records::WindowYear(y));
    const bool month_end = m >= 1 && m <= 12 && d == records::DaysInMonth(m, y);
    int month = m;
    int year = y;
    int day = d;
    for (int i = 0; i < 3; ++i) {
        if (++month > 12) {
            month = 1;
            ++year;
        }
        if (month_end) day = records::DaysInMonth(month, year);
        window.ends[i] = DateNumber(year, month, day);
    }
    window.ends[3] = window.report + 10000.0f;
    return window;
}

void Matbld(MaturityFiles& files, std::string_view account, std::string_view name,
            const MaturityWindow& window, long& counter) {
    LotIterator lots(records::TrimRight(records::Paknam(account, "HL", ".REC")));
    int16_t record = 0;
    records::HoldingRecord lot;
    while (lots.Next(record, lot)) {
        long position = lot.security_record;
        if (lot.holding_key == 0 || position <= 0) position = 1;
        AlertSecurity sec;
        // A security that cannot be read says nothing of the lot: it is
        // passed over.
        if (!ReadAlertSecurity(files.securities, position, sec)) continue;
        if (NeverAlerted(sec.type)) continue;
        ReadAlertTerms(files.extensions, position, sec);
        const float a = AlertDateNumber(sec.call_date);
        const float b = AlertDateNumber(sec.put_date);
        const float c = AlertDateNumber(sec.maturity);
        float alert = 0;
        if (InWindow(a, window))
            alert = a;
        else if (InWindow(b, window))
            alert = b;
        else if (InWindow(c, window))
            alert = c;
        else
            continue;
        AlertLot out;
        out.alert = alert;
        out.symbol = sec.cusip;
        out.lot_symbol = lot.symbol;
        out.name = records::Fixed(name, 32);
        out.account = records::Fixed(account, 8);
        out.trade_date = lot.open_date;
        out.face = lot.quantity;
        out.net = lot.cost;
        out.position = static_cast<int16_t>(position);
        records::Record rec(128, 0);
        out.Encode(rec);
        ++counter;
        files.work.Write(counter, rec);
    }
}

void Mathdr(int16_t& page, int16_t& lines, std::string_view program_date, int16_t& page_length,
            std::string_view report_date) {
    std::string report = records::Fixed(report_date, 8);
    std::string printed = records::Fixed(program_date, 8);
    const std::string report_text = records::H2000(report);
    const std::string printed_text = records::H2000(printed);
    records::Pghead(page, lines, page_length);
    auto line = [](std::string_view layout, records::OutItems items = {}) {
        records::Prtout(records::Write(layout, items));
    };
    line("(52X,'MATURITY AND EXPIRATION ALERT')");
    line("(59X,'FROM: ',3A4)", Items().Text(report_text, 4, 3));
    line("(1X)");
    line("(1X)");
    records::Prtout(DatePrintedLine(printed_text, 1));
    line("(1X)");
    line("(65X,'FACE',12X,'TRADE',12X,'NET')");
    line("(10X,'ACCOUNT NAME',21X,'ACCT. NO.',12X,'AMOUNT',11X,'DATE',11X,'AMOUNT')");
    line("(1X)");
    lines = static_cast<int16_t>(lines + 8);
}

namespace {

// The security block: description, symbol and call terms, then the
// coupon, maturity, put terms and ratings of a dated security.
void SecurityBlock(ReportFrame& frame, ListingPage& page, const AlertSecurity& sec, const AlertLot& first) {
    page.HeadingIfFull();
    page.lines = static_cast<int16_t>(page.lines + 2);
    const std::string call_price = NumberColumn(sec.call_price, "(F12.2)", 12, false, 12);
    const std::string put_price = NumberColumn(sec.put_price, "(F12.2)", 12, false, 12);
    frame.Write("(2X,8A4,1X,3A4,5X,'CALL DATE: ',2A4,3X,'CALL DOLLAR PRICE: ',A12)",
                Items()
                    .Text(sec.description, 4, 8)
                    .Text(first.lot_symbol, 4, 3)
                    .Text(sec.call_date, 4, 2)
                    .Text(call_price, 12, 1));
    ++page.lines;
    const std::string maturity = BlankLowWords(sec.maturity);
    if (maturity.substr(0, 4) != "    ") {
        if (sec.rate != records::kNoRate)
            frame.Write("(3X,F7.3,'%  ',2A4,31X,' PUT DATE: ',2A4,3X,' PUT DOLLAR PRICE: ',A12)",
                        Items()
                            .Number(sec.rate)
                            .Text(maturity, 4, 2)
                            .Text(sec.put_date, 4, 2)
                            .Text(put_price, 12, 1));
        else
            frame.Write("(13X,2A4,31X,' PUT DATE: ',2A4,3X,' PUT DOLLAR PRICE: ',A12)",
                        Items().Text(maturity, 4, 2).Text(sec.put_date, 4, 2).Text(put_price, 12, 1));
        frame.Write("(35X,'BOND RATING -        MOODY: ',A4,21X,'S&P:',A4)",
                    Items().Text(sec.moody, 4, 1).Text(sec.sp, 4, 1));
    }
    frame.Blank();
    page.lines = static_cast<int16_t>(page.lines + 2);
}

}  // namespace

void Matprt(ReportFrame& frame, MaturityFiles& files, long lots, std::string_view program_date) {
    records::Record rec;
    if (!files.work.Read(1, rec)) {
        frame.Stop(UnreadableLine(kMaturityWorkFile, 1));
        return;
    }
    const float ends[4] = {rec.R4(0), rec.R4(4), rec.R4(8), rec.R4(12)};
    ListingPage page{frame, records::Fixed(program_date, 8), rec.Text(16, 8)};
    page.Heading();
    if (lots < 1) {
        frame.Write("(55X,'NO SECURITIES MATURING FOR THIS PERIOD')");
        return;
    }

    // The lot records, read once; each security's lots by its position in
    // SECURITY.REC, in record order.
    std::vector<AlertLot> all;
    all.reserve(static_cast<std::size_t>(lots));
    std::vector<float> keys;
    std::vector<int16_t> tags;
    std::vector<std::vector<std::size_t>> security_lots;
    std::map<int16_t, std::size_t> security_of_position;
    for (long n = 2; n <= lots + 1; ++n) {
        if (!files.work.Read(n, rec)) {
            frame.Stop(UnreadableLine(kMaturityWorkFile, n));
            return;
        }
        all.push_back(AlertLot::Decode(rec));
        const AlertLot& lot = all.back();
        auto [it, added] = security_of_position.emplace(lot.position, security_lots.size());
        if (added) {
            security_lots.emplace_back();
            keys.push_back(lot.alert);
        }
        security_lots[it->second].push_back(all.size() - 1);
    }
    // Sorted by the alert date of each security's first lot.
    const int count = static_cast<int>(keys.size());
    tags.resize(keys.size());
    for (int i = 0; i < count; ++i) tags[static_cast<std::size_t>(i)] = static_cast<int16_t>(i + 1);
    // Shell carries 16-bit tags; a list longer than they reach keeps the
    // order of the work file beyond them, which the sort then orders too.
    std::vector<std::size_t> order(keys.size());
    if (count <= 32767) {
        records::Shell(count, keys, tags);
        for (int i = 0; i < count; ++i)
            order[static_cast<std::size_t>(i)] =
                static_cast<std::size_t>(tags[static_cast<std::size_t>(i)] - 1);
    } else {
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return all[security_lots[a][0]].alert < all[security_lots[b][0]].alert;
        });
    }

    int s = 1;
    int headed = 0;
    bool section_has_security = false;
    for (const std::size_t security : order) {
        const std::vector<std::size_t>& members = security_lots[security];
        const AlertLot& first = all[members.front()];
        AlertSecurity sec;
        if (!ReadAlertSecurity(files.securities, first.position, sec)) {
            frame.Stop(UnreadableLine("SECURITY.REC", first.position));
            return;
        }
        ReadAlertTerms(files.extensions, first.position, sec);

        // The section of the security's alert date; the sections it passes
        // say they have none.
        for (;;) {
            if (s != headed) {
                ++page.lines;
                page.HeadingIfFull();
                frame.Blank();
                SectionTitle(frame, s);
                frame.Blank();
                headed = s;
            }
            if (first.alert <= ends[s - 1]) break;
            ++page.lines;
            if (!section_has_security) frame.Write("(59X,'NO SECURITIES')");
            section_has_security = false;
            if (++s > 4) return;
        }

        SecurityBlock(frame, page, sec, first);

        // The lot lines and the security's total.
        double total_face = 0;
        for (const std::size_t index : members) {
            const AlertLot& lot = all[index];
            total_face += lot.face;
            const std::string face = NumberColumn(lot.face, "(F12.0)", 12, false, 12);
            const std::string net = NumberColumn(lot.net, "(F12.2)", 12, false, 12);
            page.HeadingIfFull();
            ++page.lines;
            frame.Write("(10X,8A4,1X,2A4,8X,A12,8X,2A4,6X,A12)", Items()
                                                                     .Text(lot.name, 4, 8)
                                                                     .Text(lot.account, 4, 2)
                                                                     .Text(face, 12, 1)
                                                                     .Text(lot.trade_date, 4, 2)
                                                                     .Text(net, 12, 1));
        }
        if (members.size() >= 2) {
            ++page.lines;
            frame.Write("(39X,'TOTAL',15X,A12)",
                        Items().Text(NumberColumn(total_face, "(F12.0)", 12, false, 12), 12, 1));
        }
        ++page.lines;
        frame.Blank();
        section_has_security = true;
    }

    for (int later = s + 1; later <= 4; ++later) {
        ++page.lines;
        page.HeadingIfFull();
        frame.Blank();
        SectionTitle(frame, later);
        frame.Blank();
        frame.Write("(59X,'NO SECURITIES')");
    }
}

void Eomatre(std::string_view report_date, std::string_view manager, std::string_view output_name,
             int /*name_length*/) {
    const std::string program_date = records::ProgramDateText();
    const MaturityWindow window = MaturityWindowEnds(report_date);
    std::string date = records::Fixed(report_date, 8);
    {
        int16_t mode = 0;
        int16_t error = 0;
        float number = 0;
        records::Ckdate(date, mode, error, number, 0, 1991231);
    }

    ReportFrame frame(output_name, /*copy=*/true);
    MaturityFiles files;
    long counter = 1;

    const AccountWalk walk = WalkAccounts();
    records::DirectFile accounts("ACCOUNT.REC", 128, /*create=*/false);
    // An account record that cannot be read ends the scan, as an index
    // record does; the lots found so far are listed, and the last line
    // says where the scan ended.
    std::string scan_ended;
    if (!walk.count_read) scan_ended = UnreadableLine("ACCOUNT.IDX", 1);
    if (walk.failed_record > 0) scan_ended = UnreadableLine("ACCOUNT.IDX", walk.failed_record);
    for (const AccountEntry& account : walk.accounts) {
        records::Record rec;
        if (!accounts.Read(account.first_record + 1, rec)) {
            scan_ended = UnreadableLine("ACCOUNT.REC", account.first_record + 1);
            break;
        }
        if (!ManagerMatches(manager, rec.Text(16, 4))) continue;
        Matbld(files, account.id, rec.Text(52, 32), window, counter);
    }

    records::Record header(128, 0);
    for (int i = 0; i < 4; ++i) header.SetR4(static_cast<std::size_t>(4 * i), window.ends[i]);
    header.SetText(16, 8, date);
    files.work.Write(1, header);
    Matprt(frame, files, counter - 1, program_date);
    if (!scan_ended.empty()) frame.Stop(scan_ended);
}

}  // namespace reports
