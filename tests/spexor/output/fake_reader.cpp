#include "fake_reader.h"

#include <cstring>
#include <stdexcept>

void FakeReader::Open(const std::string&) { opened = true; }
void FakeReader::Close() { closed = true; }

const FakeScan& FakeReader::Scan(const char* operation, int scan) {
    calls.push_back(std::string(operation) + " " + std::to_string(scan));
    auto found = scans.find(scan);
    if (found == scans.end()) throw std::logic_error("no fake scan " + std::to_string(scan));
    return found->second;
}

bool FakeReader::IsScanKind(int scan, int kind) {
    const std::string& level = Scan("IsScanKind", scan).level;
    if (kind == 0) return level == "ms";
    if (kind >= 1 && kind <= 3) return level == "ms2";
    return kind == 4 && level == "ms3";
}

bool FakeReader::IsCentroidScan(int scan) { return Scan("IsCentroidScan", scan).centroid; }

void FakeReader::GetMassList(MassList& list, const std::string& scanFilter) {
    const FakeScan& scan = Scan(("GetMassList(" + scanFilter + ")").c_str(), list.scan);
    if (scan.massListFails) {
        list.valid = false;
        return;
    }
    if (scan.massListAnswersOtherScan) {
        list.count = -1;
        return;
    }
    list.count = static_cast<int32_t>(scan.peaks.size());
    if (list.count == 0) return;
    list.peaks.reset(new Peak[scan.peaks.size()]);
    std::memcpy(list.peaks.get(), scan.peaks.data(), scan.peaks.size() * sizeof(Peak));
}

void FakeReader::GetAnalyzer(std::string& analyzer, int scan) { analyzer = Scan("GetAnalyzer", scan).analyzer; }

void FakeReader::GetActivation(std::string& activation, int scan) {
    activation = Scan("GetActivation", scan).activation;
}

std::pair<int, int> FakeReader::GetChargeRange(std::pair<int, int>& range, int scan) {
    const int charge = Scan("GetChargeRange", scan).charge;
    range = {charge, charge};
    return range;
}

double FakeReader::GetRetentionTime(int scan) { return Scan("GetRetentionTime", scan).retentionTime; }
double FakeReader::GetIonInjectionTime(int scan) { return Scan("GetIonInjectionTime", scan).ionInjectionTime; }
double FakeReader::GetPrecursorMz(int scan) { return Scan("GetPrecursorMz", scan).precursorMz; }
double FakeReader::GetMonoisotopicMz(int scan) { return Scan("GetMonoisotopicMz", scan).monoisotopicMz; }

FakeScan& FakeReader::Add(int scan, FakeScan value) {
    if (scans.empty()) first = last = scan;
    if (scan < first) first = scan;
    if (scan > last) last = scan;
    return scans[scan] = std::move(value);
}

FakeScan Ms1Scan(std::vector<Peak> peaks) {
    FakeScan scan;
    scan.peaks = std::move(peaks);
    return scan;
}

FakeScan Ms2Scan(std::string activation, std::string analyzer, std::vector<Peak> peaks) {
    FakeScan scan;
    scan.level = "ms2";
    scan.activation = std::move(activation);
    scan.analyzer = std::move(analyzer);
    scan.peaks = std::move(peaks);
    scan.precursorMz = 445.62;
    return scan;
}
