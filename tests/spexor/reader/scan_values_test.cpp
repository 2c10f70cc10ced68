// Trailer values of every type, retention times and mass lists through both
// readers, with their failure lines and fallback values, and the release of
// every string, variant and array the component hands back.
#include <string>
#include <utility>

#include "gtest/gtest.h"
#include "reader_fakes.h"
#include "reader_test_support.h"

namespace {

const std::string kFixture =
    "rawfixture 1\n"
    "scan 1\n"
    "filter FTMS + p NSI Full ms [350.00-1800.00]\n"
    "rt 1.5\n"
    "points 400.5 10 401.25 20.5 402.125 30\n"
    "trailer I1 I1:=-5\n"
    "trailer I2 I2:=-300\n"
    "trailer UI1 UI1:=250\n"
    "trailer UI2 UI2:=65000\n"
    "trailer I4 I4:=-70000\n"
    "trailer UI4 UI4:=4294967295\n"
    "trailer INT INT:=-7\n"
    "trailer UINT UINT:=4000000000\n"
    "trailer I8 I8:=4294967301\n"
    "trailer UI8 UI8:=18446744069414584322\n"
    "trailer R4 R4:=0.1\n"
    "trailer R8 R8:=445.1187\n"
    "trailer BSTR BSTR:=twelve\n"
    "trailer I2 Charge State:=0\n"
    "scan 2\n"
    "filter ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1000.00]\n"
    "points 150.5 30 250.75 45\n"
    "scan 3\n"
    "filter ITMS + c NSI d Full ms2 446.12@cid35.00 [110.00-1000.00]\n"
    "scan 4\n"
    "filter FTMS + p NSI Full ms [350.00-1800.00]\n"
    "fail rt\n"
    "fail masslist\n"
    "fail trailer\n";

class ScanValues : public testing::TestWithParam<ReaderKind> {
protected:
    void SetUp() override {
        before = platform::CurrentLiveResources();
        session.Open();
    }
    void TearDown() override {
        session.reader->Close();
        platform::LiveResources after = platform::CurrentLiveResources();
        EXPECT_EQ(before.strings, after.strings);
        EXPECT_EQ(before.arrays, after.arrays);
        EXPECT_EQ(before.invalidReleases, after.invalidReleases);
    }

    int Int(const std::string& label, int scan = 1) { return session.reader->GetTrailerInt(scan, label); }
    double Double(const std::string& label, int scan = 1) { return session.reader->GetTrailerDouble(scan, label); }

