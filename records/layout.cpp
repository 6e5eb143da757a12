#include "records/layout.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "records/layout_number.h"
#include "records/layout_parse.h"
#include "records/small_copy.h"

namespace records {

void AppendTextField(std::string& out, std::string_view text, int width) {
    if (width < 0) {
        out.append(text);
        return;
    }
    const auto w = static_cast<std::size_t>(width);
    if (text.size() >= w) {
        out.append(text.substr(0, w));
    } else {
        out.append(w - text.size(), ' ');
        out.append(text);
    }
}

namespace {

using layout_detail::Kind;
using layout_detail::Node;
using layout_detail::ParsedLayout;

enum class WalkEnd { Done, Failed, Looping };

// Runs through a parsed layout as a Fortran formatted transfer does and
// hands each step to the handler: repeat counts, nested groups, "/", and
// reversion when the end is reached with items left. The walk ends at the
// first data descriptor with no item left, or at the end of the layout
// when the items are used up. Items left over with no data descriptor to
// revert to would repeat the layout for ever: the walk ends as Looping.
//
// The handler offers: bool HasItem(), bool Data(const Node&) (false stops
// the walk as Failed), void Literal(std::string_view), void Skip(int),
// bool NewRecord() (false: nothing further is wanted, the walk is Done).
template <class Handler>
WalkEnd Walk(const ParsedLayout& layout, Handler& handler) {
    struct Frame {
        std::size_t open;
        int32_t left;
    };
    Frame stack[layout_detail::kMaxDepth + 1];
    int depth = 0;
    const std::vector<Node>& nodes = layout.nodes;
    std::size_t pc = 0;
    for (;;) {
        if (pc == nodes.size()) {
            if (!handler.HasItem()) return WalkEnd::Done;
            if (!layout.revertHasData) return WalkEnd::Looping;
            if (!handler.NewRecord()) return WalkEnd::Done;
            depth = 0;
            pc = static_cast<std::size_t>(layout.revertTo);
            continue;
        }
        const Node& node = nodes[pc];
        switch (node.kind) {
            case Kind::GroupOpen:
                stack[depth++] = Frame{pc, node.repeat};
                break;
            case Kind::GroupClose:
                if (--stack[depth - 1].left > 0) {
                    pc = stack[depth - 1].open;
                } else {
                    --depth;
                }
                break;
            case Kind::Skip:
                handler.Skip(node.width);
                break;
            case Kind::Literal:
                handler.Literal(layout.LiteralText(node));
                break;
            case Kind::NewRecord:
                for (int32_t r = 0; r < node.repeat; ++r) {
                    if (!handler.NewRecord()) return WalkEnd::Done;
                }
                break;
            case Kind::KeepRecord:
                break;
            case Kind::Integer:
            case Kind::Fixed:
            case Kind::Text:
                for (int32_t r = 0; r < node.repeat; ++r) {
                    if (!handler.HasItem()) return WalkEnd::Done;
                    if (!handler.Data(node)) return WalkEnd::Failed;
                }
                break;
        }
        ++pc;
    }
}

// ---------------------------------------------------------------- output

// The record being written: characters put straight into a buffer kept
// for the thread, which only grows, so a field costs no more than filling
// its positions.
class Sink {
public:
    Sink() : storage_(Storage()), base_(storage_.data()), room_(storage_.size()) {}
    Sink(const Sink&) = delete;
    Sink& operator=(const Sink&) = delete;

    // Room for n characters at the end of the record; the caller fills it.
    char* Room(std::size_t n) {
        if (room_ - used_ < n) Grow(n);
        char* const at = base_ + used_;
        used_ += n;
        return at;
    }
    void Put(const char* text, std::size_t n) { CopyShort(Room(n), text, n); }
    std::string_view Text() const { return std::string_view(base_, used_); }
    void Clear() { used_ = 0; }

private:
    static std::string& Storage() {
        thread_local std::string storage(512, ' ');
        return storage;
    }
    [[gnu::noinline]] void Grow(std::size_t n) {
        storage_.resize(std::max(storage_.size() * 2, used_ + n));
        base_ = storage_.data();
        room_ = storage_.size();
    }

