#pragma once

// The holdings pages of the working appraisal (Prhold) with their page
// heading, type and category titles, total lines and amount texts. Prhold
// prints one account (or one composite group) from TEMP1.WRK, posts its
// month-end market value into HL<acct>.DAT when the run asks for it,
// deletes TEMP1.WRK and moves the caller's state word on.

#include <cstdint>
#include <string>
#include <vector>

namespace reports {

// Prints the pages of the TEMP1.WRK in the data directory through the line
// writer (started by the caller). mode 2 writes no line. order: TEMP1.WRK
// record numbers of a composite run (run kind 1) in print order; each group
// prints the listed records that belong to it, in list order (0 marks a
// holding merged into another). state comes back 0 (another account
// follows), 2 (the gain and loss step of a silent manager run) or 3 (the
// run is over; HCONTROL.FIL record 1 then starts with -99).
void Prhold(int16_t& state, int16_t mode, const std::vector<int16_t>& order);

// The page state the heading and total lines share.
struct HoldingsPage {
    int16_t page = 1;
    int16_t lines = 0;
    int16_t page_length = 0;
    int16_t mode = 1;
    bool writing() const { return mode != 2; }
    void Print(const std::string& line) const;
};

// The page heading; the line count comes back 11.
void Wahead(HoldingsPage& p, const std::string& pricing_date, const std::string& name,
            const std::string& account, const std::string& program_date, char page_kind, int16_t run_kind,
            unsigned char option16, unsigned char option17, unsigned char option44,
            const std::string& second_name, const std::string& second_code, const std::string& manager,
            const std::string& objective);

// The type title of a type index from TYPENAME.DAT and the category title
// of a category from SCATNAME.DAT: a blank line and the title. A title
// that cannot be read prints blank (status 1) and the pages go on.
void Watype(int index, std::string& title, int16_t& status, const HoldingsPage& p);
void Wacat(int category, std::string& title, int16_t& status, const HoldingsPage& p);

// The seven texts of a total line.
struct TotalTexts {
    std::string percent, cost, market, gain, column, income, yield;
};

// A group total: the rule, the TOTAL line and a blank line.
void Watot(int index, std::string title, const TotalTexts& t, int16_t run_kind, unsigned char option17,
           const HoldingsPage& p);
// A common-stock category total: nothing when the title's first 12
// characters are blank; else the rule and the TOTAL line. The line count
// rises by 2 in every case but the blank title.
void Wactot(const std::string& title, const TotalTexts& t, int16_t run_kind, unsigned char option17,
            HoldingsPage& p);

// An amount as "(F11.2,' ')" (Wamt11) or "(F15.2,' ')" (Wamt15) with
// thousands separators, bracketed when negative: a 32-character text.
void Wamt11(double amount, std::string& text);
void Wamt15(double amount, std::string& text);



}  // namespace reports
