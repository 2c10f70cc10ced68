#include "spexor/output/ms1_writer.h"

#include "spexor/output/ms_text_lines.h"

void Ms1Writer::Begin() { PutMsTextHeader(out(), settings()); }

void Ms1Writer::WriteBlock(const SpectrumRecord& record, int32_t /*charge*/) {
    PutScanLineStart(out(), record.scanNumber);
    PutPeakCountAndTimes(out(), record);
    out().Put("\nI\tInstrumentType\t");
    out().Put(record.instrumentType);
    out().Put('\n');
    PutPeakLines();
}