    std::string& storage_;
    char* base_;
    std::size_t room_;
    std::size_t used_ = 0;
};

// A text under Aw (width >= 0), as AppendTextField: the first w
// characters, or the text right-aligned after blanks.
inline void PutText(Sink& sink, std::string_view text, std::size_t w) {
    char* const field = sink.Room(w);
    if (text.size() >= w) {
        CopyShort(field, text.data(), w);
    } else {
        const std::size_t blanks = w - text.size();
        FillShort(field, ' ', blanks);
        CopyShort(field + blanks, text.data(), text.size());
    }
}

// One item under an I, F or A descriptor.
[[gnu::noinline]] void PutItem(Sink& sink, Kind kind, int32_t width, int32_t decimals, const OutItem& item) {
    switch (kind) {
        case Kind::Integer: {
            char* const field = sink.Room(static_cast<std::size_t>(width));
            if (const auto* whole = std::get_if<long long>(&item)) {
                layout_detail::IntegerField(field, *whole, width);
            } else if (const auto* number = std::get_if<double>(&item)) {
                // A half rounds away from zero; beyond the range of a
                // 64-bit integer no width of I could hold it anyway.
                if (std::isfinite(*number) && std::fabs(*number) < 9.2e18) {
                    layout_detail::IntegerField(field, std::llround(*number), width);
                } else {
                    layout_detail::StarsField(field, width);
                }
            } else {
                layout_detail::StarsField(field, width);
            }
            break;
        }
        case Kind::Fixed: {
            char* const field = sink.Room(static_cast<std::size_t>(width));
            if (const auto* number = std::get_if<double>(&item)) {
                layout_detail::FixedField(field, *number, width, decimals);
            } else if (const auto* whole = std::get_if<long long>(&item)) {
                layout_detail::FixedField(field, static_cast<double>(*whole), width, decimals);
            } else {
                layout_detail::StarsField(field, width);
            }
            break;
        }
        default:
            if (const auto* text = std::get_if<std::string_view>(&item)) {
                if (width < 0) {
                    sink.Put(text->data(), text->size());
                } else {
                    PutText(sink, *text, static_cast<std::size_t>(width));
                }
            } else {
                const int32_t w = width < 0 ? 1 : width;
                layout_detail::StarsField(sink.Room(static_cast<std::size_t>(w)), w);
            }
            break;
    }
}

// The walk's handler for a write.
class Writer {
public:
    // Writes the first record into the sink; later records go to `more`
    // when given, and are not wanted otherwise.
    Writer(OutItems items, Sink& sink, std::string* first, std::vector<std::string>* more)
        : items_(items), sink_(sink), record_(first), more_(more) {}

    bool HasItem() const { return next_ < items_.size(); }

    bool NewRecord() {
        if (more_ == nullptr) return false;
        Finish();
        more_->emplace_back();
        record_ = &more_->back();
        sink_.Clear();
        return true;
    }

    void Literal(std::string_view text) { sink_.Put(text.data(), text.size()); }

    void Skip(int n) { FillShort(sink_.Room(static_cast<std::size_t>(n)), ' ', static_cast<std::size_t>(n)); }

    bool Data(const Node& node) {
        PutItem(sink_, node.kind, node.width, node.decimals, items_[next_++]);
        return true;
    }

    // Hands the record in the sink to its string (for several records).
    void Finish() {
        if (record_ != nullptr) record_->assign(sink_.Text());
    }

private:
    OutItems items_;
    std::size_t next_ = 0;
    Sink& sink_;
    std::string* record_;
    std::vector<std::string>* more_;
};

// Writes the first record of the items under the layout into the sink: by
// the flat pass when the items do not outlast it, by the walk otherwise.
void WriteFirst(const ParsedLayout& layout, OutItems items, Sink& sink) {
    if (layout.Flat() && items.size() <= layout.flatData) {
        const char* const texts = layout.stepTexts.data();
        const std::vector<layout_detail::Step>& steps = layout.steps;
        std::size_t next = 0;
        for (std::size_t i = 0;; ++i) {
            const layout_detail::Step& step = steps[i];
            sink.Put(texts + step.text, step.textSize);
            if (step.kind == Kind::Skip || next == items.size()) break;
            // A text under Aw, the commonest item of a line, is put here.
            const OutItem& item = items[next++];
            const auto* text = std::get_if<std::string_view>(&item);
            if (step.kind != Kind::Text || step.width < 0 || text == nullptr) {
                PutItem(sink, step.kind, step.width, step.decimals, item);
                continue;
            }
            const auto width = static_cast<std::size_t>(step.width);
            if (text->size() != width) {
                PutText(sink, *text, width);
                continue;
            }
            // The words of a text cut to their widths lie one after another
            // (Items keeps them so): while the next descriptors take the
            // characters that follow, at their full width, with nothing
            // between, the run is put in one move.
            std::size_t run = width;
            while (next < items.size()) {
                const layout_detail::Step& following = steps[i + 1];
                if (following.kind != Kind::Text || following.textSize != 0 || following.width < 0) break;
                const auto* more = std::get_if<std::string_view>(&items[next]);
                if (more == nullptr || more->data() != text->data() + run ||
                    more->size() != static_cast<std::size_t>(following.width))
                    break;
                run += more->size();
                ++next;
                ++i;
            }
            sink.Put(text->data(), run);
        }
        return;
    }
    Writer writer(items, sink, nullptr, nullptr);
    Walk(layout, writer);
}

// ----------------------------------------------------------------- input

// A value read but not yet stored: the targets change only when the whole
// read succeeds.
struct Pending {
    std::size_t item = 0;
    int64_t whole = 0;
    double number = 0;
    float single = 0;
    // A text field: where its characters start in the text, how many of
    // them lie inside the text (the rest are blanks), and its width.
    std::size_t textStart = 0;
    std::size_t textAvailable = 0;
    std::size_t width = 0;
};

class Reader {
public:
    Reader(std::string_view text, InItems items, std::vector<Pending>& pending)
        : text_(text), items_(items), pending_(pending) {
        pending_.clear();
    }

