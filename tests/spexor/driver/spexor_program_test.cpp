// The driver seen from outside: the built program, its console lines and
// its exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ProgramResult;
using testing_support::RunProgram;
using testing_support::TempDir;

constexpr int kFatal = 255;

const std::string kOptionError =
    "Usage: spexor.exe input_file_path ... [-options]\n\t\tPlease refer to the user guide for more details.\n\n";
const std::string kNoRawFiles = "[Morvane] <Exception>: Warning: No raw files.\n";
const std::string kNothingConverted = "[Morvane] Summary: 0 RAW files converted, 0 output files written";
const std::regex kElapsedLine("\\[Morvane\\] == == == Time elapsed: [0-9.e+-]+s\\. == == ==\n");

const std::string kHelpText =
    "NAME\n"
    "\tspexor.exe - extract text-plain spectra\n"
    "\n"
    "SYNOPSIS\n"
    "\tspexor.exe [OPTION]... [FILE]...\n"
    "\n"
    "DESCRIPTION\n"
    "\tExtract text-plain spectra from binary Thermo Scientific RAW FILES. When [FILE] is set to be a configuration "
    "file, no more options expected. When [FILE] is a file with RAW extension or a directory with RAW files "
    "containing, options will take effect. See User Guide to get more information on configuration file.\n"
    "\n"
    "\t-a\n\t\tTake effect for MS/MS. Turn on this switch to hold different activation types spectra in one file. "
    "Turn off to split in different files.\n\n"
    "\t-c\n\t\tMake results centroided. In default case, this switch is on.\n\n"
    "\t--help\n\t\tGet help information.\n\n"
    "\t-i\n\t\tThe decimal place of intensity. The value goes from 1 to 9. Default is -i 1.\n\n"
    "\t-j\n\t\tThe number of threads to convert on. Default is one per core the process may use; -j 1 converts on "
    "one thread.\n\n"
    "\t-m\n\t\tThe decimal place of m/z ratio. The value goes from 1 to 9. Default is -m 5.\n\n"
    "\t-mgf\n\t\tExport MGF extension file(s).\n\n"
    "\t-ms\n\t\tExport MS1 and MS2 files.\n\n"
    "\t-ms1\n\t\tExport MS1 files.\n\n"
    "\t-ms2\n\t\tExport MS2 files.\n\n"
    "\t-o\n\t\tOutputs directory. e.g. -o F:\\data\\output\\.\n\n"
    "\t-mzml\n\t\tExport one indexed mzML 1.1 file per RAW file, holding every scan of every MS level (the "
    "activation switch -a does not apply to it).\n\n"
    "\t-mzml-nozlib\n\t\tWrite the peak arrays of mzML files uncompressed, for readers that cannot read zlib. In "
    "default case, they are zlib-compressed.\n\n"
    "\t-p\n\t\tMake results profile. In default case, this switch is off.\n\n"
    "\t-ksd\n\t\tExport KSD files.\n\n"
    "\t-z\n\t\tCharge range of the spectra. The range could be any interval between 1 and 9. Default is -z 2-3.\n\n";

ProgramResult Spexor(const std::vector<std::string>& arguments, const TempDir& dir) {
    return RunProgram(SPEXOR_BIN, arguments, dir.path().string());
}

// The output ends with the elapsed-time line; returns what stands before it.
std::string BeforeElapsedLine(const std::string& out) {
    const auto start = out.rfind("[Morvane] == == == Time elapsed: ");
    if (start == std::string::npos) {
        ADD_FAILURE() << "no elapsed-time line in:\n" << out;
        return out;
    }
    EXPECT_TRUE(std::regex_match(out.substr(start), kElapsedLine)) << out.substr(start);
    return out.substr(0, start);
}

TEST(SpexorProgram, NoArgumentsPrintTheUsageBlock) {
    TempDir dir;
    const ProgramResult result = Spexor({}, dir);
    EXPECT_EQ(result.status, kFatal);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "Usage:\n"
              "\tspexor.exe parameter_file_path\n"
              "or\n"
              "\tspexor.exe [OPTION]... [FILE]...\n"
              "e.g. \n"
              "\tspexor.exe config.ini\n"
              "e.g. \n"
              "\tspexor.exe -ms -h E:\\Data\\Worm\\ E:\\Data\\QE\\data1.raw\n"
              "For more information, type spexor.exe --help or see the User Guide.\n");
}

