// spexor on real RAW files: every MS2 scan the component reads reaches the
// outputs with its peaks and charges.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

namespace {

struct Ms2Scan {
    int points = 0;
    int charge = 0;
};

// The MS2 scans with points, as the component's dump lists them.
std::map<int, Ms2Scan> DumpedMs2Scans(const std::string& raw) {
    const auto dump = RunProgram(RAWDUMP_BIN, {"--no-peaks", raw});
    std::map<int, Ms2Scan> scans;
    const std::regex scanLine("^\\{\"scan\":(\\d+),.*\"ms_order\":2,.*\"point_count\":(\\d+)\\}$");
    const std::regex chargeValue("\\{\"label\":\"Charge State:\",\"type\":\"\\w+\",\"value\":(\\d+)\\}");
    std::size_t start = 0;
    while (start < dump.out.size()) {
        const std::size_t end = dump.out.find('\n', start);
        const std::string line = dump.out.substr(start, end - start);
        start = end == std::string::npos ? dump.out.size() : end + 1;
        std::smatch found;
        if (!std::regex_match(line, found, scanLine) || std::stoi(found[2]) == 0) continue;
        Ms2Scan& scan = scans[std::stoi(found[1])];
        scan.points = std::stoi(found[2]);
        if (std::regex_search(line, found, chargeValue)) scan.charge = std::stoi(found[1]);
    }
    return scans;
}

}  // namespace

TEST(RealFile, EveryMs2ScanIsWrittenWithItsPeaksAndCharges) {
    const fs::path raw = fs::path(SHARED_DATA_DIR) / "sample.raw";
    if (!fs::exists(raw)) GTEST_SKIP() << "no shared RAW files here";
    const std::map<int, Ms2Scan> expected = DumpedMs2Scans(raw.string());
    ASSERT_GT(expected.size(), 500u);

    TempDir dir;
    const auto result = RunProgram(SPEXOR_BIN, {"-ms2", "-mgf", "-a", "-o", dir.path().string(), raw.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");

    std::map<int, Ms2Scan> written;
    const std::string ms2 = ReadFile(dir.path() / "sample.ms2");
    const std::regex block("\nS\t(\\d{6})\t\\d{6}\t[0-9.]+\nI\tNumberOfPeaks\t(\\d+)\n(?:[^\n]*\n){7}Z\t(\\d+)\t");
    int blocks = 0;
    for (auto it = std::sregex_iterator(ms2.begin(), ms2.end(), block); it != std::sregex_iterator(); ++it) {
        Ms2Scan& scan = written[std::stoi((*it)[1])];
        scan.points = std::stoi((*it)[2]);
        scan.charge = std::stoi((*it)[3]);  // the last charge written
        ++blocks;
    }
    int expectedBlocks = 0;
    for (const auto& [number, scan] : expected) {
        ASSERT_EQ(written.count(number), 1u) << "scan " << number;
        EXPECT_EQ(written[number].points, scan.points) << "scan " << number;
        EXPECT_EQ(written[number].charge, scan.charge == 0 ? 3 : scan.charge) << "scan " << number;
        expectedBlocks += scan.charge == 0 ? 2 : 1;
    }
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_EQ(blocks, expectedBlocks);

    const std::string mgf = ReadFile(dir.path() / "sample.mgf");
    int mgfBlocks = 0;
    for (std::size_t at = mgf.find("BEGIN IONS\n"); at != std::string::npos; at = mgf.find("BEGIN IONS\n", at + 1))
        ++mgfBlocks;
    EXPECT_EQ(mgfBlocks, expectedBlocks);
}
