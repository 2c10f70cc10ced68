// The built spexor converting RAW fixtures in temporary folders.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "output_listing.h"
#include "support/folder_watch.h"
#include "support/run_program.h"
#include "support/small_file_system.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using testing_support::ProgramResult;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

namespace {

ProgramResult Spexor(const std::vector<std::string>& args) { return RunProgram(SPEXOR_BIN, args); }

// The five H lines; the date changes from run to run.
const std::regex kHeader(
    "H\tCreationDate\t(Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
    "[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}\n"
    "H\tExtractor\tspexor\nH\tExtractorVersion\t2.1.0\nH\tComments\t[^\t\n]+\nH\tDataType\t(Centroided|Profile)\n");

// Splits a text file into its header (checked) and its blocks.
std::string Blocks(const std::string& text, const std::string& dataType = "Centroided") {
    std::smatch header;
    if (!std::regex_search(text, header, kHeader, std::regex_constants::match_continuous)) {
        ADD_FAILURE() << "no header in\n" << text;
        return text;
    }
    EXPECT_EQ(header[3].str(), dataType);
    return header.suffix().str();
}

// MS1 scan 1230, MS3 scans 1231 to 1233 (never read unless MS3 is asked
// for) and the MS2 scan 1234 of the worked examples: no charge state.
const char* const kWorkedExample = R"(rawfixture 1
scan 1230
filter FTMS + c NSI Full ms [350.00-1800.00]
rt 45.0
trailer R4 Ion Injection Time (ms):=20.5
points 445.12 5000 446.12 1000
scan 1231
filter FTMS + c NSI d Full ms3 445.62@cid35.00 300.00@hcd65.00 [100.00-1000.00]
scan 1232
filter FTMS + c NSI d Full ms3 445.62@cid35.00 300.00@hcd65.00 [100.00-1000.00]
scan 1233
filter FTMS + c NSI d Full ms3 445.62@cid35.00 300.00@hcd65.00 [100.00-1000.00]
scan 1234
filter FTMS + c NSI d Full ms2 445.62@hcd30.00 [110.00-1000.00]
rt 45.175
trailer R4 Ion Injection Time (ms):=12.5
trailer I2 Charge State:=0
trailer R8 Monoisotopic M/Z:=445.1203461
points 120.08131 5310.2 175.11895 1822.0
)";

const std::string kExamplePeaks = "120.08131 5310.2\n175.11895 1822.0\n";

std::string WorkedMs2Block(const std::string& precursor, const std::string& monoisotopic, const std::string& zLine) {
    return "S\t001234\t001234\t" + precursor +
           "\nI\tNumberOfPeaks\t2\nI\tRetTime\t2710.500000\nI\tIonInjectionTime\t12.500000\n"
           "I\tActivationType\tHCD\nI\tInstrumentType\tFTMS\nI\tPrecursorScan\t1230\n"
           "I\tActivationCenter\t445.62\nI\tMonoiosotopicMz\t" +
           monoisotopic + "\n" + zLine + "\n" + kExamplePeaks;
}

std::string WorkedMgfBlock(int charge, const std::string& pepmass) {
    const std::string z = std::to_string(charge);
    return "BEGIN IONS\nTITLE=run.1234.1234." + z + ".dta\nCHARGE=" + z +
           "+\nRTINSECONDS=2710.500000\nPEPMASS=" + pepmass + "\n" + kExamplePeaks + "END IONS\n\n";
}

std::string WorkedKsdBlock(int charge, const std::string& precursor) {
    return "H\n1234\t2710.500000\nHCD\tFTMS\n1230\t" + std::to_string(charge) + "\t" + precursor + "\nM\n" +
           kExamplePeaks;
}

}  // namespace

TEST(SpexorConversion, WorkedExamplesInEveryMergedFormat) {
    TempDir dir;
    const std::string raw = dir.Write("run.raw", kWorkedExample).string();
    const fs::path out = dir.path() / "out";
    const ProgramResult result = Spexor({"-ms1", "-ms2", "-mgf", "-ksd", "-a", "-o", out.string(), raw});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_NE(result.out.find("[Morvane] <Output files>: 100.00%\r[Morvane] <Output files>: 100.00%\n"
                              "[Morvane] Output Files Completed!\n"),
              std::string::npos)
        << result.out;

    EXPECT_EQ(FilesIn(out), (std::vector<std::string>{"run.ksd", "run.mgf", "run.ms1", "run.ms2", "run.spexor"}));
    EXPECT_EQ(Blocks(ReadFile(out / "run.ms1")),
              "S\t001230\t001230\nI\tNumberOfPeaks\t2\nI\tRetTime\t2700.000000\nI\tIonInjectionTime\t20.500000\n"
              "I\tInstrumentType\tFTMS\n445.12000 5000.0\n446.12000 1000.0\n");
    EXPECT_EQ(Blocks(ReadFile(out / "run.ms2")), WorkedMs2Block("445.1203461", "445.1203461", "Z\t2\t889.233416") +
                                                     WorkedMs2Block("445.1203461", "445.1203461", "Z\t3\t1333.346485"));
    EXPECT_EQ(ReadFile(out / "run.mgf"), WorkedMgfBlock(2, "445.1203461") + WorkedMgfBlock(3, "445.1203461"));
    EXPECT_EQ(ReadFile(out / "run.ksd"), WorkedKsdBlock(2, "445.1203461") + WorkedKsdBlock(3, "445.1203461"));
    EXPECT_EQ(ReadFile(out / "run.spexor"), "");
}