TEST(SpexorProgram, HelpAlonePrintsOnlyTheHelp) {
    TempDir dir;
    const ProgramResult result = Spexor({"--help"}, dir);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, kHelpText);
    EXPECT_EQ(result.err, "");
}

TEST(SpexorProgram, VersionAlonePrintsTheProgramAndItsVersion) {
    TempDir dir;
    const ProgramResult result = Spexor({"--version"}, dir);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "spexor " PROGRAM_VERSION "\n");
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(SpexorProgram, HelpWithOtherArgumentsGoesOnWithTheRun) {
    TempDir dir;
    const ProgramResult result = Spexor({"--help", "file.raw"}, dir);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(BeforeElapsedLine(result.out), kHelpText + "[Morvane] <Exception>: Failed to find file file.raw! \n" +
                                                 kNothingConverted + "; 1 input not found.\n");
    EXPECT_EQ(result.err, kNoRawFiles);
}

TEST(SpexorProgram, SingleOptionWithoutInputsFindsNoRawFiles) {
    TempDir dir;
    const ProgramResult result = Spexor({"-ms1"}, dir);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(BeforeElapsedLine(result.out), kNothingConverted + ".\n");
    EXPECT_EQ(result.err, kNoRawFiles);
}

TEST(SpexorProgram, ShortSingleArgumentIsAnInput) {
    TempDir dir;
    const ProgramResult result = Spexor({"ab"}, dir);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(BeforeElapsedLine(result.out),
              "[Morvane] <Exception>: Failed to find file ab! \n" + kNothingConverted + "; 1 input not found.\n");
    EXPECT_EQ(result.err, kNoRawFiles);
}

TEST(SpexorProgram, OptionErrorsEndWithTheFatalStatus) {
    TempDir dir;
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{{"-MS1"},
                                                                                           {"--HELP"},
                                                                                           {"--version", "x.raw"},
                                                                                           {"-ms1", "x.raw", "-m"},
                                                                                           {"-m", "12", "x.raw"},
                                                                                           {"-z", "2-10", "x.raw"},
                                                                                           {"-i", "/", "x.raw"}}) {
        const ProgramResult result = Spexor(arguments, dir);
        EXPECT_EQ(result.status, kFatal) << testing::PrintToString(arguments);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, kOptionError);
    }
    // Help printed before the bad option stays printed.
    const ProgramResult result = Spexor({"--help", "-q"}, dir);
    EXPECT_EQ(result.status, kFatal);
    EXPECT_EQ(result.out, kHelpText);
    EXPECT_EQ(result.err, kOptionError);
}

TEST(SpexorProgram, ParameterFileErrorsNameTheirLine) {
    TempDir dir;
    dir.Write("input.raw", "");
    dir.Write("mz.ini", "[required]\n# decimals\ninput_file_path=input.raw\nmz=10\n");
    dir.Write("label.INI", "\n[Optional]\n");
    dir.Write("plain.Ini", "[required]\njust words\n");
    dir.Write("key.ini", "mz=3\nmz =3\n");
    struct Case {
        const char* file;
        std::string err;
    };
    for (const Case& c : {
             Case{"mz.ini", "** Error in parameter file **\nLine 4: error mz value\n\n"},
             Case{"label.INI",
                  "** Error in parameter file **\nLine 2: illegal label, only [required] and [optional] are "
                  "allowed\n\n"},
             Case{"plain.Ini", "Error: Not an appropriate parameter file!\n\n"},
             Case{"key.ini", "** Error in parameter file **\nLine 2: no such name mz \n\n"},
             Case{"missing.ini", "[Morvane] <Exception>: Failed to open parameter file missing.ini! \n"},
         }) {
        const ProgramResult result = Spexor({c.file}, dir);
        EXPECT_EQ(result.status, kFatal) << c.file;
        EXPECT_EQ(result.out, "") << c.file;
        EXPECT_EQ(result.err, c.err) << c.file;
    }
}

