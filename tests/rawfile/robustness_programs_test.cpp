// spexor (every output kind, split and merged) and brisel on thermo.raw,
// tsq_quantum.raw, bad_file.raw and damaged copies of every real RAW file:
// the programs
// end normally or with spexor's fatal status, never by a signal, and report
// every failure with the readers' own messages: a file the component
// refuses ends spexor with the open-failure line and gives brisel's
// open-failure box; a scan that cannot be read gives its per-scan line.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "common/xrawfile.h"
#include "component_forms.h"
#include "robustness_variants.h"
#include "spexor_outcome.h"
#include "support/real_files.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/text_lines.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Lines;
using testing_support::ProgramResult;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

constexpr int kFatalStatus = 255;  // spexor's exit status -1

const std::string kTag = "[Morvane] <Exception>: ";
const std::string kBriselOpenBox =
    "XCalibur in this system is not installed correctly: For Thermo RAW format, program requires access to library "
    "files supplied as part of the instrument data system. Please reinstall Thermo Scientific Xcalibur to continue. ";

// Why the reader cannot open the damaged real file.
const std::string kBadFileReason = "no mass spectrometer controller (no run header with scan events)";

std::string OpenFailureLine(const std::string& path) {
    return kTag + "Failed to open file " + path + ", check if your file is corrupt!";
}

// The lines that end spexor with its fatal status while converting a file.
bool IsFatalLine(const std::string& line, const std::string& path) {
    return line == OpenFailureLine(path) || line == kTag + "Failed to set current controller!" ||
           line == kTag + "Failed to load first scan number! " ||
           line == kTag + ": Failed to load last scan number! " ||
           line.rfind(kTag + "error to get activation type of scan ", 0) == 0;
}

// The line after a file's conversion that counts the lines of a message not shown.
bool IsUnshownRepeatsLine(const std::string& line) {
    static const std::regex counted(R"(\d+ more ".+ \.\.\." lines not shown\.)");
    return line.rfind(kTag, 0) == 0 && std::regex_match(line.substr(kTag.size()), counted);
}

// The lines of a file none of whose scans could be read: it failed, the run goes on.
bool IsUnreadableFileLine(const std::string& line, const std::string& path) {
    return line == kTag + "No scan of " + path + " could be read." ||
           line == kTag + "1 RAW file could not be converted; the run is incomplete.";
}

// The readers' per-scan failure lines, after which the conversion goes on.
bool IsScanFailureLine(const std::string& line) {
    static const std::regex patterns[] = {
        std::regex(R"(Error getting filter for scan number -?\d+!)"),
        std::regex(R"(Error getting mass list data for scan\.-?\d+)"),
        std::regex(R"(Error getting retention time for scan number -?\d+! )"),
        std::regex(R"(Error getting trailer extra value .+ for scan number -?\d+!)"),
        std::regex(R"(Error getting .+ for scan number -?\d+! )"),
        std::regex(R"(Unknown trailer extra type!)"),
        std::regex(R"(Unknown varValue type\.!)"),
    };
    if (line.rfind(kTag, 0) != 0) return false;
    const std::string message = line.substr(kTag.size());
    for (const std::regex& pattern : patterns) {
        if (std::regex_match(message, pattern)) return true;
    }
    return false;
}

// brisel's boxes ("caption: text" on standard error) for a file it reads.
bool IsBriselBox(const std::string& line) {
    static const std::regex failureCode(R"((-?\d+): \1)");
    return line == kBriselOpenBox || line == "Error: Error setting current controller" ||
           line == "Error: Error getting first scan number" || line == "Error: Error getting last scan number" ||
           line == "Error: Error getting creation date" || line == "Error: Error getting retention time" ||
           std::regex_match(line, failureCode);
}

bool ComponentOpens(const std::string& path) {
    rawfile_tests::ComponentForms component;
    const bool opened = component.rawfile()->Open(path.c_str()) == platform::S_OK;
    if (opened) component.rawfile()->Close();
    return opened;
}