TEST(SpexorConversion, ChargeRangeIsotopeModeAndDecimalsOptions) {
    TempDir dir;
    const std::string raw = dir.Write("run.raw", kWorkedExample).string();
    const fs::path out = dir.path() / "out";
    ProgramResult result = Spexor({"-ms2", "-mgf", "-ksd", "-a", "-h", "-z", "2-4", "-o", out.string(), raw});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Blocks(ReadFile(out / "run.ms2")), WorkedMs2Block("445.62", "445.1203461", "Z\t2\t890.232724") +
                                                     WorkedMs2Block("445.62", "445.1203461", "Z\t3\t1334.845447") +
                                                     WorkedMs2Block("445.62", "445.1203461", "Z\t4\t1779.458171"));
    EXPECT_EQ(ReadFile(out / "run.mgf"),
              WorkedMgfBlock(2, "445.62") + WorkedMgfBlock(3, "445.62") + WorkedMgfBlock(4, "445.62"));
    EXPECT_EQ(ReadFile(out / "run.ksd"),
              WorkedKsdBlock(2, "445.62") + WorkedKsdBlock(3, "445.62") + WorkedKsdBlock(4, "445.62"));

    result = Spexor({"-mgf", "-a", "-m", "3", "-i", "2", "-o", out.string(), raw});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Count(ReadFile(out / "run.mgf"), "PEPMASS=445.1203461\n120.081 5310.20\n175.119 1822.00\nEND IONS\n"), 2);
}

TEST(SpexorConversion, ProfileScansArePickedUnlessProfileOutputIsAsked) {
    TempDir dir;
    const std::string raw = dir.Write("run.raw", R"(rawfixture 1
scan 7
filter FTMS + p NSI Full ms [350.00-1800.00]
rt 1.0
trailer R4 Ion Injection Time (ms):=3.25
points 100.0 0 100.1 0 100.2 5 100.3 10 100.4 30 100.5 30 100.6 10 100.7 5 100.8 0 100.9 0 101.0 0
)")
                                .string();
    ProgramResult result = Spexor({"-ms1", raw});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Blocks(ReadFile(dir.path() / "run.ms1")),
              "S\t000007\t000007\nI\tNumberOfPeaks\t1\nI\tRetTime\t60.000000\nI\tIonInjectionTime\t3.250000\n"
              "I\tInstrumentType\tFTMS\n100.45000 30.0\n");
    result = Spexor({"-ms1", "-p", raw});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string profile = Blocks(ReadFile(dir.path() / "run.ms1"), "Profile");
    EXPECT_EQ(Count(profile, "I\tNumberOfPeaks\t11\n"), 1);
    EXPECT_TRUE(profile.ends_with("100.90000 0.0\n101.00000 0.0\n"));
}

