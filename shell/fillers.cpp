// Fillers of combo and list boxes from the index files.

#include "shell/fillers.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "engine/lot_lists.h"
#include "records/common_file.h"
#include "records/record_services.h"
#include "records/security_types.h"
#include "shell/field_helpers.h"

namespace shell {
namespace {

// The unit the fillers read on; each filler opens and closes it.
constexpr int kFillerUnit = 6;

// The keys of an index file in entry order: the count from record 1, then
// `per_record` keys of `width` characters a record from record 2 on.
std::vector<std::string> ReadIndexKeys(std::string_view name, std::size_t width, int per_record) {
    std::vector<std::string> keys;
    if (records::Opnfil(kFillerUnit, 128, name) != 0) return keys;
    std::array<int16_t, 64> words{};
    const int count = records::Rdrecw(kFillerUnit, 1, words) == 0 ? words[0] : 0;
    std::string record;
    for (int entry = 1; entry <= count; ++entry) {
        const int place = (entry - 1) % per_record;
        if (place == 0 && records::Rdrec(kFillerUnit, 2 + (entry - 1) / per_record, record) != 0) break;
        keys.push_back(TrimField(std::string_view(record).substr(place * width), width));
    }
    records::Clsfil(kFillerUnit);
    return keys;
}

}  // namespace

void FillCodeCombo(platform::Control combo) {
    combo.LimitText(8);
    for (const std::string& code : ReadIndexKeys("BROKER.IDX", 8, 16)) combo.AddString(code);
}

void FillSecurityCombo(platform::Control* combo, std::vector<std::string>* symbols) {
    const std::vector<std::string> keys = ReadIndexKeys("security.idx", 12, 10);
    if (symbols) {
        symbols->assign(1, kSymbolPlaceholder);
        symbols->insert(symbols->end(), keys.begin(), keys.end());
    }
    if (combo)
        for (const std::string& symbol : keys)
            if (!symbol.empty() && symbol[0] != '$') combo->AddString(symbol);
}

std::string ChosenComboLine(const platform::Control& combo) {
    if (const int line = combo.GetCurSel(); line >= 0) return combo.GetText(line);
    const std::string typed = combo.GetWindowText();
    for (int i = 0; i < combo.GetCount(); ++i)
        if (combo.GetText(i) == typed) return typed;
    return {};
}

void FillTypeCombo(platform::Control list) {
    const records::TypeNames types = records::ReadTypeNames();
    for (std::size_t i = 0; i < types.codes.size(); ++i) {
        // Bytes never written (a record 27 or a name record of zeros) show
        // as blanks, as they do in the Security Types dialog.
        std::string code = types.codes[i];
        std::string name = types.names[i];
        std::replace(code.begin(), code.end(), '\0', ' ');
        std::replace(name.begin(), name.end(), '\0', ' ');
        list.AddString(code + " - " + TrimField(name, records::kTypeNameWidth));
    }
}

void FillAccountCombo(platform::Control list) {
    for (const std::string& account : ReadIndexKeys("account.idx", 8, 16)) list.AddString(account);
    list.SetCurSel(0);
}

void FillHoldingsList(std::string_view account, std::string_view symbol, platform::Control label,
                      platform::Control list) {
    if (account.empty() || symbol.empty()) {
        label.SetWindowText(" ");
        return;
    }
    double cash = 0;
    int16_t count = 0;
    std::vector<engine::LotListEntry> lots;
    engine::Push(PadFieldTo(account, 8).substr(0, 8), PadFieldTo(symbol, 12).substr(0, 12), cash, count,
                 lots);
    char text[160];
    std::snprintf(text, sizeof text, "Current cash bal: $%13.2lf", cash);
    label.SetWindowText(text);
    list.ResetContent();
    for (const engine::LotListEntry& lot : lots) {
        const std::string code = PadFieldTo(lot.tax_lot, 4).substr(0, 4);
        const std::string date = PadFieldTo(lot.open_date, 8).substr(0, 8);
        std::snprintf(text, sizeof text, "%s %11.4lf %14.4lf %s", code.c_str(),
                      static_cast<double>(lot.unit_cost), lot.quantity, date.c_str());
        list.AddString(text);
    }
}

}  // namespace shell
