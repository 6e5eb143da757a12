#include "engine/lot_texts.h"

#include <algorithm>

#include "records/account_records.h"
#include "records/file_names.h"
#include "records/files.h"
#include "records/options.h"
#include "records/record.h"

namespace engine {

namespace {

using records::Record;

bool StartsWithCash(std::string_view symbol) {
    return records::Fixed(symbol, 4) == "CASH";
}

}  // namespace

void FillFromLots(LotChain& lots, std::string_view symbol, std::string_view tax_lot, std::string& memo,
                  std::string& date, std::string& description, bool lot_texts) {
    if (!records::IsBlank(records::Fixed(memo, 5)) || StartsWithCash(symbol)) return;
    lots.ReadHeader();
    const int16_t n = lots.FirstWith(symbol, tax_lot);
    if (n == 0) return;
    memo = records::HoldingRecord::Decode(lots.Raw(n)).memo;
    if (!lot_texts || !lots.ExtensionReadable(n)) return;
    const records::HoldingExtension ext = lots.Extension(n);
    date = ext.settlement_date;
    description = ext.text;
}

StoredLotTexts::StoredLotTexts(std::string_view account, const records::Options& options)
    : account_(account), lot_texts_(records::OptionOn(options, records::Opt::kLotTexts)) {}

void StoredLotTexts::Ftele(std::string_view symbol, std::string_view tax_lot, std::string& memo,
                           std::string& date, std::string& description) {
    if (!records::IsBlank(records::Fixed(memo, 20)) || StartsWithCash(symbol)) return;
    Load();
    const auto found = first_.find(records::Fixed(symbol, 12) + records::Fixed(tax_lot, 4));
    if (found == first_.end()) return;
    memo = found->second.memo;
    if (!lot_texts_) return;
    if (!extensions_loaded_) {
        extensions_loaded_ = true;
        const records::DirectFile file(records::Paknam(account_, "HL", ".EXT"), records::kAccountRecordLength,
                                       false);
        file.ReadWhole(extensions_);
    }
    const std::size_t at = static_cast<std::size_t>(found->second.record - 1) * records::kAccountRecordLength;
    if (at + records::kAccountRecordLength > extensions_.size()) return;
    const char* ext = reinterpret_cast<const char*>(extensions_.data() + at);
    date.assign(ext, 8);
    description.assign(ext + 8, 32);
}

void StoredLotTexts::Load() {
    if (loaded_) return;
    loaded_ = true;
    const records::DirectFile file(records::Paknam(account_, "HL", ".REC"), records::kAccountRecordLength,
                                   false);
    std::vector<unsigned char> bytes;
    file.ReadWhole(bytes);
    const long count = static_cast<long>(bytes.size() / records::kAccountRecordLength);
    auto record = [&](long n) {
        Record rec(records::kAccountRecordLength, 0);
        std::copy_n(bytes.begin() + (n - 1) * static_cast<long>(records::kAccountRecordLength),
                    records::kAccountRecordLength, rec.bytes().begin());
        return rec;
    };
    if (count < 1) return;
    const Record header = record(1);
    if (header.I16(0) == 0 || header.I16(10) == 0 || header.I16(12) == 0) return;
    long link = header.I16(0);
    for (long steps = 0; link >= 2 && steps < count; ++steps) {
        if (link > count) return;
        const Record lot = record(link);
        first_.try_emplace(lot.Text(10, 12) + lot.Text(32, 4), FirstLot{link, lot.Text(76, 20)});
        link = lot.I16(0);
    }
}

}  // namespace engine
