// Copy-data records: delivered before the send returns, as a copy, and
// swallowed safely when the handle names no window.

#include "platform/copy_data.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/window.h"

namespace {

using namespace platform;

struct Received {
    WindowHandle from;
    std::uintptr_t channel;
    std::size_t length;
    std::string text;
};

TEST(CopyDataTest, DeliveredSynchronouslyAsACopy) {
    MessageWindow receiver;
    std::vector<Received> got;
    char buffer[] = "Total responses = 2";
    receiver.SetCopyDataHandler([&](WindowHandle from, const CopyDataRecord& r) {
        got.push_back({from, r.channel, r.length, std::string(r.Text())});
        EXPECT_NE(r.data, buffer);  // the receiver works on its own copy
        const_cast<char*>(r.data)[0] = 'X';
        return true;
    });
    MessageWindow sender;
    EXPECT_EQ(SendCopyData(receiver.GetSafeHwnd(), sender.GetSafeHwnd(), 3, buffer, std::strlen(buffer) + 1),
              1);
    ASSERT_EQ(got.size(), 1u);  // handled before the send returned
    EXPECT_EQ(got[0].from, sender.GetSafeHwnd());
    EXPECT_EQ(got[0].channel, 3u);
    EXPECT_EQ(got[0].length, std::strlen(buffer) + 1);  // the terminating zero counts
    EXPECT_EQ(got[0].text, "Total responses = 2");
    EXPECT_EQ(buffer[0], 'T');  // the sender's bytes are untouched
}

TEST(CopyDataTest, EmptyAndUnterminatedRecords) {
    MessageWindow receiver;
    std::vector<std::string> texts;
    receiver.SetCopyDataHandler([&](WindowHandle, const CopyDataRecord& r) {
        texts.emplace_back(r.Text());
        return true;
    });
    SendCopyData(receiver.GetSafeHwnd(), 0, 25, "", 1);     // an empty line: just the zero
    SendCopyData(receiver.GetSafeHwnd(), 0, 25, "ABC", 3);  // no zero
    SendCopyData(receiver.GetSafeHwnd(), 0, 25, nullptr, 0);
    EXPECT_EQ(texts, (std::vector<std::string>{"", "ABC", ""}));
}

TEST(CopyDataTest, UnknownAndClosedHandlesAreIgnored) {
    EXPECT_EQ(SendCopyData(0, 0, 1, "x", 2), 0);
    EXPECT_EQ(SendCopyData(123456789, 0, 1, "x", 2), 0);
    WindowHandle closed = 0;
    {
        MessageWindow gone;
        gone.SetCopyDataHandler([](WindowHandle, const CopyDataRecord&) { return true; });
        closed = gone.GetSafeHwnd();
        EXPECT_TRUE(IsWindowHandle(closed));
    }
    EXPECT_FALSE(IsWindowHandle(closed));
    EXPECT_EQ(SendCopyData(closed, 0, 1, "x", 2), 0);
    // A new window never takes an old handle.
    MessageWindow fresh;
    EXPECT_NE(fresh.GetSafeHwnd(), closed);
}

TEST(CopyDataTest, HandlerMaySendAndCloseDuringDelivery) {
    MessageWindow caller;
    auto feed = std::make_unique<MessageWindow>();
    std::vector<std::string> log;
    caller.SetCopyDataHandler([&](WindowHandle from, const CopyDataRecord& r) {
        log.push_back("caller " + std::string(r.Text()));
        if (r.channel == 1) {
            // The caller answers the library from inside the delivery and
            // the library's window goes away.
            SendCopyData(from, caller.GetSafeHwnd(), 0, "HANGUP", 7);
            feed.reset();
        }
        return true;
    });
    feed->SetCopyDataHandler([&](WindowHandle, const CopyDataRecord& r) {
        log.push_back("feed " + std::string(r.Text()));
        return true;
    });
    const WindowHandle feed_handle = feed->GetSafeHwnd();
    EXPECT_EQ(SendCopyData(caller.GetSafeHwnd(), feed_handle, 1, "ERROR -109: x", 14), 1);
    EXPECT_EQ(SendCopyData(feed_handle, caller.GetSafeHwnd(), 0, "late", 5), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"caller ERROR -109: x", "feed HANGUP"}));
}

}  // namespace
