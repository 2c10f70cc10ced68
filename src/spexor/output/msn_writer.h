#pragma once

#include "spexor/output/format_writer.h"

// The MS2 and MS3 text formats: H header lines, then per spectrum and
// charge an S line with the precursor m/z, I lines, a Z line and the peak
// lines. Only MS2 blocks name their precursor scan.
class MsnWriter : public FormatWriter {
public:
    enum class Level { ms2, ms3 };
    MsnWriter(const ConversionSettings& settings, OutputFile& out, Level level)
        : FormatWriter(settings, out, true), level_(level) {}
    void Begin() override;

private:
    void WriteBlock(const SpectrumRecord& record, int32_t charge) override;

    Level level_;
};