    platform::LiveResources before;
    ReaderSession session{GetParam(), kFixture};
    CallLog log{session.dir.path() / "calls.txt"};
};

TEST_P(ScanValues, IntegerTrailerOfEveryIntegerType) {
    std::string messages = StderrOf([&] {
        EXPECT_EQ(-5, Int("I1:"));
        EXPECT_EQ(-300, Int("I2:"));
        EXPECT_EQ(250, Int("UI1:"));
        EXPECT_EQ(65000, Int("UI2:"));
        EXPECT_EQ(-70000, Int("I4:"));
        EXPECT_EQ(-1, Int("UI4:"));
        EXPECT_EQ(-7, Int("INT:"));
        EXPECT_EQ(static_cast<int>(4000000000u), Int("UINT:"));
        EXPECT_EQ(5, Int("I8:"));   // 2^32 + 5: the low 32 bits
        EXPECT_EQ(2, Int("UI8:"));  // 2^64 - 2^32 + 2
    });
    EXPECT_EQ("", messages);
}

TEST_P(ScanValues, IntegerTrailerOfAnotherType) {
    std::string messages = StderrOf([&] {
        EXPECT_EQ(0, Int("R4:"));
        EXPECT_EQ(0, Int("R8:"));
        EXPECT_EQ(0, Int("BSTR:"));
    });
    std::string line = "[Morvane] <Exception>: Unknown varValue type.!\n";
    EXPECT_EQ(line + line + line, messages);
}

TEST_P(ScanValues, FloatingTrailer) {
    std::string messages = StderrOf([&] {
        EXPECT_EQ(static_cast<double>(0.1f), Double("R4:"));
        EXPECT_EQ(445.1187, Double("R8:"));
    });
    EXPECT_EQ("", messages);
}

TEST_P(ScanValues, FloatingTrailerOfAnotherType) {
    std::string messages = StderrOf([&] {
        for (const char* label :
             {"I1:", "I2:", "UI1:", "UI2:", "I4:", "UI4:", "INT:", "UINT:", "I8:", "UI8:", "BSTR:"}) {
            EXPECT_EQ(0.0, Double(label)) << label;
        }
    });
    std::string expected;
    for (int i = 0; i < 11; ++i) expected += "[Morvane] <Exception>: Unknown trailer extra type!\n";
    EXPECT_EQ(expected, messages);
}

TEST_P(ScanValues, FailedTrailerFetch) {
    std::pair<int, int> range{2, 3};
    std::string messages = StderrOf([&] {
        EXPECT_EQ(0, Int("Charge State:", 4));
        EXPECT_EQ(0.0, Double("Monoisotopic M/Z:", 4));
        EXPECT_EQ(std::make_pair(0, 0), session.reader->GetChargeRange(range, 4));
        EXPECT_EQ(0.0, Double("No Such Label:", 1));
    });
    EXPECT_EQ(std::make_pair(0, 0), range);
    EXPECT_EQ(
        "[Morvane] <Exception>: Error getting Charge State: for scan number 4! \n"
        "[Morvane] <Exception>: Error getting trailer extra value Monoisotopic M/Z: for scan number 4!\n"
        "[Morvane] <Exception>: Error getting Charge State: for scan number 4! \n"
        "[Morvane] <Exception>: Error getting trailer extra value No Such Label: for scan number 1!\n",
        messages);
}

TEST_P(ScanValues, ZeroChargeStateGivesNoRange) {
    std::pair<int, int> range{2, 3};
    EXPECT_EQ(std::make_pair(0, 0), session.reader->GetChargeRange(range, 1));
}

TEST_P(ScanValues, RetentionTimeInSeconds) {
    std::string messages = StderrOf([&] {
        EXPECT_EQ(90.0, session.reader->GetRetentionTime(1));
        EXPECT_EQ(0.0, session.reader->GetRetentionTime(4));
    });
    EXPECT_EQ("[Morvane] <Exception>: Error getting retention time for scan number 4! \n", messages);
}

TEST_P(ScanValues, MassListOfAScanThatPasses) {
    MassList list;
    list.scan = 2;
    EXPECT_EQ("", StderrOf([&] { session.reader->GetMassList(list, "ms2"); }));
    ASSERT_EQ(2, list.count);
    ASSERT_TRUE(list.valid);
    ASSERT_NE(nullptr, list.peaks);
    EXPECT_EQ(150.5, list.peaks[0].mz);
    EXPECT_EQ(30.0, list.peaks[0].intensity);
    EXPECT_EQ(250.75, list.peaks[1].mz);
    EXPECT_EQ(45.0, list.peaks[1].intensity);

    MassList full;
    full.scan = 1;
    session.reader->GetMassList(full, "ms");
    ASSERT_EQ(3, full.count);
    EXPECT_EQ(402.125, full.peaks[2].mz);
    EXPECT_EQ(20.5, full.peaks[1].intensity);
}

TEST_P(ScanValues, MassListAnsweredForAnotherScan) {
    MassList list;
    list.scan = 1;
    EXPECT_EQ("", StderrOf([&] { session.reader->GetMassList(list, "ms2"); }));
    EXPECT_EQ(1, list.scan);
    EXPECT_EQ(-1, list.count);
    EXPECT_EQ(nullptr, list.peaks);
    EXPECT_TRUE(list.valid);
}

TEST_P(ScanValues, MassListWithoutPoints) {
    MassList list;
    list.scan = 3;
    session.reader->GetMassList(list, "ms2");
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(nullptr, list.peaks);
    EXPECT_TRUE(list.valid);
}

TEST_P(ScanValues, FailedMassList) {
    MassList list;
    list.scan = 4;
    std::string messages = StderrOf([&] { session.reader->GetMassList(list, "ms"); });
    EXPECT_EQ("[Morvane] <Exception>: Error getting mass list data for scan.4\n", messages);
    EXPECT_FALSE(list.valid);
    EXPECT_EQ(nullptr, list.peaks);
}

// A point count larger than the array the component handed over is a failed
// answer: nothing is read beyond the array.
TEST_P(ScanValues, MassListCountBeyondItsArray) {
    if (GetParam() == ReaderKind::Control) {
        RegisterRecordingControl(&log, 1);
    } else {
        RegisterRecordingInterface(&log, 1);
    }
    session.reader = MakeReader(GetParam(), &session.host);
    session.Open();
    MassList list;
    list.scan = 2;
    std::string messages = StderrOf([&] { session.reader->GetMassList(list, "ms2"); });
    EXPECT_EQ("[Morvane] <Exception>: Error getting mass list data for scan.2\n", messages);
    EXPECT_FALSE(list.valid);
    EXPECT_EQ(nullptr, list.peaks);
}

INSTANTIATE_TEST_SUITE_P(BothReaders, ScanValues, testing::Values(ReaderKind::Control, ReaderKind::Interface),
                         ReaderTestName);

}  // namespace
