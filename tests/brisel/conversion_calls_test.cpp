// brisel's conversion driven in-process against the recording control: the
// exact component calls per file and per scan, the MS1 and log files they
// lead to, the boxes raised, and the release of everything handed back.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "brisel/brisel_dlg.h"
#include "brisel/ms1_text.h"
#include "brisel/recording_component.h"
#include "brisel/run_command_line.h"
#include "platform/command_line.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "rawfile/component.h"
#include "support/temp_dir.h"

namespace {

using brisel_test::Header;
using brisel_test::ScanStart;
using brisel_test::Script;
using brisel_test::ScriptedFile;
using brisel_test::ScriptedScan;
using testing_support::ReadFile;
using Calls = std::vector<std::string>;

const char* const kProfileMs1 = "FTMS + p NSI Full ms [350.00-1800.00]";
const char* const kCentroidMs1 = "ITMS + c NSI Full ms [350.00-1800.00]";
const char* const kCentroidMs2 = "ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1000.00]";
const char* const kCentroidMs3 = "ITMS + c NSI d Full ms3 445.12@cid35.00 300.20@cid35.00 [80.00-700.00]";

// A profile curve with m/z 100.0, 100.1, ...: brisel picks one peak from it,
// (100.2, 30), where a first window three points to the right would not.
std::vector<double> ProfileCurve() {
    const double intensities[] = {5, 10, 30, 10, 5, 0, 0, 0};
    std::vector<double> pairs;
    for (int i = 0; i < 8; ++i) {
        pairs.push_back(100.0 + 0.1 * i);
        pairs.push_back(intensities[i]);
    }
    return pairs;
}

ScriptedScan Scan(const std::string& filter, double minutes, std::vector<double> pairs) {
    ScriptedScan scan;
    scan.filter = filter;
    scan.retentionTime = minutes;
    scan.pairs = std::move(pairs);
    return scan;
}

Calls FileStart(const std::string& path) { return {"open " + path, "controller 0 1", "first", "last", "date"}; }

Calls Concat(std::initializer_list<Calls> parts) {
    Calls all;
    for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class BriselConversion : public ::testing::Test {
protected:
    void SetUp() override {
        script_ = std::make_shared<Script>();
        brisel_test::RegisterRecordingComponent(script_);
        platform::SetMessageBoxObserver([this](const platform::MessageBoxCall& box) { boxes_.push_back(box); });
        before_ = platform::CurrentLiveResources();
    }

    void TearDown() override {
        platform::SetMessageBoxObserver({});
        platform::AfxEnableControlContainer(true);
        rawfile::RegisterComponent();
    }

    std::string PathOf(const std::string& name) const { return (dir_.path() / name).string(); }

    // Scripts a file and puts a file of that name on disk, so the command
    // line finds it.
    ScriptedFile& File(const std::string& name) {
        dir_.Write(name, "scripted\n");
        return script_->files[PathOf(name)];
    }

    // Converts one file on a fresh dialog, then checks that the dialog left
    // nothing of what the control handed out alive.
    void Convert(const std::string& name) {
        {
            CBriselDlg dialog;
            dialog.Create();
            dialog.m_strRawPath = PathOf(name);
            dialog.ConvertRawFile();
            dialog.DestroyDialog();
        }
        ExpectEverythingReleased();
    }

    void RunWithArguments(const std::vector<std::string>& arguments) {
        std::vector<const char*> argv{"brisel"};
        for (const std::string& argument : arguments) argv.push_back(argument.c_str());
        platform::SetProcessArguments(static_cast<int>(argv.size()), argv.data());
        {
            CBriselDlg dialog;
            dialog.Create();
            dialogAddress_ = &dialog;
            RunCommandLine(dialog);
            dialog.DestroyDialog();
        }
        ExpectEverythingReleased();
    }

    void ExpectEverythingReleased() const {
        const platform::LiveResources after = platform::CurrentLiveResources();
        EXPECT_EQ(after.strings, before_.strings);
        EXPECT_EQ(after.arrays, before_.arrays);
        EXPECT_EQ(after.objects, before_.objects);
        EXPECT_EQ(after.invalidReleases, before_.invalidReleases);
    }

    std::string Ms1Of(const std::string& stem) const { return ReadFile(dir_.path() / (stem + ".MS1")); }

    testing_support::TempDir dir_;
    std::shared_ptr<Script> script_;
    std::vector<platform::MessageBoxCall> boxes_;
    platform::LiveResources before_;
    const CBriselDlg* dialogAddress_ = nullptr;
};

TEST_F(BriselConversion, AsksTheComponentInItsFixedOrderAndWritesEveryScanButMs2) {
    ScriptedFile& file = File("run.raw");
    file.firstScan = 1;
    file.lastScan = 5;
    file.creationDate = 45000.5;
    file.scans[1] = Scan(kProfileMs1, 0.5, ProfileCurve());
    file.scans[2] = Scan(kCentroidMs2, 0.52, {150.1, 30.0});
    file.scans[3] = Scan(kCentroidMs3, 0.75, {445.12003, 10234.56, 500.0, 0.0});
    file.scans[4] = Scan(kCentroidMs1, 0.8, {});
    file.scans[5] = Scan(kCentroidMs1, 0.9, {300.0, 1.0});
    file.scans[5].massListResult = 3;

    Convert("run.raw");

    const std::string path = PathOf("run.raw");
    EXPECT_EQ(script_->calls, Concat({FileStart(path),
                                      {"filter 1", "masslist 1 ms 0 0 0 0", "rt 1", "filter 1", "filter 1"},
                                      {"filter 2"},
                                      {"filter 3", "masslist 3 ms 0 0 0 0", "rt 3", "filter 3", "filter 3"},
                                      {"filter 4", "masslist 4 ms 0 0 0 0"},
                                      {"filter 5", "masslist 5 ms 0 0 0 0"}}));
    EXPECT_EQ(Ms1Of("run"), Header("2023-03-15 12:00:00", 1, 5) + ScanStart("000001", "0.500000", "FTMS") +
                                "100.20000 30.0\n" + ScanStart("000003", "0.750000", "ITMS") +
                                "445.12003 10234.6\n500.00000 0.0\n");
    EXPECT_EQ(ReadFile(dir_.path() / "run.MS1.Log"), "ScanNumber: 5\nError code: 3\nnbuffScanNumber: 5\n");
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(BriselConversion, AnythingAlreadyAtTheMs1PathEndsTheFileAfterTheHeaderQueries) {
    ScriptedFile& file = File("kept.raw");
    file.lastScan = 1;
    file.scans[1] = Scan(kCentroidMs1, 0.5, {300.0, 1.0});
    dir_.Write("kept.MS1", "old content\n");
    ScriptedFile& other = File("folder.raw");
    other.lastScan = 1;
    other.scans[1] = file.scans[1];
    std::filesystem::create_directory(dir_.path() / "folder.MS1");
    ScriptedFile& linked = File("link.raw");
    linked.lastScan = 1;
    linked.scans[1] = file.scans[1];
    std::filesystem::create_symlink(dir_.path() / "gone", dir_.path() / "link.MS1");

    Convert("kept.raw");
    Convert("folder.raw");
    Convert("link.raw");

    EXPECT_EQ(script_->calls,
              Concat({FileStart(PathOf("kept.raw")), FileStart(PathOf("folder.raw")), FileStart(PathOf("link.raw"))}));
    EXPECT_EQ(Ms1Of("kept"), "old content\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir_.path() / "folder.MS1"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir_.path() / "link.MS1"));
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "gone"));
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(BriselConversion, FailedHeaderQueriesAreReportedAndShowZeroAndInvalidDateTime) {
    ScriptedFile& file = File("bad.raw");
    file.controllerResult = 0;
    file.firstResult = 0;
    file.lastResult = 5;
    file.dateResult = 0;
    // The range falls back to 0 to 0; scan 0 is an MS2 scan here.
    file.scans[0] = Scan(kCentroidMs2, 0.1, {150.0, 2.0});

    Convert("bad.raw");

    EXPECT_EQ(script_->calls, Concat({FileStart(PathOf("bad.raw")), {"filter 0"}}));
    EXPECT_EQ(Ms1Of("bad"), Header("Invalid DateTime", 0, 0));
    std::vector<std::string> texts;
    for (const platform::MessageBoxCall& box : boxes_) {
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.type, platform::MB_OK);
        texts.push_back(box.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Error setting current controller", "Error getting first scan number",
                                               "Error getting last scan number", "Error getting creation date"}));
}

TEST_F(BriselConversion, FailedFilterFetchWhilePreparingPeaksWritesThatScansPointsAsDelivered) {
    ScriptedFile& file = File("mixed.raw");
    file.lastScan = 3;
    file.scans[1] = Scan(kProfileMs1, 1.0, ProfileCurve());
    file.scans[2] = Scan(kProfileMs1, 2.0, {200.0, 4.0, 200.1, 8.0, 200.2, 0.0, 200.3, 2.0, 200.4, 1.0, 200.5, 9.0});
    file.scans[2].failingFilterFetches = {{3, 4}};
    file.scans[3] = Scan(kProfileMs1, 3.0, ProfileCurve());

    Convert("mixed.raw");

    EXPECT_EQ(Ms1Of("mixed"), Header("1899-12-30 00:00:00", 1, 3) + ScanStart("000001", "1.000000", "FTMS") +
                                  "100.20000 30.0\n" + ScanStart("000002", "2.000000", "FTMS") +
                                  "200.00000 4.0\n200.10000 8.0\n200.20000 0.0\n200.30000 2.0\n200.40000 1.0\n"
                                  "200.50000 9.0\n" +
                                  ScanStart("000003", "3.000000", "FTMS") + "100.20000 30.0\n");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "Error getting retention time");
    EXPECT_EQ(boxes_[0].caption, "Error");
}

