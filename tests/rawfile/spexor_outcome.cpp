#include "spexor_outcome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

#include "platform/ascii_case.h"
#include "support/temp_dir.h"
#include "support/text_lines.h"

namespace rawfile_tests {

namespace {

namespace fs = std::filesystem;

const std::string kTag = "[Morvane] <Exception>: ";

bool Contains(const std::string& text, const char* piece) { return text.find(piece) != std::string::npos; }

// The activation text of a filter: at most three letters after its last
// '@', or after the one before it when the filter marks the last reaction
// as a supplemental activation ("sa").
std::string ActivationOf(const std::string& filter) {
    size_t at = filter.rfind('@');
    if (at != std::string::npos && at > 0 && Contains(filter, " sa ") &&
        filter.rfind('@', at - 1) != std::string::npos) {
        at = filter.rfind('@', at - 1);
    }
    return at == std::string::npos ? "" : platform::ToUpperAscii(filter.substr(at + 1, 3));
}

// The analyzer of a filter: its first token, "+" meaning ITMS.
std::string AnalyzerOf(const std::string& filter) {
    const std::string first = filter.substr(0, filter.find(' '));
    return first == "+" ? "ITMS" : first;
}

}  // namespace

std::string ActivationErrorLine(int scan, const std::string& rawPath) {
    return kTag + "error to get activation type of scan " + std::to_string(scan) + " in " + rawPath +
           "! Its activation has no files of its own; -a converts such files merged.";
}

std::string LastFatalLine(const std::vector<std::string>& lines) {
    if (lines.empty()) return std::string();
    const bool reasonAfterOpenFailure = lines.size() >= 2 && lines.back().rfind(kTag + "Reason: ", 0) == 0 &&
                                        lines[lines.size() - 2].rfind(kTag + "Failed to open file ", 0) == 0;
    return reasonAfterOpenFailure ? lines[lines.size() - 2] : lines.back();
}

SpexorOutcome ExpectedSpexorOutcome(const testing_support::FileCensus& census, const std::string& rawPath,
                                    bool merged) {
    SpexorOutcome outcome;
    if (!census.opened()) {
        outcome.status = 255;
        outcome.fatalLine = kTag + "Failed to open file " + rawPath + ", check if your file is corrupt!";
        return outcome;
    }
    const std::string stem = fs::path(census.name).stem().string();
    // Every file the run opens, with the scans it receives.
    std::map<std::string, std::set<int>> files;
    files[stem + ".ms1"];
    for (const char* kind : {".ms2", ".mgf", ".ksd", ".ms3"}) {
        if (merged) {
            files[stem + kind];
            continue;
        }
        for (const char* activation : {".HCD", ".CID", ".ETD"}) {
            for (const char* analyzer : {".ITMS", ".FTMS"}) files[stem + activation + analyzer + kind];
        }
    }
    // Mass lists asked for and read, or not read; a file none of whose
    // mass lists can be read fails, leaving nothing.
    int listsRead = 0;
    int listsFailed = 0;
    for (const testing_support::ScanFacts& scan : census.scans) {
        const bool ms2 = Contains(scan.filter, "ms2");
        if (!ms2 && !Contains(scan.filter, "ms3")) {
            ++(scan.massListRead ? listsRead : listsFailed);
            if (scan.points > 0) files[stem + ".ms1"].insert(scan.scan);
            continue;
        }
        // The scan filter "ms2" or "ms3" passes only scans of that MS order.
        const int level = ms2 ? 2 : 3;
        if (scan.msOrderRead && scan.msOrder == level) ++(scan.massListRead ? listsRead : listsFailed);
        if (!scan.msOrderRead || scan.msOrder != level || scan.points == 0) continue;
        const std::vector<std::string> kinds =
            ms2 ? std::vector<std::string>{".ms2", ".mgf", ".ksd"} : std::vector<std::string>{".ms3"};
        std::string base = stem;
        if (!merged) {
            const std::string activation = ActivationOf(scan.filter);
            if (activation != "HCD" && activation != "CID" && activation != "ETD") {
                outcome.status = 255;
                outcome.fatalLine = ActivationErrorLine(scan.scan, rawPath);
                outcome.fatalScan = scan.scan;
                return outcome;  // nothing of the file is left under its outputs' names
            }
            const std::string analyzer = AnalyzerOf(scan.filter);
            if (analyzer != "ITMS" && analyzer != "FTMS") continue;
            base += "." + activation + "." + analyzer;
        }
        for (const std::string& kind : kinds) files[base + kind].insert(scan.scan);
    }
    if (listsFailed > 0 && listsRead == 0) {
        outcome.status = 255;
        outcome.fatalLine = kTag + "1 RAW file could not be converted; the run is incomplete.";
        return outcome;
    }
    // A completed run removes the files that received nothing; MS1 and MS2
    // output merged leave the marker file.
    for (const auto& [name, scans] : files) {
        if (!scans.empty()) outcome.outputs[name] = scans;
    }
    if (merged) outcome.outputs[stem + ".spexor"];
    return outcome;
}

std::set<int> ScansIn(const fs::path& file) {
    std::set<int> scans;
    const std::vector<std::string> lines = testing_support::Lines(testing_support::ReadFile(file));
    const std::string suffix = file.extension().string();
    for (size_t i = 0; i < lines.size(); ++i) {
        int scan = 0;
        int again = 0;
        if (suffix == ".mgf") {
            const size_t dta = lines[i].rfind(".dta");
            if (lines[i].rfind("TITLE=", 0) == 0 && dta != std::string::npos) {
                // TITLE=<base>.<scan>.<scan>.<charge>.dta
                const std::string title = lines[i].substr(0, dta);
                const size_t charge = title.rfind('.');
                const size_t second = title.rfind('.', charge - 1);
                const size_t first = title.rfind('.', second - 1);
                scans.insert(std::stoi(title.substr(first + 1, second - first - 1)));
            }
        } else if (suffix == ".ksd") {
            if (lines[i] == "H" && i + 1 < lines.size() && std::sscanf(lines[i + 1].c_str(), "%d\t", &scan) == 1) {
                scans.insert(scan);
            }
        } else if (std::sscanf(lines[i].c_str(), "S\t%d\t%d", &scan, &again) == 2) {
            EXPECT_EQ(scan, again) << file;
            scans.insert(scan);
        }
    }
    return scans;
}

void ExpectOutputs(const fs::path& folder, const std::string& stem, const SpexorOutcome& expected,
                   const std::string& what) {
    std::set<std::string> found;
    std::error_code absent;
    for (const auto& entry : fs::directory_iterator(folder, absent)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(stem + ".", 0) == 0) found.insert(name);
    }
    std::set<std::string> names;
    for (const auto& [name, scans] : expected.outputs) names.insert(name);
    EXPECT_EQ(found, names) << what << ": the output files";
    for (const auto& [name, scans] : expected.outputs) {
        if (found.count(name) == 0 || fs::path(name).extension() == ".spexor") continue;
        const std::set<int> written = ScansIn(folder / name);
        if (written != scans) {
            ADD_FAILURE() << what << ": " << name << " holds " << written.size() << " scans instead of " << scans.size()
                          << "; missing scans " << testing_support::FirstScans(testing_support::Without(scans, written))
                          << "; extra scans " << testing_support::FirstScans(testing_support::Without(written, scans));
        }
    }
}

}  // namespace rawfile_tests
