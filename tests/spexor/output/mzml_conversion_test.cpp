// spexor -mzml on a RAW fixture whose scans hold what real files seldom put
// side by side: FAIMS, supplemental activation, a monoisotopic m/z inside
// and outside the isolation window, an empty scan, a mass list that cannot
// be read, SPS precursors; and an mzML file that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mzml_text.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using mzml_test::Attribute;
using mzml_test::CvValue;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

namespace {

const char* const kRun = R"(rawfixture 1
created 45000.5
scan 1
filter FTMS + p NSI Full ms [350.00-1800.00]
rt 0.5
trailer R8 Ion Injection Time (ms):=12.5
trailer BSTR FAIMS Voltage On:=On
trailer R8 FAIMS CV:=-45.5
points 400.10 0 400.11 150 400.12 900 400.13 140 400.14 0 400.15 0 400.16 0
scan 2
filter FTMS + p ESI sa Full ms2 325.00@etd50.00 325.00@cid15.00 [100.00-1000.00]
rt 0.52
trailer I2 Charge State:=3
trailer R8 Monoisotopic M/Z:=324.5
trailer R8 MS2 Isolation Width:=2.0
trailer I4 Master Scan Number:=1
points 200.1 10 200.2 30 200.3 10 200.4 0 200.5 0 200.6 0
scan 3
filter FTMS + c NSI d Full ms2 445.62@hcd30.00 [110.00-1000.00]
rt 0.53
trailer R8 Monoisotopic M/Z:=500.0
trailer R8 MS2 Isolation Width:=1.6
scan 4
filter ITMS + c NSI d Full ms2 445.62@cid35.00 [110.00-1000.00]
rt 0.54
fail masslist
scan 5
filter FTMS + c NSI sps d Full ms3 445.62@cid35.00 150.00@hcd65.00 [100.00-500.00]
rt 0.55
trailer BSTR SPS Masses:=150.1,160.2,
trailer BSTR SPS Masses Continued:=170.3
points 120.5 10
)";

// The spectrum of a scan, from its "<spectrum" to its end.
std::string_view SpectrumOf(const std::vector<mzml_test::SpectrumText>& spectra, int32_t scan) {
    for (const mzml_test::SpectrumText& spectrum : spectra)
        if (spectrum.scan == scan) return spectrum.text;
    return {};
}

std::string_view Between(std::string_view text, std::string_view from, std::string_view to) {
    const std::size_t start = text.find(from);
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find(to, start) - start);
}

class MzmlConversion : public testing::Test {
protected:
    void SetUp() override {
        raw_ = dir_.Write("run.raw", kRun).string();
        result_ = RunProgram(SPEXOR_BIN, {"-mzml", "-ms2", "-a", "-o", dir_.path().string(), raw_});
        file_ = ReadFile(dir_.path() / "run.mzML");
        spectra_ = mzml_test::SpectraOf(file_);
    }

    TempDir dir_;
    std::string raw_;
    testing_support::ProgramResult result_;
    std::string file_;
    std::vector<mzml_test::SpectrumText> spectra_;
};

