#pragma once

// What the tests of spexor's mzML through the real mzML readers share:
// spexor's mzML of a real RAW file in a temporary folder, the readers found
// on PATH, and the few facts of the file the tests check the readers'
// answers against.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/scan_census.h"
#include "support/temp_dir.h"

namespace mzml_test {

// The option that writes the arrays without zlib compression.
inline const std::string kUncompressedOption = "-mzml-nozlib";

// Debian's Python, which has the Debian modules (pymzml) the PATH's may lack.
inline const std::string kDebianPython = "/usr/bin/python3";

// The real RAW files spexor can open: every one of the data folder but the
// one damaged beyond opening.
std::vector<std::string> OpenableRealFiles();

// A reader program: the full path of `program` on PATH, or empty when it is
// not installed. `package` names the Debian package for the failure message.
struct Reader {
    std::string program;
    std::string package;
    std::string path;

    bool installed() const { return !path.empty(); }
    std::string Missing() const;
};
Reader FindReader(const std::string& program, const std::string& package);

// The indexed mzML schema: the shared folder's copy, else OpenMS's.
std::string IndexedMzmlSchema();

// One of the test scripts beside these tests (run with kDebianPython).
std::string Script(const std::string& name);

// spexor run on one real RAW file with -mzml and more options, into a fresh
// temporary folder. A RAW file without scans gets no mzML (an indexed mzML
// holds at least one spectrum), as it gets no file of any other kind.
class MzmlOutput {
public:
    MzmlOutput(const std::string& rawName, const std::vector<std::string>& options);

    const testing_support::ProgramResult& run() const { return run_; }
    // spexor ended well and wrote NAME.mzML; otherwise a text saying why not.
    bool written() const;
    std::string Failure() const;

    const std::filesystem::path& folder() const { return dir_.path(); }
    std::filesystem::path mzml() const { return file(".mzML"); }
    std::filesystem::path file(const std::string& extension) const;

private:
    std::string stem_;
    testing_support::TempDir dir_;
    testing_support::ProgramResult run_;
};

// True when spexor wrote the mzML the readers are to read; otherwise reports
// why not as a failure, except for a RAW file without scans, for which it
// checks that spexor ended well without writing one.
bool MzmlToRead(const testing_support::FileCensus& census, const MzmlOutput& output);

// The defaultArrayLength of every spectrum of an mzML file, by scan number
// of its native id ("... scan=N").
std::map<int, long> ArrayLengthsByScan(const std::filesystem::path& mzml);

// What the native reader answers for every scan of the RAW file; each scan
// it cannot answer is reported as a test failure.
testing_support::FileCensus CensusOf(const std::string& rawName);

// How many scans of each MS level the native reader sees; orders below 1
// (precursor-ion and neutral-loss scans) count as tandem scans, level 2.
std::map<int, int> ScansPerMsLevel(const testing_support::FileCensus& census);

// The first few lines of a reader's output, for a failure message.
std::string Excerpt(const std::string& text, std::size_t lines = 30);

}  // namespace mzml_test
