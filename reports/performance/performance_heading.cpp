#include "reports/performance/performance_heading.h"

#include <string_view>
#include <vector>

#include "records/dates.h"
#include "records/layout.h"
#include "records/record.h"
#include "records/report_output.h"
#include "reports/performance/performance_cells.h"

namespace reports {

namespace {

std::string Six(const std::string& text) {
    return records::Fixed(text, 6);
}

// The A4,A2 pair of an index heading text (six characters).
std::vector<records::OutItem> Pair(const std::string& six) {
    return {std::string_view(six).substr(0, 4), std::string_view(six).substr(4, 2)};
}

std::vector<records::OutItem> Join(std::vector<records::OutItem> a, const std::vector<records::OutItem>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

void Mprfhead(PerformanceHeading& h) {
    if (h.output_mode == 2) return;
    records::Pghead(h.page, h.lines, h.page_length);
    int16_t printed = 0;
    auto print = [&printed](std::string_view line) {
        records::Prtout(line);
        ++printed;
    };
    const std::string blank(132, ' ');

    const bool quarterly = !h.frequency.empty() && h.frequency[0] == 'Q';
    const bool by_class = h.choice >= 1 && h.choice <= 4;
    const bool by_security = h.choice == 5;
    if (quarterly) {
        if (by_security)
            print(records::Write("(51X,'QUARTERLY PERFORMANCE',' BY SECURITY') "));
        else if (by_class)
            print(records::Write("(49X,'QUARTERLY PERFORMANCE',' BY ASSET CLASS')"));
        else
            print(records::Write("(56X,'QUARTERLY PERFORMANCE')"));
    } else {
        if (by_security)
            print(records::Write("(53X,'MONTHLY PERFORMANCE',' BY SECURITY')"));
        else if (by_class)
            print(records::Write("(50X,'MONTHLY PERFORMANCE',' BY ASSET CLASS')"));
        else
            print(records::Write("(57X,'MONTHLY PERFORMANCE')"));
    }
    switch (h.choice) {
        case 1:
            print(records::Write("(57X,'CASH AND EQUIVALENTS')"));
            break;
        case 2:
            print(records::Write("(57X,'      EQUITIES')"));
            break;
        case 3:
            print(records::Write("(57X,'    FIXED INCOME')"));
            break;
        case 5: {
            const std::string description = records::Fixed(h.description, 32);
            print(records::Write("(52X,8A4)", Words(description, 4)));
            break;
        }
        default:
            break;
    }
    print(blank);

    std::string start = records::Fixed(h.start_date, 8);
    std::string end = records::Fixed(h.end_date, 8);
    const std::string start_text = records::Fixed(records::H2000(start), 12);
    const std::string end_text = records::Fixed(records::H2000(end), 12);
    print(records::Write("(53X,3A4,' - ',3A4)", Join(Words(start_text, 4), Words(end_text, 4))));
    print(blank);
    const std::string title = records::Fixed(h.title, 42);
    print(records::Write("(45X,42A1)", Words(title, 1)));
    print(blank);

    const std::string a1 = Six(h.index1[0]), b1 = Six(h.index1[1]), c1 = Six(h.index1[2]);
    const std::string a2 = Six(h.index2[0]), b2 = Six(h.index2[1]), c2 = Six(h.index2[2]);
    const std::string_view head8 =
        "(' VALUATION    ACCOUNT    CAPITAL    DIVIDENDS     ','CHANGE IN MKT',' VALUE   % CHANGE     '";
    const std::string_view head9 =
        "('   DATE        VALUE       FLOW     & INTEREST    ','IN PERIOD    ','  CUM.  PERIOD CUM.   '";
    if (h.index_selector == 0) {
        print(records::Write("(27X,'NET',55X,A4,A2,14X,A4,A2)", Join(Pair(a1), Pair(a2))));
        print(records::Write(std::string(head8) + ",A4,A2,'  % CHANGE    ',A4,A2,'   % CHANGE')",
                             Join(Pair(b1), Pair(b2))));
        print(records::Write(std::string(head9) + ",A4,A2,' PERIOD CUM.  ',A4,A2,'  PERIOD CUM.')",
                             Join(Pair(c1), Pair(c2))));
    } else if (h.index_selector == 1) {
        print(records::Write("(27X,'NET',55X,A4,A2)", Pair(a1)));
        print(records::Write(std::string(head8) + ",A4,A2,'  % CHANGE')", Pair(b1)));
        print(records::Write(std::string(head9) + ",A4,A2,' PERIOD CUM.')", Pair(c1)));
    } else {
        print(records::Write("(27X,'NET')"));
        print(records::Write(std::string(head8) + ")"));
        print(records::Write(std::string(head9) + ")"));
    }
    h.lines = static_cast<int16_t>(h.lines + printed);
}

}  // namespace reports
