#include "records/file_names.h"

#include "records/files.h"
#include "records/record.h"

namespace records {

std::string Paknam(std::string_view account, std::string_view kind, std::string_view extension) {
    std::string work(12, ' ');
    std::string k = Fixed(kind, 2), a = Fixed(account, 6), e = Fixed(extension, 4);
    work.replace(0, 2, k);
    work.replace(2, 6, a);
    work.replace(8, 4, e);
    std::string out;
    for (char c : work)
        if (c != ' ') out += c;
    return Fixed(out, 12);
}

void Delacf(std::string_view account) {
    static const char* const kFiles[][2] = {{"HL", ".REC"}, {"HL", ".EXT"}, {"HL", ".DAT"},
                                           {"TR", ".REC"}, {"TR", ".EXT"}, {"GL", ".REC"}};
    for (const auto& f : kFiles) Purge(Paknam(account, f[0], f[1]));
}

int Delirs() {
    Openaw(18, "A:IRSTAX");
    if (!IsOpen(18)) {
        Close(18);
        return 1;
    }
    return CloseDelete(18) ? 0 : 1;
}

void Finit() {
    static const char* const kWorkFiles[] = {
        "CCONTROL.FIL", "HCONTROL.FIL", "TEMP1.WRK",    "TEMP2.WRK",    "TEMP3.WRK",    "TEMP4.WRK",
        "INDEX.WRK",    "TEMPHSUM.FIL", "STKSPLIT.TMP", "HCONTRO1.FIL", "HCONTRO2.FIL", "HCONTRO3.FIL",
        "INDEX1.WRK",   "INDEX2.WRK",   "INDEX3.WRK",   "TRANSACT.TMP", "PCONTROL.FIL", "FCONTROL.FIL"};
    for (const char* name : kWorkFiles) Purge(name);
    Open(6, "QOR.DAT");
    UnitGuard guard(6);
    Record rec(128);
    if (!ReadRecord(6, 4, rec)) rec = Record(128);
    rec.SetI16(0, 0);
    rec.SetI16(2, 0);
    WriteRecord(6, 4, rec);
}

}  // namespace records