TEST(SpexorConversion, SplitModeRoutesEveryActivationAndAnalyzerToItsFile) {
    TempDir dir;
    const std::string raw = dir.Write("run.raw", R"(rawfixture 1
scan 1
filter FTMS + c NSI d Full ms2 500.00@hcd30.00 [110.00-1000.00]
trailer I2 Charge State:=2
p 150.0 10
scan 2
filter FTMS + p NSI Full ms [350.00-1800.00]
p 500.0 10
scan 3
filter ITMS + c NSI d Full ms2 501.00@hcd30.00 [110.00-1000.00]
trailer I2 Charge State:=2
p 150.0 10
scan 4
filter ITMS + c NSI d Full ms2 502.00@cid35.00 [110.00-1000.00]
trailer I2 Charge State:=2
p 150.0 10
scan 5
filter FTMS + c NSI d Full ms2 503.00@cid35.00 [110.00-1000.00]
trailer I2 Charge State:=2
p 150.0 10
scan 6
filter ITMS + c NSI d Full ms2 504.00@etd60.00 [110.00-1000.00]
trailer I2 Charge State:=2
p 150.0 10
scan 7
filter FTMS + c NSI d Full ms2 505.00@etd60.00 [110.00-1000.00]
trailer I2 Charge State:=2
p 150.0 10
scan 8
filter ASTMS + c NSI d Full ms2 506.00@hcd30.00 [110.00-1000.00]
trailer I2 Charge State:=2
p 150.0 10
scan 9
filter FTMS + c NSI d Full ms3 505.00@cid35.00 300.00@hcd65.00 [100.00-1000.00]
trailer I2 Charge State:=2
p 150.0 10
scan 10
filter + c NSI d Full ms3 505.00@cid35.00 300.00@etd65.00 [100.00-1000.00]
trailer I2 Charge State:=2
p 150.0 10
)")
                                .string();
    const ProgramResult result = Spexor({"-ms1", "-ms2", "-ms3", "-mgf", "-ksd", raw});
    ASSERT_EQ(result.status, 0) << result.err;
    const fs::path base = dir.path() / "run";
    const auto text = [&](const std::string& suffix) { return ReadFile(base.string() + suffix); };
    // Each split MS2 file holds its one scan, in all three MS2 kinds.
    const std::vector<std::pair<std::string, std::string>> split = {{".HCD.FTMS", "1"}, {".HCD.ITMS", "3"},
                                                                    {".CID.ITMS", "4"}, {".CID.FTMS", "5"},
                                                                    {".ETD.ITMS", "6"}, {".ETD.FTMS", "7"}};
    for (const auto& [name, scan] : split) {
        const std::string padded = std::string(6 - scan.size(), '0') + scan;
        EXPECT_EQ(Count(text(name + ".ms2"), "\nS\t"), 1) << name;
        EXPECT_EQ(Count(text(name + ".ms2"), "\nS\t" + padded + "\t" + padded + "\t50"), 1) << name;
        EXPECT_EQ(Count(text(name + ".mgf"), "TITLE=run." + scan + "." + scan + ".2.dta\n"), 1) << name;
        EXPECT_EQ(Count(text(name + ".ksd"), "H\n" + scan + "\t"), 1) << name;
    }
    // Precursor scans: none before scan 2, then the MS1 scan 2.
    EXPECT_EQ(Count(text(".HCD.FTMS.ms2"), "I\tPrecursorScan\t0\n"), 1);
    EXPECT_EQ(Count(text(".ETD.FTMS.ms2"), "I\tPrecursorScan\t2\n"), 1);
    EXPECT_EQ(Count(text(".ETD.FTMS.ksd"), "\n2\t2\t505\nM\n"), 1);
    // MS3: activation of the last stage; a filter starting with "+" is ITMS.
    EXPECT_EQ(Count(text(".HCD.FTMS.ms3"), "\nS\t000009\t000009\t300\n"), 1);
    EXPECT_EQ(Count(text(".HCD.FTMS.ms3"), "PrecursorScan"), 0);
    EXPECT_EQ(Count(text(".ETD.ITMS.ms3"), "\nS\t000010\t000010\t300\n"), 1);
    // The ASTMS scan 8 is written nowhere; files that got nothing are gone.
    EXPECT_EQ(FilesIn(dir.path()).size(), 1u + 1u + 18u + 2u);
    for (const std::string& name : FilesIn(dir.path())) {
        if (name == "run.raw") continue;
        EXPECT_EQ(Count(ReadFile(dir.path() / name), "506"), 0) << name;
    }
}

