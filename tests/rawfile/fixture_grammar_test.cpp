// The RAW fixture text format: what each statement gives and what the
// parser refuses, with the line it names.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/com.h"
#include "rawfile/backend.h"
#include "rawfile/fixture/fixture_backend.h"

namespace {

using namespace rawfile;

std::unique_ptr<RawBackend> Parse(const std::string& body, std::string* error = nullptr) {
    Status status = kFailed;
    std::string reason;
    auto backend = MakeFixtureBackend("rawfixture 1\n" + body, &status, &reason);
    if (error != nullptr) *error = reason;
    EXPECT_EQ(backend != nullptr, status == kOk) << reason;
    return backend;
}

std::string ErrorOf(const std::string& body) {
    std::string error;
    EXPECT_EQ(Parse(body, &error), nullptr) << body;
    return error;
}

TEST(FixtureGrammar, StatementsGiveTheFilesAnswers) {
    auto backend = Parse(
        "# a comment\n"
        "\n"
        "created 45000.75\n"
        "scan 7\n"
        "filter  leading blank ms2 trailing blank \n"
        "rt +1.5\n"
        "trailer BSTR Scan Description:=a = b\n"
        "p 100.5 1e3\n"
        "points 101.25 0 102.125 7.5\n"
        "   # indented comment\n"
        "scan 5\n");
    ASSERT_NE(backend, nullptr);
    int32_t first = 0, last = 0;
    EXPECT_EQ(backend->GetFirstScan(&first), kOk);
    EXPECT_EQ(backend->GetLastScan(&last), kOk);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(last, 7);
    double date = 0;
    EXPECT_EQ(backend->GetCreationDate(&date), kOk);
    EXPECT_EQ(date, 45000.75);
    std::string filter;
    EXPECT_EQ(backend->GetFilterText(7, &filter), kOk);
    EXPECT_EQ(filter, " leading blank ms2 trailing blank ");
    EXPECT_EQ(backend->GetFilterText(5, &filter), kOk);
    EXPECT_EQ(filter, "");
    double minutes = 0;
    EXPECT_EQ(backend->GetRetentionTime(7, &minutes), kOk);
    EXPECT_EQ(minutes, 1.5);
    std::vector<double> pairs;
    EXPECT_EQ(backend->GetMassList(7, &pairs), kOk);
    EXPECT_EQ(pairs, (std::vector<double>{100.5, 1000, 101.25, 0, 102.125, 7.5}));
    EXPECT_EQ(backend->GetMassList(5, &pairs), kOk);
    EXPECT_TRUE(pairs.empty());
    int32_t order = 0;
    EXPECT_EQ(backend->GetMsOrder(7, &order), kOk);
    EXPECT_EQ(order, 2);
    rawfile::TrailerValue value;
    EXPECT_EQ(backend->GetTrailerValue(7, "Scan Description:", &value), kOk);
    EXPECT_EQ(value, rawfile::TrailerValue(std::string("a = b")));
    EXPECT_EQ(backend->SetCurrentController(0, 1), kOk);
    EXPECT_EQ(backend->SetCurrentController(4, 1), kFailed);
    EXPECT_EQ(backend->Close(), kOk);
}

TEST(FixtureGrammar, DoublesKeepAllTheirDigits) {
    auto backend = Parse("scan 1\nrt 0.1000000000000000055511151231257827\np 445.12003000000001 10234.559999999999\n");
    double minutes = 0;
    backend->GetRetentionTime(1, &minutes);
    EXPECT_EQ(minutes, 0.1);
    std::vector<double> pairs;
    backend->GetMassList(1, &pairs);
    EXPECT_EQ(pairs, (std::vector<double>{445.12003000000001, 10234.559999999999}));
}

TEST(FixtureGrammar, FilterTextKeepsEveryByteButTheCarriageReturn) {
    std::string body = "scan 1\r\nfilter FTMS + p";
    body.push_back('\0');
    body += "NSI ms\r\nrt 2\r\n";
    auto backend = Parse(body);
    ASSERT_NE(backend, nullptr);
    std::string filter;
    backend->GetFilterText(1, &filter);
    EXPECT_EQ(filter, std::string("FTMS + p\0NSI ms", 15));
}

TEST(FixtureGrammar, MsOrderComesFromOrderOrTheFilterText) {
    auto backend = Parse(
        "scan 1\nfilter FTMS + p NSI Full ms [350.00-1800.00]\n"
        "scan 2\nfilter ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1000.00]\n"
        "scan 3\nfilter ITMS + c NSI d Full ms3 445.12@cid35.00 300.10@cid35.00 [80.00-700.00]\n"
        "scan 4\nfilter FTMS + p NSI SIM\n"
        "scan 5\nfilter FTMS + p NSI Full ms2 445.12@hcd30.00\norder 3\n"
        "scan 6\norder 1\nfilter ITMS + c NSI d Full ms2 445.12@cid35.00\n");
    const int32_t expected[] = {1, 2, 3, 1, 3, 1};
    for (int32_t scan = 1; scan <= 6; ++scan) {
        int32_t order = 0;
        EXPECT_EQ(backend->GetMsOrder(scan, &order), kOk);
        EXPECT_EQ(order, expected[scan - 1]) << "scan " << scan;
    }
}

TEST(FixtureGrammar, RangeDecidesWhichScansExist) {
    auto backend = Parse("range 1 4\nscan 2\nrt 1\nscan 4\nrt 2\n");
    int32_t first = 0, last = 0;
    backend->GetFirstScan(&first);
    backend->GetLastScan(&last);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 4);
    double minutes = 0;
    std::string filter;
    std::vector<double> pairs;
    rawfile::TrailerValue value;
    int32_t order = 0;
    // Scan 3 lies in the range but has no block; 0 and 5 lie outside.
    for (int32_t scan : {0, 3, 5}) {
        EXPECT_EQ(backend->GetRetentionTime(scan, &minutes), kNoSuchScan);
        EXPECT_EQ(backend->GetFilterText(scan, &filter), kNoSuchScan);
        EXPECT_EQ(backend->GetMassList(scan, &pairs), kNoSuchScan);
        EXPECT_EQ(backend->GetTrailerValue(scan, "Charge State:", &value), kNoSuchScan);
        EXPECT_EQ(backend->GetMsOrder(scan, &order), kNoSuchScan);
    }
    EXPECT_EQ(backend->GetTrailerValue(2, "Charge State:", &value), kNoSuchLabel);

