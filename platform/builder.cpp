// Turns a dialog table into widgets: rows and columns become box layouts,
// a group box becomes a frame stacked behind (not around) its children, and
// every control is registered with its window in table order.

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedLayout>
#include <QVariant>
#include <algorithm>
#include <vector>

#include "platform/internal_widgets.h"
#include "platform/text.h"
#include "platform/window.h"

namespace platform::detail {
namespace {

// The place of a group box or of a part without a frame: the controls it
// holds (above the frame of a group box). It shows while one of the
// widgets it watches shows: its controls, and the frame of a group box
// that does not go with them (kHiddenWithControls) or holds none. Hidden,
// it takes no room, so a dialog whose table holds parts for several
// reports has no empty areas where the hidden parts would be, and a frame
// the program leaves shown around hidden controls stays.
class GroupPlace : public QObject {
public:
    GroupPlace(QWidget* place, std::vector<QWidget*> watched)
        : QObject(place), place_(place), parts_(std::move(watched)) {
        for (QWidget* part : parts_) part->installEventFilter(this);
        Update();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) Update();
        return QObject::eventFilter(watched, event);
    }

private:
    void Update() {
        bool any = false;
        for (QWidget* part : parts_) any = any || part->isVisibleTo(place_);
        if (any != !place_->isHidden() || !place_->testAttribute(Qt::WA_WState_ExplicitShowHide))
            place_->setVisible(any);
    }

    QWidget* place_;
    std::vector<QWidget*> parts_;
};

class Builder {
public:
    explicit Builder(Window& owner) : owner_(owner) {}

    // Adds the widgets of `node` to `layout`, whose widget is `parent`.
    void Add(const Node& node, QBoxLayout* layout, QWidget* parent) {
        switch (node.type) {
            case Node::Type::Stretch:
                layout->addStretch(1);
                break;
            case Node::Type::Row:
            case Node::Type::Column: {
                auto* inner = new QBoxLayout(node.type == Node::Type::Row ? QBoxLayout::LeftToRight
                                                                          : QBoxLayout::TopToBottom);
                layout->addLayout(inner);
                AddChildren(node.children, inner, parent);
                break;
            }
            case Node::Type::Group:
            case Node::Type::Part:
                AddGroup(node, layout, parent);
                break;
            case Node::Type::Control: {
                QWidget* w = MakeControlWidget(node.control, parent);
                layout->addWidget(w);
                owner_.AddControl(node.control, w, RadioGroupFor(node.control));
                made_.push_back({&node.control, w});
                break;
            }
        }
    }

    void AddChildren(const std::vector<Node>& children, QBoxLayout* layout, QWidget* parent) {
        // A run of radios in one container is one radio group.
        in_radio_run_ = false;
        for (const Node& child : children) {
            const bool radio = child.type == Node::Type::Control && child.control.kind == ControlKind::Radio;
            if (!radio) in_radio_run_ = false;
            Add(child, layout, parent);
            if (!radio) in_radio_run_ = false;
        }
        in_radio_run_ = false;
    }

private:
    int RadioGroupFor(const ControlDef& def) {
        if (def.kind != ControlKind::Radio) return 0;
        if (!in_radio_run_ || (def.style & kGroupStart)) ++radio_groups_;
        in_radio_run_ = true;
        return radio_groups_;
    }

    // The group box frame and a transparent holder of the children share one
    // place; the frame is a separate control, so hiding or disabling it
    // leaves the children alone. A part without a frame is the holder alone.
    void AddGroup(const Node& node, QBoxLayout* layout, QWidget* parent) {
        auto* place = new QWidget(parent);
        QWidget* frame = nullptr;
        QWidget* content = place;
        if (node.type == Node::Type::Group) {
            auto* stack = new QStackedLayout(place);
            stack->setStackingMode(QStackedLayout::StackAll);
            stack->setContentsMargins(0, 0, 0, 0);
            frame = MakeControlWidget(node.control, place);
            content = new QWidget(place);
            stack->addWidget(frame);
            stack->addWidget(content);
            stack->setCurrentWidget(content);  // the children lie above the frame
        }
        auto* inner = new QBoxLayout(QBoxLayout::TopToBottom, content);
        if (frame)
            inner->setContentsMargins(10, content->fontMetrics().height() + 8, 10, 8);
        else
            inner->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(place);

        if (frame) {
            owner_.AddControl(node.control, frame, 0);
            made_.push_back({&node.control, frame});
        }
        AddChildren(node.children, inner, content);
        std::vector<QWidget*> watched;
        for (QObject* child : content->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (!w || w->isWindow()) continue;
            // A group box or part is as large as the controls it shows: a
            // hidden one leaves no empty place (two lists shown in turns
            // take the place of one).
            QSizePolicy policy = w->sizePolicy();
            policy.setRetainSizeWhenHidden(false);
            w->setSizePolicy(policy);
            watched.push_back(w);
        }
        if (frame && (watched.empty() || !(node.control.style & kHiddenWithControls)))
            watched.push_back(frame);
        new GroupPlace(place, std::move(watched));
    }

public:
    // Every control made, in table order.
    std::vector<MadeControl> made_;

private:
    Window& owner_;
    int radio_groups_ = 0;
    bool in_radio_run_ = false;
};

// Fields hold codes and names in capitals, which are wider than the
// average character of a proportional font: a field of N characters is as
// wide as N capitals, so that the text it was made for shows whole.
int CharsToPixels(const QWidget* w, int chars, bool field) {
    const QFontMetrics metrics = w->fontMetrics();
    const int per_char =
        field ? std::max(metrics.averageCharWidth(), metrics.horizontalAdvance(QLatin1Char('X')))
              : metrics.averageCharWidth();
    return per_char * chars + 12;
}
int LinesToPixels(const QWidget* w, int lines) {
    return w->fontMetrics().height() * lines + 8;
}

// Room beside the text of an edit: its frame and margins.
constexpr int kEditFrame = 16;

}  // namespace

