// The menus: every command of the program's command table sits at its menu
// path, in the main menu and in the menu shown while child windows are open.

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>

#include "platform/menu.h"
#include "shell/main_frame.h"

namespace {

// Command id and menu path as the person reads it ("&&" shows as "&").
const std::map<int, std::string> kMenuPaths = {
    {32775, "Transactions/Transaction Editor"},
    {32780, "Setup/Broker"},
    {32781, "Setup/Account"},
    {32782, "Setup/Security"},
    {32787, "Pricing/Manual"},
    {32788, "Pricing/Auto"},
    {32792, "Trade Reports/Transaction Ledger"},
    {32793, "Trade Reports/Security Cross Reference"},
    {32794, "Trade Reports/Account Directory"},
    {32795, "Trade Reports/Gains (Losses)"},
    {32796, "Trade Reports/Income Summary"},
    {32815, "Trade Reports/Commission by Broker"},
    {32798, "Position Reports/Working Appraisal"},
    {32799, "Position Reports/Position Summary"},
    {32800, "Position Reports/Account Appraisal"},
    {32801, "Position Reports/Investment History"},
    {32804, "Performance Reports/Performance Module"},
    {32809, "Charts/Charts"},
    {32830, "Utilities/Options"},
    {32831, "Utilities/Update Data Base"},
    {32849, "Utilities/Initialize Temp Files"},
    {32858, "List Reports/Account List"},
    {32850, "List Reports/Broker List"},
    {32859, "List Reports/Security List"},
    {32860, "Trade Reports/Maturity and Expiration Alert"},
    {32861, "Transactions/Cash"},
    {32862, "Transactions/Trades"},
    {32863, "Transactions/Transfers"},
    {32865, "Composite Reports/Account Appraisal"},
    {32867, "Composite Reports/Gains (Losses)"},
    {32868, "Composite Reports/Transaction Ledger"},
    {32866, "Composite Reports/Working Appraisal"},
    {32869, "Fixed Income Reports/Fixed Income Appraisal"},
    {32876, "Fixed Income Reports/Fixed Income Summary"},
    {32874, "Fixed Income Reports/Income Flow Analysis (fixed)"},
    {32875, "Fixed Income Reports/Income Flow Analysis (other)"},
    {32870, "Fixed Income Reports/Maturity Analysis"},
    {32871, "Fixed Income Reports/Rating Analysis"},
    {32873, "Fixed Income Reports/Yield Analysis"},
    {32872, "Fixed Income Reports/Coupon Analysis"},
    {32877, "List Reports/Bond List"},
    {32878, "Position Reports/Mutual Fund Appraisal"},
    {32880, "Utilities/Copy Account"},
    {32882, "Position Reports/Assets Under Management"},
    {32881, "Trade Reports/Detailed Security Cross Reference"},
    {32884, "Setup/Custodian"},
    {32885, "List Reports/Custodian List"},
    {32886, "Utilities/Security Industry Category"},
    {32887, "Utilities/Security Type"},
    {32897, "Utilities/Groups"},
    {32903, "Modules/Billing/Fee Schedule"},
    {32899, "Modules/Billing/Invoice"},
    {32901, "Modules/Billing/Notes"},
    {32900, "Modules/Billing/Summary"},
    {32902, "Modules/Billing/Update"},
    {32924, "Utilities/Historical Portfolio Values"},
    {32925, "Utilities/Portfolio Manager Codes"},
    {32922, "Modules/Information Export/Export"},
    {32892, "Modules/Transaction Download/Edit Transactions"},
    {32895, "Modules/Transaction Download/Delete Transactions"},
    {32926, "Modules/Transaction Download/Import Transactions/Bear Stearns"},
    {32927, "Modules/Transaction Download/Import Transactions/DataLynx/Import"},
    {32928, "Modules/Transaction Download/Import Transactions/DST Systems Inc."},
    {32929, "Modules/Transaction Download/Import Transactions/Fidelity"},
    {32930, "Modules/Transaction Download/Import Transactions/Jack White & Company"},
    {32931, "Modules/Transaction Download/Import Transactions/Rydex"},
    {32932, "Modules/Transaction Download/Import Transactions/Schwab"},
    {32933, "Modules/Transaction Download/Import Transactions/Smith Barney"},
    {32934, "Modules/Transaction Download/Import Transactions/Vanguard"},
    {32935, "Modules/Transaction Download/Import Transactions/Waterhouse"},
    {32936, "Modules/Transaction Download/Map Transaction Codes/Bear Stearns"},
    {32937, "Modules/Transaction Download/Map Transaction Codes/DataLynx"},
    {32938, "Modules/Transaction Download/Map Transaction Codes/DST Systems Inc."},
    {32939, "Modules/Transaction Download/Map Transaction Codes/Fidelity"},
    {32940, "Modules/Transaction Download/Map Transaction Codes/Jack White & Company"},
    {32941, "Modules/Transaction Download/Map Transaction Codes/Rydex"},
    {32942, "Modules/Transaction Download/Map Transaction Codes/Schwab"},
    {32943, "Modules/Transaction Download/Map Transaction Codes/Smith Barney"},
    {32944, "Modules/Transaction Download/Map Transaction Codes/Vanguard"},
    {32945, "Modules/Transaction Download/Map Transaction Codes/Waterhouse"},
    {32893, "Modules/Transaction Download/Transaction Report"},
    {32894, "Modules/Transaction Download/Post Transactions"},
    {32946, "Utilities/Printer Options"},
    {32947, "Pricing/Import"},
    {32948, "Trade Reports/Block Size Computation"},
    {32904, "Modules/Income Autopost/Input Income Distributions"},
    {32906, "Modules/Income Autopost/Securites with Payable Dates"},
    {32907, "Modules/Income Autopost/Post Income"},
    {32908, "Modules/Income Autopost/Initial Date"},
    {32911, "Modules/Asset Allocation/Input/Modify"},
    {32949, "Modules/Asset Allocation/Delete Asset Allocation"},
    {32913, "Modules/Asset Allocation/Post"},
    {32912, "Modules/Asset Allocation/Asset Allocation Report"},
    {32950, "Utilities/Letterhead"},
    {32951, "Position Reports/Member Statement"},
    {32952, "Trade Reports/Form 1099B"},
    {32953, "Trade Reports/Trade Memorandum"},
    {32955, "Modules/Transaction Download/Import Transactions/Credit Union"},
    {32956, "Setup/Import Member Accounts"},
    {32958, "Tools/Find/Account ID"},
    {32960, "Tools/Find/Custodian ID"},
    {32961, "Tools/Find/Security ID"},
    {32909, "Modules/Stock Splits/Modify Stock Splits"},
    {32963, "Modules/Transaction Download/Import Transactions/DataLynx/Generate Extracts"},
    {32962, "Modules/Stock Splits/Stock Split Report"},
    {32910, "Modules/Stock Splits/Post Splits"},
    {32964, "List Reports/Account List (Summary)"},
    {32965, "Position Reports/Summary of Assets Under Management"},
    {32966, "Trade Reports/Commissions by Account"},
    {32967, "Trade Reports/Commission Detail by Broker"},
    {32968, "Position Reports/Summary of Accounts"},
    {32969, "Trade Reports/Portfolio Changes"},
    {32916, "Modules/Block Trades/Edit"},
    {32970, "Modules/Transaction Download/Import Transactions/American Skandia"},
    {32972, "Modules/Transaction Download/Map Transaction Codes/American Skandia"},
    {32914, "Modules/Block Trades/Define"},
};

std::string Shown(const std::string& caption) {
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] == '&') ++i;
        text += caption[i];
    }
    return text;
}

