#pragma once

// The shared folder of real Thermo RAW files and the reference dumps beside
// them, walked as it is: a file added there is covered by every test that
// walks it, without a change to the tests.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace testing_support {

// The folder of the real RAW files (SHARED_DATA_DIR).
const std::filesystem::path& DataDir();

// The names of the RAW files in the data folder: every regular file whose
// extension is ".raw" in any letter case, sorted by name. Empty when the
// folder is absent.
const std::vector<std::string>& RealFileNames();

// True when the data folder holds at least one RAW file.
bool HasRealFiles();
// True when the data folder holds a RAW file of this name.
bool HasRealFile(const std::string& name);

// The real file that is damaged beyond opening: Thermo's own library cannot
// open it either, so every reader and program must refuse it.
inline const std::string kUnopenableFile = "bad_file.raw";

// A reference dump <name>.json.gz of the data folder's reference folder, and
// the RAW file it describes: the one whose name without its extension is the
// dump's name.
struct ReferenceDump {
    std::string name;            // "small"
    std::filesystem::path path;  // .../reference/small.json.gz
    std::string rawName;         // "small.RAW"; empty when no RAW file has that name
};

// How a test parameter shows in the test names' comments: the dump's name.
void PrintTo(const ReferenceDump& dump, std::ostream* out);

// Every reference dump, sorted by name. Empty when the folder is absent.
const std::vector<ReferenceDump>& ReferenceDumps();

// The dump of a RAW file, or null when it has none.
const ReferenceDump* ReferenceDumpOf(const std::string& rawName);

// A file name as a test name: letters and digits kept, anything else '_'.
std::string TestNameOf(const std::string& fileName);

// The name generator of tests made per real RAW file (parameter: its name).
struct RealFileTestName {
    template <class ParamInfo>
    std::string operator()(const ParamInfo& param) const {
        return TestNameOf(param.param);
    }
};

}  // namespace testing_support
