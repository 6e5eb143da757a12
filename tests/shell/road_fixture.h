#pragma once

// The program started on a fresh data directory for the report road tests
// (dispatch, runner, printing, settings dialogs), with a helper that plays
// a text script of the driver's language as the answers while a piece of
// C++ runs (a command, the output switch), and report lines written the
// way report routines write them.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPrinter>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message_box.h"
#include "platform/scripted_interaction.h"
#include "records/files.h"
#include "records/record.h"
#include "records/report_output.h"
#include "shell/app.h"
#include "shell/main_frame.h"
#include "shell/report_globals.h"
#include "tests/fixtures/temp_dir.h"
#include "tests/tools/script_driver.h"

namespace road {

// What a played script saw.
struct Played {
    std::vector<std::string> failures;
    std::vector<platform::MessageBoxRequest> message_boxes;
    std::string Failures() const {
        std::string all;
        for (const std::string& f : failures) all += f + "\n";
        return all;
    }
};

class RoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<shell::CLedraApp>();
        platform::ScriptedInteraction none;
        platform::ScopedInteraction installed(none);
        ASSERT_TRUE(app_->InitInstance(platform::SW_SHOW));
        ASSERT_TRUE(none.Failures().empty()) << none.Failures().front();
        frame_ = app_->GetMainFrame();
        ASSERT_NE(frame_, nullptr);
    }

    void TearDown() override {
        platform::ScriptedInteraction none;
        platform::ScopedInteraction installed(none);
        app_.reset();
    }

    // Plays `script` as the answers to whatever `action` shows; the action
    // runs first, as a person's command would.
    Played Play(std::string_view script, const std::function<void()>& action = {}) {
        Played played;
        tools::ParsedScript parsed = tools::ParseScript(script, frame_);
        played.failures = parsed.errors;
        if (!parsed.errors.empty()) return played;
        platform::ScriptedInteraction interaction(
            [&played](const std::string& message) { played.failures.push_back(message); });
        interaction.SetTopLevelWindow(frame_);
        if (action)
            interaction.Run(
                "the action",
                [&action] {
                    action();
                    return std::string();
                },
                /*top_level_only=*/true);
        for (platform::ScriptStep& step : parsed.steps) interaction.Add(std::move(step));
        {
            platform::ScopedInteraction installed(interaction);
            interaction.RunScript();
            interaction.FailIfStepsLeft();
        }
        played.message_boxes = interaction.MessageBoxes();
        return played;
    }

    // Lets posted work (a window's close) happen.
    static void Settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }

    std::size_t Children() const { return frame_->GetChildFrames().size(); }

    // The application's printer, printing into a PDF file of the data
    // directory.
    QPrinter& PdfPrinter(const std::string& name) {
        QPrinter& printer = app_->Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString((dir_.path() / name).string()));
        return printer;
    }

    fixtures::TempDataDir dir_;
    std::unique_ptr<shell::CLedraApp> app_;
    shell::CMainFrame* frame_ = nullptr;
};

// Writes a report into OUTPUT.TMP as report routines do: `pages` pages of
// `page_length` lines, each beginning with the shared page heading, the
// body lines 132 columns wide with their column number every ten columns.
inline void WritePagedReport(int pages, std::string_view title = "TEST REPORT") {
    std::string name;
    records::Prtout(" ", "START", name);
    int16_t page = 1, line_count = 0, page_length = 0;
    for (int p = 0; p < pages; ++p) {
        records::Pghead(page, line_count, page_length);
        records::Prtout(std::string(" ") + std::string(title));
        ++line_count;
        while (line_count < page_length) {
            std::string line;
            for (int c = 1; c <= 132; ++c) line += c % 10 == 0 ? static_cast<char>('0' + (c / 10) % 10) : '.';
            line.replace(1, 12, "LINE " + std::to_string(line_count + 1) + std::string(12, ' '), 0, 12);
            records::Prtout(line);
            ++line_count;
        }
    }
    records::Prtout(" ", "END", name);
}

// The lines of a 132-byte line file.
inline std::vector<std::string> LineFile(const std::string& name) {
    std::vector<std::string> lines;
    records::DirectFile file(name, 132, false);
    records::Record rec;
    for (long n = 1; file.Read(n, rec); ++n) lines.push_back(rec.Text(0, 132));
    return lines;
}

// The number of pages of a PDF file.
inline int PdfPageCount(const std::string& path) {
    const std::vector<unsigned char> bytes = fixtures::TempDataDir::ReadBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    int pages = 0;
    for (std::size_t at = text.find("/Type /Page"); at != std::string::npos;
         at = text.find("/Type /Page", at + 1))
        if (text.compare(at, 12, "/Type /Pages") != 0) ++pages;
    return pages;
}

}  // namespace road
