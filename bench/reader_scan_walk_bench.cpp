// Times both scan readers walking a large fixture (50,000 scans, a million
// points in all) with the calls the extraction run makes per scan: kind
// tests, mass list, charge, precursor and monoisotopic m/z, activation,
// centroid mark, analyzer, retention time and injection time.

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

#include "large_fixture.h"
#include "platform/window.h"
#include "rawfile/component.h"
#include "spexor/reader/new_raw_extractor.h"
#include "spexor/reader/raw_extractor.h"
#include "stopwatch.h"

namespace {

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
    std::fprintf(stderr, "%s reader: open %s; %d scans walked in %s (checksum %.3f)\n", name, opened.c_str(),
                 kLargeFixtureScans, walked.c_str(), sum);
}

}  // namespace

int main() {
    const std::string path = WriteLargeFixture("reader_scan_walk_bench.raw");
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
