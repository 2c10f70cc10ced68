// spexor -mzml on every real RAW file of the shared data folder, one test
// per file: one spectrum per scan in scan order, each where the index says
// it is, the file's checksum right, and under -p every spectrum's arrays
// the points the reader answers, bit for bit; -j 2 writes the same bytes
// as -j 1.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "mzml_text.h"
#include "rawfile/native/native_backend.h"
#include "support/real_files.h"
#include "support/run_program.h"
#include "support/scan_census.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

namespace {

std::string NativeId(int32_t scan) { return "controllerType=0 controllerNumber=1 scan=" + std::to_string(scan); }

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

// Converts one real file to mzML with `options`; the file's text, or empty
// when the run wrote none.
std::string ConvertToMzml(const std::string& name, const std::vector<std::string>& options, const TempDir& dir,
                          testing_support::ProgramResult* result) {
    const fs::path raw = testing_support::DataDir() / name;
    std::vector<std::string> args = options;
    args.insert(args.end(), {"-o", dir.path().string(), raw.string()});
    *result = RunProgram(SPEXOR_BIN, args);
    const fs::path mzml = dir.path() / (raw.stem().string() + ".mzML");
    return fs::exists(mzml) ? ReadFile(mzml) : std::string();
}

class MzmlRealFile : public testing::TestWithParam<std::string> {};

TEST_P(MzmlRealFile, EveryScanIsASpectrumWhereTheIndexSaysWithTheReadersPoints) {
    const std::string& name = GetParam();
    TempDir dir;
    testing_support::ProgramResult result;
    const std::string file = ConvertToMzml(name, {"-mzml", "-p", "-j", "1"}, dir, &result);
    if (name == testing_support::kUnopenableFile) {
        EXPECT_EQ(result.status, 255);
        EXPECT_TRUE(file.empty());
        return;
    }
    ASSERT_EQ(result.status, 0) << name << ": " << result.err.substr(0, 2000);
    const testing_support::FileCensus census = testing_support::TakeCensus(name);
    for (const std::string& gap : census.gaps) ADD_FAILURE() << gap;
    if (census.scans.empty()) {
        EXPECT_TRUE(file.empty()) << name << ": an mzML file without scans";
        return;
    }

    // One spectrum per scan, in scan order, each at its offset.
    const std::vector<mzml_test::IndexEntry> index = mzml_test::IndexOf(file, "spectrum");
    ASSERT_EQ(index.size(), census.scans.size()) << name;
    EXPECT_EQ(mzml_test::Attribute(file.substr(file.find("<spectrumList"), 100), "count"),
              std::to_string(census.scans.size()));
    for (std::size_t i = 0; i < index.size(); ++i) {
        const std::string id = NativeId(census.scans[i].scan);
        EXPECT_EQ(index[i].id, id) << name;
        const std::string expected = "<spectrum index=\"" + std::to_string(i) + "\" id=\"" + id + "\"";
        EXPECT_EQ(file.compare(index[i].offset, expected.size(), expected), 0)
            << name << ": the offset of " << id << " points at " << file.substr(index[i].offset, 60);
    }
    const std::vector<mzml_test::IndexEntry> chromatograms = mzml_test::IndexOf(file, "chromatogram");
    ASSERT_EQ(chromatograms.size(), 1u) << name;
    EXPECT_EQ(file.compare(chromatograms[0].offset, 28, "<chromatogram index=\"0\" id=\""), 0) << name;
    const std::size_t listOffset = file.find("<indexListOffset>");
    ASSERT_NE(listOffset, std::string::npos) << name;
    EXPECT_GE(listOffset, file.size() - 512) << name << ": beyond the last 512 bytes some readers look in";
    EXPECT_EQ(file.compare(std::stoull(file.substr(listOffset + 17)), 10, "<indexList"), 0) << name;
    const std::size_t checksum = file.find("<fileChecksum>");
    EXPECT_EQ(file.substr(checksum + 14, 40), mzml_test::ExpectedChecksum(file)) << name;

    // Under -p the arrays are the points as stored, as the reader answers them.
    rawfile::Status status = rawfile::kFailed;
    const std::unique_ptr<rawfile::RawBackend> reader =
        rawfile::OpenNativeBackend((testing_support::DataDir() / name).string(), &status);
    ASSERT_NE(reader, nullptr) << name;
    std::vector<double> pairs;
    const std::vector<mzml_test::SpectrumText> spectra = mzml_test::SpectraOf(file);
    ASSERT_EQ(spectra.size(), census.scans.size()) << name;
    int emptyScans = 0;
    for (const mzml_test::SpectrumText& spectrum : spectra) {
        ASSERT_TRUE(spectrum.decoded) << name << ": scan " << spectrum.scan << "'s arrays do not decode";
        const bool read = reader->GetMassList(spectrum.scan, &pairs) == rawfile::kOk;
        EXPECT_EQ(spectrum.text.find("could not be read") == std::string_view::npos, read)
            << name << ": scan " << spectrum.scan;
        std::vector<double> mz;
        std::vector<double> intensity;
        for (std::size_t i = 0; read && i + 1 < pairs.size(); i += 2) {
            mz.push_back(pairs[i]);
            intensity.push_back(pairs[i + 1]);
        }
        EXPECT_TRUE(SameBits(spectrum.mz, mz) && SameBits(spectrum.intensity, intensity))
            << name << ": scan " << spectrum.scan << " holds " << spectrum.mz.size() << " points, the reader "
            << mz.size();
        if (mz.empty()) {
            ++emptyScans;
            EXPECT_NE(spectrum.text.find("encodedLength=\"0\""), std::string_view::npos) << name;
            EXPECT_NE(spectrum.text.find("<binary/>"), std::string_view::npos) << name;
        }
    }
    if (emptyScans > 0) testing::Test::RecordProperty("empty scans", emptyScans);
}

TEST_P(MzmlRealFile, TwoThreadsWriteTheBytesOfOne) {
    const std::string& name = GetParam();
    if (name == testing_support::kUnopenableFile) return;
    TempDir one;
    TempDir two;
    testing_support::ProgramResult result;
    const std::string single = ConvertToMzml(name, {"-mzml", "-ms2", "-a", "-j", "1"}, one, &result);
    ASSERT_EQ(result.status, 0) << name << ": " << result.err.substr(0, 2000);
    const std::string parallel = ConvertToMzml(name, {"-mzml", "-ms2", "-a", "-j", "2"}, two, &result);
    ASSERT_EQ(result.status, 0) << name << ": " << result.err.substr(0, 2000);
    EXPECT_TRUE(single == parallel) << name << ": -j 2 wrote another mzML file than -j 1";
}

INSTANTIATE_TEST_SUITE_P(RealFiles, MzmlRealFile, testing::ValuesIn(testing_support::RealFileNames()),
                         testing_support::RealFileTestName());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(MzmlRealFile);

}  // namespace