TEST_F(MzmlConversion, EveryScanKeepsItsPlaceAndOnlyScansWithPointsReachTheTextFormats) {
    ASSERT_EQ(result_.status, 0) << result_.err;
    ASSERT_EQ(spectra_.size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(spectra_[i].scan, i + 1);
    // The MS2 file has the scans with points alone, as ever.
    const std::string ms2 = ReadFile(dir_.path() / "run.ms2");
    EXPECT_NE(ms2.find("S\t000002"), std::string::npos);
    EXPECT_EQ(ms2.find("S\t000003"), std::string::npos);
    EXPECT_EQ(ms2.find("S\t000004"), std::string::npos);
    // The empty scan: arrays of length 0 as empty elements.
    const std::string_view empty = SpectrumOf(spectra_, 3);
    EXPECT_EQ(Attribute(empty, "defaultArrayLength"), "0");
    EXPECT_EQ(Between(empty, "<binaryDataArrayList", "</binaryDataArrayList>").find("<binary>"),
              std::string_view::npos);
    EXPECT_NE(empty.find("encodedLength=\"0\""), std::string_view::npos);
    // The scan whose mass list cannot be read: said in the file and on the console.
    const std::string_view unread = SpectrumOf(spectra_, 4);
    EXPECT_NE(unread.find("<userParam name=\"spexor: mass list\" value=\"could not be read"), std::string_view::npos);
    EXPECT_EQ(Attribute(unread, "defaultArrayLength"), "0");
    EXPECT_NE(result_.err.find("Error getting mass list data for scan.4\n"), std::string::npos) << result_.err;
    EXPECT_TRUE(spectra_[2].decoded && spectra_[3].decoded);
}

TEST_F(MzmlConversion, ScansSayWhatTheRawFileRecords) {
    ASSERT_EQ(spectra_.size(), 5u);
    // A profile scan peak-picked: centroid, by the picking's processing.
    const std::string_view survey = SpectrumOf(spectra_, 1);
    EXPECT_TRUE(CvValue(survey, "MS:1000127"));
    EXPECT_FALSE(CvValue(survey, "MS:1000128"));
    EXPECT_EQ(Attribute(survey, "dataProcessingRef"), "spexor_peak_picking");
    EXPECT_EQ(CvValue(survey, "MS:1000511"), "1");
    EXPECT_TRUE(CvValue(survey, "MS:1000130"));  // positive scan
    EXPECT_EQ(CvValue(survey, "MS:1000016"), "0.5");
    EXPECT_EQ(CvValue(survey, "MS:1000512"), "FTMS + p NSI Full ms [350.00-1800.00]");
    EXPECT_EQ(CvValue(survey, "MS:1000927"), "12.5");
    EXPECT_EQ(CvValue(survey, "MS:1001581"), "-45.5");
    EXPECT_EQ(CvValue(survey, "MS:1000501"), "350");
    EXPECT_EQ(CvValue(survey, "MS:1000500"), "1800");
    EXPECT_EQ(survey.find("<precursorList"), std::string_view::npos);

    // ETD with supplemental CID: one precursor, its window from the trailer,
    // the monoisotopic m/z inside it, the charge.
    const std::string_view etcid = SpectrumOf(spectra_, 2);
    EXPECT_EQ(Attribute(etcid, "spectrumRef"), "controllerType=0 controllerNumber=1 scan=1");
    EXPECT_EQ(Attribute(Between(etcid, "<precursorList", ">"), "count"), "1");
    EXPECT_EQ(CvValue(etcid, "MS:1000827"), "325");
    EXPECT_EQ(CvValue(etcid, "MS:1000828"), "1");
    EXPECT_EQ(CvValue(etcid, "MS:1000829"), "1");
    EXPECT_EQ(CvValue(etcid, "MS:1000744"), "324.5");
    EXPECT_EQ(CvValue(etcid, "MS:1000041"), "3");
    EXPECT_TRUE(CvValue(etcid, "MS:1000598"));      // electron transfer dissociation
    EXPECT_TRUE(CvValue(etcid, "MS:1002679"));      // supplemental collision-induced dissociation
    EXPECT_EQ(CvValue(etcid, "MS:1002680"), "15");  // its energy
    EXPECT_FALSE(CvValue(etcid, "MS:1000045"));     // no collision energy for the reaction time
    EXPECT_EQ(Attribute(etcid, "dataProcessingRef"), "spexor_peak_picking");

    // A monoisotopic m/z outside the window: the selected ion is the target.
    const std::string_view hcd = SpectrumOf(spectra_, 3);
    EXPECT_EQ(CvValue(hcd, "MS:1000744"), "445.62");
    EXPECT_TRUE(CvValue(hcd, "MS:1000422"));  // beam-type collision-induced dissociation
    EXPECT_EQ(CvValue(hcd, "MS:1000045"), "30");
    EXPECT_FALSE(CvValue(hcd, "MS:1000041"));  // no charge known

    // SPS MS3: one precursor per SPS mass, each isolated from the last MS2 scan.
    const std::string_view sps = SpectrumOf(spectra_, 5);
    EXPECT_EQ(CvValue(sps, "MS:1000511"), "3");
    EXPECT_EQ(Attribute(Between(sps, "<precursorList", ">"), "count"), "3");
    std::vector<std::string> targets;
    for (std::size_t at = 0; (at = sps.find("MS:1000827", at)) != std::string_view::npos; ++at)
        targets.push_back(*CvValue(sps.substr(at - 60), "MS:1000827"));
    EXPECT_EQ(targets, (std::vector<std::string>{"150.1", "160.2", "170.3"}));
    EXPECT_EQ(Attribute(sps, "spectrumRef"), "controllerType=0 controllerNumber=1 scan=4");
    EXPECT_TRUE(CvValue(sps, "MS:1000422"));
    EXPECT_EQ(CvValue(sps, "MS:1000045"), "65");
}

TEST_F(MzmlConversion, TheFileSaysWhereItComesFromAndHowItWasMade) {
    EXPECT_NE(file_.find("<sourceFile id=\"RAW1\" name=\"run.raw\" location=\"file://"), std::string::npos);
    EXPECT_TRUE(CvValue(file_, "MS:1000768"));  // Thermo nativeID format
    EXPECT_TRUE(CvValue(file_, "MS:1000563"));  // Thermo RAW format
    EXPECT_EQ(CvValue(file_, "MS:1000569")->size(), 40u);
    EXPECT_NE(file_.find("startTimeStamp=\"2023-03-15T12:00:00.000Z\""), std::string::npos);
    // A fixture names no model: the generic Thermo term.
    EXPECT_TRUE(CvValue(file_, "MS:1000483"));
    EXPECT_EQ(CvValue(file_, "MS:1000799"), "spexor");
    EXPECT_NE(file_.find("<software id=\"spexor\" version=\"" PROGRAM_VERSION "\">"), std::string::npos);
    // One configuration per analyzer, each scan referring to its own.
    EXPECT_EQ(Attribute(Between(file_, "<instrumentConfigurationList", ">"), "count"), "2");
    EXPECT_EQ(Attribute(Between(SpectrumOf(spectra_, 4), "<scan ", ">"), "instrumentConfigurationRef"), "IC2");
    EXPECT_EQ(Attribute(Between(SpectrumOf(spectra_, 5), "<scan ", ">"), "instrumentConfigurationRef"), "IC1");
    EXPECT_TRUE(CvValue(file_, "MS:1000544"));  // conversion
    EXPECT_TRUE(CvValue(file_, "MS:1000035"));  // peak picking
    EXPECT_TRUE(CvValue(file_, "MS:1000235"));  // the total ion current chromatogram
}

TEST_F(MzmlConversion, ProfileOutputWritesStoredPointsAndUncompressedArraysTheSameValues) {
    const auto profile =
        RunProgram(SPEXOR_BIN, {"-mzml", "-p", "-mzml-nozlib", "-o", (dir_.path() / "p").string(), raw_});
    ASSERT_EQ(profile.status, 0) << profile.err;
    const std::string text = ReadFile(dir_.path() / "p" / "run.mzML");
    const std::vector<mzml_test::SpectrumText> stored = mzml_test::SpectraOf(text);
    ASSERT_EQ(stored.size(), 5u);
    EXPECT_TRUE(CvValue(stored[0].text, "MS:1000128"));  // profile, as stored
    EXPECT_FALSE(Attribute(stored[0].text, "dataProcessingRef"));
    EXPECT_TRUE(CvValue(stored[0].text, "MS:1000576"));  // no compression
    EXPECT_FALSE(CvValue(text, "MS:1000035"));           // nothing picked
    ASSERT_TRUE(stored[0].decoded);
    EXPECT_EQ(stored[0].mz, (std::vector<double>{400.10, 400.11, 400.12, 400.13, 400.14, 400.15, 400.16}));
    EXPECT_EQ(stored[0].intensity, (std::vector<double>{0, 150, 900, 140, 0, 0, 0}));
    // Under -c the same scan is picked to fewer peaks.
    ASSERT_TRUE(spectra_.size() == 5u && spectra_[0].decoded);
    EXPECT_LT(spectra_[0].mz.size(), stored[0].mz.size());
}

TEST(MzmlOutput, AnMzmlFileThatCannotBeWrittenWholeIsReportedRemovedAndEndsWith255) {
    TempDir dir;
    const std::string raw = dir.Write("run.raw", kRun).string();
    const fs::path out = dir.path() / "out";
    fs::create_directory(out);
    // Every write to /dev/full fails as on a full disk.
    fs::create_symlink("/dev/full", out / "run.mzML");
    const auto result = RunProgram(SPEXOR_BIN, {"-mzml", "-mgf", "-a", "-o", out.string(), raw});
    EXPECT_EQ(result.status, 255);
    EXPECT_NE(result.err.find("Failed to write " + (out / "run.mzML").string()), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("1 output file could not be written"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(fs::symlink_status(out / "run.mzML")));
    EXPECT_TRUE(fs::exists(out / "run.mgf"));
}

}  // namespace
