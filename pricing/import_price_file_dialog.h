#pragma once

// The Import Price File dialog (dialog 181, Pricing/Import, report code
// 63): the user names a price file, picks its layout, whether its lines
// name securities by symbol or by CUSIP, and where the error report goes.
// OK stores the choices in the report globals (the file name in
// ListFileName, the layout 1-7 in ReportVariant, 1 symbol / 2 CUSIP in
// SelectionScope, the destination and output file name) and the
// dispatcher then runs the import (Tranfi) through the report runner.
// Enter and Escape only move the focus: the dialog ends through its own
// OK (3) and Cancel (4) buttons.

#include "platform/dialog.h"

namespace pricing {

inline constexpr int kImportPriceFileDialogId = 181;

class CImportPriceFileDlg : public platform::Dialog {
public:
    static constexpr int kSymbol = 1193;
    static constexpr int kCusip = 1192;
    static constexpr int kPrintPreview = 1434;
    static constexpr int kPrint = 1172;
    static constexpr int kOutputName = 1167;
    static constexpr int kOutputNameLabel = 1168;
    static constexpr int kFile = 1174;
    static constexpr int kDisplay = 1173;
    static constexpr int kLayoutList = 1375;
    static constexpr int kImportName = 1095;
    static constexpr int kBrowse = 1096;
    static constexpr int kOk = 3;
    static constexpr int kCancel = 4;

    // The longest import file name the import takes (it keeps 48
    // characters, blank padded).
    static constexpr std::size_t kLongestImportName = 47;

    explicit CImportPriceFileDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    bool OnEscapeKey() override;

private:
    void OnBrowse();
    void OnFile();
    void ShowOutputName(bool show);
};

}  // namespace pricing
