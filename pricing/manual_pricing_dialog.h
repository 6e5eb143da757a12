#pragma once

// The Manual Pricing dialog (dialog 146, Pricing/Manual, report code 61):
// the user picks a pricing date (an existing price file's date from the
// list, or a new one), then types the prices of the listed securities,
// nineteen to a page, and the dialog writes that date's price file
// ("se" + MMDDYY + ".prc", one 8-byte price per security index position,
// -99999.999999 for no price). Two modes: choosing the date (the combo box
// and the edit-prices button work, the price rows do not) and editing the
// prices (the rows and the scroll bar work, "Select New Date" leads back).
// Leaving the prices by "Select New Date" or "Done" saves them when any
// changed; Escape ends the dialog without saving.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace pricing {

inline constexpr int kManualPricingDialogId = 146;

// A listed security: its symbol and its index position (from 0; position
// p is record p + 1 of a price file).
struct PriceEditEntry {
    std::string symbol;
    int16_t position = 0;
};

class CManualPricingDlg : public platform::Dialog {
public:
    static constexpr int kRows = 19;
    // The rows top to bottom: the price edits and their symbol labels.
    static constexpr std::array<int, kRows> kPriceEdits = {1356, 1357, 1362, 1363, 1365, 1366, 1364,
                                                           1467, 1360, 1361, 1468, 1367, 1368, 1369,
                                                           1370, 1371, 1372, 1373, 1374};
    static constexpr std::array<int, kRows> kSymbolLabels = {1452, 1451, 1453, 1454, 1455, 1456, 1457,
                                                             1458, 1459, 1460, 1461, 1462, 1463, 1464,
                                                             1465, 1466, 1470, 1478, 1479};
    static constexpr int kScrollBar = 1195;
    static constexpr int kMessage = 1480;
    static constexpr int kDateCombo = 1486;
    static constexpr int kSelectNewDate = 1483;
    static constexpr int kSelectNewDateLabel = 1484;
    static constexpr int kDone = 1469;
    static constexpr int kEditPrices = 1481;
    static constexpr int kEditPricesCaption = 1482;
    static constexpr int kHeading = 1488;

    // The value of a security without a price, as it is stored.
    static constexpr double kNoPrice = -99999.999999;

    explicit CManualPricingDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;

    // For tests: the listed securities and the prices by index position.
    const std::vector<PriceEditEntry>& Entries() const { return entries_; }
    const std::vector<double>& Prices() const { return prices_; }
    bool PricesChanged() const { return changed_; }
    int CurrentRow() const { return current_row_; }

    // The dates of the price files of the data directory, newest first, as
    // the date list shows them.
    static std::vector<std::string> PriceFileDates();

private:
    void OnDone();
    void OnEditPrices();
    void OnSelectNewDate();
    void OnDateEditChange();
    void OnDateChosen();
    void OnVScroll(const platform::Notification& n);
    void OnPriceChange(int row);
    void OnPriceLeft(int row);

    void LoadSecurities();
    void LoadPrices(const std::string& date);
    void SavePrices();
    void SetCaptionForDate(const std::string& date);
    // "Invalid Date:" and the text in the message static; the focus back
    // in the combo box.
    void RefuseDate(const std::string& typed);
    void FillPage();
    void StoreRow(int row);
    void EnableRows(bool enable);
    int ScrollPosition() const;
    int ScrollEnd() const;
    // A price as the rows show it: empty for no price, else "%13.6f".
    static std::string PriceText(double price);

    std::vector<PriceEditEntry> entries_;
    std::vector<double> prices_;  // by index position
    std::string date_;            // the date whose prices are edited
    bool changed_ = false;
    bool file_readable_ = false;
    int current_row_ = 0;  // 1 to 19; 0 before any row had the focus
    bool filter_guard_ = true;
    bool filling_ = false;
    std::array<bool, kRows> typed_{};  // the user changed the row's text since it was filled
};

}  // namespace pricing
