#pragma once

// The Security Industry Categories dialog (dialog 157, Utilities/Security
// Industry Category): names the 99 industry categories that common stocks
// carry as their SIC code. A name takes effect in the list when its edit
// is left; Done writes SCATNAME.DAT, Escape closes without writing.

#include <string>
#include <vector>

#include "platform/dialog.h"

namespace setup {

inline constexpr int kIndustryCategoriesDialogId = 157;

class CSicCategoriesDlg : public platform::Dialog {
public:
    static constexpr int kCategoryList = 1084;
    static constexpr int kListFrame = 1083;
    static constexpr int kPrompt = 1085;
    static constexpr int kNameEdit = 1086;
    static constexpr int kDone = 1004;

    explicit CSicCategoriesDlg(platform::Window* parent = nullptr);

    bool OnInitDialog() override;

    const std::vector<std::string>& Names() const { return names_; }

private:
    void OnSelect();
    void OnNameLeft();
    void OnDone();

    std::vector<std::string> names_;
    int current_ = 0;
};

}  // namespace setup
