// The KSD format: per spectrum and charge an H line, scan and retention
// time, activation and analyzer, precursor scan, charge and precursor m/z,
// an M line and the peak lines. No header, no separators.
#include "spexor/output/output_text.h"
#include "spexor/output/format_writer.h"

void SpectrumWriter::WriteKsdBlock(const SpectrumRecord& record, int32_t charge) {
    OutputFile& out = *stream;
    out.Put("H\n");
    PutInt(out, record.scanNumber);
    out.Put('\t');
    PutFixed(out, record.retentionTime, 6);
    out.Put('\n');
    out.Put(record.activationType);
    out.Put('\t');
    out.Put(record.instrumentType);
    out.Put('\n');
    PutInt(out, record.precursorScan);
    out.Put('\t');
    PutInt(out, charge);
    out.Put('\t');
    PutGeneral10(out, PrecursorMz(record, settings.isotopeMode));
    out.Put("\nM\n");
    PutPeakLines();
}
