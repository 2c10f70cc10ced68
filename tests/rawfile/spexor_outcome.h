#pragma once

// What spexor must leave behind when it converts one real RAW file with
// every output kind (-ms1 -ms2 -ms3 -mgf -ksd), activations split or
// merged, worked out from the reader's answers for each of the file's scans
// (the census) by the program's rules: a scan's level is read from its
// filter text ("ms2", else "ms3", else MS1); a scan is written when its mass
// list, asked with that level as scan filter, has points; an MS2 or MS3 scan
// goes to the file of its activation (the three letters after the last '@')
// and analyzer (the first token, "+" meaning ITMS), or in merged mode to the
// one file of its kind; split, an activation other than HCD, CID and ETD
// ends the run at once, leaving none of the file's outputs.

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/scan_census.h"

namespace rawfile_tests {

struct SpexorOutcome {
    int status = 0;         // 0, or 255 for a run that ends at a fatal error or reads no scan
    std::string fatalLine;  // that error's line, the last on standard error
    int fatalScan = 0;      // the scan whose activation ends the run; 0 for none
    // Every file the run leaves in the output folder, by name, with the scans
    // written into it (none for the marker file).
    std::map<std::string, std::set<int>> outputs;
};

// spexor's line for a scan whose activation has no files of its own (split mode).
std::string ActivationErrorLine(int scan, const std::string& rawPath);

// The fatal line that ended a run: the last line of standard error, or the
// one before it when that is an open failure followed by its reason.
std::string LastFatalLine(const std::vector<std::string>& lines);

SpexorOutcome ExpectedSpexorOutcome(const testing_support::FileCensus& census, const std::string& rawPath, bool merged);

// The scan numbers of the spectra in an output file, whatever its format (a
// spectrum written for two charges counts once).
std::set<int> ScansIn(const std::filesystem::path& file);

// Checks that the files of `folder` named <stem>.<anything> are exactly the
// expected ones and that each holds exactly its scans; a difference names
// `what`, the file and the first scans missing or extra.
void ExpectOutputs(const std::filesystem::path& folder, const std::string& stem, const SpexorOutcome& expected,
                   const std::string& what);

}  // namespace rawfile_tests