TEST_F(BriselConversion, ScansWithoutOwnPointsAreLeftOutAndFailedFetchesLogged) {
    ScriptedFile& file = File("gaps.raw");
    file.lastScan = 4;
    file.scans[1] = Scan(kCentroidMs1, 1.0, {300.0, 1.0});
    file.scans[1].deliveredScan = 2;  // the points of another scan
    file.scans[2] = Scan(kCentroidMs1, 2.0, {310.0, 5.0, 320.0, 6.0});
    file.scans[2].reportedPointCount = 10;  // more points claimed than delivered
    file.scans[3] = Scan(kCentroidMs1, 3.0, {300.0, 1.0});
    file.scans[3].massListResult = 6;
    file.scans[3].deliveredScan = 9;
    file.scans[4] = Scan(kCentroidMs1, 4.0, {330.0, 7.0});
    file.scans[4].reportedPointCount = 0;

    Convert("gaps.raw");

    EXPECT_EQ(Ms1Of("gaps"), Header("1899-12-30 00:00:00", 1, 4) + ScanStart("000002", "2.000000", "ITMS") +
                                 "310.00000 5.0\n320.00000 6.0\n");
    EXPECT_EQ(ReadFile(dir_.path() / "gaps.MS1.Log"), "ScanNumber: 9\nError code: 6\nnbuffScanNumber: 3\n");
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(BriselConversion, FailedFilterFetchForTheScanTypeEndsTheFileWithTheFailureCode) {
    ScriptedFile& file = File("stop.raw");
    file.lastScan = 3;
    file.scans[1] = Scan(kCentroidMs1, 1.0, {300.0, 1.0});
    file.scans[2] = Scan(kCentroidMs1, 2.0, {300.0, 1.0});
    file.scans[2].failingFilterFetches = {{1, 7}};
    file.scans[3] = Scan(kCentroidMs1, 3.0, {300.0, 1.0});

    RunWithArguments({PathOf("stop.raw")});

    EXPECT_EQ(script_->calls, Concat({FileStart(PathOf("stop.raw")),
                                      {"filter 1", "masslist 1 ms 0 0 0 0", "rt 1", "filter 1", "filter 1"},
                                      {"filter 2"}}));
    EXPECT_EQ(Ms1Of("stop"),
              Header("1899-12-30 00:00:00", 1, 3) + ScanStart("000001", "1.000000", "ITMS") + "300.00000 1.0\n");
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text, "Error getting retention time");
    EXPECT_EQ(boxes_[0].caption, "Error");
    EXPECT_EQ(boxes_[0].owner, nullptr);
    EXPECT_EQ(boxes_[1].text, "7");
    EXPECT_EQ(boxes_[1].caption, "7");
    EXPECT_EQ(boxes_[1].owner, dialogAddress_);
}

