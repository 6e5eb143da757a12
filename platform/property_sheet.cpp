#include "platform/property_sheet.h"

#include <QBoxLayout>
#include <QTabWidget>

#include "platform/internal_widgets.h"
#include "platform/text.h"

namespace platform {

// ---- pages

PropertyPage::PropertyPage(DialogTemplate table) : table_(std::move(table)) {}

PropertyPage::~PropertyPage() = default;

void PropertyPage::Build(PropertySheet* sheet, QWidget* parent) {
    sheet_ = sheet;
    initialised_ = false;
    auto* w = new QWidget(parent);
    // The tab widget owns the page's widget and deletes it with the sheet.
    AttachWidget(w, false);
    // The page shows inside the sheet: its keys and the sheet's (OK,
    // Cancel) are pressed in one window, so the page leaves the sheet's
    // letters to it.
    detail::TakenLetters taken;
    for (const int id : sheet->GetControlIds())
        if (const QWidget* control = sheet->GetDlgItem(id).Widget())
            if (const QChar letter = detail::MnemonicLetter(control); !letter.isNull())
                taken.beside.push_back(letter);
    detail::BuildBody(*this, table_.body, w, taken);
    // The sheet is as tall as its tallest page, so a shorter page has height
    // to spare. A page whose table lets something grow (a list, a frame, a
    // stretch of a column) gives it that height. Any other page keeps its
    // rows where its table puts them, from the top, with the spare height
    // below them: given to its body, the height would go to a label (which
    // shows its text in the middle, far below the top) or spread the rows
    // apart.
    auto* layout = qobject_cast<QBoxLayout*>(w->layout());
    if (layout && !(layout->expandingDirections() & Qt::Vertical)) layout->addStretch();
}

bool PropertyPage::OnInitDialog() {
    return true;
}

bool PropertyPage::OnApply() {
    return true;
}

bool PropertyPage::OnEnterKey() {
    if (PressFocusedButton()) return true;
    NextDlgCtrl();
    return true;
}

bool PropertyPage::OnEscapeKey() {
    return sheet_ && sheet_->OnEscapeKey();
}

// ---- the sheet

namespace {

DialogTemplate SheetTemplate(int id, std::string caption) {
    // The pages go above the buttons when the sheet initialises.
    return {id, std::move(caption),
            Column({Row({Stretch(), Button(IDOK, "OK", kDefault), Button(IDCANCEL, "Cancel")})})};
}

}  // namespace

PropertySheet::PropertySheet(int id, std::string caption, Window* parent)
    : Dialog(SheetTemplate(id, std::move(caption)), parent) {}

void PropertySheet::AddPage(PropertyPage* page) {
    if (page) pages_.push_back(page);
}

PropertyPage* PropertySheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

bool PropertySheet::OnInitDialog() {
    QWidget* w = GetWidget();
    auto* layout = w ? qobject_cast<QBoxLayout*>(w->layout()) : nullptr;
    if (!layout) return true;
    tabs_ = new QTabWidget(w);
    layout->insertWidget(0, tabs_, 1);
    active_ = -1;
    for (PropertyPage* page : pages_) {
        page->Build(this, tabs_);
        tabs_->addTab(page->GetWidget(), ToQt(page->Caption()));
    }
    // A person's click on a tab.
    QObject::connect(tabs_, &QTabWidget::currentChanged, ConnectionContext(), [this](int index) {
        if (index != active_) ShowPage(index);
    });
    ShowPage(0);
    return false;
}

void PropertySheet::ShowPage(int index) {
    PropertyPage* page = GetPage(index);
    if (!page) return;
    active_ = index;
    if (tabs_ && tabs_->currentIndex() != index) tabs_->setCurrentIndex(index);
    if (!page->initialised_) {
        page->initialised_ = true;
        Busy busy(*page);
        if (page->OnInitDialog()) page->FirstDlgCtrl();
    }
}

bool PropertySheet::SetActivePage(int index) {
    if (!GetPage(index) || !tabs_) return false;
    ShowPage(index);
    return true;
}

std::string PropertySheet::UserSelectPage(int page_template_id) {
    for (int i = 0; i < GetPageCount(); ++i) {
        if (pages_[static_cast<std::size_t>(i)]->TemplateId() != page_template_id) continue;
        if (!tabs_) return "the property sheet is not open";
        ShowPage(i);
        return {};
    }
    return "the property sheet has no page " + std::to_string(page_template_id);
}

void PropertySheet::OnOK() {
    for (int i = 0; i < GetPageCount(); ++i) {
        PropertyPage* page = pages_[static_cast<std::size_t>(i)];
        if (!page->initialised_) continue;
        if (!page->OnApply()) {
            ShowPage(i);
            return;
        }
    }
    EndDialog(IDOK);
}

void PropertySheet::OnDestroy() {
    // The pages' widgets go with the tab widget; the pages let them go first.
    for (PropertyPage* page : pages_) {
        page->DestroyWindow();
        page->sheet_ = nullptr;
    }
    tabs_ = nullptr;
    active_ = -1;
    Dialog::OnDestroy();
}

Window& PropertySheet::ActionWindow(int control_id) {
    if (GetDlgItem(control_id)) return *this;
    if (PropertyPage* page = GetActivePage()) return *page;
    return *this;
}

}  // namespace platform