    bool HasItem() const { return next_ < items_.size(); }

    // The text is a single record: after it every field is blank.
    bool NewRecord() {
        beyond_ = true;
        return true;
    }

    void Literal(std::string_view text) { pos_ += text.size(); }

    void Skip(int n) { pos_ += static_cast<std::size_t>(n); }

    bool Data(const Node& node) {
        Pending value;
        value.item = next_;
        const InItem& target = items_[next_++];
        if (node.kind == Kind::Text) {
            std::string* const* text = std::get_if<std::string*>(&target);
            if (text == nullptr) return false;
            value.width = node.width < 0 ? (*text)->size() : static_cast<std::size_t>(node.width);
            Field(value.width, value.textStart, value.textAvailable);
            pending_.push_back(value);
            return true;
        }
        std::size_t start = 0;
        std::size_t available = 0;
        Field(static_cast<std::size_t>(node.width), start, available);
        layout_detail::NumberText number;
        const int decimals = node.kind == Kind::Fixed ? node.decimals : -1;
        if (!layout_detail::ScanNumber(text_.substr(start, available), decimals, number)) return false;
        bool fits = false;
        switch (target.index()) {
            case 0:
                fits = layout_detail::ToInteger(number, INT16_MIN, INT16_MAX, value.whole);
                break;
            case 1:
                fits = layout_detail::ToInteger(number, INT32_MIN, INT32_MAX, value.whole);
                break;
            case 2:
                fits = layout_detail::ToInteger(number, INT64_MIN, INT64_MAX, value.whole);
                break;
            case 3:
                fits = layout_detail::ToFloat(number, value.single);
                break;
            case 4:
                fits = layout_detail::ToDouble(number, value.number);
                break;
            default:
                return false;  // a text target under I or F
        }
        if (fits) pending_.push_back(value);
        return fits;
    }

    // Stores every value read; called once the whole read has succeeded.
    void Commit(std::string& scratch) const {
        for (const Pending& value : pending_) {
            const InItem& target = items_[value.item];
            switch (target.index()) {
                case 0:
                    *std::get<0>(target) = static_cast<int16_t>(value.whole);
                    break;
                case 1:
                    *std::get<1>(target) = static_cast<int32_t>(value.whole);
                    break;
                case 2:
                    *std::get<2>(target) = value.whole;
                    break;
                case 3:
                    *std::get<3>(target) = value.single;
                    break;
                case 4:
                    *std::get<4>(target) = value.number;
                    break;
                default:
                    StoreText(*std::get<5>(target), value, scratch);
                    break;
            }
        }
    }

private:
    // The field of `width` positions at the current position: where it
    // starts in the text and how many of its characters the text holds.
    void Field(std::size_t width, std::size_t& start, std::size_t& available) {
        start = 0;
        available = 0;
        if (!beyond_ && pos_ < text_.size()) {
            start = pos_;
            available = std::min(width, text_.size() - pos_);
        }
        pos_ += width;
    }

    // Aw into a text of length len: w >= len keeps the rightmost len
    // characters of the field, w < len the w characters followed by blanks.
    // Built aside first, as the target may be the text being read.
    void StoreText(std::string& target, const Pending& value, std::string& scratch) const {
        const std::size_t len = target.size();
        const std::size_t w = value.width;
        const std::string_view field = text_.substr(value.textStart, value.textAvailable);
        scratch.assign(len, ' ');
        const std::size_t skip = w >= len ? w - len : 0;
        for (std::size_t j = 0; j < len && skip + j < w; ++j) {
            const std::size_t k = skip + j;
            if (k < field.size()) scratch[j] = field[k];
        }
        target.assign(scratch);
    }

