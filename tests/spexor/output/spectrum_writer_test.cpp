#include "spexor/output/spectrum_writer.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/temp_dir.h"

using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

// A writer on a real file in a temporary folder.
class WrittenFile {
public:
    explicit WrittenFile(const ConversionSettings& settings, const std::string& letters) {
        std::string reason;
        file_ = OutputFile::Create((dir_.path() / ("run." + letters)).string(), reason);
        writer = std::make_unique<SpectrumWriter>(settings, *file_, "run", letters);
    }
    std::string Text() {
        file_->Close();
        return ReadFile(file_->path());
    }
    std::unique_ptr<SpectrumWriter> writer;

private:
    TempDir dir_;
    std::unique_ptr<OutputFile> file_;
};

std::string Write(const ConversionSettings& settings, const std::string& letters, const SpectrumRecord& record) {
    WrittenFile file(settings, letters);
    file.writer->WriteSpectrum(record);
    return file.Text();
}

// The record of the worked examples: scan 1234 without a charge state.
SpectrumRecord ExampleRecord() {
    SpectrumRecord record;
    record.scanNumber = 1234;
    record.peakCount = 2;
    record.peaks.reset(new Peak[2]{{120.08131, 5310.2}, {175.11895, 1822.0}});
    record.retentionTime = 2710.5;
    record.ionInjectionTime = 12.5;
    record.instrumentType = "FTMS";
    record.activationType = "HCD";
    record.precursorScan = 1230;
    record.activationCenter = 445.62;
    record.monoisotopicMz = 445.1203461;
    return record;
}

std::string Ms2Block(const std::string& precursor, const std::string& zLine, bool withPrecursorScan = true) {
    return "S\t001234\t001234\t" + precursor +
           "\nI\tNumberOfPeaks\t2\nI\tRetTime\t2710.500000\nI\tIonInjectionTime\t12.500000\n"
           "I\tActivationType\tHCD\nI\tInstrumentType\tFTMS\n" +
           (withPrecursorScan ? "I\tPrecursorScan\t1230\n" : "") +
           "I\tActivationCenter\t445.62\nI\tMonoiosotopicMz\t445.1203461\n" + zLine +
           "\n120.08131 5310.2\n175.11895 1822.0\n";
}

}  // namespace

TEST(SpectrumWriter, NewRecordStartsEmptyWithTheDefaultChargeRange) {
    SpectrumRecord record;
    EXPECT_EQ(record.scanNumber, -1);
    EXPECT_EQ(record.peaks, nullptr);
    EXPECT_EQ(record.chargeMin, 2);
    EXPECT_EQ(record.chargeMax, 3);
    EXPECT_EQ(record.precursorScan, -1);
}

TEST(SpectrumWriter, Ms2WritesOneBlockPerChargeWithTheMonoisotopicPrecursor) {
    ConversionSettings settings;
    EXPECT_EQ(Write(settings, "ms2", ExampleRecord()),
              Ms2Block("445.1203461", "Z\t2\t889.233416") + Ms2Block("445.1203461", "Z\t3\t1333.346485"));
    EXPECT_EQ(Write(settings, "ms3", ExampleRecord()),
              Ms2Block("445.1203461", "Z\t2\t889.233416", false) +
                  Ms2Block("445.1203461", "Z\t3\t1333.346485", false));
}

TEST(SpectrumWriter, PrecursorIsTheFilterValueWithoutIsotopeModeOrMonoisotopicMz) {
    ConversionSettings settings;
    settings.isotopeMode = false;
    SpectrumRecord record = ExampleRecord();
    record.chargeMin = record.chargeMax = 1;
    std::string text = Write(settings, "ms2", record);
    EXPECT_EQ(text, Ms2Block("445.62", "Z\t1\t445.620000"));

    settings.isotopeMode = true;
    record.monoisotopicMz = 0.0;
    text = Write(settings, "ksd", record);
    EXPECT_EQ(text, "H\n1234\t2710.500000\nHCD\tFTMS\n1230\t1\t445.62\nM\n120.08131 5310.2\n175.11895 1822.0\n");
    record.chargeMin = 4;
    record.chargeMax = 4;
    text = Write(settings, "ms2", record);
    EXPECT_NE(text.find("I\tMonoiosotopicMz\t0\nZ\t4\t1779.458171\n"), std::string::npos) << text;
}

TEST(SpectrumWriter, MgfBlocksCarryTitleChargeRetentionTimeAndPepmass) {
    ConversionSettings settings;
    const std::string peaks = "120.08131 5310.2\n175.11895 1822.0\n";
    EXPECT_EQ(Write(settings, "mgf", ExampleRecord()),
              "BEGIN IONS\nTITLE=run.1234.1234.2.dta\nCHARGE=2+\nRTINSECONDS=2710.500000\nPEPMASS=445.1203461\n" +
                  peaks + "END IONS\n\n" +
                  "BEGIN IONS\nTITLE=run.1234.1234.3.dta\nCHARGE=3+\nRTINSECONDS=2710.500000\n"
                  "PEPMASS=445.1203461\n" +
                  peaks + "END IONS\n\n");
}

