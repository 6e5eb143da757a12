#pragma once

// Cash posting: Fcash checks one cash transaction of an entry form (a
// deposit or withdrawal, an income or expense item, a fee, an adjustment),
// files it in TR<acct>.REC and keeps the account's derived files current
// without a replay: the movement goes into the value history HL<acct>.DAT
// (Updcsh) and into the cash lot of the stored holdings HL<acct>.REC
// (Updcsl).
//
// A change or a deletion first takes the stored transaction back out in
// full (its own amount, date, code and type) and then, for a change, puts
// the new one in, so that a changed date or code moves the history and the
// cash to where they belong.
//
// The three files change together or not at all: the cash lot is worked
// out in memory first (a damaged holdings file refuses the posting), and
// when a write fails the files already written are put back as they were.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/entry_form.h"
#include "engine/posting_steps.h"
#include "records/common_file.h"
#include "records/record.h"

namespace engine {

// Posts the cash transaction of the form. Fields: 1 account (8), 3 code
// (two letters), 4 date, 5 money-market fund symbol (12), 6 amount (read
// under "(F20.4)"), 7 symbol or description (20), 9 transaction type (4).
// Field 2 is not used. record: as for Fbuysell. Checks: flag 1 account,
// flag 3 code (FI, FO, DI, DE, II, IE, MF, BC, MI, ME, AI, AO, IP or IS),
// flag 4 date (from the account's opening to the program date), flag 6
// amount; flag 9 when the record to change or delete holds no cash
// transaction, or when the holdings or a file could not be updated (a
// damaged value history among them: kNotFiled, every file as it was).
void Fcash(PostingMode mode, int32_t& record, EntryForm& form);

inline constexpr std::string_view kNotCashTransaction = "This record does not hold a cash transaction.";

// The code check of cash posting: the two letters are looked up among B,
// S, SS, CS, FI, FO, SI, SO, DI, DE, II, IE, MF, BC, MI, ME, AI, AO, " B",
// " S", IP and IS; found, the code becomes the letters and two blanks, sign
// is the code's and cash_direction 1 for FI and SI, -1 for FO, SO, MF and
// BC, else 0. B, S, SS, CS, SI, SO, " B" and " S", and a code not in the
// table, set state and flag to 1. A state of 3 on entry skips everything.
void Ckcodc(std::string& code, int16_t& cash_direction, int16_t& sign, int16_t& state, int16_t& flag);

// True for the income codes DI, DE, II, IE, IP and IS, which name the
// security that paid.
bool IsIncomeCode(std::string_view code);
// True for the 14 codes that cash posting takes.
bool IsCashCode(std::string_view code);

// Finds the symbol as Fndsec does and, when found, reads its master record
// into master; record 0 (master as it was) when absent.
void Fndsc2(std::string_view symbol, int16_t& record, SecurityMaster& master);

// Adds a cash movement to the value history HL<acct>.DAT in the month and
// year of the transaction (year as the history stores it): the value amount
// to the market values from that month on, the flow amount to the month's
// capital flow, the carried amount to the carried series; an income code
// also adds the carried amount, as passed, to the month's income. A type
// "N" movement adds no value and no carried amount, and its flow is
// reduced by the carried amount (except for MF and BC under option 20).
// Under option 20 an MF or BC movement of type blank or "A" adds no flow
// and one of any other type adds the negated flow. A history without a
// readable header, or a year before its first, is left as it is. False,
// with nothing written, for a damaged history header (one whose years span
// more than kMaxHistoryYears with the year): the posting is then refused.
bool Updcsh(std::string_view account, int16_t month, int16_t year, double value, double flow, double carried,
            int16_t value_switch, std::string_view type, const records::Options& options,
            std::string_view code);

// An account's holdings file HL<acct>.REC held in memory, record n at
// records[n] (records[0] unused), so that a cash-lot update can be worked
// out before anything is written.
struct HoldingsImage {
    std::vector<records::Record> records;
    bool changed = false;

    static HoldingsImage Load(std::string_view account);
    std::vector<unsigned char> Bytes() const;
};

// Adds a cash movement (value, times sign) to the cash lot: the lot of
// holding key 0 and symbol "CASH" at the head of the list, whose quantity
// and cost both hold the balance (each amount rounded to cents, as a
// replay rounds it). Without one, a cash lot is created from the free chain
// (or the next never-used record) and linked in at its place; an empty or
// unreadable holdings file starts with it. Nothing is done for a transfer
// (transfer flag above 0). A class other than 2 to 6 (cash codes are class
// 3), a lot that cannot be read during the walk, or a free-chain record
// that is not free, leave the image unchanged and set flag 1 with the
// message "*** Warning, system error no.", the error number and the class.
void Updcsl(HoldingsImage& holdings, std::string_view account, int16_t cls, int16_t sign, int16_t transfer,
            double value, int16_t& flag, std::string& message);

}  // namespace engine
