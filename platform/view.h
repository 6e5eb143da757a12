#pragma once

// The MDI windows: a ChildFrame holds one View. A view draws in OnDraw,
// lays out in OnSize, makes its controls at run time (CreateControl) and
// handles commands routed to it while its frame is active. Both are made by
// the main frame from a DocTemplate and deleted by it after they close.

#include <memory>
#include <string>
#include <vector>

#include "platform/resource.h"
#include "platform/window.h"

namespace platform {

class MainFrame;
class ChildFrame;
struct DocTemplate;

class View : public Window {
public:
    View();
    ~View() override;

    // Runs once, after the view and its frame exist and before they show.
    virtual void OnInitialUpdate();
    virtual void OnDraw(QPainter& painter);
    void OnPaint(QPainter& painter) override;

    // Line n (from 1) of the text the view draws, as it draws it, for a
    // reader that is not the screen (a test script); false past its last
    // line, and for a view that draws no lines of text.
    virtual bool TextLine(long n, std::string& text) const;

    ChildFrame* GetParentFrame() const { return frame_; }
    // The captions of the menu bar that shows above the view's child
    // window (MainFrame::GetMenuBarCaptions); none outside a main window.
    std::vector<std::string> MenuBarCaptions() const;

private:
    friend class ChildFrame;
    bool CreateIn(ChildFrame& frame);

    ChildFrame* frame_ = nullptr;
};

// A view whose controls come from a dialog resource table, laid out as a
// dialog's are, with handlers bound by control id as in a dialog: a form
// view. The controls exist from OnInitialUpdate, whose base a derived view
// calls first.
class FormView : public View {
public:
    explicit FormView(DialogTemplate table);

    int TemplateId() const { return table_.id; }
    const DialogTemplate& Template() const { return table_; }
    void OnInitialUpdate() override;

private:
    DialogTemplate table_;
};

// Window styles a child frame may take away in PreCreateWindow.
struct FrameStyle {
    bool maximize_box = true;
    bool sizing_border = true;
};

class ChildFrame : public Window {
public:
    ChildFrame();
    ~ChildFrame() override;

    // Before the frame is made: may take styles away.
    virtual void PreCreateWindow(FrameStyle& style);
    // After the frame and its view are made; false: the frame is closed
    // again and no window opens.
    virtual bool OnCreate();
    // The close box or PostClose. The default closes the frame; a frame that
    // must stay open does not call it.
    void OnClose() override;
    // Closes the view and the frame now.
    void DestroyWindow() override;

    View* GetView() const { return view_.get(); }
    MainFrame* GetMainFrame() const { return main_; }
    const DocTemplate* GetTemplate() const { return template_; }
    // Brings the frame to the front as the active child.
    void ActivateFrame();
    // The frame's title. A title that another open child of the main frame
    // already shows is numbered, as desktop programs number their windows:
    // the second window of a title shows "Title:2", the third "Title:3"
    // (the lowest number no open window of the title shows), so that the
    // title bars and the Window menu tell them apart. GetWindowText reads
    // the title as shown.
    void SetWindowText(std::string_view text) override;

private:
    friend class MainFrame;
    bool Create(MainFrame& main, std::unique_ptr<View> view, const DocTemplate* doc_template);

    std::string title_;    // as the program set it
    int title_number_ = 1;  // 1: shown without a number
    std::unique_ptr<View> view_;
    MainFrame* main_ = nullptr;
    const DocTemplate* template_ = nullptr;
};

}  // namespace platform