TEST_F(BriselConversion, RetentionTimeFailureEndsThatFileAndTheNextArgumentIsConverted) {
    ScriptedFile& first = File("first.raw");
    first.lastScan = 3;
    first.scans[1] = Scan(kProfileMs1, 1.0, ProfileCurve());
    first.scans[2] = Scan(kProfileMs1, 2.0, ProfileCurve());
    first.scans[2].retentionTimeResult = 0;
    first.scans[3] = Scan(kProfileMs1, 3.0, ProfileCurve());
    ScriptedFile& second = File("second.raw");
    second.lastScan = 1;
    second.scans[1] = Scan(kCentroidMs1, 4.0, {300.0, 1.0});

    RunWithArguments({PathOf("first.raw"), PathOf("second.raw")});

    EXPECT_EQ(script_->calls, Concat({FileStart(PathOf("first.raw")),
                                      {"filter 1", "masslist 1 ms 0 0 0 0", "rt 1", "filter 1", "filter 1"},
                                      {"filter 2", "masslist 2 ms 0 0 0 0", "rt 2"},
                                      FileStart(PathOf("second.raw")),
                                      {"filter 1", "masslist 1 ms 0 0 0 0", "rt 1", "filter 1", "filter 1"}}));
    EXPECT_EQ(Ms1Of("first"),
              Header("1899-12-30 00:00:00", 1, 3) + ScanStart("000001", "1.000000", "FTMS") + "100.20000 30.0\n");
    EXPECT_EQ(Ms1Of("second"),
              Header("1899-12-30 00:00:00", 1, 1) + ScanStart("000001", "4.000000", "ITMS") + "300.00000 1.0\n");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "Error getting retention time");
}

