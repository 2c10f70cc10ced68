#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "spexor/driver/run_settings.h"
#include "spexor/output/output_file.h"
#include "spexor/output/output_slots.h"
#include "spexor/output/scan_record.h"

// The writer bound to one output file: writes the file's header and one
// block per record (and per charge, for the MS2-like formats) in its format.
// It borrows the file; the job owns and closes it.
class SpectrumWriter {
public:
    // `formatLetters` are the last three letters of the slot's suffix.
    SpectrumWriter(const ConversionSettings& settings, OutputFile& stream, std::string baseName,
                   std::string_view formatLetters);

    // The H lines of MS1, MS2 and MS3 files; nothing for MGF and KSD.
    void WriteHeader();
    // The record's block(s) in the writer's format.
    void WriteSpectrum(const SpectrumRecord& record);
    // Builds `peakFormat` ("%.<mz>f %.<intensity>f\n") from the decimals.
    void BuildPeakFormat();

    ConversionSettings settings;
    OutputFile* stream;
    std::string baseName;
    OutputFormat format;
    std::string peakFormat;

private:
    void WriteMs1Block(const SpectrumRecord& record);
    void WriteMsnBlock(const SpectrumRecord& record, int32_t charge, bool withPrecursorScan);
    void WriteMgfBlock(const SpectrumRecord& record, int32_t charge);
    void WriteKsdBlock(const SpectrumRecord& record, int32_t charge);
    // Formats the record's peak lines once into `peakLines_`, to be written
    // for every charge.
    void FormatPeakLines(const SpectrumRecord& record);
    void PutPeakLines() { stream->Put(std::string_view(peakLines_.get(), peakLinesSize_)); }

    // Decimal places of the two numbers of a peak line.
    int mzDecimals_ = 0;
    int intensityDecimals_ = 0;
    std::unique_ptr<char[]> peakLines_;
    std::size_t peakLinesSize_ = 0;
    std::size_t peakLinesCapacity_ = 0;
};