class RobustPrograms : public testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::HasRealFiles()) GTEST_SKIP() << "real RAW data not available";
    }

    // Runs spexor with every output kind, split or merged, into a fresh folder.
    ProgramResult RunSpexor(const fs::path& raw, bool merged) {
        const fs::path out = dir_.path() / (merged ? "merged" : "split");
        fs::remove_all(out);
        std::vector<std::string> args = {"-ms1", "-ms2", "-ms3", "-mgf", "-ksd", "-o", out.string(), raw.string()};
        if (merged) args.insert(args.begin(), "-a");
        return RunProgram(SPEXOR_BIN, args);
    }

    // Checks one spexor run on a file; true when it stopped at the open.
    bool ExpectSpexorEndsCleanly(const ProgramResult& result, const std::string& path) {
        EXPECT_TRUE(result.status == 0 || result.status == kFatalStatus) << "status " << result.status << "\n"
                                                                         << result.err;
        std::vector<std::string> lines = Lines(result.err);
        const std::string fatal = rawfile_tests::LastFatalLine(lines);
        if (!lines.empty() && fatal != lines.back()) lines.pop_back();  // the open failure's reason
        for (size_t i = 0; i < lines.size(); ++i) {
            const bool last = i + 1 == lines.size();
            const bool known = IsScanFailureLine(lines[i]) || IsUnreadableFileLine(lines[i], path) ||
                               IsUnshownRepeatsLine(lines[i]) || (last && IsFatalLine(lines[i], path));
            EXPECT_TRUE(known) << "unexpected message: " << lines[i];
        }
        if (result.status == kFatalStatus) {
            EXPECT_FALSE(lines.empty()) << "a fatal end is reported";
        } else {
            EXPECT_NE(result.out.find("[Morvane] Output Files Completed!\n"), std::string::npos) << result.out;
        }
        return result.status == kFatalStatus && fatal == OpenFailureLine(path);
    }

    // Runs brisel on the file and checks its boxes, MS1 file and log; true
    // when it gave the open-failure box.
    bool ExpectBriselEndsCleanly(const fs::path& raw) {
        const fs::path ms1 = fs::path(raw).replace_extension(".MS1");
        const fs::path log = fs::path(ms1.string() + ".Log");
        fs::remove(ms1);
        fs::remove(log);
        const ProgramResult result = RunProgram(BRISEL_BIN, {raw.string()});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, "");
        std::vector<std::string> boxes = Lines(result.err);
        // The open-failure box's second line names the file and the reason.
        if (boxes.size() >= 2 && boxes[0] == kBriselOpenBox && boxes[1].rfind(raw.string() + ": ", 0) == 0) {
            boxes.erase(boxes.begin() + 1);
        }
        for (const std::string& box : boxes) {
            EXPECT_TRUE(IsBriselBox(box)) << "unexpected box: " << box;
        }
        const bool refused = !boxes.empty() && boxes.front() == kBriselOpenBox;
        EXPECT_EQ(fs::exists(ms1), !refused) << "an MS1 file exactly when the file opens";
        if (!refused) {
            EXPECT_EQ(ReadFile(ms1).rfind("H\tCreationDate\t", 0), 0u);
        }
        if (fs::exists(log)) {
            // Three lines for each failed mass-list fetch.
            static const std::regex entries(R"((ScanNumber: -?\d+\nError code: -?\d+\nnbuffScanNumber: -?\d+\n)+)");
            const std::string text = ReadFile(log);
            EXPECT_TRUE(std::regex_match(text, entries)) << text;
        }
        return refused;
    }

    TempDir dir_;
};

