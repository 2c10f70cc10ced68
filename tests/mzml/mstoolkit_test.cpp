// spexor's mzML of every real RAW file read scan by scan with MSToolkit's
// msSingleScan (Debian package libmstoolkit-tools), which seeks each scan
// through the index as Comet and the other MSToolkit-based programs do: an
// even spread of the MS1 and MS2 scans (the program reads no others), each
// found by its number with all its peaks, with a precursor m/z for MS2 scans
// and none for MS1 scans.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "mzml/mzml_output.h"
#include "support/real_files.h"

namespace {

using mzml_test::MzmlOutput;

// Each call starts the program anew: a spread of this many scans per file.
const std::size_t kScansRead = 25;

std::vector<const testing_support::ScanFacts*> SpreadOfScans(const testing_support::FileCensus& census) {
    std::vector<const testing_support::ScanFacts*> readable;
    for (const testing_support::ScanFacts& scan : census.scans) {
        if (scan.msOrderRead && (scan.msOrder == 1 || scan.msOrder == 2)) readable.push_back(&scan);
    }
    const std::size_t count = readable.size();
    std::vector<const testing_support::ScanFacts*> chosen;
    for (std::size_t i = 0; i < kScansRead && i < count; ++i) {
        chosen.push_back(readable[count <= kScansRead ? i : i * (count - 1) / (kScansRead - 1)]);
    }
    return chosen;
}

struct ScanRead {
    bool found = false;
    double precursor = -1;
    long peaks = 0;
};

// msSingleScan's MS2-format text: "S\tscan\tscan\tprecursor", "I"/"Z" lines,
// then one "m/z intensity" line per peak.
ScanRead ParseScan(const std::string& out, int scan) {
    ScanRead read;
    static const std::regex peak(R"(^[-+0-9.eE]+ [-+0-9.eE]+$)");
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("S\t", 0) == 0) {
            std::istringstream fields(line.substr(2));
            int first = 0, last = 0;
            fields >> first >> last >> read.precursor;
            read.found = first == scan && last == scan;
        } else if (std::regex_match(line, peak)) {
            ++read.peaks;
        }
    }
    return read;
}

class MsToolkit : public testing::TestWithParam<std::string> {};

TEST_P(MsToolkit, ReadsScansByNumberWithAllTheirPeaks) {
    const mzml_test::Reader msSingleScan = mzml_test::FindReader("msSingleScan", "libmstoolkit-tools");
    ASSERT_TRUE(msSingleScan.installed()) << msSingleScan.Missing();
    const testing_support::FileCensus census = mzml_test::CensusOf(GetParam());
    const MzmlOutput output(GetParam(), {});
    if (!mzml_test::MzmlToRead(census, output)) return;
    const std::map<int, long> lengths = mzml_test::ArrayLengthsByScan(output.mzml());

    for (const testing_support::ScanFacts* scan : SpreadOfScans(census)) {
        const auto result =
            testing_support::RunProgram(msSingleScan.path, {std::to_string(scan->scan), output.mzml().string()});
        const ScanRead read = ParseScan(result.out, scan->scan);
        const std::string where = "scan " + std::to_string(scan->scan) + ": ";
        EXPECT_EQ(result.status, 0) << where << mzml_test::Excerpt(result.out + result.err, 8);
        if (!read.found) {
            ADD_FAILURE() << where << "not read; " << mzml_test::Excerpt(result.out + result.err, 8);
            continue;
        }
        EXPECT_EQ(read.peaks, lengths.count(scan->scan) ? lengths.at(scan->scan) : -1) << where << "peaks";
        if (scan->msOrder == 1) {
            EXPECT_EQ(read.precursor, 0) << where << "an MS1 scan with a precursor";
        } else {
            EXPECT_GT(read.precursor, 0) << where << "an MS2 scan without precursor";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(RealFiles, MsToolkit, testing::ValuesIn(mzml_test::OpenableRealFiles()),
                         testing_support::RealFileTestName());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(MsToolkit);

}  // namespace
