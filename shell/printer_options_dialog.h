#pragma once

// Printer Options (dialog 180): the page length (or Automatic: from the
// paper when printing, 58 lines for a report into a file), the top margin
// in lines, the left and right margins in inches, the print intensity and
// the report font. Done checks the margins, then stores the settings in
// the printer and page settings record (COMMON.FIL record 80, keeping the
// bytes it does not own) and in the program's page settings.

#include <cstdint>
#include <string>

#include "platform/dialog.h"

namespace shell {

class CPrinterOptionsDlg : public platform::Dialog {
public:
    static constexpr int kDialogId = 180;
    static constexpr int kAutomatic = 1182;
    static constexpr int kPageLength = 1183;
    static constexpr int kTopMargin = 1184;
    static constexpr int kLeftMargin = 1445;
    static constexpr int kRightMargin = 1446;
    static constexpr int kIntensity = 1447;
    static constexpr int kSelectFont = 1450;
    static constexpr int kCurrentFont = 1451;
    static constexpr int kDone = 1004;
    static constexpr int kCancel = 1140;

    // The page length field holds at most this much.
    static constexpr int kLargestPageLength = 32767;
    // A page length that is not automatic is at least this.
    static constexpr int16_t kShortestPageLength = 5;

    explicit CPrinterOptionsDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    // Cancel, Escape and the close box: the message list is emptied and
    // nothing is stored.
    void OnCancel() override;

private:
    void OnAutomatic();
    void OnDigitsChanged(int id);
    void OnMarginChanged(int id);
    void OnSelectFont();
    void OnDone();
    // The page length field shows the page length with the top margin.
    void ShowPageLength();

    bool initialising_ = true;
};

}  // namespace shell
