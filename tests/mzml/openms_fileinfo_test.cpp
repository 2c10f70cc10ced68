// spexor's mzML of every real RAW file read by OpenMS's FileInfo (Debian
// package topp): -v validates it against the schema and the PSI mapping
// rules (and exits 0 whatever it finds, so its messages are read), -i checks
// the index, -c reads every spectrum and checks the data.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>

#include "mzml/mzml_output.h"
#include "support/real_files.h"

namespace {

using mzml_test::MzmlOutput;

// FileInfo's whole output (and exit status) with one option on spexor's
// default mzML of a real RAW file; none when there is no mzML to read.
std::optional<testing_support::ProgramResult> FileInfoOn(const testing_support::FileCensus& census,
                                                         const std::string& option) {
    const mzml_test::Reader fileInfo = mzml_test::FindReader("FileInfo", "topp");
    if (!fileInfo.installed()) {
        ADD_FAILURE() << fileInfo.Missing();
        return std::nullopt;
    }
    const MzmlOutput output(census.name, {});
    if (!mzml_test::MzmlToRead(census, output)) return std::nullopt;
    testing_support::ProgramResult result =
        testing_support::RunProgram(fileInfo.path, {"-in", output.mzml().string(), option});
    result.out += result.err;
    return result;
}

// The lines of FileInfo's output that report a fault.
std::string FaultLines(const std::string& out) {
    static const std::regex fault("Failed|Violated mapping rule|Error|Unknown CV term|invalid");
    std::string faults;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, fault)) faults += line + "\n";
    }
    return faults;
}

// "level 1: 14" lines after "Number of spectra per MS level:".
std::map<int, int> SpectraPerMsLevel(const std::string& out) {
    std::map<int, int> levels;
    const std::size_t start = out.find("Number of spectra per MS level:");
    if (start == std::string::npos) return levels;
    std::istringstream lines(out.substr(start));
    std::string line;
    std::getline(lines, line);
    static const std::regex level(R"(^\s*level (\d+): (\d+)\s*$)");
    for (std::smatch match; std::getline(lines, line) && std::regex_match(line, match, level);) {
        levels[std::stoi(match[1])] = std::stoi(match[2]);
    }
    return levels;
}

// The non-blank lines FileInfo -c writes under "-- Checking for corrupt data --",
// but for its notes of spectra without peaks: empty scans are written so.
std::string CorruptDataReport(const std::string& out) {
    const std::string heading = "-- Checking for corrupt data --";
    const std::size_t start = out.find(heading);
    if (start == std::string::npos) return "(no corrupt data check)";
    std::string report;
    std::istringstream lines(out.substr(start + heading.size()));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("FileInfo took", 0) == 0) break;
        if (line.find("No peaks in spectrum") != std::string::npos) continue;
        if (line.find_first_not_of(" \t") != std::string::npos) report += line + "\n";
    }
    return report;
}

class OpenMsFileInfo : public testing::TestWithParam<std::string> {};

TEST_P(OpenMsFileInfo, FindsTheFileValidAndSemanticallyValid) {
    const auto result = FileInfoOn(mzml_test::CensusOf(GetParam()), "-v");
    if (!result) return;
    EXPECT_EQ(result->status, 0) << mzml_test::Excerpt(result->out);
    EXPECT_EQ(FaultLines(result->out), "");
    EXPECT_NE(result->out.find("Success - the file is valid!"), std::string::npos) << mzml_test::Excerpt(result->out);
    EXPECT_NE(result->out.find("Success - the file is semantically valid!"), std::string::npos)
        << mzml_test::Excerpt(result->out);
}

TEST_P(OpenMsFileInfo, FindsAValidIndex) {
    const auto result = FileInfoOn(mzml_test::CensusOf(GetParam()), "-i");
    if (!result) return;
    EXPECT_EQ(result->status, 0) << mzml_test::Excerpt(result->out);
    EXPECT_EQ(result->out.find("Could not detect a valid index"), std::string::npos) << mzml_test::Excerpt(result->out);
    EXPECT_EQ(FaultLines(result->out), "");
}

TEST_P(OpenMsFileInfo, ReadsEveryScanWithItsMsLevelAndNoCorruptData) {
    const testing_support::FileCensus census = mzml_test::CensusOf(GetParam());
    const auto result = FileInfoOn(census, "-c");
    if (!result) return;
    const std::string& out = result->out;
    EXPECT_EQ(result->status, 0) << mzml_test::Excerpt(out);
    EXPECT_NE(out.find("Number of spectra: " + std::to_string(census.scans.size()) + "\n"), std::string::npos)
        << census.scans.size() << " scans; " << mzml_test::Excerpt(out, 40);
    EXPECT_EQ(SpectraPerMsLevel(out), mzml_test::ScansPerMsLevel(census)) << mzml_test::Excerpt(out, 40);
    EXPECT_EQ(CorruptDataReport(out), "");
    EXPECT_EQ(FaultLines(out), "");
}

INSTANTIATE_TEST_SUITE_P(RealFiles, OpenMsFileInfo, testing::ValuesIn(mzml_test::OpenableRealFiles()),
                         testing_support::RealFileTestName());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(OpenMsFileInfo);

}  // namespace
