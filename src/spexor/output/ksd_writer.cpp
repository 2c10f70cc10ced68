#include "spexor/output/ksd_writer.h"

#include "spexor/output/output_text.h"

void KsdWriter::WriteBlock(const SpectrumRecord& record, int32_t charge) {
    OutputFile& file = out();
    file.Put("H\n");
    PutInt(file, record.scanNumber);
    file.Put('\t');
    PutFixed(file, record.retentionTime, 6);
    file.Put('\n');
    file.Put(record.activationType);
    file.Put('\t');
    file.Put(record.instrumentType);
    file.Put('\n');
    PutInt(file, record.precursorScan);
    file.Put('\t');
    PutInt(file, charge);
    file.Put('\t');
    PutGeneral10(file, PrecursorMz(record, settings().isotopeMode));
    file.Put("\nM\n");
    PutPeakLines();
}