TEST(SpexorProgram, ParameterFileOutputDirectoryAndInputsAreReported) {
    TempDir dir;
    dir.Write("raws/empty.txt", "");
    dir.Write("settings.ini",
              "[required]\n"
              "input_file_path=nothing.raw|raws/\n"
              "output_file_path=out/deeper//\n"
              "[optional]\n"
              "extension=MS1|MS2\n");
    const ProgramResult result = Spexor({"settings.ini"}, dir);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(BeforeElapsedLine(result.out),
              "[Morvane] <Exception>: Failed to find directory out/deeper, which will be created by default.\n"
              "[Morvane] <Exception>: Create directory successufully!\n"
              "[Morvane] : Output path is out/deeper\n"
              "[Morvane] <Exception>: Failed to find file nothing.raw! \n"
              "[Morvane] <Exception>: Find no raws in raws/! \n" +
                  kNothingConverted + "; 1 input not found, 1 input without RAW files.\n");
    EXPECT_EQ(result.err, kNoRawFiles);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "out" / "deeper"));
}

TEST(SpexorProgram, UncreatableOutputDirectoryIsFatal) {
    TempDir dir;
    dir.Write("blocker", "");
    const ProgramResult result = Spexor({"-o", "blocker/out", "x.raw"}, dir);
    EXPECT_EQ(result.status, kFatal);
    EXPECT_EQ(result.out,
              "[Morvane] <Exception>: Failed to find directory blocker/out, which will be created by default.\n");
    EXPECT_EQ(result.err, "[Morvane] <Exception>: Failed to create directory nested **\n\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "blocker" / "out"));
}

TEST(SpexorProgram, RunsStartedTogetherShareOneFreshOutputFolder) {
    TempDir dir;
    constexpr int kRuns = 8;
    std::vector<ProgramResult> results(kRuns);
    std::vector<std::thread> runs;
    for (int i = 0; i < kRuns; ++i) {
        runs.emplace_back([&, i] {
            results[i] = Spexor({"-ms1", "-o", "race/a/b/c", "run" + std::to_string(i) + ".raw"}, dir);
        });
    }
    for (std::thread& run : runs) run.join();
    for (const ProgramResult& result : results) {
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err.find("Failed to create directory nested"), std::string::npos) << result.err;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "race" / "a" / "b" / "c"));
}

TEST(SpexorProgram, LongParameterLinesAreOnePath) {
    TempDir dir;
    // A folder path of over 600 characters, in three levels.
    const std::string level(200, 'd');
    const std::string folder = level + "/" + level + "/" + level;
    dir.Write(folder + "/readme.txt", "");
    dir.Write("long.ini", "input_file_path=" + folder + "/\n");
    const ProgramResult result = Spexor({"long.ini"}, dir);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(BeforeElapsedLine(result.out), "[Morvane] <Exception>: Find no raws in " + folder + "/! \n" +
                                                 kNothingConverted + "; 1 input without RAW files.\n");
    EXPECT_EQ(result.err, kNoRawFiles);
}

TEST(SpexorProgram, EachRawFileIsAnnouncedInOrderAsFound) {
    TempDir dir;
    const std::string fixture =
        "rawfixture 1\n"
        "scan 1\n"
        "filter FTMS + c NSI Full ms [350.00-1800.00]\n"
        "trailer R4 Ion Injection Time (ms):=3\n"
        "points 400.1 150 400.2 900\n";
    dir.Write("in/b.RAW", fixture);
    dir.Write("in/a.raw", fixture);
    dir.Write("z.raw", fixture);
    const ProgramResult result = Spexor({"z.raw", "-ms1", "in/", "in/a.raw"}, dir);
    EXPECT_EQ(result.status, 0) << result.err;
    // Paths stay as written (relative), folder entries in name order, the
    // file given twice only once.
    std::vector<std::string> announced;
    const std::string begin = "[Morvane] Begin to extract ";
    for (auto at = result.out.find(begin); at != std::string::npos; at = result.out.find(begin, at + 1)) {
        announced.push_back(result.out.substr(at + begin.size(), result.out.find('\n', at) - at - begin.size()));
    }
    EXPECT_EQ(announced, (std::vector<std::string>{"z.raw", "in/a.raw", "in/b.RAW"})) << result.out;
    EXPECT_NE(BeforeElapsedLine(result.out).find("[Morvane] Summary: 3 RAW files converted, 3 output files written.\n"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "in" / "b.ms1"));
}

}  // namespace
