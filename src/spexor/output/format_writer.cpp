#include "spexor/output/format_writer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "spexor/output/number_format.h"

SpectrumWriter::SpectrumWriter(const ConversionSettings& runSettings, OutputFile& file, std::string name,
                               std::string_view formatLetters)
    : settings(runSettings), stream(&file), baseName(std::move(name)), format(OutputFormat::MS1) {
    const std::optional<OutputFormat> named = FormatFromLetters(formatLetters);
    if (!named) throw std::invalid_argument("no output format is named by " + std::string(formatLetters));
    format = *named;
    BuildPeakFormat();
}

void SpectrumWriter::BuildPeakFormat() {
    peakFormat = "%." + std::to_string(settings.mzDecimals) + "f %." + std::to_string(settings.intensityDecimals) +
                 "f\n";
    // A negative number of decimals makes no valid conversion; such a
    // setting writes no decimals.
    mzDecimals_ = std::max(0, settings.mzDecimals);
    intensityDecimals_ = std::max(0, settings.intensityDecimals);
}

void SpectrumWriter::WriteSpectrum(const SpectrumRecord& record) {
    if (format == OutputFormat::MS1) {
        FormatPeakLines(record);
        WriteMs1Block(record);
        return;
    }
    if (record.chargeMin > record.chargeMax) return;
    FormatPeakLines(record);
    // 64-bit, so a charge range ending at the largest int32 still ends.
    for (int64_t charge = record.chargeMin; charge <= record.chargeMax; ++charge) {
        const int32_t z = static_cast<int32_t>(charge);
        switch (format) {
            case OutputFormat::MS2: WriteMsnBlock(record, z, true); break;
            case OutputFormat::MS3: WriteMsnBlock(record, z, false); break;
            case OutputFormat::MGF: WriteMgfBlock(record, z); break;
            case OutputFormat::KSD: WriteKsdBlock(record, z); break;
            case OutputFormat::MS1: break;
        }
    }
}

void SpectrumWriter::FormatPeakLines(const SpectrumRecord& record) {
    const std::size_t lineRoom = MaxFixedChars(mzDecimals_) + MaxFixedChars(intensityDecimals_) + 2;
    peakLinesSize_ = 0;
    for (int32_t i = 0; i < record.peakCount; ++i) {
        if (peakLinesCapacity_ - peakLinesSize_ < lineRoom) {
            const std::size_t capacity = std::max(2 * peakLinesCapacity_, peakLinesSize_ + 64 * lineRoom);
            std::unique_ptr<char[]> grown(new char[capacity]);
            if (peakLinesSize_ > 0) std::memcpy(grown.get(), peakLines_.get(), peakLinesSize_);
            peakLines_ = std::move(grown);
            peakLinesCapacity_ = capacity;
        }
        const Peak& peak = record.peaks[i];
        char* at = peakLines_.get() + peakLinesSize_;
        at = WriteFixed(at, peak.mz, mzDecimals_);
        *at++ = ' ';
        at = WriteFixed(at, peak.intensity, intensityDecimals_);
        *at++ = '\n';
        peakLinesSize_ = static_cast<std::size_t>(at - peakLines_.get());
    }
}
