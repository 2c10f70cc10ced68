// Times both scan readers walking a large fixture (50,000 scans, a million
// points in all) with the calls the extraction run makes per scan: kind
// tests, mass list, charge, precursor and monoisotopic m/z, activation,
// centroid mark, analyzer, retention time and injection time.

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/window.h"
#include "rawfile/component.h"
#include "spexor/reader/new_raw_extractor.h"
#include "spexor/reader/raw_extractor.h"

namespace {

constexpr int kScans = 50000;
constexpr int kPointsPerScan = 20;

std::string WriteLargeFixture() {
    std::filesystem::path path = std::filesystem::temp_directory_path() / "reader_scan_walk_bench.raw";
    std::ofstream out(path, std::ios::binary);
    out << "rawfixture 1\n";
    char number[64];
    for (int scan = 1; scan <= kScans; ++scan) {
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
        for (int point = 0; point < kPointsPerScan; ++point) {
            std::snprintf(number, sizeof number, " %.5f %.1f", 100.0 + point * 7.25 + scan * 1e-5, 1000.0 + point);
            out << number;
        }
        out << "\n";
    }
    return path.string();
}

struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    std::string Elapsed() const {
        char text[96];
        std::snprintf(text, sizeof text, "%.3f s wall, %.3f s CPU",
                      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
                      static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC);
        return text;
    }
};

// Walks every scan of the open file; answers a checksum so nothing is optimised away.
double WalkScans(RawExtractor& reader) {
    const int first = reader.GetFirstScan();
    const int last = reader.GetLastScan();
    double sum = 0.0;
    std::string text;
    std::pair<int, int> charge;
    for (int scan = first; scan <= last; ++scan) {
        const bool ms1 = reader.IsScanKind(scan, 0);
        const bool ms2 = !ms1 && reader.IsScanKind(scan, 1);
        MassList list;
        list.scan = scan;
        reader.GetMassList(list, ms1 ? "ms" : ms2 ? "ms2" : "ms3");
        if (list.count > 0 && list.valid) sum += list.peaks[list.count - 1].mz;
        if (!ms1) {
            sum += reader.GetChargeRange(charge, scan).first;
            sum += reader.GetPrecursorMz(scan) + reader.GetMonoisotopicMz(scan);
            reader.GetActivation(text, scan);
            sum += static_cast<double>(text.size());
        }
        sum += reader.IsCentroidScan(scan) ? 1.0 : 0.0;
        reader.GetAnalyzer(text, scan);
        sum += static_cast<double>(text.size()) + reader.GetRetentionTime(scan) + reader.GetIonInjectionTime(scan);
    }
    return sum;
}

void TimeWalk(const char* name, RawExtractor& reader, const std::string& path) {
    Stopwatch open;
    reader.Open(path);
    const std::string opened = open.Elapsed();
    Stopwatch walk;
    const double sum = WalkScans(reader);
    const std::string walked = walk.Elapsed();
    reader.Close();
    std::fprintf(stderr, "%s reader: open %s; %d scans walked in %s (checksum %.3f)\n", name, opened.c_str(), kScans,
                 walked.c_str(), sum);
}

}  // namespace

int main() {
    const std::string path = WriteLargeFixture();
    rawfile::RegisterComponent();
    platform::HostWindow host;
    {
        RawExtractor control(&host);
        TimeWalk("hosted-control", control, path);
    }
    {
        NewRawExtractor direct;
        TimeWalk("interface", direct, path);
    }
    std::filesystem::remove(path);
    return 0;
}
