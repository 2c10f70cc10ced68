// libFuzzer target for one scan event and its filter text. The first input
// byte picks one of the known event layouts (every preamble size, with the
// reaction size and trailing lists of the older versions and of version 66),
// the second the filter mass precision; the rest is the event.
//
// Rules checked: reading and stepping over an event agree on whether it
// fits and on where it ends; a read event ends exactly where its counts say;
// the filter text has a known status, is built the same way twice, leaves
// the output alone on failure, and when built is printable ASCII ending in
// one bracketed list with one entry per mass range. Every mass of the event
// printed with the precision's decimals has exactly that many decimals and
// reads back within half a unit of the last decimal (and the rounding to 15
// significant digits) of the mass.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "rawfile/native/file_header.h"
#include "rawfile/native/filter_text.h"
#include "rawfile/native/number_format.h"
#include "rawfile/native/scan_event.h"

namespace {

using fuzz::Require;
using rawfile::Status;
using rawfile::native::ByteReader;
using rawfile::native::EventLayout;
using rawfile::native::ScanEvent;

bool SameLayout(const EventLayout& a, const EventLayout& b) {
    return a.preambleSize == b.preambleSize && a.wordAfterPreamble == b.wordAfterPreamble &&
           a.reactionSize == b.reactionSize && a.trailingLists == b.trailingLists;
}

// Every layout a version names or the stream walk may retry with.
std::vector<EventLayout> KnownLayouts() {
    std::vector<EventLayout> layouts;
    const auto add = [&layouts](const EventLayout& layout) {
        if (std::none_of(layouts.begin(), layouts.end(),
                         [&layout](const EventLayout& known) { return SameLayout(known, layout); })) {
            layouts.push_back(layout);
        }
    };
    for (uint32_t version = rawfile::native::kOldestVersion; version <= rawfile::native::kNewestVersion; ++version) {
        const EventLayout own = rawfile::native::EventLayoutFor(version);
        add(own);
        for (const EventLayout& other : rawfile::native::AlternativeEventLayouts(own)) {
            add(other);
        }
    }
    return layouts;
}

// The u32 count at `at` of the event bytes (the caller knows it is there).
uint64_t CountAt(const uint8_t* data, uint64_t at) {
    uint32_t count = 0;
    std::memcpy(&count, data + at, sizeof count);
    return count;
}

// Where a successfully read event must end, from its counts.
uint64_t ExpectedEnd(const uint8_t* data, const EventLayout& layout, const ScanEvent& event) {
    uint64_t end = layout.preambleSize + (layout.wordAfterPreamble ? 4 : 0);
    end += 4 + event.reactions.size() * layout.reactionSize;
    end += 4 + event.massRanges.size() * 16;
    end += 4 + event.coefficients.size() * 8;
    end += 4 + event.sourceFragmentationEnergies.size() * 8;
    for (int i = 1; i < layout.trailingLists; ++i) {
        end += 4 + CountAt(data, end) * 8;
    }
    return end;
}

// Reactions the filter text lists (for telling a damaged event apart).
size_t ListedReactions(const ScanEvent& event) {
    if (event.msOrder == 1) {
        return 0;
    }
    size_t count = event.msOrder >= 1 ? static_cast<size_t>(event.msOrder) - 1 : 1;
    if (count > 0 && event.supplementalActivation == 1) {
        ++count;
    }
    return count;
}

void CheckFilterText(const ScanEvent& event, uint32_t precision) {
    const std::string untouched = "\x01untouched";
    std::string text = untouched;
    const Status status = rawfile::native::BuildFilterText(event, precision, &text);
    Require(status == rawfile::kOk || status == rawfile::kUnsupported || status == rawfile::kDamaged,
            "filter text status is ok, unsupported or damaged");
    std::string again = untouched;
    Require(rawfile::native::BuildFilterText(event, precision, &again) == status && again == text,
            "filter text is built the same way twice");
    if (status != rawfile::kOk) {
        Require(text == untouched, "a failed filter text leaves the output alone");
        if (status == rawfile::kDamaged) {
            Require(event.reactions.size() < ListedReactions(event), "damaged only for missing reactions");
        }
        return;
    }
    Require(!text.empty() && text.back() == ']', "filter text ends in the mass range list");
    Require(std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; }),
            "filter text is printable ASCII");
    Require(std::count(text.begin(), text.end(), '[') == 1 && std::count(text.begin(), text.end(), ']') == 1,
            "one bracketed list");
    const std::string ranges = text.substr(text.find('['));
    const size_t commas = static_cast<size_t>(std::count(ranges.begin(), ranges.end(), ','));
    Require(commas == (event.massRanges.empty() ? 0 : event.massRanges.size() - 1), "one list entry per mass range");
    if (precision > static_cast<uint32_t>(rawfile::native::kMostDecimals)) {
        Require(event.massRanges.empty() && ListedReactions(event) == 0, "masses are never printed past 20 decimals");
    }
}

