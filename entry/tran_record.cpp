#include "entry/tran_record.h"

#include "records/account_records.h"
#include "records/common_file.h"
#include "records/options.h"
#include "records/record.h"
#include "records/record_services.h"
#include "records/rounding.h"
#include "records/transaction_lines.h"

namespace entry {

CTranRecord* CurrentTranRecord = nullptr;

bool CTranRecord::Fill(int source, long record, std::string_view selection_account) {
    const int unit = records::kTransactionListUnit;
    std::string bytes;
    if (source == kAccountSource) {
        if (records::Rdrec(unit, record, bytes) != 0) return false;
    } else if (records::Rdr140(unit, record, bytes) != 0) {
        return false;
    }
    records::Record rec(bytes.size());
    std::copy(bytes.begin(), bytes.end(), rec.data());

    if (source == kAccountSource) {
        const records::TransactionRecord t = records::TransactionRecord::Decode(rec);
        account = records::Fixed(selection_account, 8);
        symbol = t.symbol;
        tax_lot = t.tax_lot;
        trade_date = t.trade_date;
        code = t.code;
        quantity = t.quantity;
        price = t.price;
        amount = t.amount;
        broker = t.broker;
        commission = t.commission;
        bond_interest = t.bond_interest;
        second_date = t.lot_date;
        second_amount = t.lot_cost;
        date_number = t.date_number;
        sort_key = t.holding_key;
        security_entry = t.security_record;
        match_code = 0;
        entry_kind = t.type;
        word = t.gain_record;
        description = t.CashText();
        sec_fee = t.SecFee();
    } else {
        const records::OfflineTranRecord o = records::OfflineTranRecord::Decode(rec);
        account = o.account;
        symbol = o.symbol;
        tax_lot = o.tax_lot;
        trade_date = o.trade_date;
        code = o.code;
        quantity = o.shares;
        price = o.price;
        amount = o.amount;
        broker = o.broker;
        commission = o.commission;
        bond_interest = o.bond_interest;
        second_date = o.second_date;
        second_amount = o.second_amount;
        date_number = o.date_number;
        sort_key = o.sort_key;
        security_entry = o.security_entry;
        match_code = o.match_code;
        entry_kind = o.entry_kind;
        word = o.match_code;
        description = o.reserved;
        sec_fee = source == kBlockSource ? records::BlockAllocation::Decode(rec).sec_fee : 0.0;
    }
    int16_t decimals =
        static_cast<int16_t>(records::OptionValue(records::Rdopts(), records::Opt::kSystemDecimals));
    records::Roundn(price, decimals);
    index = static_cast<int>(record - 1);
    return true;
}

}  // namespace entry
