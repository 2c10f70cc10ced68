#include "support/real_files.h"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <system_error>

#include "platform/ascii_case.h"

namespace testing_support {

namespace {

namespace fs = std::filesystem;

// The regular files of a folder, sorted by name; none when it is absent.
std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

const fs::path& DataDir() {
    static const fs::path dir = SHARED_DATA_DIR;
    return dir;
}

const std::vector<std::string>& RealFileNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> found;
        for (const fs::path& file : FilesIn(DataDir())) {
            if (platform::ToUpperAscii(file.extension().string()) == ".RAW") found.push_back(file.filename().string());
        }
        return found;
    }();
    return names;
}

bool HasRealFiles() { return !RealFileNames().empty(); }

bool HasRealFile(const std::string& name) {
    return std::find(RealFileNames().begin(), RealFileNames().end(), name) != RealFileNames().end();
}

const std::vector<ReferenceDump>& ReferenceDumps() {
    static const std::vector<ReferenceDump> dumps = [] {
        const std::string suffix = ".json.gz";
        std::vector<ReferenceDump> found;
        for (const fs::path& file : FilesIn(DataDir() / "reference")) {
            const std::string fileName = file.filename().string();
            if (!EndsWith(fileName, suffix)) continue;
            ReferenceDump dump{fileName.substr(0, fileName.size() - suffix.size()), file, ""};
            for (const std::string& raw : RealFileNames()) {
                if (fs::path(raw).stem().string() == dump.name) dump.rawName = raw;
            }
            found.push_back(dump);
        }
        return found;
    }();
    return dumps;
}

void PrintTo(const ReferenceDump& dump, std::ostream* out) { *out << dump.name; }

const ReferenceDump* ReferenceDumpOf(const std::string& rawName) {
    for (const ReferenceDump& dump : ReferenceDumps()) {
        if (dump.rawName == rawName) return &dump;
    }
    return nullptr;
}

std::string TestNameOf(const std::string& fileName) {
    std::string name = fileName;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

}  // namespace testing_support