TEST(SpexorConversion, SupplementalActivationIsLabelledAndRoutedAsEtd) {
    TempDir dir;
    const std::string raw = dir.Write("sa.raw", R"(rawfixture 1
scan 1
filter FTMS + c NSI d sa Full ms2 325.00@etd50.00 325.00@hcd20.00 [150.00-2000.00]
trailer I2 Charge State:=2
p 150.0 10
scan 2
filter ITMS + c NSI d sa Full ms2 326.00@etd50.00 326.00@cid15.00 [150.00-2000.00]
trailer I2 Charge State:=2
p 150.0 10
scan 3
filter FTMS + c NSI d Full ms2 327.00@hcd30.00 [150.00-2000.00]
trailer I2 Charge State:=2
p 150.0 10
)")
                                .string();
    const ProgramResult split = Spexor({"-ms2", "-ksd", raw});
    ASSERT_EQ(split.status, 0) << split.err;
    const auto text = [&](const std::string& suffix) { return ReadFile(dir.path().string() + "/sa" + suffix); };
    // EThcD with ETD on the FTMS, ETciD with ETD on the ITMS; plain HCD alone in the HCD file.
    EXPECT_EQ(Count(text(".ETD.FTMS.ms2"), "\nS\t000001\t000001\t325\nI\tNumberOfPeaks"), 1);
    EXPECT_EQ(Count(text(".ETD.FTMS.ms2"), "I\tActivationType\tETD\n"), 1);
    EXPECT_EQ(Count(text(".ETD.ITMS.ms2"), "\nS\t000002\t000002\t326\n"), 1);
    EXPECT_EQ(Count(text(".ETD.FTMS.ksd"), "\nETD\tFTMS\n"), 1);
    EXPECT_EQ(Count(text(".HCD.FTMS.ms2"), "\nS\t"), 1);
    EXPECT_EQ(Count(text(".HCD.FTMS.ms2"), "\nS\t000003\t"), 1);
    EXPECT_FALSE(fs::exists(dir.path() / "sa.CID.ITMS.ms2"));

    const ProgramResult merged = Spexor({"-ms2", "-a", raw});
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(Count(text(".ms2"), "I\tActivationType\tETD\n"), 2);
    EXPECT_EQ(Count(text(".ms2"), "I\tActivationType\tHCD\n"), 1);

    // A real ETD run with supplemental CID: every spectrum in the ETD file.
    const fs::path etd = fs::path(SHARED_DATA_DIR) / "Angiotensin_325-ETD.raw";
    if (!fs::exists(etd)) return;
    const ProgramResult real = Spexor({"-mgf", "-o", dir.path().string(), etd.string()});
    ASSERT_EQ(real.status, 0) << real.err;
    EXPECT_EQ(Count(ReadFile(dir.path() / "Angiotensin_325-ETD.ETD.FTMS.mgf"), "BEGIN IONS"), 10);
    EXPECT_FALSE(fs::exists(dir.path() / "Angiotensin_325-ETD.CID.FTMS.mgf"));
}

TEST(SpexorConversion, UnknownActivationInSplitModeStopsTheBatchLeavingNothingOfThatFile) {
    TempDir dir;
    const std::string first = dir.Write("a.raw", R"(rawfixture 1
scan 1
filter FTMS + c NSI d Full ms2 500.00@hcd30.00 [110.00-1000.00]
trailer I2 Charge State:=2
trailer R8 Monoisotopic M/Z:=0
trailer R4 Ion Injection Time (ms):=1
p 150.0 10
scan 2
filter FTMS + c NSI d Full ms2 500.00@pqd30.00 [110.00-1000.00]
trailer I2 Charge State:=2
trailer R8 Monoisotopic M/Z:=0
p 150.0 10
)")
                                  .string();
    const std::string second = dir.Write("b.raw", kWorkedExample).string();
    // Files an earlier run left under the outputs' names go too.
    dir.Write("a.HCD.FTMS.mgf", "an earlier conversion\n");
    dir.Write("a.CID.ITMS.ms2", "an earlier conversion\n");
    const ProgramResult result = Spexor({"-ms2", "-mgf", first, second});
    EXPECT_EQ(result.status, 255);
    // The line names the file and the scan, and the way to convert such a file.
    EXPECT_EQ(result.err, "[Morvane] <Exception>: error to get activation type of scan 2 in " + first +
                              "! Its activation has no files of its own; -a converts such files merged.\n");
    // Nothing of the file under an output's name, no temporary file either:
    // the folder holds the two RAW files alone.
    EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"a.raw", "b.raw"}));
    EXPECT_EQ(result.out.find("Begin to extract " + second), std::string::npos);

    // Merged mode takes any activation text.
    const ProgramResult merged = Spexor({"-mgf", "-a", first});
    EXPECT_EQ(merged.status, 0);
    EXPECT_EQ(Count(ReadFile(dir.path() / "a.mgf"), "BEGIN IONS\nTITLE=a."), 2);
}

TEST(SpexorConversion, OutputThatWouldOverwriteTheRawFileIsSkipped) {
    TempDir dir;
    const fs::path raw = dir.Write("run.mgf", kWorkedExample);
    const ProgramResult result = Spexor({"-mgf", "-ms2", "-a", raw.string()});
    // The MGF file asked for is not written: the run is not a success.
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.err, "[Morvane] <Exception>: Failed to create output file " + raw.string() +
                              ": it is the RAW file being converted\n"
                              "[Morvane] <Exception>: 1 output file could not be written; the run is incomplete.\n");
    EXPECT_EQ(result.out.find("Output Files Completed!"), std::string::npos);
    EXPECT_EQ(ReadFile(raw), kWorkedExample);
    // With one output failed, none of the RAW file's outputs is left.
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"run.mgf"});
}

