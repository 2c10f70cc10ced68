#pragma once

#include "spexor/output/format_writer.h"

// The MS1 text format: H header lines, then per spectrum an S line, its
// I lines and the peak lines.
class Ms1Writer : public FormatWriter {
public:
    Ms1Writer(const ConversionSettings& settings, OutputFile& out) : FormatWriter(settings, out, false) {}
    void Begin() override;

private:
    void WriteBlock(const SpectrumRecord& record, int32_t charge) override;
};
