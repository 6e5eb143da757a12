#pragma once

// Property sheets: a modal dialog with a caption, pages chosen by tabs, and
// OK and Cancel (no Apply, no Help). Each page is built from its own dialog
// table, binds its own handlers and may reuse control ids of other pages.
//
//   class NamePage : public platform::PropertyPage {
//   public:
//       NamePage() : PropertyPage(kNamePageTable) {}
//       bool OnInitDialog() override { ...; return true; }  // first shown
//       bool OnApply() override { ...; return true; }       // false refuses
//   };
//   PropertySheet sheet(900, "Client", parent);
//   NamePage one; AddressPage two;
//   sheet.AddPage(&one); sheet.AddPage(&two);
//   sheet.DoModal();
//
// The first page shows first. A page is initialised when it is first shown;
// a page never shown is neither initialised nor applied. OK applies the
// pages that were shown, in page order; a page that refuses becomes the
// shown page and the sheet stays open. Cancel (and Escape) applies
// nothing. Enter on a page moves the focus to its next control.
//
// In scripts the sheet is the dialog of its own id; actions on a control go
// to the shown page (or to the sheet's OK and Cancel), and the step
// `page ID` shows the page of resource ID as a click on its tab does.

#include <string>
#include <vector>

#include "platform/dialog.h"

class QTabWidget;

namespace platform {

class PropertySheet;

class PropertyPage : public Window {
public:
    explicit PropertyPage(DialogTemplate table);
    ~PropertyPage() override;

    int TemplateId() const { return table_.id; }
    const std::string& Caption() const { return table_.caption; }
    const DialogTemplate& Template() const { return table_; }
    // The sheet the page belongs to while it is open, else nullptr.
    PropertySheet* Sheet() const { return sheet_; }
    bool IsInitialised() const { return initialised_; }

    // Runs when the page is first shown. True: the focus goes to its first
    // control.
    virtual bool OnInitDialog();
    // Runs at OK for a page that was shown; false keeps the sheet open on
    // this page.
    virtual bool OnApply();

    bool OnEnterKey() override;
    bool OnEscapeKey() override;

private:
    friend class PropertySheet;
    void Build(PropertySheet* sheet, QWidget* parent);

    DialogTemplate table_;
    PropertySheet* sheet_ = nullptr;
    bool initialised_ = false;
};

class PropertySheet : public Dialog {
public:
    PropertySheet(int id, std::string caption, Window* parent = nullptr);

    // Adds a page (not owned; it must outlive the sheet's run).
    void AddPage(PropertyPage* page);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    PropertyPage* GetPage(int index) const;
    int GetActiveIndex() const { return active_; }
    PropertyPage* GetActivePage() const { return GetPage(active_); }
    // Shows the page (initialising it when it is shown for the first time).
    bool SetActivePage(int index);
    // A person's click on the tab of the page with this resource id; an
    // empty text, or why it was not possible.
    std::string UserSelectPage(int page_template_id);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;
    Window& ActionWindow(int control_id) override;

private:
    void ShowPage(int index);

    std::vector<PropertyPage*> pages_;
    QTabWidget* tabs_ = nullptr;
    int active_ = -1;
};

}  // namespace platform