void FitTextWidth(QWidget* w) {
    const QVariant table = w->property(kTableWidth);
    if (!table.isValid()) return;
    // An explicit minimum wins over every size hint in a layout, so it is
    // the table's width or the text's, whichever is wider. An edit's hint
    // does not follow its text: its text is measured, with the frame.
    int wanted = table.toInt();
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        wanted = std::max(wanted, line->fontMetrics().horizontalAdvance(line->text()) + kEditFrame);
    } else {
        wanted = std::max(wanted, w->sizeHint().width());
    }
    if (w->minimumWidth() != wanted) w->setMinimumWidth(wanted);
}

QFont FixedPitchFont(const QFont& base) {
    QFont font(ToQt(FixedPitchFace()));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (base.pixelSize() > 0)
        font.setPixelSize(base.pixelSize());
    else
        font.setPointSizeF(base.pointSizeF());
    return font;
}

QWidget* MakeControlWidget(const ControlDef& def, QWidget* parent) {
    QWidget* w = nullptr;
    const QString caption = ToQt(def.caption);
    switch (def.kind) {
        case ControlKind::Static: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            if (def.picture != Picture::None)
                label->setPixmap(DrawPicture(def.picture));
            else
                label->setText(caption);
            w = label;
            break;
        }
        case ControlKind::Edit:
            if (def.style & kMultiLine) {
                auto* edit = new QPlainTextEdit(parent);
                edit->setReadOnly(def.style & kReadOnly);
                edit->setTabChangesFocus(true);
                w = edit;
            } else {
                auto* edit = new QLineEdit(parent);
                edit->setReadOnly(def.style & kReadOnly);
                w = edit;
            }
            break;
        case ControlKind::Button: {
            auto* button = new QPushButton(caption, parent);
            button->setAutoDefault(false);
            button->setDefault(def.style & kDefault);
            w = button;
            break;
        }
        case ControlKind::CheckBox:
            w = new QCheckBox(caption, parent);
            break;
        case ControlKind::Radio: {
            auto* radio = new QRadioButton(caption, parent);
            // Radio groups are kept by the window, so that code may leave
            // every radio of a group unchecked.
            radio->setAutoExclusive(false);
            w = radio;
            break;
        }
        case ControlKind::GroupBox:
            w = new QGroupBox(caption, parent);
            break;
        case ControlKind::ListBox: {
            auto* list = new ListWidget(parent);
            list->setSelectionMode((def.style & kMultiSelect) ? QAbstractItemView::MultiSelection
                                                              : QAbstractItemView::SingleSelection);
            w = list;
            break;
        }
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(!(def.style & kDropDownList));
            combo->setInsertPolicy(QComboBox::NoInsert);
            // As wide as its longest line, so that no line is cut, and
            // never narrower than the table's width in capitals; a line
            // that is still cut loses its end, never its middle.
            combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            combo->setMinimumContentsLength(def.width_chars);
            combo->view()->setTextElideMode(Qt::ElideRight);
            // The table's height is the dropped list's.
            if (def.height_lines > 0) combo->setMaxVisibleItems(std::max(1, def.height_lines - 1));
            w = combo;
            break;
        }
        case ControlKind::ScrollBar: {
            auto* bar = new QScrollBar((def.style & kHorizontal) ? Qt::Horizontal : Qt::Vertical, parent);
            bar->setRange(0, 0);
            bar->setTracking(false);
            w = bar;
            break;
        }
        case ControlKind::UpDown:
            w = new UpDownWidget(parent);
            break;
    }
    if (def.style & kFixedPitch) w->setFont(FixedPitchFont(w->font()));
    // A combo box's width follows its lines (above).
    const bool field = def.kind == ControlKind::Edit;
    if (def.width_chars > 0 && def.kind != ControlKind::ComboBox)
        w->setMinimumWidth(CharsToPixels(w, def.width_chars, field && !(def.style & kFixedPitch)));
    switch (def.kind) {
        case ControlKind::Static:
        case ControlKind::CheckBox:
        case ControlKind::Radio:
        case ControlKind::GroupBox:
            w->setProperty(kTableWidth, w->minimumWidth());
            FitTextWidth(w);
            break;
        case ControlKind::Edit:
            // A field of a given width grows with a longer text put in it.
            if (def.width_chars > 0 && !(def.style & kMultiLine))
                w->setProperty(kTableWidth, w->minimumWidth());
            break;
        default:
            break;
    }
    if (def.height_lines > 0 && def.kind != ControlKind::ComboBox)
        w->setMinimumHeight(LinesToPixels(w, def.height_lines));
    return w;
}

void BuildBody(Window& owner, const Node& body, QWidget* parent, const TakenLetters& taken) {
    auto* layout = new QBoxLayout(QBoxLayout::TopToBottom, parent);
    Builder builder(owner);
    builder.Add(body, layout, parent);
    GiveMnemonics(builder.made_, taken);
}

}  // namespace platform::detail
