#include "pricing/pricing_dialogs.h"

#include "pricing/import_price_file_dialog.h"
#include "pricing/manual_pricing_dialog.h"
#include "pricing/price_download_dialog.h"
#include "shell/dispatch.h"
#include "shell/main_frame.h"

namespace pricing {

void RegisterPricingDialogs() {
    shell::RegisterCodeDialog(61, [](int, shell::CMainFrame& frame) {
        CManualPricingDlg dialog(&frame);
        return dialog.DoModal() == platform::IDOK;
    });
    shell::RegisterCodeDialog(62, [](int, shell::CMainFrame& frame) {
        CPriceDownloadDlg dialog(&frame);
        return dialog.DoModal() == platform::IDOK;
    });
    shell::RegisterCodeDialog(63, [](int, shell::CMainFrame& frame) {
        CImportPriceFileDlg dialog(&frame);
        return dialog.DoModal() == platform::IDOK;
    });
}

}  // namespace pricing
