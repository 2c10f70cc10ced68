// The scan attributes both readers read from a scan's filter text and its
// trailer extra values. The filter text is fetched afresh for every question
// through the reader's own GetFilter; a failed fetch leaves it empty.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "spexor/reader/raw_extractor.h"

namespace {

constexpr std::size_t kPrecursorDigitsKept = 20;
constexpr std::size_t kActivationNameLength = 3;

// Made once: the trailer questions take the label as a string.
const std::string kChargeStateLabel = "Charge State:";
const std::string kIonInjectionTimeLabel = "Ion Injection Time (ms):";
const std::string kMonoisotopicMzLabel = "Monoisotopic M/Z:";

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// "sa" marks supplemental activation: ETD followed by CID or HCD on the same
// precursor (ETciD, EThcD), written as a second reaction after the ETD one.
bool HasSupplementalActivation(const std::string& filter) { return Contains(filter, " sa "); }

// The '@' of the reaction that names the scan's activation: the last one,
// or the one before it when the last reaction is a supplemental one.
std::size_t ActivationAt(const std::string& filter) {
    const std::size_t last = filter.rfind('@');
    if (last == std::string::npos || last == 0 || !HasSupplementalActivation(filter)) return last;
    const std::size_t before = filter.rfind('@', last - 1);
    return before == std::string::npos ? last : before;
}

}  // namespace

const std::string& RawExtractor::FilterForQuestion(int scan) {
    questionFilter_.clear();
    GetFilter(scan, questionFilter_);
    return questionFilter_;
}

bool RawExtractor::IsScanKind(int scan, int kind) {
    const std::string& filter = FilterForQuestion(scan);
    switch (kind) {
        case 0: return !Contains(filter, "ms2") && !Contains(filter, "ms3");
        case 1:
        case 2:
        case 3: return Contains(filter, "ms2");
        case 4: return Contains(filter, "ms3");
        default: return false;
    }
}

bool RawExtractor::HasActivation(int scan, int activation) {
    const std::string& filter = FilterForQuestion(scan);
    if (!Contains(filter, "ms2")) return false;
    switch (activation) {
        case 0: return Contains(filter, "@hcd");
        case 1: return Contains(filter, "@cid");
        case 2: return Contains(filter, "@etd");
        default: return false;
    }
}

// Centroid data is marked "+ c " in positive and "- c " in negative polarity.
bool RawExtractor::IsCentroidScan(int scan) {
    const std::string& filter = FilterForQuestion(scan);
    return Contains(filter, "+ c ") || Contains(filter, "- c ");
}

void RawExtractor::GetAnalyzer(std::string& analyzer, int scan) {
    const std::string& filter = FilterForQuestion(scan);
    std::string token = filter.substr(0, filter.find(' '));
    analyzer = token == "+" ? "ITMS" : token;
}

void RawExtractor::GetActivation(std::string& activation, int scan) {
    const std::string& filter = FilterForQuestion(scan);
    const std::size_t at = ActivationAt(filter);
    activation = at == std::string::npos ? std::string() : filter.substr(at + 1, kActivationNameLength);
}

std::pair<int, int> RawExtractor::GetChargeRange(std::pair<int, int>& range, int scan) {
    const int charge = GetTrailerInt(scan, kChargeStateLabel);
    range = {charge, charge};
    return range;
}

double RawExtractor::GetPrecursorMz(int scan) {
    const std::string& filter = FilterForQuestion(scan);
    const std::size_t at = filter.rfind('@');
    if (at == std::string::npos || at == 0) return 0.0;
    const std::size_t blank = filter.rfind(' ', at - 1);
    if (blank == std::string::npos) return 0.0;
    const std::string number = filter.substr(blank + 1, std::min(at - blank - 1, kPrecursorDigitsKept));
    return std::atof(number.c_str());
}

double RawExtractor::GetMonoisotopicMz(int scan) { return GetTrailerDouble(scan, kMonoisotopicMzLabel); }

double RawExtractor::GetIonInjectionTime(int scan) { return GetTrailerDouble(scan, kIonInjectionTimeLabel); }
