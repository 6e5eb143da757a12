// The client form of the account list, with its broker and custodian
// section (Aclbrc) and its list builder (Lstcat).

#include "reports/lists/client_form.h"

#include "records/amounts.h"
#include "records/dates.h"
#include "records/layout.h"
#include "records/record.h"
#include "reports/kernel/amount_texts.h"
#include "reports/kernel/parties.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

constexpr std::size_t kAmountWidth = 32;

bool BlankOrZeroWord(std::string_view text) {
    const std::string head = records::Fixed(text, 4);
    for (char c : head)
        if (c != ' ' && c != '\0') return false;
    return true;
}

// A 4-character half of an ID that holds zero bytes prints as blanks.
std::string PrintableHalf(std::string_view half) {
    const std::string h = records::Fixed(half, 4);
    return h.find('\0') == std::string::npos ? h : std::string(4, ' ');
}

// An amount as the form prints it: written under its layout into a
// 32-character text, then given separators, brackets and a dollar sign
// over its first n characters; the form shows the first 16.
enum AmountEdit { kSeparators = 1, kDollar = 2, kBrackets = 4 };
std::string AmountText(double value, std::string_view layout, int n, int edits) {
    std::string text = NumberText(value, layout, n, (edits & kBrackets) != 0);
    if (edits & kDollar) {
        int16_t width = static_cast<int16_t>(n);
        int16_t flag = 0;
        records::Putdol(text, width, flag);
    }
    return text.substr(0, 16);
}

std::string IdText(std::string_view id, bool found) {
    if (!found) return records::Write("(' N/A  ')");
    const std::string key = records::Fixed(id, 8);
    return records::Write("(A4,A2,2X)", Items().Text(key, 4, 1).Text(key.substr(4), 2, 1));
}

// The broker and custodian section: left out when neither is found.
void Aclbrc(ReportFrame& frame, std::string_view broker_id, std::string_view custodian_id,
            std::string_view custodian_account) {
    const long broker_record = Fndbrk(broker_id);
    const long custodian_record = Fndcus(custodian_id);
    if (broker_record <= 0 && custodian_record <= 0) return;

    // A party that is not found, or whose records cannot be read, keeps its
    // columns blank.
    PartyEntry broker;
    PartyEntry custodian;
    if (broker_record > 0) ReadPartyEntry(Party::kBroker, broker_record, broker);
    if (custodian_record > 0) ReadPartyEntry(Party::kCustodian, custodian_record, custodian);
    std::string broker_phone;
    std::string custodian_phone;
    records::Phone(broker.telephone, broker_phone);
    records::Phone(custodian.telephone, custodian_phone);

    frame.Write("(' Broker Information',44X,'Custodian Information')");
    frame.Write("(1X,124('-'))");
    frame.Write("(62X,':')");
    frame.Write("(' Broker ID:',A6,2X,'Account Executive:',12A1,13X,': Custodian ID:',A6,2X,'Account ',8A4)",
                Items()
                    .Text(IdText(broker_id, broker_record > 0), 6, 1)
                    .Text(broker.executive, 1, 12)
                    .Text(IdText(custodian_id, custodian_record > 0), 6, 1)
                    .Text(custodian_account, 4, 8));
    frame.Write("(62X,':')");
    frame.Write("(' Name & Address',20X,'Telephone ',13A1,4X,': Name & Address',15X,'Telephone ',13A1)",
                Items().Text(broker_phone, 1, 13).Text(custodian_phone, 1, 13));
    frame.Write("(1X,14('-'),20X,'--------- ',13X,4X,'  ',14('-'),15X,'--------- ')");
    for (std::size_t i = 0; i < 5; ++i)
        frame.Write("(1X,8A4,29X,': ',8A4)",
                    Items().Text(broker.lines[i], 4, 8).Text(custodian.lines[i], 4, 8));
    frame.Write("(62X,':')");
    frame.Write("(' Attention',52X,': Attention')");
    frame.Write("(1X,9('-'),54X,9('-'))");
    frame.Write("(1X,8A4,29X,': ',8A4)",
                Items().Text(broker.attention, 4, 8).Text(custodian.attention, 4, 8));
    frame.Write("(62X,':')");
    frame.Write("(1X,124('-'))");
}

}  // namespace

ClientData::ClientData()
    : manager(4, ' '),
      salutation(32, ' '),
      short_name(32, ' '),
      tax_id(12, ' '),
      home_phone(12, ' '),
      business_phone(12, ' '),
      opened(8, ' '),
      custodian_account(32, ' '),
      custodian(8, ' '),
      broker(8, ' '),
      cash_code(4, ' '),
      fee_code(1, ' '),
      objective(4, ' '),
      master(8, ' ') {
    address.fill(std::string(32, ' '));
    combined.fill(std::string(8, ' '));
    notes.fill(std::string(60, ' '));
}

