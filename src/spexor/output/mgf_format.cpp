// The MGF format: one BEGIN IONS ... END IONS block per spectrum and charge,
// each followed by an empty line. No header.
#include "spexor/output/output_text.h"
#include "spexor/output/format_writer.h"

void SpectrumWriter::WriteMgfBlock(const SpectrumRecord& record, int32_t charge) {
    OutputFile& out = *stream;
    out.Put("BEGIN IONS\nTITLE=");
    out.Put(baseName);
    out.Put('.');
    PutInt(out, record.scanNumber);
    out.Put('.');
    PutInt(out, record.scanNumber);
    out.Put('.');
    PutInt(out, charge);
    out.Put(".dta\nCHARGE=");
    PutInt(out, charge);
    out.Put("+\nRTINSECONDS=");
    PutFixed(out, record.retentionTime, 6);
    out.Put("\nPEPMASS=");
    PutGeneral10(out, PrecursorMz(record, settings.isotopeMode));
    out.Put('\n');
    PutPeakLines();
    out.Put("END IONS\n\n");
}
