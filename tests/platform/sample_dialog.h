#pragma once

// A report-options-like dialog used by the window layer's tests: radios in
// group boxes, a client list, two date edits, check boxes, a manager combo,
// output radios with a file name that shows only for the file output, and a
// Generate button that checks the entries (with message boxes) before it
// closes. Enter moves the focus (OnOK is overridden to do so).

#include <string>
#include <vector>

#include "platform/dialog.h"

namespace sample {

enum : int {
    kDialogId = 500,
    kAccountGroup = 600,
    kAll = 601,
    kSelect = 602,
    kGroupRadio = 603,
    kClientGroup = 610,
    kClientList = 611,
    kStartLabel = 620,
    kStartDate = 621,
    kEndLabel = 622,
    kEndDate = 623,
    kAccrued = 630,
    kPostValue = 631,
    kManagerLabel = 640,
    kManager = 641,
    kPrint = 650,
    kDisplay = 651,
    kFile = 652,
    kFileLabel = 660,
    kFileName = 661,
    kGenerate = 670,
    kNestedDialogId = 700,
    kNestedEdit = 701,
};

const platform::DialogTemplate& SampleTemplate();
const platform::DialogTemplate& NestedTemplate();

// What Generate stored.
struct Selection {
    int scope = 0;  // 1 all, 2 select
    std::string account;
    std::string start_date;
    std::string end_date;
    bool accrued = false;
    std::string manager;
    int destination = -1;  // 0 print, 2 file, 3 display
    std::string file_name;
    std::string nested_note;
};

class SampleDialog : public platform::Dialog {
public:
    explicit SampleDialog(Selection& out, platform::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;  // Enter: moves the focus on
    void OnCancel() override;

    // Counters of notifications, for the tests.
    int start_changes = 0;
    int list_selections = 0;
    int list_double_clicks = 0;
    int cancels = 0;
    std::vector<std::string> focus_log;

private:
    void OnGenerate();
    void OnOutput();
    void OnNote();

    Selection& out_;
};

// A small dialog opened from the sample's "Note" handler (double click on the
// client list), to test nested modals.
class NestedDialog : public platform::Dialog {
public:
    explicit NestedDialog(std::string& note, platform::Window* parent);
    void OnOK() override;

private:
    std::string& note_;
};

}  // namespace sample