TEST_F(BriselConversion, CallsTheDispatchMachineryCannotMakeCountAsFailed) {
    ScriptedFile& file = File("broken.raw");
    file.lastScan = 2;
    file.scans[1] = Scan(kCentroidMs1, 1.0, {300.0, 1.0});
    script_->brokenDispatchIds[70] = platform::DISP_E_MEMBERNOTFOUND;

    Convert("broken.raw");

    EXPECT_EQ(script_->calls,
              Concat({FileStart(PathOf("broken.raw")), {"filter 1", "masslist 1 ms 0 0 0 0", "broken 70"}}));
    EXPECT_EQ(Ms1Of("broken"), Header("1899-12-30 00:00:00", 1, 2));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "Error getting retention time");
}

TEST_F(BriselConversion, WithoutTheControlEveryArgumentStopsAtItsOpenStep) {
    File("one.raw");
    File("two.raw");
    platform::AfxEnableControlContainer(false);

    RunWithArguments({PathOf("one.raw"), PathOf("two.raw")});

    EXPECT_TRUE(script_->calls.empty());
    ASSERT_EQ(boxes_.size(), 2u);
    for (const platform::MessageBoxCall& box : boxes_) {
        EXPECT_EQ(box.caption, "XCalibur in this system is not installed correctly");
        EXPECT_EQ(box.text,
                  "For Thermo RAW format, program requires access to library files supplied as part of the "
                  "instrument data system. Please reinstall Thermo Scientific Xcalibur to continue. ");
        EXPECT_EQ(box.type, platform::MB_OK | platform::MB_ICONWARNING);
        EXPECT_EQ(box.owner, nullptr);
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "one.MS1"));
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "two.MS1"));
}

TEST_F(BriselConversion, AnUnopenableLogDropsTheEntryAndTheConversionGoesOn) {
    ScriptedFile& file = File("nolog.raw");
    file.lastScan = 2;
    file.scans[1] = Scan(kCentroidMs1, 1.0, {300.0, 1.0});
    file.scans[1].massListResult = 2;
    file.scans[2] = Scan(kCentroidMs1, 2.0, {310.0, 3.0});
    // A folder where the log would be: it cannot be opened for appending.
    std::filesystem::create_directory(dir_.path() / "nolog.MS1.Log");

    Convert("nolog.raw");

    EXPECT_EQ(Ms1Of("nolog"),
              Header("1899-12-30 00:00:00", 1, 2) + ScanStart("000002", "2.000000", "ITMS") + "310.00000 3.0\n");
    EXPECT_TRUE(boxes_.empty());
}

}  // namespace
