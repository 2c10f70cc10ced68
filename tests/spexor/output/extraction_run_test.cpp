#include "spexor/output/extraction_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fake_reader.h"
#include "output_listing.h"
#include "spexor/output/progress_line.h"
#include "spexor/output/raw_file_job.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

const std::vector<Peak> kTwoPeaks = {{120.08131, 5310.2}, {175.11895, 1822.0}};

// One RAW file's conversion with a fake reader in a temporary folder.
struct Conversion {
    explicit Conversion(const std::string& rawName = "run.raw") {
        job.rawPath = dir.Write(rawName, "raw content").string();
        job.reader = &reader;
        job.settings.outputKinds = {};
    }
    void Run() {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        RunExtraction(job);
        out = testing::internal::GetCapturedStdout();
        err = testing::internal::GetCapturedStderr();
    }
    // The names of the files in the folder besides the RAW file, sorted.
    std::vector<std::string> Outputs() const {
        std::vector<std::string> names = FilesIn(dir.path());
        std::erase(names, fs::path(job.rawPath).filename().string());
        return names;
    }
    std::string Output(const std::string& name) const { return ReadFile(dir.path() / name); }

    TempDir dir;
    FakeReader reader;
    RawFileJob job;
    std::string out, err;
};

}  // namespace

TEST(ExtractionRun, SplitMs1AndMs2MakeNoMarkerAndEmptyRangeRemovesEveryFile) {
    Conversion split;
    split.job.settings.outputKinds = {true, true, false, false, false};
    split.reader.first = 10;
    split.reader.last = 9;
    split.Run();
    EXPECT_EQ(split.Outputs(), std::vector<std::string>{});
    EXPECT_EQ(split.out, "[Morvane] <Output files>: 100.00%\n[Morvane] Output Files Completed!\n");

    Conversion merged;
    merged.job.settings.outputKinds = {true, true, false, false, false};
    merged.job.settings.activationMode = ActivationMode::merged;
    merged.reader.first = 10;
    merged.reader.last = 9;
    merged.Run();
    EXPECT_EQ(merged.Outputs(), std::vector<std::string>{"run.spexor"});
}

TEST(ExtractionRun, SkippedLevelsCostOnlyTheLevelTestAndPrintNoProgress) {
    Conversion run;
    run.job.settings.outputKinds = {true, false, false, false, false};
    for (int scan = 1; scan <= 250; ++scan) run.reader.Add(scan, Ms2Scan("hcd", "FTMS", kTwoPeaks));
    run.reader.Add(200, Ms1Scan(kTwoPeaks));
    run.reader.Add(250, Ms1Scan(kTwoPeaks));
    run.Run();

    EXPECT_EQ(run.out,
              "[Morvane] <Output files>: 80.00%\r[Morvane] <Output files>: 100.00%\r"
              "[Morvane] <Output files>: 100.00%\n[Morvane] Output Files Completed!\n");
    std::vector<std::string> ms2Calls;
    for (const std::string& call : run.reader.calls)
        if (call.ends_with(" 100")) ms2Calls.push_back(call);
    EXPECT_EQ(ms2Calls, (std::vector<std::string>{"IsScanKind 100", "IsScanKind 100"}));
    EXPECT_EQ(Count(run.Output("run.ms1"), "\nS\t"), 2);
}

TEST(ExtractionRun, ReaderIsAskedInTheOrderOfTheScanLoop) {
    Conversion run;
    run.job.settings.outputKinds = {true, true, false, false, false};
    run.reader.Add(1, Ms1Scan(kTwoPeaks));
    run.reader.Add(2, Ms2Scan("hcd", "FTMS", kTwoPeaks));
    run.Run();
    EXPECT_EQ(run.reader.calls,
              (std::vector<std::string>{"IsScanKind 1", "GetMassList(ms) 1", "IsCentroidScan 1", "GetAnalyzer 1",
                                        "GetRetentionTime 1", "GetIonInjectionTime 1", "IsScanKind 2", "IsScanKind 2",
                                        "GetMassList(ms2) 2", "GetChargeRange 2", "GetPrecursorMz 2",
                                        "GetMonoisotopicMz 2", "GetActivation 2", "IsCentroidScan 2", "GetAnalyzer 2",
                                        "GetRetentionTime 2", "GetIonInjectionTime 2"}));
    EXPECT_TRUE(run.reader.opened);
    EXPECT_TRUE(run.reader.closed);
}

TEST(ExtractionRun, PercentageIsTheScanShareOfTheLastScanNumberOr100WithoutOne) {
    EXPECT_EQ(ProgressText(200, 1234), "<Output files>: 16.21%");
    EXPECT_EQ(ProgressText(2000000000, 2100000000), "<Output files>: 95.24%");
    Conversion run;
    run.job.settings.outputKinds = {true, false, false, false, false};
    run.reader.Add(-1, Ms1Scan(kTwoPeaks));
    run.reader.Add(0, Ms1Scan(kTwoPeaks));
    run.Run();
    EXPECT_EQ(run.out,
              "[Morvane] <Output files>: 100.00%\r[Morvane] <Output files>: 100.00%\n"
              "[Morvane] Output Files Completed!\n");
}

