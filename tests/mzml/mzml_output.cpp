#include "mzml/mzml_output.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "support/real_files.h"

namespace mzml_test {

namespace fs = std::filesystem;

std::vector<std::string> OpenableRealFiles() {
    std::vector<std::string> names;
    for (const std::string& name : testing_support::RealFileNames()) {
        if (name != testing_support::kUnopenableFile) names.push_back(name);
    }
    return names;
}

std::string Reader::Missing() const { return program + " is not installed (Debian package " + package + ")"; }

Reader FindReader(const std::string& program, const std::string& package) {
    Reader reader{program, package, ""};
    if (program.find('/') != std::string::npos) {
        if (access(program.c_str(), X_OK) == 0) reader.path = program;
        return reader;
    }
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const fs::path candidate = fs::path(folder.empty() ? "." : folder) / program;
        if (access(candidate.c_str(), X_OK) == 0) {
            reader.path = candidate.string();
            break;
        }
    }
    return reader;
}

std::string IndexedMzmlSchema() {
    const fs::path shared = fs::path(MZML_SHARED_DIR) / "mzML_idx_1_10.xsd";
    if (fs::exists(shared)) return shared.string();
    return "/usr/share/openms/SCHEMAS/mzML_idx_1_10.xsd";
}

std::string Script(const std::string& name) { return (fs::path(MZML_TEST_SCRIPTS_DIR) / name).string(); }

MzmlOutput::MzmlOutput(const std::string& rawName, const std::vector<std::string>& options)
    : stem_(fs::path(rawName).stem().string()) {
    std::vector<std::string> args = options;
    args.insert(args.end(), {"-mzml", "-o", dir_.path().string(), (testing_support::DataDir() / rawName).string()});
    run_ = testing_support::RunProgram(SPEXOR_BIN, args);
}

fs::path MzmlOutput::file(const std::string& extension) const { return dir_.path() / (stem_ + extension); }

bool MzmlOutput::written() const { return run_.status == 0 && fs::exists(mzml()); }

std::string MzmlOutput::Failure() const {
    return "spexor exited with " + std::to_string(run_.status) + (fs::exists(mzml()) ? "" : ", no " + stem_ + ".mzML") +
           ": " + Excerpt(run_.err);
}

bool MzmlToRead(const testing_support::FileCensus& census, const MzmlOutput& output) {
    if (census.opened() && census.scans.empty()) {
        EXPECT_EQ(output.run().status, 0) << Excerpt(output.run().err);
        EXPECT_FALSE(fs::exists(output.mzml())) << "an mzML for a RAW file without scans";
        return false;
    }
    if (!output.written()) ADD_FAILURE() << output.Failure();
    return output.written();
}

std::map<int, long> ArrayLengthsByScan(const fs::path& mzml) {
    std::map<int, long> lengths;
    const std::string text = testing_support::ReadFile(mzml);
    const std::string idMark = " scan=";
    const std::string lengthMark = "defaultArrayLength=\"";
    for (std::size_t at = text.find("<spectrum "); at != std::string::npos; at = text.find("<spectrum ", at + 1)) {
        const std::string tag = text.substr(at, text.find('>', at) - at);
        const std::size_t id = tag.find(idMark);
        const std::size_t length = tag.find(lengthMark);
        if (id != std::string::npos && length != std::string::npos) {
            lengths[std::atoi(tag.c_str() + id + idMark.size())] = std::atol(tag.c_str() + length + lengthMark.size());
        }
    }
    return lengths;
}

testing_support::FileCensus CensusOf(const std::string& rawName) {
    testing_support::FileCensus census = testing_support::TakeCensus(rawName);
    for (const std::string& gap : census.gaps) ADD_FAILURE() << gap;
    return census;
}

std::map<int, int> ScansPerMsLevel(const testing_support::FileCensus& census) {
    std::map<int, int> levels;
    for (const testing_support::ScanFacts& scan : census.scans) {
        if (scan.msOrderRead) ++levels[scan.msOrder > 0 ? scan.msOrder : 2];
    }
    return levels;
}

std::string Excerpt(const std::string& text, std::size_t lines) {
    std::size_t at = 0;
    for (std::size_t line = 0; line < lines; ++line) {
        at = text.find('\n', at);
        if (at == std::string::npos) return text;
        ++at;
    }
    return at >= text.size() ? text : text.substr(0, at) + "...";
}

}  // namespace mzml_test
