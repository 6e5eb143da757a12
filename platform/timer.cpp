#include "platform/timer.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/clock.h"
#include "platform/window.h"

namespace platform {
namespace {

constexpr unsigned kMinimumElapse = 10;

struct Entry {
    WindowHandle window = 0;
    unsigned id = 0;
    unsigned elapse = kMinimumElapse;
    TimerProc proc;
    std::int64_t next_due = 0;
    // Ticks missed while a tick ran collapse into one pending tick, as
    // timer messages did: the next one fires at once, the rhythm stays.
    bool pending = false;
    bool running = false;
    std::uint64_t serial = 0;
    std::unique_ptr<QTimer> qtimer;
};

struct Table {
    std::vector<std::shared_ptr<Entry>> entries;
    std::uint64_t next_serial = 1;
    unsigned next_free_id = 0x7F00;
    bool refused = false;
};

Table& TheTable() {
    static Table table;
    return table;
}

void Fire(std::uint64_t serial);
std::int64_t DueOf(const Entry& e);

void Arm(Entry& e) {
    Clock& clock = GetClock();
    e.next_due = clock.MonotonicMs() + e.elapse;
    e.pending = false;
    if (clock.IsManual() || !QCoreApplication::instance()) {
        if (e.qtimer) e.qtimer->stop();
        return;
    }
    if (!e.qtimer) {
        e.qtimer = std::make_unique<QTimer>();
        const std::uint64_t serial = e.serial;
        QObject::connect(e.qtimer.get(), &QTimer::timeout, [serial] { Fire(serial); });
    }
    e.qtimer->start(static_cast<int>(e.elapse));
}

std::shared_ptr<Entry> FindBySerial(std::uint64_t serial) {
    for (auto& e : TheTable().entries)
        if (e->serial == serial) return e;
    return nullptr;
}

// Runs one tick of a timer. A timer whose window has gone is dropped. A
// tick is not run again while the previous one of the same timer is still
// running (a callback that waits and pumps messages must not re-enter).
void Fire(std::uint64_t serial) {
    std::shared_ptr<Entry> e = FindBySerial(serial);
    if (!e || e->running) return;
    if (e->pending)
        e->pending = false;
    else
        e->next_due += e->elapse;
    e->running = true;
    if (e->proc) {
        TimerProc proc = e->proc;
        proc(e->window, e->id);
    } else if (Window* w = FromHandle(e->window)) {
        w->OnTimer(e->id);
    } else {
        KillTimer(e->window, e->id);
    }
    e->running = false;
    const std::int64_t now = GetClock().MonotonicMs();
    if (GetClock().IsManual() && e->next_due <= now) {
        e->pending = true;
        while (e->next_due <= now) e->next_due += e->elapse;
    }
}

std::int64_t DueOf(const Entry& e) {
    return e.pending ? GetClock().MonotonicMs() : e.next_due;
}

}  // namespace

unsigned SetTimer(WindowHandle window, unsigned id, unsigned elapse_ms, TimerProc proc) {
    Table& t = TheTable();
    if (t.refused) return 0;
    if (window == 0) {
        if (!proc) return 0;
        id = t.next_free_id++;
    } else if (!IsWindowHandle(window)) {
        return 0;
    }
    KillTimer(window, id);
    auto e = std::make_shared<Entry>();
    e->window = window;
    e->id = id;
    e->elapse = std::max(elapse_ms, kMinimumElapse);
    e->proc = std::move(proc);
    e->serial = t.next_serial++;
    Arm(*e);
    t.entries.push_back(std::move(e));
    return id;
}

bool KillTimer(WindowHandle window, unsigned id) {
    auto& entries = TheTable().entries;
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const auto& e) { return e->window == window && e->id == id; });
    if (it == entries.end()) return false;
    if ((*it)->qtimer) (*it)->qtimer->stop();
    entries.erase(it);
    return true;
}

void SetTimersRefusedForTesting(bool refuse) {
    TheTable().refused = refuse;
}

void ProcessPendingMessages() {
    if (!QCoreApplication::instance()) return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace detail {

void KillWindowTimers(WindowHandle window) {
    auto& entries = TheTable().entries;
    for (auto& e : entries)
        if (e->window == window && e->qtimer) e->qtimer->stop();
    std::erase_if(entries, [&](const auto& e) { return e->window == window; });
}

void RearmTimers() {
    for (auto& e : TheTable().entries) Arm(*e);
}

std::optional<std::int64_t> EarliestDueTimer() {
    std::optional<std::int64_t> best;
    for (const auto& e : TheTable().entries)
        if (!e->running && (!best || DueOf(*e) < *best)) best = DueOf(*e);
    return best;
}

void FireEarliestDueTimer(std::int64_t now_ms) {
    std::shared_ptr<Entry> best;
    for (const auto& e : TheTable().entries)
        if (!e->running && DueOf(*e) <= now_ms && (!best || DueOf(*e) < DueOf(*best))) best = e;
    if (best) Fire(best->serial);
}

}  // namespace detail
}  // namespace platform