TEST(ExtractionRun, ScansWithoutUsableMassListsAreSkippedAndProfileScansArePicked) {
    Conversion run;
    run.job.settings.outputKinds = {false, false, false, true, false};
    run.reader.Add(1, Ms2Scan("hcd", "FTMS", kTwoPeaks)).massListFails = true;
    run.reader.Add(2, Ms2Scan("hcd", "FTMS", kTwoPeaks)).massListAnswersOtherScan = true;
    run.reader.Add(3, Ms2Scan("hcd", "FTMS", {}));
    // A profile curve with one peak, and one where picking finds nothing.
    FakeScan& profile = run.reader.Add(4, Ms2Scan("hcd", "FTMS",
                                                  {{100.0, 0},
                                                   {100.1, 0},
                                                   {100.2, 5},
                                                   {100.3, 10},
                                                   {100.4, 30},
                                                   {100.5, 10},
                                                   {100.6, 5},
                                                   {100.7, 0},
                                                   {100.8, 0},
                                                   {100.9, 0}}));
    profile.centroid = false;
    profile.charge = 2;
    FakeScan& flat = run.reader.Add(5, Ms2Scan("hcd", "FTMS",
                                               {{100.0, 0},
                                                {100.1, 0},
                                                {100.2, 0},
                                                {100.3, 5},
                                                {100.4, 30},
                                                {100.5, 5},
                                                {100.6, 0},
                                                {100.7, 0},
                                                {100.8, 0},
                                                {100.9, 0}}));
    flat.centroid = false;
    flat.charge = 2;
    run.Run();

    const std::string mgf = run.Output("run.HCD.FTMS.mgf");
    EXPECT_EQ(Count(mgf, "BEGIN IONS"), 2) << mgf;
    EXPECT_EQ(Count(mgf, "PEPMASS=445.62\n100.40000 30.0\nEND IONS\n"), 1) << mgf;
    EXPECT_EQ(Count(mgf, "PEPMASS=445.62\nEND IONS\n"), 1) << mgf;
}

// A merged MS1 and MS2 run whose MS1 file or marker is blocked by a folder of its name.
void RunWithBlockedEntry(Conversion& run, const std::string& blocked) {
    run.job.settings.outputKinds = {true, true, false, false, false};
    run.job.settings.activationMode = ActivationMode::merged;
    fs::create_directory(run.dir.path() / blocked);
    run.reader.Add(1, Ms1Scan(kTwoPeaks));
    run.reader.Add(2, Ms2Scan("hcd", "FTMS", kTwoPeaks));
    run.Run();
}

TEST(ExtractionRun, UncreatableOutputOrMarkerIsReportedCountedAndSkipped) {
    Conversion run;
    RunWithBlockedEntry(run, "run.ms1");
    // The MS1 file fails, so no marker is made: it would claim the merged outputs are all there.
    const std::string base = (run.dir.path() / "run").string();
    EXPECT_EQ(run.err, "[Morvane] <Exception>: Failed to create output file " + base + ".ms1: Is a directory\n");
    EXPECT_TRUE(fs::is_directory(base + ".ms1"));
    // With one output failed, the others are not left either.
    EXPECT_FALSE(fs::exists(base + ".ms2"));
    EXPECT_FALSE(run.job.outputs[MergedSlot(OutputFormat::MS1)]);
    EXPECT_EQ(run.job.failedOutputs, 1);
    EXPECT_EQ(run.out.find("Output Files Completed!"), std::string::npos);

    // Every output written: a marker that cannot be made is the one failure.
    Conversion marker;
    RunWithBlockedEntry(marker, "run.spexor");
    const std::string markerBase = (marker.dir.path() / "run").string();
    EXPECT_EQ(marker.err,
              "[Morvane] <Exception>: Failed to create output file " + markerBase + ".spexor: Is a directory\n");
    EXPECT_EQ(marker.job.failedOutputs, 1);
    EXPECT_EQ(marker.out.find("Output Files Completed!"), std::string::npos);
    EXPECT_FALSE(fs::exists(markerBase + ".ms1"));
    EXPECT_FALSE(fs::exists(markerBase + ".ms2"));
}

TEST(ExtractionRun, EmptyFilesAreRemovedDirectlyWhateverTheirName) {
    Conversion run("we\"ird $(touch injected) name.raw");
    run.job.settings.outputKinds = {false, true, false, false, false};
    run.job.settings.activationMode = ActivationMode::merged;
    run.reader.Add(1, Ms1Scan(kTwoPeaks));
    run.Run();
    EXPECT_EQ(run.Outputs(), std::vector<std::string>{});
    EXPECT_FALSE(fs::exists("injected"));
}