void CollectPaths(const std::vector<platform::MenuItem>& items, const std::string& prefix,
                  std::multimap<int, std::string>& paths) {
    for (const platform::MenuItem& item : items) {
        const std::string path = prefix + Shown(item.caption);
        if (item.type == platform::MenuItem::Type::Popup)
            CollectPaths(item.items, path + "/", paths);
        else if (item.type == platform::MenuItem::Type::Command)
            paths.emplace(item.id, path);
    }
}

TEST(Menus, EveryCommandSitsAtItsMenuPathOnce) {
    for (const auto& [name, table] :
         {std::pair{"main", shell::MainMenu()}, std::pair{"child", shell::ChildMenu()}}) {
        std::multimap<int, std::string> paths;
        CollectPaths(table, "", paths);
        for (const auto& [id, path] : kMenuPaths) {
            ASSERT_EQ(paths.count(id), 1u) << name << " menu, command " << id;
            EXPECT_EQ(paths.find(id)->second, path) << name << " menu, command " << id;
        }
    }
}

}  // namespace

namespace {

// The letter after a caption's single "&", lower case; 0 when none.
char Mnemonic(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

// Every item of every menu level can be reached from the keyboard: each has
// a mnemonic of its own within its level, and the captions read as given.
void ExpectMnemonics(const std::vector<platform::MenuItem>& items, const std::string& level) {
    const std::vector<std::string> shown = platform::MenuCaptionsWithMnemonics(items);
    ASSERT_EQ(shown.size(), items.size());
    std::set<char> used;
    for (std::size_t k = 0; k < items.size(); ++k) {
        const platform::MenuItem& item = items[k];
        if (item.type != platform::MenuItem::Type::Command && item.type != platform::MenuItem::Type::Popup)
            continue;
        const char letter = Mnemonic(shown[k]);
        EXPECT_NE(letter, 0) << level << item.caption;
        EXPECT_TRUE(used.insert(letter).second) << level << item.caption << ": " << letter << " is taken";
        EXPECT_EQ(Shown(shown[k]).size(), Shown(item.caption).size() + 1) << level << item.caption;
        if (item.type == platform::MenuItem::Type::Popup)
            ExpectMnemonics(item.items, level + item.caption + "/");
    }
}

TEST(Menus, EveryItemHasAMnemonicOfItsOwn) {
    ExpectMnemonics(shell::MainMenu(), "main: ");
    ExpectMnemonics(shell::ChildMenu(), "child: ");
    // The framework's menus and commands take their usual letters.
    const std::vector<std::string> top = platform::MenuCaptionsWithMnemonics(shell::ChildMenu());
    EXPECT_EQ(top.front(), "&File");
    EXPECT_EQ(top[1], "&Edit");
    EXPECT_EQ(top[top.size() - 2], "&Window");
    EXPECT_EQ(top.back(), "&Help");
    const std::vector<std::string> file =
        platform::MenuCaptionsWithMnemonics(shell::ChildMenu().front().items);
    EXPECT_EQ(file, (std::vector<std::string>{"&New", "&Open...", "&Close", "", "&Print...", "Print Pre&view",
                                              "P&rint Setup...", "", "E&xit"}));
}

}  // namespace
