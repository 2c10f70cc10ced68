#pragma once

#include "spexor/output/format_writer.h"

// The KSD format: per spectrum and charge an H line, scan and retention
// time, activation and analyzer, precursor scan, charge and precursor m/z,
// an M line and the peak lines. No header, no separators.
class KsdWriter : public FormatWriter {
public:
    KsdWriter(const ConversionSettings& settings, OutputFile& out) : FormatWriter(settings, out, true) {}

private:
    void WriteBlock(const SpectrumRecord& record, int32_t charge) override;
};
