#pragma once

// A scan reader that answers from scans written into the test, and logs the
// per-scan calls made of it.

#include <map>
#include <string>
#include <vector>

#include "common/peak.h"
#include "spexor/reader/raw_extractor.h"

struct FakeScan {
    std::string level = "ms";  // "ms", "ms2" or "ms3"
    std::vector<Peak> peaks;
    bool centroid = true;
    int charge = 0;
    double precursorMz = 0.0;
    double monoisotopicMz = 0.0;
    std::string activation;  // as the filter text names it, e.g. "hcd"
    std::string analyzer = "FTMS";
    double retentionTime = 0.0;  // seconds
    double ionInjectionTime = 0.0;
    bool massListFails = false;
    bool massListAnswersOtherScan = false;
};

class FakeReader : public RawExtractor {
public:
    FakeReader() = default;

    int first = 1;
    int last = 0;
    std::map<int, FakeScan> scans;
    // One entry per call: the operation's name and the scan, e.g. "GetMassList 3".
    std::vector<std::string> calls;
    bool opened = false;
    bool closed = false;

    void Open(const std::string& path) override;
    void Close() override;
    int GetFirstScan() override { return first; }
    int GetLastScan() override { return last; }
    bool IsScanKind(int scan, int kind) override;
    bool IsCentroidScan(int scan) override;
    void GetMassList(MassList& list, const std::string& scanFilter) override;
    void GetAnalyzer(std::string& analyzer, int scan) override;
    void GetActivation(std::string& activation, int scan) override;
    std::pair<int, int> GetChargeRange(std::pair<int, int>& range, int scan) override;
    double GetRetentionTime(int scan) override;
    double GetIonInjectionTime(int scan) override;
    double GetPrecursorMz(int scan) override;
    double GetMonoisotopicMz(int scan) override;

    // Adds a scan and widens the range to hold it.
    FakeScan& Add(int scan, FakeScan value);

private:
    const FakeScan& Scan(const char* operation, int scan);
};

// Shorthands for typical scans.
FakeScan Ms1Scan(std::vector<Peak> peaks);
FakeScan Ms2Scan(std::string activation, std::string analyzer, std::vector<Peak> peaks);
