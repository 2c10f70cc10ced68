#pragma once

#include <string>

#include "spexor/output/format_writer.h"

// The MGF format: one BEGIN IONS ... END IONS block per spectrum and
// charge, each followed by an empty line. No header.
class MgfWriter : public FormatWriter {
public:
    MgfWriter(const ConversionSettings& settings, OutputFile& out, std::string baseName)
        : FormatWriter(settings, out, true), baseName_(std::move(baseName)) {}

private:
    void WriteBlock(const SpectrumRecord& record, int32_t charge) override;

    std::string baseName_;  // the TITLE's first part
};
