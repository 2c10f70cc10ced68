#include "spexor/output/msn_writer.h"

#include "spexor/output/ms_text_lines.h"
#include "spexor/output/output_text.h"

namespace {

constexpr double kProtonMass = 1.00727647012;

// The singly protonated precursor mass for charge z.
double ProtonatedMass(int32_t charge, double precursorMz) {
    const double z = charge;
    return z * precursorMz - (z - 1.0) * kProtonMass;
}

}  // namespace

void MsnWriter::Begin() { PutMsTextHeader(out(), settings()); }

void MsnWriter::WriteBlock(const SpectrumRecord& record, int32_t charge) {
    OutputFile& file = out();
    const double precursorMz = PrecursorMz(record, settings().isotopeMode);
    PutScanLineStart(file, record.scanNumber);
    file.Put('\t');
    PutGeneral10(file, precursorMz);
    PutPeakCountAndTimes(file, record);
    file.Put("\nI\tActivationType\t");
    file.Put(record.activationType);
    file.Put("\nI\tInstrumentType\t");
    file.Put(record.instrumentType);
    if (level_ == Level::ms2) {
        file.Put("\nI\tPrecursorScan\t");
        PutInt(file, record.precursorScan);
    }
    file.Put("\nI\tActivationCenter\t");
    PutFixed(file, record.activationCenter, 2);
    file.Put("\nI\tMonoiosotopicMz\t");
    PutGeneral10(file, record.monoisotopicMz);
    file.Put("\nZ\t");
    PutInt(file, charge);
    file.Put('\t');
    PutFixed(file, ProtonatedMass(charge, precursorMz), 6);
    file.Put('\n');
    PutPeakLines();
}
