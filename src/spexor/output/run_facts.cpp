#include "spexor/output/run_facts.h"

#include "platform/console.h"
#include "platform/fatal_error.h"
#include "spexor/output/filter_facts.h"
#include "spexor/output/scan_description.h"
#include "spexor/output/sha1_digest.h"
#include "spexor/reader/raw_extractor.h"

std::string AnalyzerWordOf(const std::string& filter) {
    std::string word = filter.substr(0, filter.find(' '));
    return word == "+" || word == "-" ? "TQMS" : word;
}

int RunFacts::AnalyzerIndex(const std::string& analyzer) const {
    for (std::size_t i = 0; i < analyzers.size(); ++i)
        if (analyzers[i].analyzer == analyzer) return static_cast<int>(i);
    return -1;
}

namespace {

// What one scan's filter text adds to the file-level facts.
void NoteScan(const std::string& filter, RunFacts& run) {
    FilterFacts facts;
    std::string analyzer = AnalyzerWordOf(filter);
    if (run.AnalyzerIndex(analyzer) < 0) {
        ReadFilterFacts(filter, facts);
        run.analyzers.push_back({std::move(analyzer), std::string(facts.ionization)});
    }
    if (MsLevelOfFilter(filter) > 1) {
        run.hasMsnScans = true;
    } else {
        run.hasMs1Scans = true;
    }
    if (filter.find(" p ") != std::string::npos) run.hasProfileScans = true;
}

}  // namespace

void DescribeRun(RawExtractor& reader, int32_t first, int32_t last, RunFacts& run) {
    run.rawSha1 = std::async(std::launch::async, FileSha1, run.rawPath).share();
    run.firstScan = first;
    run.lastScan = last;
    double date = 0;
    run.creationDate.reset();
    if (reader.GetCreationDate(date)) run.creationDate = date;
    reader.GetInstrument(run.instrument);
    run.analyzers.clear();
    run.hasMs1Scans = run.hasMsnScans = run.hasProfileScans = false;
    // What the scans' filter texts say while they are walked here is said
    // again when each scan is converted.
    platform::ConsoleCapture dropped;
    platform::ScopedConsoleCapture capture(dropped);
    std::string filter;
    try {
        for (int64_t scan = first; scan <= last; ++scan) {
            filter.clear();
            reader.GetFilter(static_cast<int32_t>(scan), filter);
            if (filter.empty()) continue;
            NoteScan(filter, run);
            dropped = platform::ConsoleCapture();
        }
    } catch (const platform::FatalError&) {
        // The scan's own conversion meets the failure again and ends the run there.
    }
}