void Lstcat(const std::string* items, std::string& result, int w, int n) {
    if (w <= 0 || n <= 0 || (w + 2) * n > 132) return;
    result = records::Fixed(result, 132);
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) {
        result.replace(at, static_cast<std::size_t>(w),
                       records::Fixed(items[i], static_cast<std::size_t>(w)));
        at += static_cast<std::size_t>(w);
        result[at++] = i + 1 < n ? ',' : '.';
        result[at++] = ' ';
    }
}

std::string PeriodEndText(int16_t month, int16_t year) {
    if (month <= 0 || month > 12) return records::Write("('     N/A')");
    const int last = records::DaysInMonth(month, year);
    std::string year_text = records::Write("(I2)", {static_cast<long long>(year)});
    if (year_text[0] == ' ') year_text[0] = '0';
    return records::Write("(I2,'/',I2,'/',A2)", Items().Int(month).Int(last).Text(year_text, 2, 1));
}

std::string FiscalMonthName(int16_t month) {
    static constexpr const char* kMonths[] = {"Jan.", "Feb.", "Mar.", "Apr.", "May ", "June",
                                              "July", "Aug.", "Sep.", "Oct.", "Nov.", "Dec."};
    return month >= 1 && month <= 12 ? kMonths[month - 1] : "    ";
}

std::string FrequencyLetter(int16_t frequency) {
    static constexpr std::string_view kLetters = "ASQM24*";
    return frequency >= 1 && frequency <= 7
               ? std::string(1, kLetters[static_cast<std::size_t>(frequency - 1)])
               : " ";
}

int CombinedCount(const std::array<std::string, 10>& combined) {
    int count = 0;
    while (count < 10 && !BlankOrZeroWord(combined[static_cast<std::size_t>(count)])) ++count;
    return count;
}

