// Placeholder until the hosted-control reader lands.
#include "spexor/reader/raw_extractor.h"

class CXRawfile {};

RawExtractor::RawExtractor(platform::CWnd*) {}
RawExtractor::RawExtractor() = default;
RawExtractor::~RawExtractor() = default;
void RawExtractor::Open(const std::string&) {}
void RawExtractor::Close() {}
int RawExtractor::GetFirstScan() { return 0; }
int RawExtractor::GetLastScan() { return 0; }
bool RawExtractor::IsScanKind(int, int) { return false; }
bool RawExtractor::HasActivation(int, int) { return false; }
bool RawExtractor::IsCentroidScan(int) { return false; }
void RawExtractor::GetMassList(MassList&, const std::string&) {}
void RawExtractor::GetAnalyzer(std::string&, int) {}
void RawExtractor::GetActivation(std::string&, int) {}
std::pair<int, int> RawExtractor::GetChargeRange(std::pair<int, int>& range, int) { return range; }
void RawExtractor::GetFilter(int, std::string&) {}
double RawExtractor::GetRetentionTime(int) { return 0.0; }
double RawExtractor::GetIonInjectionTime(int) { return 0.0; }
double RawExtractor::GetPrecursorMz(int) { return 0.0; }
double RawExtractor::GetMonoisotopicMz(int) { return 0.0; }
bool RawExtractor::IsAvailable() { return available; }
double RawExtractor::GetTrailerDouble(int, const std::string&) { return 0.0; }
int RawExtractor::GetTrailerInt(int, const std::string&) { return 0; }