    auto empty = Parse("");
    empty->GetFirstScan(&first);
    empty->GetLastScan(&last);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 0);
    auto backwards = Parse("range 10 3\n");
    backwards->GetFirstScan(&first);
    backwards->GetLastScan(&last);
    EXPECT_EQ(first, 10);
    EXPECT_EQ(last, 3);
}

TEST(FixtureGrammar, BrokenTextsAreRefusedNamingTheLine) {
    struct Case {
        std::string body;
        std::string error;
    };
    const Case cases[] = {
        {"scan 1\nbogus 3\n", "line 3: unknown statement 'bogus'"},
        {"filter ms2\n", "line 2: 'filter' belongs to a scan: write 'scan <number>' first"},
        {"p 1 2\n", "line 2: 'p' belongs to a scan: write 'scan <number>' first"},
        {"scan 1\nscan 1\n", "line 3: scan 1 given twice"},
        {"scan x\n", "line 2: scan needs a scan number"},
        {"scan 1\nrt 1\nrt 2\n", "line 4: 'rt' given twice"},
        {"scan 1\nfilter a\nfilter b\n", "line 4: 'filter' given twice"},
        {"scan 1\nrt 1,5\n", "line 3: rt needs minutes"},
        {"scan 1\norder 0\n", "line 3: order needs a number from 1"},
        {"scan 1\np 1\n", "line 3: p needs one m/z and one intensity"},
        {"scan 1\np 1 2 3 4\n", "line 3: p needs one m/z and one intensity"},
        {"scan 1\npoints 1 2 3\n", "line 3: points come as m/z and intensity pairs"},
        {"scan 1\npoints 1  2\n", "line 3: points need numbers separated by single blanks"},
        {"scan 1\npoints\n", "line 3: points come as m/z and intensity pairs"},
        {"created 1\ncreated 2\n", "line 3: 'created' given twice"},
        {"created soon\n", "line 2: created needs an automation date"},
        {"range 1\n", "line 2: range needs a first and a last scan number"},
        {"scan 1\nrange 1 2\n", "line 3: 'range' belongs before the first scan"},
        {"range 1 2\nscan 3\n", "scan 3 lies outside the range 1 to 2"},
        {"scan 1\ntrailer I2 Charge State:\n", "line 3: trailer needs <type> <label>=<value>"},
        {"scan 1\ntrailer I2 =2\n", "line 3: trailer needs <type> <label>=<value>"},
        {"scan 1\ntrailer I3 Charge State:=2\n", "line 3: unknown trailer type 'I3'"},
        {"scan 1\ntrailer I2 Charge State:=2\ntrailer R8 Charge State:=2\n",
         "line 4: trailer 'Charge State:' given twice"},
        {"fail opening\n", "line 2: unknown operation to fail 'opening'"},
        {"fail open 0\n", "line 2: a failure code cannot be 0 (that is success)"},
        {"scan 1\nfail first\n", "line 3: fail first belongs before the first scan"},
        {"fail rt\nfail rt 3\n", "line 3: fail rt given twice"},
        {"scan 1\nfail trailer:A:\nfail trailer:A: 4\n", "line 4: failure of trailer 'A:' given twice"},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.body), c.error) << c.body;

    Status status = kOk;
    std::string error;
    EXPECT_EQ(MakeFixtureBackend("rawfixture 2\nscan 1\n", &status, &error), nullptr);
    EXPECT_EQ(status, kDamaged);
    EXPECT_EQ(error, "line 1: not a RAW fixture");
    EXPECT_EQ(MakeFixtureBackend("", &status, &error), nullptr);
    EXPECT_EQ(error, "line 1: not a RAW fixture");
}