void CheckNumber(double value, uint32_t decimals) {
    std::string text = "untouched";
    const bool printed = rawfile::native::FormatFixed(value, static_cast<int>(decimals), &text);
    Require(printed == (std::isfinite(value) && decimals <= static_cast<uint32_t>(rawfile::native::kMostDecimals)),
            "finite numbers print with 0 to 20 decimals");
    if (!printed) {
        Require(text == "untouched", "a number that cannot print leaves the text alone");
        return;
    }
    size_t at = text[0] == '-' ? 1 : 0;
    const size_t point = text.find('.');
    Require(decimals == 0 ? point == std::string::npos : point != std::string::npos && text.size() - point - 1 == decimals,
            "a number has the wanted decimals");
    const size_t integerEnd = point == std::string::npos ? text.size() : point;
    Require(integerEnd > at, "a number has an integer part");
    for (; at < text.size(); ++at) {
        Require(at == point || (text[at] >= '0' && text[at] <= '9'), "a number is digits and one point");
    }
    const double back = std::strtod(text.c_str(), nullptr);
    if (std::isinf(back)) {
        // Rounded to 15 digits, the largest doubles print above the largest double.
        Require(std::fabs(value) >= 1.797693134862315e308, "only the largest doubles print past the double range");
        return;
    }
    const double unit = std::pow(10.0, -static_cast<double>(decimals));
    const double slack = 0.5 * unit + std::fabs(value) * 1e-14 + 1e-300;
    Require(std::fabs(back - value) <= slack * (1 + 1e-9), "a number reads back within half its last decimal");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<EventLayout> layouts = KnownLayouts();
    fuzz::Controls controls(data, size);
    const EventLayout& layout = layouts[controls.U8() % layouts.size()];
    const uint32_t precision = controls.U8() % 24;  // 21 to 23: more decimals than can be printed
    const uint8_t* bytes = controls.rest();
    const size_t length = controls.restSize();

    ByteReader in(bytes, length);
    ScanEvent event;
    const bool read = rawfile::native::ReadScanEvent(in, layout, &event);
    Require(read == in.ok(), "read result is the cursor's state");

    ByteReader skipped(bytes, length);
    const bool stepped = rawfile::native::SkipScanEvent(skipped, layout);
    Require(stepped == read, "reading and stepping over an event agree that it fits");
    if (!read) {
        return 0;
    }
    Require(skipped.position() == in.position(), "reading and stepping over an event end at the same byte");
    Require(in.position() == ExpectedEnd(bytes, layout, event), "the event ends where its counts say");
    Require(in.position() <= length, "the event lies inside the input");

    CheckFilterText(event, precision);
    for (const rawfile::native::MassRange& range : event.massRanges) {
        CheckNumber(range.low, precision);
        CheckNumber(range.high, precision);
    }
    for (const rawfile::native::Reaction& reaction : event.reactions) {
        CheckNumber(reaction.precursorMz, precision);
        CheckNumber(reaction.collisionEnergy, 2);
    }
    return 0;
}
