#include "spexor/output/mgf_writer.h"

#include "spexor/output/output_text.h"

void MgfWriter::WriteBlock(const SpectrumRecord& record, int32_t charge) {
    OutputFile& file = out();
    file.Put("BEGIN IONS\nTITLE=");
    file.Put(baseName_);
    file.Put('.');
    PutInt(file, record.scanNumber);
    file.Put('.');
    PutInt(file, record.scanNumber);
    file.Put('.');
    PutInt(file, charge);
    file.Put(".dta\nCHARGE=");
    PutInt(file, charge);
    file.Put("+\nRTINSECONDS=");
    PutFixed(file, record.retentionTime, 6);
    file.Put("\nPEPMASS=");
    PutGeneral10(file, PrecursorMz(record, settings().isotopeMode));
    file.Put('\n');
    PutPeakLines();
    file.Put("END IONS\n\n");
}