TEST_F(RobustPrograms, OddRealFilesConvertWithTheirReaderMessages) {
    for (const std::string& name :
         {std::string("tsq_quantum.raw"), std::string("thermo.raw"), testing_support::kUnopenableFile}) {
        if (!testing_support::HasRealFile(name)) GTEST_SKIP() << name << " not available";
    }
    // tsq_quantum.raw has no ion injection time: one message per scan, of
    // which the first ten are shown and the other 68 counted, and all 78
    // scans in the MS1 file.
    const fs::path tsq = testing_support::DataDir() / "tsq_quantum.raw";
    for (bool merged : {false, true}) {
        const ProgramResult result = RunSpexor(tsq, merged);
        ExpectSpexorEndsCleanly(result, tsq.string());
        EXPECT_EQ(result.status, 0);
        const std::vector<std::string> lines = Lines(result.err);
        ASSERT_EQ(lines.size(), 11u);
        EXPECT_EQ(lines[0], kTag + "Error getting trailer extra value Ion Injection Time (ms): for scan number 1!");
        EXPECT_EQ(lines[9], kTag + "Error getting trailer extra value Ion Injection Time (ms): for scan number 10!");
        EXPECT_EQ(lines[10], kTag +
                                 "68 more \"Error getting trailer extra value Ion Injection Time (ms): for scan "
                                 "number ...\" lines not shown.");
        const std::string ms1 = ReadFile(dir_.path() / (merged ? "merged" : "split") / "tsq_quantum.ms1");
        EXPECT_NE(ms1.find("\nS\t000078\t000078\n"), std::string::npos);
    }

    // thermo.raw has no scans: the empty range 1 to 0 reads no scan, so no
    // message and no spectrum file (merged, only the empty marker).
    const fs::path thermo = testing_support::DataDir() / "thermo.raw";
    for (bool merged : {false, true}) {
        const ProgramResult result = RunSpexor(thermo, merged);
        ExpectSpexorEndsCleanly(result, thermo.string());
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, "");
        EXPECT_NE(result.out.find("\n[Morvane] <Output files>: 100.00%\n[Morvane] Output Files Completed!\n"),
                  std::string::npos)
            << result.out;
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(dir_.path() / (merged ? "merged" : "split"))) {
            left.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(left, merged ? std::vector<std::string>{"thermo.spexor"} : std::vector<std::string>{});
    }

    // bad_file.raw is damaged beyond opening: spexor ends at the open with
    // the open-failure line alone and writes nothing.
    const fs::path bad = testing_support::DataDir() / testing_support::kUnopenableFile;
    for (bool merged : {false, true}) {
        const ProgramResult result = RunSpexor(bad, merged);
        EXPECT_TRUE(ExpectSpexorEndsCleanly(result, bad.string())) << (merged ? "merged" : "split");
        EXPECT_EQ(result.status, kFatalStatus);
        EXPECT_EQ(result.err, OpenFailureLine(bad.string()) + "\n" + kTag + "Reason: " + kBadFileReason + "\n");
        EXPECT_TRUE(fs::is_empty(dir_.path() / (merged ? "merged" : "split")));
    }

    // brisel writes the first two files' MS1 files without a box, and for
    // bad_file.raw gives its open-failure box alone and writes no MS1 file
    // (links, so it can write beside them).
    for (const std::string& name :
         {std::string("tsq_quantum.raw"), std::string("thermo.raw"), testing_support::kUnopenableFile}) {
        const fs::path link = dir_.path() / name;
        fs::create_symlink(fs::absolute(testing_support::DataDir() / name), link);
        EXPECT_EQ(ExpectBriselEndsCleanly(link), name == testing_support::kUnopenableFile) << name;
    }
}

TEST_F(RobustPrograms, DamagedCopiesConvertOrFailWithTheReaderMessages) {
    int refused = 0;
    int converted = 0;
    for (const std::string& name : testing_support::RealFileNames()) {
        const std::string bytes = ReadFile(testing_support::DataDir() / name);
        for (const robustness::DamagedCopy& copy : robustness::DamagedCopies(name, bytes)) {
            SCOPED_TRACE(copy.what);
            const fs::path raw = dir_.Write("damaged.raw", copy.bytes);
            const bool opens = ComponentOpens(raw.string());
            for (bool merged : {false, true}) {
                const bool stoppedAtOpen = ExpectSpexorEndsCleanly(RunSpexor(raw, merged), raw.string());
                EXPECT_EQ(stoppedAtOpen, !opens) << (merged ? "merged" : "split");
            }
            EXPECT_EQ(ExpectBriselEndsCleanly(raw), !opens);
            ++(opens ? converted : refused);
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(converted, 0);
}

}  // namespace
