#pragma once

// The large RAW fixture the component and reader benchmarks walk: 50,000
// scans, one MS1 profile scan then three ITMS CID MS2 scans in turn, each
// with a retention time, charge state, injection time, monoisotopic m/z and
// 20 points (a million points in all).

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

inline constexpr int kLargeFixtureScans = 50000;
inline constexpr int kLargeFixturePointsPerScan = 20;

// Writes the fixture as `fileName` in the temporary folder; answers its path.
inline std::string WriteLargeFixture(const std::string& fileName) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / fileName;
    std::ofstream out(path, std::ios::binary);
    out << "rawfixture 1\ncreated 45000.5\n";
    char number[64];
    for (int scan = 1; scan <= kLargeFixtureScans; ++scan) {
        const bool ms2 = scan % 4 != 1;
        out << "scan " << scan << "\n";
        out << (ms2 ? "filter ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1000.00]\n"
                    : "filter FTMS + p NSI Full ms [350.00-1800.00]\n");
        std::snprintf(number, sizeof number, "rt %.6f\n", scan * 0.002);
        out << number;
        out << "trailer I2 Charge State:=" << (scan % 3) << "\n";
        out << "trailer R4 Ion Injection Time (ms):=12.5\n";
        out << "trailer R8 Monoisotopic M/Z:=445.1187\n";
        out << "points";
        for (int point = 0; point < kLargeFixturePointsPerScan; ++point) {
            std::snprintf(number, sizeof number, " %.5f %.1f", 100.0 + point * 7.25 + scan * 1e-5, 1000.0 + point);
            out << number;
        }
        out << "\n";
    }
    return path.string();
}
