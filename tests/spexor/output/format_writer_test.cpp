#include "spexor/output/format_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

OutputFormat FormatNamed(const std::string& letters) {
    if (letters == "ms1") return OutputFormat::MS1;
    if (letters == "ms2") return OutputFormat::MS2;
    if (letters == "ms3") return OutputFormat::MS3;
    if (letters == "mgf") return OutputFormat::MGF;
    return OutputFormat::KSD;
}

// A writer on a real file in a temporary folder.
class WrittenFile {
public:
    explicit WrittenFile(const ConversionSettings& settings, const std::string& letters) {
        std::string reason;
        file_ = OutputFile::Create((dir_.path() / ("run." + letters)).string(), reason);
        run_.baseName = "run";
        writer = MakeFormatWriter(FormatNamed(letters), settings, *file_, run_);
    }
    std::string Text() {
        file_->Close();
        return ReadFile(file_->path());
    }
    std::unique_ptr<FormatWriter> writer;

private:
    TempDir dir_;
    RunFacts run_;
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

}  // namespace

TEST(FormatWriter, NewRecordStartsEmptyWithTheDefaultChargeRange) {
    SpectrumRecord record;
    EXPECT_EQ(record.scanNumber, -1);
    EXPECT_EQ(record.peaks, nullptr);
    EXPECT_EQ(record.chargeMin, 2);
    EXPECT_EQ(record.chargeMax, 3);
    EXPECT_EQ(record.precursorScan, -1);
}

TEST(FormatWriter, PrecursorFallsBackToTheFilterValueAndChargeOneGivesP) {
    ConversionSettings settings;
    settings.isotopeMode = false;
    SpectrumRecord record = ExampleRecord();
    record.chargeMin = record.chargeMax = 1;
    EXPECT_NE(Write(settings, "ms2", record).find("S\t001234\t001234\t445.62\n"), std::string::npos);
    EXPECT_NE(Write(settings, "ms2", record).find("I\tMonoiosotopicMz\t445.1203461\nZ\t1\t445.620000\n"),
              std::string::npos);

    settings.isotopeMode = true;
    record.monoisotopicMz = 0.0;
    EXPECT_EQ(Write(settings, "ksd", record),
              "H\n1234\t2710.500000\nHCD\tFTMS\n1230\t1\t445.62\nM\n120.08131 5310.2\n175.11895 1822.0\n");
    record.chargeMin = record.chargeMax = 4;
    EXPECT_NE(Write(settings, "ms2", record).find("I\tMonoiosotopicMz\t0\nZ\t4\t1779.458171\n"), std::string::npos);
}

TEST(FormatWriter, ScanNumbersArePaddedInSLinesOnly) {
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

TEST(FormatWriter, PeakLinesFollowTheDecimalsSettings) {
    ConversionSettings settings;
    settings.mzDecimals = 3;
    settings.intensityDecimals = 2;
    SpectrumRecord record;
    record.scanNumber = 1;
    record.peakCount = 1;
    record.peaks.reset(new Peak[1]{{445.12034567, 1234.56}});
    EXPECT_TRUE(Write(settings, "ms1", record).ends_with("\n445.120 1234.56\n"));

    settings.mzDecimals = 9;
    settings.intensityDecimals = 9;
    EXPECT_TRUE(Write(settings, "ms1", record).ends_with("\n445.120345670 1234.560000000\n"));
    settings.mzDecimals = 0;
    settings.intensityDecimals = 1;
    EXPECT_TRUE(Write(settings, "ms1", record).ends_with("\n445 1234.6\n"));
    settings.intensityDecimals = -3;  // no valid conversion: no decimals
    EXPECT_TRUE(Write(settings, "ms1", record).ends_with("\n445 1235\n"));
}

TEST(FormatWriter, HeadersAreTheMsTextFormatsAlone) {
    ConversionSettings settings;
    for (const char* letters : {"ms1", "ms2", "ms3"}) {
        WrittenFile file(settings, letters);
        file.writer->Begin();
        EXPECT_TRUE(file.Text().ends_with("H\tDataType\tCentroided\n")) << letters;
    }
    for (const char* letters : {"mgf", "ksd"}) {
        WrittenFile file(settings, letters);
        file.writer->Begin();
        EXPECT_EQ(file.Text(), "") << letters;
    }
}

TEST(FormatWriter, OnlyMs2BlocksNameTheirPrecursorScan) {
    ConversionSettings settings;
    SpectrumRecord record = ExampleRecord();
    record.chargeMin = record.chargeMax = 2;
    EXPECT_NE(Write(settings, "ms2", record).find("I\tPrecursorScan\t1230\n"), std::string::npos);
    const std::string ms3 = Write(settings, "ms3", record);
    EXPECT_EQ(ms3.find("PrecursorScan"), std::string::npos);
    EXPECT_NE(ms3.find("I\tInstrumentType\tFTMS\nI\tActivationCenter\t445.62\n"), std::string::npos);
    // One block per charge, the peak lines repeated in each.
    record.chargeMax = 3;
    const std::string mgf = Write(settings, "mgf", record);
    EXPECT_NE(mgf.find("CHARGE=2+"), std::string::npos);
    EXPECT_NE(mgf.find("CHARGE=3+"), std::string::npos);
    EXPECT_NE(mgf.find("120.08131 5310.2"), mgf.rfind("120.08131 5310.2"));
}

TEST(FormatWriter, RecordWithoutPeaksGivesACompleteBlock) {
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