TEST(FixtureGrammar, APlusSignMayNotStandBeforeAMinusSign) {
    EXPECT_EQ(ErrorOf("scan +-1\n"), "line 2: scan needs a scan number");
    EXPECT_EQ(ErrorOf("scan 1\nrt +-1.5\n"), "line 3: rt needs minutes");
    EXPECT_EQ(ErrorOf("range +-2 5\n"), "line 2: range needs a first and a last scan number");
    EXPECT_EQ(ErrorOf("scan 1\npoints 100 +-2\n"), "line 3: points need numbers separated by single blanks");
    for (const char* line : {"I4 A:=+-5", "I8 A:=+-5", "R4 A:=+-1", "R8 A:=+-1.5", "VT3 A:=+-5"}) {
        EXPECT_EQ(ErrorOf(std::string("scan 1\ntrailer ") + line + "\n").substr(0, 8), "line 3: ") << line;
    }
    EXPECT_NE(Parse("scan 1\nrt +1.5\ntrailer I4 A:=+5\n"), nullptr);  // a plus sign alone still reads
}

TEST(FixtureGrammar, TrailerValuesMustFitTheirType) {
    const char* bad[] = {"I1 A:=128",         "I1 A:=-129",   "UI1 A:=256",       "UI1 A:=-1",
                         "I2 A:=32768",       "UI2 A:=65536", "I4 A:=2147483648", "INT A:=-2147483649",
                         "UI4 A:=4294967296", "UINT A:=-1",   "UI8 A:=-1",        "I8 A:=9223372036854775808",
                         "R8 A:=abc",         "R4 A:=",       "I4 A:=1.5",        "VT8192 A:=1",
                         "VT16392 A:=x",      "VTx A:=1",     "VT12 A:=1.5"};
    for (const char* line : bad) {
        std::string error = ErrorOf(std::string("scan 1\ntrailer ") + line + "\n");
        EXPECT_EQ(error.substr(0, 8), "line 3: ") << line;
    }
}

TEST(FixtureGrammar, ScriptedOpenFailureAnswersItsCode) {
    Status status = kOk;
    EXPECT_EQ(MakeFixtureBackend("rawfixture 1\nfail open\n", &status), nullptr);
    EXPECT_EQ(status, kScriptedFailure);
    EXPECT_EQ(MakeFixtureBackend("rawfixture 1\nfail open -2147467259\n", &status), nullptr);
    EXPECT_EQ(status, -2147467259);
}

}  // namespace

namespace {

// The example in the format's README is a fixture that opens and says what it shows.
TEST(FixtureGrammar, ReadmeExampleIsAValidFixture) {
    std::ifstream readme(std::filesystem::path(EXAMPLES_DIR) / ".." / "src" / "rawfile" / "fixture" / "README.md");
    ASSERT_TRUE(readme) << "README beside the fixture backend";
    std::string line;
    while (std::getline(readme, line) && line != "## Example") {}
    std::string text;
    while (std::getline(readme, line)) {
        if (line.rfind("    ", 0) == 0) text += line.substr(4) + "\n";
    }
    rawfile::Status status = rawfile::kFailed;
    std::string error;
    auto backend = rawfile::MakeFixtureBackend(text, &status, &error);
    ASSERT_NE(backend, nullptr) << error;
    rawfile::TrailerValue value;
    EXPECT_EQ(backend->GetTrailerValue(2, "Charge State:", &value), rawfile::kOk);
    EXPECT_TRUE(std::holds_alternative<int16_t>(value));
    EXPECT_EQ(backend->GetTrailerValue(2, "Ion Injection Time (ms):", &value), rawfile::kScriptedFailure);
    std::vector<double> pairs;
    EXPECT_EQ(backend->GetMassList(1, &pairs), rawfile::kOk);
    EXPECT_EQ(pairs.size(), 10u);
}

}  // namespace