TEST(SpexorConversion, FilesThatReceiveNothingAreRemovedAndTheMarkerStays) {
    TempDir dir;
    const std::string raw = dir.Write("run.raw", R"(rawfixture 1
scan 1
filter FTMS + c NSI Full ms [350.00-1800.00]
p 500.0 10
)")
                                .string();
    dir.Write("run.ms3", "from an earlier run");
    ProgramResult result = Spexor({"-ms", "-a", raw});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"run.ms1", "run.ms3", "run.raw", "run.spexor"}));
    EXPECT_EQ(ReadFile(dir.path() / "run.ms3"), "from an earlier run");  // not a slot of this run

    fs::remove(dir.path() / "run.spexor");
    result = Spexor({"-ms", raw});  // split mode: no marker
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"run.ms1", "run.ms3", "run.raw"}));
}

TEST(SpexorConversion, DottedNamesAndFolders) {
    TempDir dir;
    const fs::path raw = dir.Write("data.v2/run", kWorkedExample);
    const fs::path dotted = dir.Write("data.v2/run.2024.raw", kWorkedExample);
    ProgramResult result = Spexor({"-mgf", "-a", raw.string(), dotted.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"data.v2"});
    EXPECT_EQ(FilesIn(dir.path() / "data.v2"),
              (std::vector<std::string>{"run", "run.2024.mgf", "run.2024.raw", "run.mgf"}));
    EXPECT_EQ(Count(ReadFile(dir.path() / "data.v2/run.2024.mgf"), "TITLE=run.2024.1234.1234."), 2);

    const fs::path out = dir.path() / "out.d";
    result = Spexor({"-mgf", "-a", "-o", out.string(), raw.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(FilesIn(out), std::vector<std::string>{"run.mgf"});
    EXPECT_EQ(Count(ReadFile(out / "run.mgf"), "TITLE=run.1234.1234."), 2);
}

// The names of the output files that failure lines name ("Failed to write
// <path>: ...", "Failed to create output file <path>: ...").
static std::vector<std::string> FailedFileNames(const std::string& err) {
    std::vector<std::string> names;
    const std::regex failure("Failed to (?:write|create output file) ([^\n]*): [^:\n]+\n");
    for (std::sregex_iterator at(err.begin(), err.end(), failure), end; at != end; ++at) {
        names.push_back(fs::path((*at)[1].str()).filename().string());
    }
    return names;
}

static void ExpectAnIncompleteRun(const ProgramResult& result) {
    EXPECT_EQ(result.status, 255) << result.err;
    EXPECT_EQ(result.out.find("Output Files Completed!"), std::string::npos) << result.out;
    EXPECT_TRUE(std::regex_search(
        result.err, std::regex("\\[Morvane\\] <Exception>: [1-9][0-9]* output files? could not be written; the run "
                               "is incomplete\\.\n$")))
        << result.err;
}

TEST(SpexorConversion, AFullDiskLeavesNoCutOffFileAndEndsWith255) {
    const fs::path sample = fs::path(SHARED_DATA_DIR) / "sample.raw";
    if (!fs::exists(sample)) GTEST_SKIP() << "real RAW data not available";
    TempDir dir;
    const fs::path tiny = dir.path() / "tiny";
    fs::create_directory(tiny);
    const std::vector<std::string> args = {"-ms1", "-ms2", "-mgf", "-a", "-o", tiny.string(), sample.string()};
    if (testing_support::SmallFileSystemAvailable()) {
        // A real 200 KB file system, far too small for the outputs.
        const auto run = testing_support::RunInSmallFileSystem(200, tiny.string(), {}, SPEXOR_BIN, args);
        ExpectAnIncompleteRun(run.result);
        EXPECT_FALSE(FailedFileNames(run.result.err).empty()) << run.result.err;
        EXPECT_NE(run.result.err.find("No space left on device"), std::string::npos) << run.result.err;
        // Nothing of the RAW file is left, cut off or whole, nor any temporary file.
        EXPECT_EQ(run.files, std::vector<std::string>{}) << run.result.err;
        return;
    }
    // Without a mount of our own: no file may grow past 100 KB, so writing
    // the larger outputs fails as on a full disk.
    const ProgramResult result = testing_support::RunProgramWithFileSizeLimit(SPEXOR_BIN, args, 100 * 1024);
    ExpectAnIncompleteRun(result);
    EXPECT_FALSE(FailedFileNames(result.err).empty()) << result.err;
    EXPECT_NE(result.err.find("File too large"), std::string::npos) << result.err;
    EXPECT_EQ(FilesIn(tiny), std::vector<std::string>{});  // and no marker
}

TEST(SpexorConversion, AnOutputFolderThatIsAFileFailsEveryOutputAndEndsWith255) {
    TempDir dir;
    const fs::path raw = dir.Write("run.raw", kWorkedExample);
    const fs::path notAFolder = dir.Write("results", "a file");
    const ProgramResult result = Spexor({"-mgf", "-ms2", "-o", notAFolder.string(), raw.string()});
    ExpectAnIncompleteRun(result);
    EXPECT_EQ(FailedFileNames(result.err).size(), 12u) << result.err;  // six split files each of MS2 and MGF
    EXPECT_NE(result.err.find("12 output files could not be written"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFile(notAFolder), "a file");
}

// A fixture of `scans` scans in cycles of one MS1 survey (profile every
// other cycle) and MS2 scans of every activation on both analyzers, an MS3
// now and then, with failures scripted here and there; `fatalScan` names an
// activation that has no files of its own.
static std::string ManyScanFixture(int scans, int fatalScan = 0, int ms1Cycle = 7) {
    const char* const ms2[] = {"FTMS + c NSI d Full ms2 %.2f@hcd30.00 [100.00-2000.00]",
                               "ITMS + c NSI d Full ms2 %.2f@cid35.00 [100.00-2000.00]",
                               "FTMS + c NSI d Full ms2 %.2f@etd25.00 [100.00-2000.00]",
                               "ITMS + c NSI d Full ms2 %.2f@hcd28.00 [100.00-2000.00]",
                               "FTMS + c NSI d Full ms3 %.2f@cid35.00 300.00@hcd65.00 [100.00-1000.00]"};
    std::string text = "rawfixture 1\n";
    char line[160];
    for (int scan = 1; scan <= scans; ++scan) {
        text += "scan " + std::to_string(scan) + "\n";
        const int cycle = scan % ms1Cycle;
        const double mz = 400.0 + (scan % 97) * 3.25;
        if (cycle == 1) {
            text += scan % 2 == 0 ? "filter FTMS + p NSI Full ms [350.00-1800.00]\n"
                                  : "filter FTMS + c NSI Full ms [350.00-1800.00]\n";
        } else {
            std::snprintf(line, sizeof line,
                          scan == fatalScan ? "FTMS + c NSI d Full ms2 %.2f@pqd30.00 [100.00-2000.00]" : ms2[cycle % 5],
                          mz);
            text += std::string("filter ") + line + "\n";
            text += "trailer I2 Charge State:=" + std::to_string(scan % 4) + "\n";
            std::snprintf(line, sizeof line, "trailer R8 Monoisotopic M/Z:=%.5f\n", scan % 3 == 0 ? 0.0 : mz - 0.01);
            text += line;
        }
        std::snprintf(line, sizeof line, "rt %.4f\ntrailer R4 Ion Injection Time (ms):=%.2f\n", scan / 60.0,
                      10.0 + scan % 13);
        text += line;
        if (scan % 211 == 0) text += "fail masslist\n";
        if (scan % 157 == 0) text += "fail trailer:Monoisotopic M/Z:\n";
        for (int p = 0; p < 3 + scan % 9; ++p) {
            std::snprintf(line, sizeof line, "p %.5f %.1f\n", 100.0 + p * 0.01 + scan % 50,
                          1000.0 + (p * 37 + scan) % 500);
            text += line;
        }
    }
    return text;
}

// One run's observable result: status, console lines (the elapsed time
// masked) and every file written, the H date lines masked.
static std::string Observed(const ProgramResult& result, const fs::path& folder) {
    std::string seen = "status " + std::to_string(result.status) + "\n--- out\n" +
                       std::regex_replace(result.out, std::regex("Time elapsed: [^ ]+ "), "Time elapsed: T ") +
                       "--- err\n" + result.err;
    for (const std::string& name : FilesIn(folder)) {
        seen +=
            "--- " + name + "\n" +
            std::regex_replace(ReadFile(folder / name), std::regex("H\tCreationDate\t[^\n]*\n"), "H\tCreationDate\n");
    }
    return seen;
}

TEST(SpexorConversion, SeveralThreadsWriteExactlyWhatOneThreadWrites) {
    TempDir dir;
    const fs::path raw = dir.Write("many.raw", ManyScanFixture(3000));
    const fs::path fatal = dir.Write("fatal.raw", ManyScanFixture(3000, 2203));
    // MS1 scans 700 apart: chunks of scans that hold none and follow one that holds none either.
    const fs::path sparse = dir.Write("sparse.raw", ManyScanFixture(3000, 0, 700));
    const fs::path small = dir.Write("small.raw", ManyScanFixture(40));
    const fs::path blocked = dir.Write("blocked.raw", ManyScanFixture(50));
    const fs::path never = dir.Write("never.raw", ManyScanFixture(30));
    const fs::path notRaw = dir.Write("notraw.raw", "no RAW file\n");
    const std::vector<std::vector<std::string>> runs = {
        {"-ms1", "-ms2", "-ms3", "-mgf", "-ksd", raw.string()},
        {"-ms1", "-ms2", "-ms3", "-mgf", "-ksd", "-a", "-p", raw.string()},
        {"-mgf", "-h", "-m", "3", "-i", "4", raw.string()},
        {"-ms2", "-mgf", fatal.string()},  // ends at scan 2203 with the fatal activation line
        {"-ms1", "-ms2", sparse.string()},
        // Several files, each converted ahead while the one before it is:
        // one whose MGF file cannot be made (a folder of its name), one that
        // ends the run at its fatal scan, and one never reached.
        {"-ms1", "-mgf", "-a", small.string(), blocked.string(), raw.string(), small.string(), fatal.string(),
         never.string()},
        {"-mgf", small.string(), notRaw.string(), raw.string()},  // ends at the file that cannot be opened
    };
    for (const auto& options : runs) {
        std::string oneThread;
        for (const char* threads : {"1", "3"}) {
            const fs::path out = dir.path() / ("out" + std::string(threads));
            fs::remove_all(out);
            fs::create_directories(out / "blocked.mgf");
            std::vector<std::string> args = options;
            args.insert(args.begin(), {"-j", threads, "-o", out.string()});
            const std::string seen = Observed(Spexor(args), out);
            const std::string name = seen.substr(0, seen.find('\n'));
            if (oneThread.empty()) {
                oneThread = std::regex_replace(seen, std::regex("out1"), "outN");
                continue;
            }
            // Compared whole, and shown from where they part: a line-by-line
            // diff of texts this long would take more memory than the machine has.
            const std::string threaded = std::regex_replace(seen, std::regex("out3"), "outN");
            const size_t parted =
                std::mismatch(threaded.begin(), threaded.end(), oneThread.begin(), oneThread.end()).first -
                threaded.begin();
            EXPECT_TRUE(threaded == oneThread) << options.back() << " parts at byte " << parted << ":\n"
                                               << threaded.substr(parted > 200 ? parted - 200 : 0, 400) << "\n----\n"
                                               << oneThread.substr(parted > 200 ? parted - 200 : 0, 400);
        }
    }
    EXPECT_NE(Spexor({"-ms2", "-j", "1", "-o", (dir.path() / "fatal").string(), fatal.string()})
                  .err.find("error to get activation type of scan "),
              std::string::npos);
}

TEST(SpexorConversion, RepeatedMessagesAreCountedAfterTenLinesPerFile) {
    TempDir dir;
    // 13 MS2 scans without any trailer value: three messages per scan.
    std::string fixture = "rawfixture 1\nfail trailer\n";
    for (int scan = 1; scan <= 13; ++scan) {
        fixture += "scan " + std::to_string(scan) + "\nfilter FTMS + c NSI d Full ms2 500.00@hcd30.00\np 150.0 10\n";
    }
    const std::string first = dir.Write("first.raw", fixture).string();
    const std::string second = dir.Write("second.raw", fixture).string();
    const ProgramResult result = Spexor({"-ms2", "-a", "-o", (dir.path() / "out").string(), first, second});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string charge = "[Morvane] <Exception>: Error getting Charge State: for scan number ";
    std::string perFile;
    for (int scan = 1; scan <= 10; ++scan) {
        const std::string n = std::to_string(scan);
        perFile += charge + n +
                   "! \n[Morvane] <Exception>: Error getting trailer extra value Monoisotopic M/Z: for "
                   "scan number " +
                   n +
                   "!\n[Morvane] <Exception>: Error getting trailer extra value Ion Injection "
                   "Time (ms): for scan number " +
                   n + "!\n";
    }
    perFile +=
        "[Morvane] <Exception>: 3 more \"Error getting Charge State: for scan number ...\" lines not shown.\n"
        "[Morvane] <Exception>: 3 more \"Error getting trailer extra value Monoisotopic M/Z: for scan number ...\" "
        "lines not shown.\n"
        "[Morvane] <Exception>: 3 more \"Error getting trailer extra value Ion Injection Time (ms): for scan number "
        "...\" lines not shown.\n";
    EXPECT_EQ(result.err, perFile + perFile);
    EXPECT_EQ(Count(ReadFile(dir.path() / "out" / "second.ms2"), "\nS\t"), 13 * 2);  // charges 2 and 3

    // A file converted in parts on several threads counts its lines as on one.
    const fs::path large = fs::path(SHARED_DATA_DIR) / "Blank04_29Mar17_Smeagol.raw";
    if (!fs::exists(large)) return;
    const ProgramResult one = Spexor({"-ms2", "-a", "-j", "1", "-o", (dir.path() / "one").string(), large.string()});
    const ProgramResult four = Spexor({"-ms2", "-a", "-j", "4", "-o", (dir.path() / "four").string(), large.string()});
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(four.err, one.err);
    EXPECT_EQ(Count(one.err, "Error getting Charge State: for scan number "), 10 + 1);
    EXPECT_EQ(Count(one.err, " more \"Error getting Charge State: for scan number ...\" lines not shown.\n"), 1);
}

// An output's final name: what a workflow looking for outputs would read.
bool IsOutputName(const std::string& name) {
    static const std::regex output(R"(.+\.(ms1|ms2|ms3|mgf|ksd|mzML|spexor))");
    return std::regex_match(name, output);
}

TEST(SpexorConversion, OutputFilesAppearWholeAndOnlyWithSpectra) {
    std::vector<std::string> raws;
    for (const char* name : {"sample.raw", "small2.RAW", "ThermoRawFileMS1MS2.raw"}) {
        const fs::path raw = fs::path(SHARED_DATA_DIR) / name;
        if (!fs::exists(raw)) GTEST_SKIP() << "real RAW data not available";
        raws.push_back(raw.string());
    }
    TempDir dir;
    const fs::path out = dir.path() / "out";
    for (const char* threads : {"1", "2"}) {
        SCOPED_TRACE(std::string("-j ") + threads);
        fs::remove_all(out);
        std::vector<std::string> args = {"-ms1", "-ms2", "-mgf", "-mzml", "-p", "-j", threads, "-o", out.string()};
        args.insert(args.end(), raws.begin(), raws.end());
        testing_support::FolderWatch watch(out, IsOutputName);
        const ProgramResult result = Spexor(args);
        watch.Stop();
        ASSERT_EQ(result.status, 0) << result.err;
        // Whenever an output could be seen under its name, it was whole.
        const std::vector<std::string> finals = FilesIn(out);
        for (const auto& [name, seen] : watch.contents()) {
            ASSERT_TRUE(std::find(finals.begin(), finals.end(), name) != finals.end()) << name << " came and went";
            EXPECT_EQ(seen, std::set<std::string>{ReadFile(out / name)}) << name << " was seen unfinished";
        }
        // Any other name seen says the file is unfinished; an output that
        // gets no spectrum (sample.raw has no CID scans) is never made.
        static const std::regex unfinished(R"(.+\.incomplete-[0-9]+)");
        for (const std::string& name : watch.names()) {
            if (IsOutputName(name)) continue;
            EXPECT_TRUE(std::regex_match(name, unfinished)) << name;
        }
        EXPECT_EQ(std::count_if(watch.names().begin(), watch.names().end(),
                                [](const std::string& name) { return name.rfind("sample.CID.", 0) == 0; }),
                  0);
        EXPECT_FALSE(finals.empty());
    }
}

TEST(SpexorConversion, AKilledRunLeavesOnlyFilesNamedUnfinished) {
    const fs::path raw = fs::path(SHARED_DATA_DIR) / "RP240K_01.raw";
    if (!fs::exists(raw)) GTEST_SKIP() << "real RAW data not available";
    TempDir dir;
    const fs::path out = dir.path() / "out";
    fs::create_directory(out);
    const std::string outArg = out.string();
    const std::string rawArg = raw.string();
    std::vector<std::string> args = {SPEXOR_BIN, "-ms1", "-mzml", "-p", "-j", "1", "-o", outArg, rawArg};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, SPEXOR_BIN, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    // Killed once it is writing (a temporary file is there), or not at all
    // when it ends first.
    bool writing = false;
    int status = 0;
    while (!writing && waitpid(pid, &status, WNOHANG) == 0) {
        for (const std::string& name : FilesIn(out))
            writing = writing || name.find(".incomplete-") != std::string::npos;
    }
    if (!writing) GTEST_SKIP() << "spexor ended before it could be killed";
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    for (const std::string& name : FilesIn(out)) {
        EXPECT_NE(name.find(".incomplete-" + std::to_string(pid)), std::string::npos) << name;
    }
}

TEST(SpexorConversion, ThreadCountOptionTakesAWholeNumberFrom1) {
    TempDir dir;
    const fs::path raw = dir.Write("run.raw", kWorkedExample);
    for (const char* bad : {"0", "x", "", "-1", "1.5", "1000"}) {
        EXPECT_EQ(Spexor({"-j", bad, raw.string()}).status, 255) << bad;
    }
    EXPECT_EQ(Spexor({"-mgf", "-a", "-j", "2", raw.string()}).status, 0);
}
