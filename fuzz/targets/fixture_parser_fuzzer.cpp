// libFuzzer target for the RAW fixture parser. Each input is parsed as it
// is and, so that most inputs get past the first line, once more after the
// fixture's first line.
//
// Rules checked: a failure names the line it stopped at (one of the text's
// lines) or the scan outside the range; a parsed fixture indexes each scan
// number once and at its own block, gives whole (m/z, intensity) pairs, no
// more numbers than the text can hold, an MS order of 1 or more, scans
// inside its range, and trailer labels that are unique per scan and hold no
// '='. Every blank-separated field of the input that the fixture's number
// reader takes must also be a whole number for the C library's strtod,
// strtoll or strtoull, with the same value.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "rawfile/fixture/fixture_backend.h"
#include "rawfile/fixture/fixture_parser.h"
#include "rawfile/fixture/number_text.h"

namespace {

using fuzz::Require;

void CheckParse(std::string_view text) {
    rawfile::FixtureFile file;
    std::string error;
    if (!rawfile::ParseFixture(text, &file, &error)) {
        Require(!error.empty(), "a failure gives a reason");
        if (error.rfind("line ", 0) == 0) {
            const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
            Require(std::stoul(error.substr(5)) <= lines && error.find(": ") != std::string::npos,
                    "a failure names one of the text's lines");
        } else {
            Require(error.rfind("scan ", 0) == 0 && error.find(" lies outside the range ") != std::string::npos,
                    "a failure that names no line names the scan outside the range");
        }
        return;
    }
    Require(file.scanIndex.size() == file.scans.size(), "each scan number is indexed once");
    size_t numbers = 0;
    for (size_t i = 0; i < file.scans.size(); ++i) {
        const rawfile::FixtureScan& scan = file.scans[i];
        const auto found = file.scanIndex.find(scan.number);
        Require(found != file.scanIndex.end() && found->second == i, "a scan number leads to its own block");
        Require(scan.number >= file.firstScan && scan.number <= file.lastScan, "scans lie inside the range");
        Require(scan.msOrder >= 1, "an MS order of 1 or more");
        Require(scan.pairs.size() % 2 == 0, "points come in (m/z, intensity) pairs");
        numbers += scan.pairs.size();
        for (size_t t = 0; t < scan.trailers.size(); ++t) {
            const std::string& label = scan.trailers[t].label;
            Require(!label.empty() && label.find('=') == std::string::npos, "a trailer label holds no '='");
            for (size_t u = 0; u < t; ++u) {
                Require(scan.trailers[u].label != label, "trailer labels are unique per scan");
            }
        }
    }
    // Every number takes a character and a blank or line break.
    Require(numbers <= text.size() / 2 + 1, "no more numbers than the text holds");
}

// The C library's reading of the whole field, where it reads it all.
template <typename Number, typename Convert>
bool CRead(const std::string& field, Convert convert, Number* value) {
    char* end = nullptr;
    errno = 0;
    *value = static_cast<Number>(convert(field.c_str(), &end));
    return end == field.c_str() + field.size() && errno == 0;
}

void CheckNumberField(const std::string& field) {
    double real = 0;
    if (rawfile::ReadNumber(field, &real)) {
        double c = 0;
        Require(CRead(field, [](const char* s, char** e) { return std::strtod(s, e); }, &c) &&
                    (c == real || (std::isnan(c) && std::isnan(real))),
                "a number the fixture reads is strtod's number");
    }
    int64_t whole = 0;
    if (rawfile::ReadNumber(field, &whole)) {
        int64_t c = 0;
        Require(CRead(field, [](const char* s, char** e) { return std::strtoll(s, e, 10); }, &c) && c == whole,
                "a whole number the fixture reads is strtoll's number");
    }
    uint64_t natural = 0;
    if (rawfile::ReadNumber(field, &natural)) {
        uint64_t c = 0;
        Require(field.find('-') == std::string::npos &&
                    CRead(field, [](const char* s, char** e) { return std::strtoull(s, e, 10); }, &c) && c == natural,
                "an unsigned number the fixture reads is strtoull's number");
    }
}

void CheckNumberFields(std::string_view text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(" \n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (end > start && end - start < 64 && text.substr(start, end - start).find('\0') == std::string_view::npos) {
            CheckNumberField(std::string(text.substr(start, end - start)));
        }
        start = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckParse(text);
    CheckNumberFields(text);
    const std::string firstLine = std::string(rawfile::kFixtureFirstLine) + "\n";
    if (text.substr(0, firstLine.size()) != firstLine) {
        CheckParse(firstLine + std::string(text));
    }
    return 0;
}
