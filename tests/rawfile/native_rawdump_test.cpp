// The rawdump tool: what it prints for a real RAW file reads back to exactly
// what the backend answers, its instrument identification equals Thermo's
// library's, and a file it cannot open is reported with the reader's reason.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "rawfile/native/native_backend.h"
#include "rawfile/native_json.h"
#include "support/real_files.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

using native_test::JsonValue;
using testing_support::RunProgram;

const std::filesystem::path kDataDir = SHARED_DATA_DIR;

std::vector<JsonValue> ParseLines(const std::string& out) {
    std::vector<JsonValue> lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        JsonValue value;
        std::string error;
        EXPECT_TRUE(native_test::ParseJson(line, &value, &error)) << error << " in " << line.substr(0, 200);
        lines.push_back(std::move(value));
    }
    return lines;
}

TEST(NativeRawdump, PrintsEveryScanSoThatItsNumbersReadBackBitForBit) {
    const std::filesystem::path path = kDataDir / "small.RAW";
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << "real RAW data not available";
    }
    const auto result = RunProgram(RAWDUMP_BIN, {path.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<JsonValue> lines = ParseLines(result.out);
    ASSERT_EQ(lines.size(), 49u);
    const JsonValue& file = lines[0];
    EXPECT_EQ(file["version"].number, 57);
    EXPECT_EQ(file["first_scan"].number, 1);
    EXPECT_EQ(file["last_scan"].number, 48);
    EXPECT_EQ(file["creation_date"].number, 38553.614147881941);
    ASSERT_FALSE(file["trailer_header"].items.empty());
    EXPECT_EQ(file["trailer_header"].items[0]["label"].text, "AGC:");
    EXPECT_EQ(file["trailer_header"].items[0]["type"].text, "ONOFF");

    rawfile::Status status = 0;
    const auto backend = rawfile::OpenNativeBackend(path.string(), &status);
    ASSERT_NE(backend, nullptr);
    for (size_t i = 1; i < lines.size(); ++i) {
        const JsonValue& line = lines[i];
        const auto scan = static_cast<int32_t>(line["scan"].number);
        EXPECT_EQ(scan, static_cast<int32_t>(i));
        std::string filter;
        ASSERT_EQ(backend->GetFilterText(scan, &filter), rawfile::kOk);
        EXPECT_EQ(line["filter"].text, filter);
        double minutes = 0;
        ASSERT_EQ(backend->GetRetentionTime(scan, &minutes), rawfile::kOk);
        EXPECT_EQ(std::bit_cast<uint64_t>(line["rt_min"].number), std::bit_cast<uint64_t>(minutes));
        std::vector<double> pairs;
        ASSERT_EQ(backend->GetMassList(scan, &pairs), rawfile::kOk);
        const auto& points = line["points"].items;
        ASSERT_EQ(points.size() * 2, pairs.size()) << "scan " << scan;
        for (size_t p = 0; p < points.size(); ++p) {
            ASSERT_EQ(std::bit_cast<uint64_t>(points[p].numbers.at(0)), std::bit_cast<uint64_t>(pairs[2 * p]));
            ASSERT_EQ(std::bit_cast<uint64_t>(points[p].numbers.at(1)), std::bit_cast<uint64_t>(pairs[2 * p + 1]));
        }
    }
    // Typed trailer values carry their tags.
    const JsonValue& trailer = lines[1]["trailer"];
    ASSERT_GE(trailer.items.size(), 4u);
    EXPECT_EQ(trailer.items[0]["type"].text, "BOOL");
    EXPECT_EQ(trailer.items[1]["type"].text, "I2");
    EXPECT_EQ(trailer.items[2]["label"].text, "Ion Injection Time (ms):");
    EXPECT_EQ(trailer.items[2]["type"].text, "R4");
    EXPECT_EQ(static_cast<float>(trailer.items[2]["value"].number), 68.227485656738281f);
}

TEST(NativeRawdump, WithoutPeaksPrintsPointCountsAndAFileWithoutScansPrintsItsHeaderOnly) {
    const std::filesystem::path tsq = kDataDir / "tsq_quantum.raw";
    const std::filesystem::path empty = kDataDir / "thermo.raw";
    if (!std::filesystem::exists(tsq) || !std::filesystem::exists(empty)) {
        GTEST_SKIP() << "real RAW data not available";
    }
    auto result = RunProgram(RAWDUMP_BIN, {"--no-peaks", tsq.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<JsonValue> lines = ParseLines(result.out);
    ASSERT_EQ(lines.size(), 79u);
    EXPECT_EQ(lines[1]["filter"].text, "+ p ESI Q1MS [181.653-182.582, 507.779-508.708, 996.969-997.898]");
    EXPECT_EQ(lines[1]["point_count"].number, 42);
    EXPECT_EQ(lines[1].Find("points"), nullptr);

    result = RunProgram(RAWDUMP_BIN, {empty.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    lines = ParseLines(result.out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["first_scan"].number, 1);  // the empty range the backend answers
    EXPECT_EQ(lines[0]["last_scan"].number, 0);
    EXPECT_TRUE(lines[0]["trailer_header"].items.empty());
}

TEST(NativeRawdump, PrintsTheInstrumentOfEveryReferenceDump) {
    if (testing_support::ReferenceDumps().empty()) {
        GTEST_SKIP() << "real RAW data not available";
    }
    // Each dump goes with the RAW file of its own name here (a dump may
    // record the name the file had where it was made).
    for (const testing_support::ReferenceDump& reference : testing_support::ReferenceDumps()) {
        std::string text;
        std::string error;
        JsonValue dump;
        ASSERT_FALSE(reference.rawName.empty()) << "no RAW file for " << reference.path;
        ASSERT_TRUE(native_test::ReadGzipFile(reference.path.string(), &text) &&
                    native_test::ParseJson(text, &dump, &error))
            << reference.path << error;
        const std::string& name = reference.rawName;
        const auto result = RunProgram(RAWDUMP_BIN, {"--no-peaks", (kDataDir / name).string()});
        ASSERT_EQ(result.status, 0) << result.err;
        const JsonValue first = ParseLines(result.out.substr(0, result.out.find('\n'))).at(0);
        for (const char* field : {"name", "model", "serial_number", "software_version", "hardware_version"}) {
            EXPECT_EQ(first["instrument"][field].text, dump["file"]["instrument"][field].text) << name << ": " << field;
        }
        // The trailer header's type names are the library's.
        const std::vector<JsonValue>& fields = first["trailer_header"].items;
        const std::vector<JsonValue>& expected = dump["file"]["trailer_header"].items;
        ASSERT_EQ(fields.size(), expected.size()) << name;
        for (size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(fields[i]["type"].text, expected[i]["data_type"].text) << name << ": trailer field " << i;
        }
    }
}

TEST(NativeRawdump, ADamagedInstrumentBlockGivesEmptyTextsAndLeavesTheFileReadable) {
    if (!std::filesystem::exists(kDataDir / "small.RAW")) {
        GTEST_SKIP() << "real RAW data not available";
    }
    std::string raw = testing_support::ReadFile(kDataDir / "small.RAW");
    const size_t at = raw.find(std::string("\x06\0\0\0L\0T\0Q\0 \0F\0T\0", 16));  // the name "LTQ FT" as stored
    ASSERT_NE(at, std::string::npos);
    raw.replace(at, 4, "\xff\xff\xff\x7f");  // its length: far past the end of the file
    testing_support::TempDir dir;
    const auto result = RunProgram(RAWDUMP_BIN, {"--no-peaks", dir.Write("small.RAW", raw).string()});
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 49) << result.err;
    EXPECT_NE(result.out.find(R"("instrument":{"name":"","model":"","serial_number":"","software_version":"",)"
                              R"("hardware_version":""})"),
              std::string::npos);
}

// A file rawdump cannot open and the reason it gives.
struct OpenFailureCase {
    const char* name;                      // made in a temp folder; "." is the folder itself
    std::string (*make)(std::string raw);  // its content from a real RAW file's; null: nothing written
    const char* reason;
};

const OpenFailureCase kOpenFailureCases[] = {
    {"notes.raw", [](std::string) { return std::string("plain text\n"); }, "not a Thermo RAW file"},
    {"header.raw", [](std::string raw) { return raw.substr(0, 1000); }, "truncated or damaged header"},
    {"version.raw",
     [](std::string raw) {
         raw[36] = 70;
         return raw;
     },  // the version's low byte
     "format version 70 is not supported (57 to 66 are)"},
    {"half.raw", [](std::string raw) { return raw.substr(0, raw.size() / 2); }, "truncated or damaged file"},
    {"missing.raw", nullptr, "cannot read the file (No such file or directory)"},
    {".", nullptr, "cannot read the file (Is a directory)"},
};

TEST(NativeRawdump, SaysWhyAFileCannotBeOpened) {
    if (!std::filesystem::exists(kDataDir / "small.RAW")) {
        GTEST_SKIP() << "real RAW data not available";
    }
    const std::string raw = testing_support::ReadFile(kDataDir / "small.RAW");
    testing_support::TempDir dir;
    for (const OpenFailureCase& row : kOpenFailureCases) {
        const auto path = row.make != nullptr ? dir.Write(row.name, row.make(raw)) : dir.path() / row.name;
        const auto result = RunProgram(RAWDUMP_BIN, {path.string()});
        EXPECT_EQ(result.status, 1) << row.name;
        EXPECT_EQ(result.out + result.err, "rawdump: cannot open " + path.string() + ": " + row.reason + "\n");
    }
}

// Runs without a file to read: the exit status and how each output begins
// (an empty beginning: that output stays empty).
struct ArgumentCase {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
};

const ArgumentCase kArgumentCases[] = {
    {{"--help"}, 0, "usage: rawdump [--no-peaks] <file.raw>\n       rawdump --help | --version\n\nPrints", ""},
    {{"--version"}, 0, "rawdump " PROGRAM_VERSION "\n", ""},
    {{}, 2, "", "usage: rawdump [--no-peaks] <file.raw>\n"},
    {{"--bogus", "file.raw"}, 2, "", "usage: rawdump"},
    {{"a.raw", "b.raw"}, 2, "", "usage: rawdump"},
};

bool Begins(const std::string& text, const std::string& start) {
    return text.starts_with(start) && text.empty() == start.empty();
}

TEST(NativeRawdump, AnswersHelpVersionAndUsageErrors) {
    for (const ArgumentCase& row : kArgumentCases) {
        const auto result = RunProgram(RAWDUMP_BIN, row.args);
        EXPECT_EQ(result.status, row.status) << testing::PrintToString(row.args);
        EXPECT_TRUE(Begins(result.out, row.out) && Begins(result.err, row.err))
            << testing::PrintToString(row.args) << "\nout: " << result.out << "\nerr: " << result.err;
    }
}

}  // namespace

TEST(NativeRawdump, AFileCutWhileItIsReadFailsTheRestOfItsScansWithoutASignal) {
    const std::filesystem::path sample = kDataDir / "sample.raw";
    if (!std::filesystem::exists(sample)) GTEST_SKIP() << "real RAW data not available";
    testing_support::TempDir dir;
    const std::string bytes = testing_support::ReadFile(sample);
    const std::filesystem::path copy = dir.Write("copy.raw", bytes);
    // rawdump writes far more than a pipe holds: once the first scan's line
    // is read and the pipe has filled, it waits, with the file open, while
    // the file is cut to a third.
    const std::string command = std::string(RAWDUMP_BIN) + " '" + copy.string() + "'";
    FILE* out = popen(command.c_str(), "r");
    ASSERT_NE(out, nullptr);
    std::string text;
    char buffer[4096];
    while (text.find("\n{\"scan\":2,") == std::string::npos) {
        const size_t got = std::fread(buffer, 1, sizeof buffer, out);
        ASSERT_GT(got, 0u) << "rawdump ended early: " << text.substr(0, 300);
        text.append(buffer, got);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::filesystem::resize_file(copy, bytes.size() / 3);
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, out)) > 0;) text.append(buffer, got);
    const int status = pclose(out);
    ASSERT_TRUE(WIFEXITED(status)) << "rawdump ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::vector<JsonValue> lines = ParseLines(text);
    ASSERT_EQ(lines.size(), 575u);  // the file line and every scan's
    EXPECT_NE(lines.back().Find("mass_list_error"), nullptr) << "the last scan was read whole after the cut";
}