void WriteClientForm(ReportFrame& frame, std::string_view shown_id, const ClientData& c) {
    const bool r2 = c.read[1];
    const bool r3 = c.read[2];
    const bool r4 = c.read[3];
    const std::string blank16(16, ' ');

    // Amounts, telephones and dates, as prepared before the first line.
    const std::string index1 = r4 ? AmountText(c.index1_price, "(F16.2)", 16, kSeparators) : blank16;
    const std::string index2 = r4 ? AmountText(c.index2_price, "(F16.2)", 16, kSeparators) : blank16;
    const std::string value =
        r4 ? AmountText(c.opening_value, "(F16.2)", 16, kSeparators | kDollar) : blank16;
    const std::string setup = r4 ? AmountText(c.setup_charge, "(F16.2)", 16, kSeparators | kDollar) : blank16;
    const std::string balance =
        r4 ? AmountText(c.balance_due, "(F15.2,' ')", 15, kSeparators | kBrackets | kDollar) : blank16;
    const std::string billed =
        r4 ? AmountText(c.total_billed, "(F16.2)", 16, kSeparators | kDollar) : blank16;
    const std::string period = r4 ? PeriodEndText(c.period_month, c.period_year) : std::string(8, ' ');
    std::string home(13, ' ');
    std::string business(13, ' ');
    if (r2) {
        records::Phone(c.home_phone, home);
        records::Phone(c.business_phone, business);
    }
    std::string opened = c.opened;
    const std::string opened_text = r2 ? records::H2000(opened) : std::string(12, ' ');
    const std::string fiscal = r3 ? FiscalMonthName(c.fiscal_year_end) : "    ";
    const std::string id = records::Fixed(shown_id, 8);

    std::string header(132, ' ');
    records::WriteInto(header, "(A4,A2,'--',8A4)",
                       Items().Text(id, 4, 1).Text(id.substr(4), 2, 1).Text(c.short_name, 4, 8));
    frame.Write("(46X,A42)", Items().Text(header.substr(0, 42), 42, 1));
    frame.Write("(1X)");
    frame.Write("(' Personal Information',42X,'Investment Information')");
    frame.Write("(1X,124('-'))");
    frame.Write("(62X,':')");
    frame.Write(
        "(' Name, Address & Salutation',8X,'Telephone',18X,': ','Portfolio Manager Code:',A4,2X,"
        "'Date Account Opened: ',3A4)",
        Items().Text(c.manager, 4, 1).Text(opened_text, 4, 3));
    frame.Write("(1X,26('-'),8X,9('-'))");
    frame.Write("(1X,8A4,2X,'Home     ',13A1,5X,':')", Items().Text(c.address[0], 4, 8).Text(home, 1, 13));
    if (c.objective == std::string(4, '\0'))
        frame.Write("(1X,8A4,2X,'Business ',13A1,5X,': Investment Objective:  ',4X,2X,'Index no. 1:   ',A16)",
                    Items().Text(c.address[1], 4, 8).Text(business, 1, 13).Text(index1, 16, 1));
    else
        frame.Write("(1X,8A4,2X,'Business ',13A1,5X,': Investment Objective:  ',A4,2X,'Index no. 1:   ',A16)",
                    Items()
                        .Text(c.address[1], 4, 8)
                        .Text(business, 1, 13)
                        .Text(c.objective, 4, 1)
                        .Text(index1, 16, 1));
    frame.Write("(1X,8A4,29X,':')", Items().Text(c.address[2], 4, 8));
    frame.Write("(1X,8A4,2X,'Tax ID Number',14X,': Fiscal Year End:',7X,A4,2X,'Index no. 2:   ',A16)",
                Items().Text(c.address[3], 4, 8).Text(fiscal, 4, 1).Text(index2, 16, 1));
    frame.Write("(1X,34X,13('-'))");
    frame.Write("(1X,8A4,2X,3A4,15X,':')", Items().Text(c.address[4], 4, 8).Text(c.tax_id, 4, 3));
    frame.Write("(62X,': Cash Balance Code:',5X,A4,2X,'Account Value: ',A16)",
                Items().Text(c.cash_code, 4, 1).Text(value, 16, 1));
    frame.Write("(1X,8A4,29X,':')", Items().Text(c.salutation, 4, 8));
    frame.Write("(62X,':')");
    frame.Write("(1X,124('-'))");

    Aclbrc(frame, c.broker, c.custodian, c.custodian_account);

    frame.Write("(' Billing Information',43X,'Additional Information')");
    frame.Write("(1X,124('-'))");
    frame.Write("(62X,':')");
    frame.Write("(' Mgt. Fee Code:',10X,A1,2X,'Current Period Ends:   ',A8,3X,': Notes')",
                Items().Text(c.fee_code, 1, 1).Text(period, 8, 1));
    frame.Write("(62X,': -----')");
    // The one-digit numbers print blank when their record was not read.
    auto digit = [&](int16_t v) { return r4 ? records::Write("(I1)", {static_cast<long long>(v)}) : " "; };
    frame.Write("(' Mgt. Fee Payment Option:',A1,2X,'Set-Up Charge: ',A16,3X,': ',15A4)",
                Items().Text(digit(c.fee_option), 1, 1).Text(setup, 16, 1).Text(c.notes[0], 4, 15));
    frame.Write("(62X,': ',15A4)", Items().Text(c.notes[1], 4, 15));
    frame.Write("(' Invoice Letter Type:    ',A1,2X,'Balance Due:    ',A16,2X,': ',15A4)",
                Items().Text(digit(c.invoice_letter), 1, 1).Text(balance, 16, 1).Text(c.notes[2], 4, 15));
    frame.Write("(62X,': ',15A4)", Items().Text(c.notes[3], 4, 15));
    frame.Write("(' Billing Frequency:      ',A1,2X,'Total Billed:  ',A16,3X,':')",
                Items().Text(r4 ? FrequencyLetter(c.billing_frequency) : " ", 1, 1).Text(billed, 16, 1));
    frame.Write("(62X,':')");

    const int combined = CombinedCount(c.combined);
    if (records::Fixed(c.master, 4) != "    ") {
        const std::string master = records::Fixed(c.master, 8);
        frame.Write("(' Master Account ',2A4,38X,': ')", Items()
                                                             .Text(PrintableHalf(master.substr(0, 4)), 4, 1)
                                                             .Text(PrintableHalf(master.substr(4)), 4, 1));
        frame.Write("(62X,':')");
    } else if (combined > 0) {
        std::string list(132, ' ');
        Lstcat(c.combined.data(), list, 8, combined);
        frame.Write("(' Combined Accounts ',43X,': ')");
        frame.Write("(1X,17('-'))");
        frame.Write("(1X,50A1,11X,':')", Items().Text(list.substr(0, 50), 1, 50));
        frame.Write("(1X,50A1,11X,':')", Items().Text(list.substr(50, 50), 1, 50));
    } else {
        frame.Write("(62X,': ')");
        frame.Write("(62X,':')");
    }
    frame.Write("(1X,124('-'))");
    frame.Write("(1X,43('='),' End of Information for Client ',A4,A2,1X,43('='))",
                Items().Text(id, 4, 1).Text(id.substr(4), 2, 1));
}

}  // namespace reports
