// The composite gains and losses report.

#include "reports/gains_tax/composite_gains.h"

#include <string>
#include <vector>

#include "records/account_lists.h"
#include "records/account_records.h"
#include "records/amounts.h"
#include "records/chars.h"
#include "records/common_file.h"
#include "records/dates.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/index.h"
#include "records/record.h"
#include "records/report_output.h"
#include "records/rounding.h"
#include "records/sorts.h"
#include "reports/gains_tax/gain_lines.h"
#include "reports/gains_tax/gain_security_book.h"
#include "reports/kernel/account_walk.h"
#include "reports/kernel/holding_periods.h"
#include "reports/kernel/report_frame.h"
#include "reports/kernel/report_items.h"

namespace reports {

namespace {

const std::string kBlank16(16, ' ');

struct CompositePage {
    ReportFrame& frame;
    std::string start_text;
    std::string end_text;
    std::string group;
    int16_t page = 1;
    int16_t lines = 0;
    int16_t page_length = 0;
};

void Heading(CompositePage& p) {
    records::Pghead(p.page, p.lines, p.page_length);
    ReportFrame& f = p.frame;
    f.Write("(56X,'REALIZED GAINS & LOSSES')");
    f.Blank();
    f.Write("(48X,'FROM: ',3A4,' THROUGH ',3A4)", Items().Text(p.start_text, 4, 3).Text(p.end_text, 4, 3));
    f.Blank();
    f.Write("(1X,50X,8A4) ", Items().Text(p.group, 4, 8));
    f.Blank();
    f.Write("(44X,'DATE      DATE',41X,'----  GAIN (OR LOSS)  ----')");
    f.Write(
        "(2X,'QUANTITY     DESCRIPTION',16X,'PURCHASED   SOLD            COST          PROCEEDS',7X,"
        "'SHORT-TERM       LONG-TERM') ");
    f.Blank();
    p.lines = static_cast<int16_t>(p.lines + 8);
}

void NoLots(CompositePage& p) {
    Heading(p);
    p.frame.Blank();
    p.frame.Write("(1X,'No gains (losses) to report.')");
}

// The accounts of the run, in list order.
std::vector<std::string> SelectAccounts(std::string_view kind, std::string_view manager,
                                        std::string_view list_file) {
    std::vector<std::string> ids;
    if (!kind.empty() && kind[0] == 'S') {
        int count = 0;
        records::Rdaclst(ids, count, list_file);
        ids.resize(static_cast<std::size_t>(std::max(count, 0)) < ids.size() ? static_cast<std::size_t>(count)
                                                                             : ids.size());
        return ids;
    }
    const AccountWalk walk = WalkAccounts();
    records::DirectFile file(records::kAccountRecords, records::kAccountRecordLength, /*create=*/false);
    records::Record rec;
    for (const AccountEntry& entry : walk.accounts) {
        if (!file.Read(entry.first_record + 1, rec)) continue;
        if (records::Match(rec.Text(16, 4), records::Fixed(manager, 4), 4) == 0) ids.push_back(entry.id);
    }
    return ids;
}

}  // namespace

void Combgl(std::string_view kind, std::string_view manager, std::string_view start, std::string_view end,
            std::string_view list_file, int16_t list_length, std::string_view output_name,
            int16_t output_length, std::string_view group) {
    const std::string list_name =
        records::Fixed(list_file, static_cast<std::size_t>(std::max<int16_t>(list_length, 0)));
    const std::string output =
        records::Fixed(output_name, static_cast<std::size_t>(std::max<int16_t>(output_length, 0)));
    const records::Options options = records::Rdopts();
    const std::string_view option_code(reinterpret_cast<const char*>(options.data()), 4);
    const DateRange dates = CheckReportDates(start, end, ReadProgramDate());
    const std::vector<std::string> accounts = SelectAccounts(kind, manager, list_name);

    ReportFrame frame(output, /*copy=*/true);
    std::string start_date = dates.start, end_date = dates.end;
    CompositePage page{frame, records::H2000(start_date), records::H2000(end_date),
                       records::Fixed(group, 32)};

    if (accounts.empty()) {
        NoLots(page);
        frame.Write("('No accounts for manager ',A4,' to report.')", Items().Text(manager, 4, 1));
        return;
    }

    // Collection: the lots sold within the range, account by account, into
    // GLCOMB.REC and the sort table.
    records::Purge(kCombinedGainsFile);
    std::vector<double> keys;
    std::vector<int16_t> tags;
    bool too_many = false;
    {
        records::DirectFile combined(kCombinedGainsFile, records::kAccountRecordLength);
        records::Record header(records::kAccountRecordLength, 0);
        int16_t last = 1;
        header.SetI16(0, last);
        combined.Write(1, header);
        records::Record rec;
        for (const std::string& id : accounts) {
            records::DirectFile gains(records::Paknam(id, "GL", ".REC"), records::kAccountRecordLength,
                                      /*create=*/false);
            if (!gains.Read(1, rec)) continue;
            const int count = records::GainsHeader::Decode(rec).count;
            if (count <= 0) continue;
            if (static_cast<long>(keys.size()) + count > kMaxCombinedLots) {
                too_many = true;
                break;
            }
            for (int n = 2; n <= count + 1; ++n) {
                if (!gains.Read(n, rec)) continue;
                const float sold = rec.R4(0);
                if (sold < dates.start_number || sold > dates.end_number) continue;
                ++last;
                combined.Write(last, rec.Widened(records::kAccountRecordLength));
                header.SetI16(0, last);
                combined.Write(1, header);
                keys.push_back(sold);
                tags.push_back(last);
            }
        }
    }

    if (too_many) {
        frame.Write("(16X,'Warning, maximum of ',I5,' gains (losses) allowed.')",
                    Items().Int(kMaxCombinedLots));
        records::Purge(kCombinedGainsFile);
        return;
    }

    double cost_total = 0, proceeds_total = 0, short_total = 0, long_total = 0;
    bool reacquired_mark = false;
    bool printed = false;
    if (!keys.empty()) {
        records::Sheldb(static_cast<int>(keys.size()), keys, tags);
        GainSecurityBook securities;
        records::DirectFile combined(kCombinedGainsFile, records::kAccountRecordLength, /*create=*/false);
        records::Record rec;
        for (const int16_t n : tags) {
            if (!combined.Read(n, rec)) continue;
            const records::GainRecord lot = records::GainRecord::Decode(rec);
            if (lot.quantity <= 0) continue;
            const auto [proceeds, cost, gain] = RoundLot(lot);
            if (gain >= -0.01 && gain <= 0.01) continue;
            cost_total += cost;
            proceeds_total += proceeds;
            const bool reacquired = lot.short_cover != 0;
            const bool short_term = IsShortTerm(ClassifyHolding(lot.open_date, lot.sale_date, reacquired));
            (short_term ? short_total : long_total) += gain;
            const std::string gain_text = GainAmount(gain, 16, true);

            if (!printed || page.lines + 4 >= page.page_length) Heading(page);
            printed = true;
            const SaleDate sold = SaleDateOf(lot.sale_date);
            Items items;
            items.Text(GainQuantity(lot.quantity), 8, 1).Text(lot.description1, 4, 7);
            if (reacquired) {
                reacquired_mark = true;
                items.Int(sold.month).Int(sold.day).Int(sold.year).Text(lot.open_date, 4, 2);
            } else {
                items.Text(lot.open_date, 4, 2).Int(sold.month).Int(sold.day).Int(sold.year);
            }
            items.Text(GainAmount(cost, 16, false), 16, 1)
                .Text(GainAmount(proceeds, 16, false), 16, 1)
                .Text(short_term ? gain_text : kBlank16, 16, 1)
                .Text(short_term ? kBlank16 : gain_text, 16, 1);
            frame.Write(reacquired ? "(1X,A8,3X,7A4,2X,I2,'/',I2,'/',I2,'* ',2A4,1X,A16,A16,A16,A16)"
                                   : "(1X,A8,3X,7A4,2X,2A4,2X,I2,'/',I2,'/',I2,1X,A16,A16,A16,A16) ",
                        items);
            ++page.lines;

            std::string second = lot.description2;
            const records::SecurityRecord* security = securities.Find(lot.symbol);
            const std::string type = security ? security->type : std::string(4, ' ');
            if (records::Fixed(lot.symbol, 4) != "CASH" && type != "1   " && security)
                records::Ckdesc(second, option_code, security->rate, security->due_date);
            if (!records::IsBlank(records::Fixed(second, 32))) {
                frame.Write("(14X,8A4)", Items().Text(second, 4, 8));
                ++page.lines;
            }
        }
    }

    if (printed) {
        if (cost_total > 0.001) {
            frame.Blank();
            frame.Write("(30X,'TOTALS:',24X,A16,A16,A16,A16)",
                        Items()
                            .Text(GainAmount(cost_total, 16, false), 16, 1)
                            .Text(GainAmount(proceeds_total, 16, false), 16, 1)
                            .Text(GainAmount(short_total, 16, true), 16, 1)
                            .Text(GainAmount(long_total, 16, true), 16, 1));
        }
        if (reacquired_mark) {
            frame.Blank();
            frame.Blank();
            frame.Blank();
            frame.Write("(14X,'* DATE SECURITY REACQUIRED')");
            frame.Blank();
        }
        page.lines = static_cast<int16_t>(page.lines + 2);
    } else {
        NoLots(page);
    }
    records::Purge(kCombinedGainsFile);
}

}  // namespace reports
