// Failures that end the run: their lines, streams and exit status, through
// both readers, the real control host and registry, and fixture files.
#include <ostream>
#include <string>

#include "common/xrawfile.h"
#include "gtest/gtest.h"
#include "rawfile/component.h"
#include "reader_fakes.h"
#include "reader_test_support.h"
#include "support/as_main.h"

namespace {

using testing::ExitedWithCode;

constexpr int kFatal = 255;
const std::string kScans =
    "scan 1\nfilter FTMS + p NSI Full ms [350.00-1800.00]\nrt 0.5\np 400.1 10\ntrailer I2 Charge State:=2\n";

class FatalFailures : public testing::TestWithParam<ReaderKind> {
protected:
    bool IsControl() const { return GetParam() == ReaderKind::Control; }
    std::filesystem::path OutFile() const { return scratch.path() / "stdout.txt"; }
    std::string Out() const { return testing_support::ReadFile(OutFile()); }

    testing_support::TempDir scratch;
};

TEST_P(FatalFailures, OpenFails) {
    ReaderSession session(GetParam(), "rawfixture 1\nfail open\n" + kScans);
    // The reason comes from the component, through the control and the interface alike.
    const std::string line =
        "[Morvane] <Exception>: Failed to open file " + session.path.string() +
        ", check if your file is corrupt!\n[Morvane] <Exception>: Reason: the fixture scripts its open to fail\n";
    EXPECT_EXIT(AS_MAIN({
                    RedirectStdout(OutFile());
                    TerminalStdinWithOneLine();
                    session.Open();
                }),
                ExitedWithCode(kFatal), Exactly(line));
    // Only the hosted-control reader pauses (here on a terminal) before ending.
    EXPECT_EQ(IsControl() ? "Press Enter to continue . . . " : "", Out());
}

TEST_P(FatalFailures, FileThatIsNoRawFile) {
    ReaderSession session(GetParam(), "not a RAW file\n");
    const std::string line = "[Morvane] <Exception>: Failed to open file " + session.path.string() +
                             ", check if your file is corrupt!\n[Morvane] <Exception>: Reason: not a Thermo RAW file\n";
    EXPECT_EXIT(AS_MAIN(session.Open()), ExitedWithCode(kFatal), Exactly(line));
}

TEST_P(FatalFailures, ControllerCannotBeSelected) {
    CallLog log(scratch.path() / "calls.txt");
    ReaderSession session(GetParam(), "rawfixture 1\nfail controller\n" + kScans);
    if (IsControl()) {
        RegisterRecordingControl(&log);
    } else {
        RegisterRecordingInterface(&log);
    }
    session.reader = MakeReader(GetParam(), &session.host);
    EXPECT_EXIT(AS_MAIN(session.Open()), ExitedWithCode(kFatal),
                Exactly("[Morvane] <Exception>: Failed to set current controller!\n"));
    // The hosted-control reader closes the file before ending; the interface reader does not.
    EXPECT_EQ(IsControl() ? "dispatch 1\ndispatch 34\ndispatch 2\n" : "Open\nSetCurrentController\n", log.Text());
}

TEST_P(FatalFailures, FirstScanNumberFails) {
    ReaderSession session(GetParam(), "rawfixture 1\nfail first\n" + kScans);
    session.Open();
    EXPECT_EXIT(AS_MAIN(session.reader->GetFirstScan()), ExitedWithCode(kFatal),
                Exactly("[Morvane] <Exception>: Failed to load first scan number! \n"));
    EXPECT_EQ(1, session.reader->GetLastScan());
}

TEST_P(FatalFailures, LastScanNumberFails) {
    ReaderSession session(GetParam(), "rawfixture 1\nfail last\n" + kScans);
    session.Open();
    EXPECT_EQ(1, session.reader->GetFirstScan());
    EXPECT_EXIT(AS_MAIN(session.reader->GetLastScan()), ExitedWithCode(kFatal),
                Exactly("[Morvane] <Exception>: : Failed to load last scan number! \n"));
}

INSTANTIATE_TEST_SUITE_P(BothReaders, FatalFailures, testing::Values(ReaderKind::Control, ReaderKind::Interface),
                         ReaderTestName);

// A failure of the dispatch machinery itself ends the run with a line that
// names the operation and the code.
TEST(DispatchFailure, ControlThatCouldNotBeCreated) {
    ReaderSession session(ReaderKind::Control, "rawfixture 1\n" + kScans);
    platform::HostWindow host;
    host.SetCanHostControls(false);
    RawExtractor reader(&host);
    ASSERT_FALSE(reader.IsAvailable());
    EXPECT_EXIT(AS_MAIN(reader.Open(session.path.string())), ExitedWithCode(kFatal),
                Exactly("[Morvane] <Exception>: Cannot call Open (dispatch id 1) of the MSFileReader control, "
                        "error code 0x8000FFFF!\n"));
}

TEST(DispatchFailure, CallRejectedByTheControl) {
    ReaderSession session(ReaderKind::Control, "rawfixture 1\n" + kScans);
    testing_support::FakeClass fake;
    fake.classId = xrawfile::kClassId;
    fake.inner = rawfile::CreateComponent;
    fake.brokenDispatchIds = {{xrawfile::kDispGetFilterForScanNum, platform::DISP_E_TYPEMISMATCH}};
    testing_support::RegisterFake(fake);
    session.reader = MakeReader(ReaderKind::Control, &session.host);
    session.Open();
    std::string filter;
    EXPECT_EXIT(AS_MAIN(session.reader->GetFilter(1, filter)), ExitedWithCode(kFatal),
                Exactly("[Morvane] <Exception>: Cannot call GetFilterForScanNum (dispatch id 71) of the "
                        "MSFileReader control, error code 0x80020005!\n"));
}

// A negative status of the interface form is a component error that ends
// the run, whichever operation answers it.
struct ComponentErrorCase {
    const char* failStatement;  // file-level, or of scan 1 when `perScan`
    bool perScan;
    const char* operation;
    void (*call)(RawExtractor& reader);
};

void PrintTo(const ComponentErrorCase& c, std::ostream* out) { *out << c.failStatement; }

class ComponentError : public testing::TestWithParam<ComponentErrorCase> {};

TEST_P(ComponentError, EndsTheRun) {
    const ComponentErrorCase& c = GetParam();
    const std::string statement = std::string(c.failStatement) + " -2147467259\n";
    ReaderSession session(ReaderKind::Interface,
                          "rawfixture 1\n" + (c.perScan ? kScans + statement : statement + kScans));
    EXPECT_EXIT(AS_MAIN({
                    session.Open();
                    c.call(*session.reader);
                }),
                ExitedWithCode(kFatal),
                Exactly(std::string("[Morvane] <Exception>: MSFileReader component error in ") + c.operation +
                        ", error code 0x80004005!\n"));
}

std::string OperationName(const testing::TestParamInfo<ComponentErrorCase>& test) { return test.param.operation; }

void GetMassListOfScanOne(RawExtractor& reader) {
    MassList list;
    list.scan = 1;
    reader.GetMassList(list, "ms");
}

INSTANTIATE_TEST_SUITE_P(
    EveryOperation, ComponentError,
    testing::Values(
        ComponentErrorCase{"fail open", false, "Open", [](RawExtractor&) {}},
        ComponentErrorCase{"fail controller", false, "SetCurrentController", [](RawExtractor&) {}},
        ComponentErrorCase{"fail first", false, "GetFirstSpectrumNumber", [](RawExtractor& r) { r.GetFirstScan(); }},
        ComponentErrorCase{"fail last", false, "GetLastSpectrumNumber", [](RawExtractor& r) { r.GetLastScan(); }},
        ComponentErrorCase{"fail close", false, "Close", [](RawExtractor& r) { r.Close(); }},
        ComponentErrorCase{"fail filter", true, "GetFilterForScanNum", [](RawExtractor& r) { r.IsScanKind(1, 0); }},
        ComponentErrorCase{"fail rt", true, "RTFromScanNum", [](RawExtractor& r) { r.GetRetentionTime(1); }},
        ComponentErrorCase{"fail masslist", true, "GetMassListFromScanNum", GetMassListOfScanOne},
        ComponentErrorCase{"fail trailer", true, "GetTrailerExtraValueForScanNum",
                           [](RawExtractor& r) { r.GetMonoisotopicMz(1); }}),
    OperationName);

}  // namespace