    std::string_view text_;
    InItems items_;
    std::vector<Pending>& pending_;
    std::size_t next_ = 0;
    std::size_t pos_ = 0;
    bool beyond_ = false;
};

// A number column: a layout of one F between texts, written with one
// number. The number to write and the size of the record, or nullptr when
// the write is not of that kind.
[[gnu::always_inline]] inline const double* OneNumber(const ParsedLayout& layout, OutItems items, std::size_t& size) {
    if (!layout.valid || !layout.OneFixed() || items.size() != 1) return nullptr;
    const auto* value = std::get_if<double>(&items[0]);
    if (value != nullptr) {
        const layout_detail::Step& number = layout.steps[0];
        size = number.textSize + static_cast<std::size_t>(number.width) + layout.steps[1].textSize;
    }
    return value;
}

// Writes that record at `at`: the text before, the number, the text after.
[[gnu::always_inline]] inline void PutOneNumber(const ParsedLayout& layout, double value, char* at) {
    const layout_detail::Step& number = layout.steps[0];
    const layout_detail::Step& after = layout.steps[1];
    const char* const texts = layout.stepTexts.data();
    CopyShort(at, texts + number.text, number.textSize);
    at += number.textSize;
    layout_detail::FixedField(at, value, number.width, number.decimals);
    at += number.width;
    CopyShort(at, texts + after.text, after.textSize);
}

}  // namespace

std::vector<std::string> WriteRecords(std::string_view layout, OutItems items) {
    std::vector<std::string> records;
    const ParsedLayout& parsed = layout_detail::CachedLayout(layout);
    if (!parsed.valid) return records;
    // The first record has a string of its own, as `records` reallocates
    // while the later ones are written.
    std::string first;
    Sink sink;
    Writer writer(items, sink, &first, &records);
    Walk(parsed, writer);
    writer.Finish();
    records.insert(records.begin(), std::move(first));
    return records;
}

std::string Write(std::string_view layout, OutItems items) {
    const ParsedLayout& parsed = layout_detail::CachedLayout(layout);
    if (!parsed.valid) return std::string();
    std::size_t size = 0;
    if (const double* value = OneNumber(parsed, items, size)) {
        std::string record(size, ' ');
        PutOneNumber(parsed, *value, record.data());
        return record;
    }
    Sink sink;
    WriteFirst(parsed, items, sink);
    return std::string(sink.Text());
}

void WriteTo(std::string& record, std::string_view layout, OutItems items) {
    const ParsedLayout& parsed = layout_detail::CachedLayout(layout);
    if (!parsed.valid) {
        record.clear();
        return;
    }
    std::size_t size = 0;
    if (const double* value = OneNumber(parsed, items, size)) {
        record.resize(size);
        PutOneNumber(parsed, *value, record.data());
        return;
    }
    Sink sink;
    WriteFirst(parsed, items, sink);
    record.assign(sink.Text());
}

void WriteInto(std::string& field, std::string_view layout, OutItems items) {
    const ParsedLayout& parsed = layout_detail::CachedLayout(layout);
    std::size_t size = 0;
    const double* const value = OneNumber(parsed, items, size);
    if (value != nullptr && size <= field.size()) {
        // A number column straight into its field, then blanks.
        PutOneNumber(parsed, *value, field.data());
        FillShort(field.data() + size, ' ', field.size() - size);
        return;
    }
    Sink sink;
    if (parsed.valid) WriteFirst(parsed, items, sink);
    const std::string_view record = sink.Text();
    const std::size_t kept = std::min(record.size(), field.size());
    CopyShort(field.data(), record.data(), kept);
    FillShort(field.data() + kept, ' ', field.size() - kept);
}

bool Read(std::string_view text, std::string_view layout, InItems items) {
    const ParsedLayout& parsed = layout_detail::CachedLayout(layout);
    if (!parsed.valid) return false;
    thread_local std::vector<Pending> pending;
    thread_local std::string scratch;
    Reader reader(text, items, pending);
    // Done means every target has its value: the walk only ends early for
    // want of items, reverting while any are left.
    if (Walk(parsed, reader) != WalkEnd::Done) return false;
    reader.Commit(scratch);
    return true;
}

bool IsNumberColumn(std::string_view layout, int& width, int& decimals) {
    const ParsedLayout& parsed = layout_detail::CachedLayout(layout);
    if (!parsed.valid || !parsed.OneFixed() || parsed.steps[0].textSize != 0) return false;
    const layout_detail::Step& after = parsed.steps[1];
    const std::string_view blanks = std::string_view(parsed.stepTexts).substr(after.text, after.textSize);
    if (blanks.find_first_not_of(' ') != std::string_view::npos) return false;
    width = parsed.steps[0].width;
    decimals = parsed.steps[0].decimals;
    return true;
}

bool IsValidLayout(std::string_view layout) {
    return layout_detail::CachedLayout(layout).valid;
}

}  // namespace records
