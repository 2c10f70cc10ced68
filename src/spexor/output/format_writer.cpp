#include "spexor/output/format_writer.h"

#include "spexor/output/ksd_writer.h"
#include "spexor/output/mgf_writer.h"
#include "spexor/output/ms1_writer.h"
#include "spexor/output/msn_writer.h"
#include "spexor/output/mzml_writer.h"

FormatWriter::FormatWriter(const ConversionSettings& settings, OutputFile& out, bool blockPerCharge)
    : settings_(settings),
      out_(&out),
      blockPerCharge_(blockPerCharge),
      peakLines_(settings.mzDecimals, settings.intensityDecimals) {}

void FormatWriter::WriteSpectrum(const SpectrumRecord& record) {
    if (blockPerCharge_ && record.chargeMin > record.chargeMax) return;
    peakLines_.Format(record);
    lines_ = &peakLines_;
    WriteBlocks(record);
}

void FormatWriter::WriteSpectrum(const SpectrumRecord& record, const PeakLines& lines) {
    lines_ = &lines;
    WriteBlocks(record);
    lines_ = &peakLines_;
}

void FormatWriter::AppendPart(std::string_view text, const PartNotes* /*notes*/) { out_->Put(text); }

void FormatWriter::WriteBlocks(const SpectrumRecord& record) {
    if (!blockPerCharge_) {
        WriteBlock(record, 0);
        return;
    }
    // 64-bit, so a charge range ending at the largest int32 still ends.
    for (int64_t charge = record.chargeMin; charge <= record.chargeMax; ++charge) {
        WriteBlock(record, static_cast<int32_t>(charge));
    }
}

std::unique_ptr<FormatWriter> MakeFormatWriter(OutputFormat format, const ConversionSettings& settings, OutputFile& out,
                                               const RunFacts& run) {
    switch (format) {
        case OutputFormat::MS1: return std::make_unique<Ms1Writer>(settings, out);
        case OutputFormat::MS2: return std::make_unique<MsnWriter>(settings, out, MsnWriter::Level::ms2);
        case OutputFormat::MS3: return std::make_unique<MsnWriter>(settings, out, MsnWriter::Level::ms3);
        case OutputFormat::MGF: return std::make_unique<MgfWriter>(settings, out, run.baseName);
        case OutputFormat::MZML: return std::make_unique<MzmlWriter>(settings, out, run);
        case OutputFormat::KSD: return std::make_unique<KsdWriter>(settings, out);
    }
    return nullptr;
}