TEST(SpectrumWriter, KsdBlocksFollowEachOtherWithoutSeparators) {
    ConversionSettings settings;
    const std::string tail = "\t445.1203461\nM\n120.08131 5310.2\n175.11895 1822.0\n";
    EXPECT_EQ(Write(settings, "ksd", ExampleRecord()),
              "H\n1234\t2710.500000\nHCD\tFTMS\n1230\t2" + tail + "H\n1234\t2710.500000\nHCD\tFTMS\n1230\t3" + tail);
}

TEST(SpectrumWriter, ScanNumbersArePaddedInSLinesOnly) {
    ConversionSettings settings;
    SpectrumRecord record = ExampleRecord();
    record.scanNumber = 7;
    record.chargeMin = record.chargeMax = 2;
    EXPECT_EQ(Write(settings, "ms2", record).substr(0, 16), "S\t000007\t000007\t");
    EXPECT_EQ(Write(settings, "mgf", record).substr(11, 22), "TITLE=run.7.7.2.dta\nCH");
    EXPECT_EQ(Write(settings, "ksd", record).substr(0, 5), "H\n7\t2");
    record.scanNumber = 1234567;
    EXPECT_EQ(Write(settings, "ms2", record).substr(0, 18), "S\t1234567\t1234567\t");
}

TEST(SpectrumWriter, Ms1BlockHasNoPrecursorLines) {
    ConversionSettings settings;
    SpectrumRecord record;
    record.scanNumber = 12;
    record.peakCount = 1;
    record.peaks.reset(new Peak[1]{{400.123456, 150.04}});
    record.retentionTime = 30.0;
    record.ionInjectionTime = 0.25;
    record.instrumentType = "FTMS";
    EXPECT_EQ(Write(settings, "ms1", record),
              "S\t000012\t000012\nI\tNumberOfPeaks\t1\nI\tRetTime\t30.000000\nI\tIonInjectionTime\t0.250000\n"
              "I\tInstrumentType\tFTMS\n400.12346 150.0\n");
}

TEST(SpectrumWriter, PeakLinesFollowTheDecimalsSettings) {
    ConversionSettings settings;
    settings.mzDecimals = 3;
    settings.intensityDecimals = 2;
    SpectrumRecord record;
    record.scanNumber = 1;
    record.peakCount = 1;
    record.peaks.reset(new Peak[1]{{445.12034567, 1234.56}});
    WrittenFile file(settings, "ms1");
    EXPECT_EQ(file.writer->peakFormat, "%.3f %.2f\n");
    file.writer->WriteSpectrum(record);
    EXPECT_TRUE(file.Text().ends_with("\n445.120 1234.56\n"));

    settings.mzDecimals = 9;
    settings.intensityDecimals = 9;
    EXPECT_TRUE(Write(settings, "ms1", record).ends_with("\n445.120345670 1234.560000000\n"));
    settings.mzDecimals = 0;
    settings.intensityDecimals = 1;
    EXPECT_TRUE(Write(settings, "ms1", record).ends_with("\n445 1234.6\n"));
    settings.intensityDecimals = -3;  // no valid conversion: no decimals
    WrittenFile negative(settings, "ms1");
    EXPECT_EQ(negative.writer->peakFormat, "%.0f %.-3f\n");
    negative.writer->WriteSpectrum(record);
    EXPECT_TRUE(negative.Text().ends_with("\n445 1235\n"));
}

TEST(SpectrumWriter, RecordWithoutPeaksGivesACompleteBlock) {
    ConversionSettings settings;
    SpectrumRecord record = ExampleRecord();
    record.peakCount = 0;
    record.chargeMin = record.chargeMax = 2;
    EXPECT_TRUE(Write(settings, "mgf", record).ends_with("PEPMASS=445.1203461\nEND IONS\n\n"));
    EXPECT_TRUE(Write(settings, "ksd", record).ends_with("445.1203461\nM\n"));
    EXPECT_NE(Write(settings, "ms2", record).find("I\tNumberOfPeaks\t0\n"), std::string::npos);
    record.chargeMin = 3;  // an empty charge range writes nothing
    EXPECT_EQ(Write(settings, "ms2", record), "");
}

TEST(SpectrumWriter, HeaderOfTextFormatsNamesDateExtractorAndDataType) {
    ConversionSettings settings;
    settings.centroided = false;
    for (const char* letters : {"ms1", "ms2", "ms3"}) {
        WrittenFile file(settings, letters);
        file.writer->WriteHeader();
        const std::string text = file.Text();
        EXPECT_TRUE(std::regex_match(text, std::regex("H\tCreationDate\t(Sun|Mon|Tue|Wed|Thu|Fri|Sat) "
                                                      "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                                      "[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}\n"
                                                      "H\tExtractor\tspexor\nH\tExtractorVersion\t2.1.0\n"
                                                      "H\tComments\t[^\t\n]+\nH\tDataType\tProfile\n")))
            << text;
    }
    for (const char* letters : {"mgf", "ksd"}) {
        WrittenFile file(settings, letters);
        file.writer->WriteHeader();
        EXPECT_EQ(file.Text(), "");
    }
}
