// The MS1, MS2 and MS3 text formats: H header lines, then per spectrum an S
// line, I lines, Z lines (MS2, MS3) and the peak lines.
#include "spexor/output/creation_date.h"
#include "spexor/output/output_text.h"
#include "spexor/output/format_writer.h"

namespace {

constexpr double kProtonMass = 1.00727647012;
constexpr const char* kOwnershipNote = "spexor is written and maintained by the Morvane team";

// The singly protonated precursor mass for charge z.
double ProtonatedMass(int32_t charge, double precursorMz) {
    const double z = charge;
    return z * precursorMz - (z - 1.0) * kProtonMass;
}

// "S", a tab and the scan number twice: the start of every spectrum's S line.
void PutScanLineStart(OutputFile& out, int32_t scanNumber) {
    out.Put("S\t");
    PutZeroPadded6(out, scanNumber);
    out.Put('\t');
    PutZeroPadded6(out, scanNumber);
}

// The end of the S line and the I lines every spectrum starts with: peak
// count, retention time and ion injection time (the last without its line break).
void PutPeakCountAndTimes(OutputFile& out, const SpectrumRecord& record) {
    out.Put("\nI\tNumberOfPeaks\t");
    PutInt(out, record.peakCount);
    out.Put("\nI\tRetTime\t");
    PutFixed(out, record.retentionTime, 6);
    out.Put("\nI\tIonInjectionTime\t");
    PutFixed(out, record.ionInjectionTime, 6);
}

}  // namespace

void SpectrumWriter::WriteHeader() {
    if (format == OutputFormat::MGF || format == OutputFormat::KSD) return;
    OutputFile& out = *stream;
    out.Put("H\tCreationDate\t");
    out.Put(CurrentCreationDate());
    out.Put("\nH\tExtractor\tspexor\nH\tExtractorVersion\t2.1.0\nH\tComments\t");
    out.Put(kOwnershipNote);
    out.Put("\nH\tDataType\t");
    out.Put(settings.centroided ? "Centroided" : "Profile");
    out.Put('\n');
}

void SpectrumWriter::WriteMs1Block(const SpectrumRecord& record) {
    OutputFile& out = *stream;
    PutScanLineStart(out, record.scanNumber);
    PutPeakCountAndTimes(out, record);
    out.Put("\nI\tInstrumentType\t");
    out.Put(record.instrumentType);
    out.Put('\n');
    PutPeakLines();
}

void SpectrumWriter::WriteMsnBlock(const SpectrumRecord& record, int32_t charge, bool withPrecursorScan) {
    OutputFile& out = *stream;
    const double precursorMz = PrecursorMz(record, settings.isotopeMode);
    PutScanLineStart(out, record.scanNumber);
    out.Put('\t');
    PutGeneral10(out, precursorMz);
    PutPeakCountAndTimes(out, record);
    out.Put("\nI\tActivationType\t");
    out.Put(record.activationType);
    out.Put("\nI\tInstrumentType\t");
    out.Put(record.instrumentType);
    if (withPrecursorScan) {
        out.Put("\nI\tPrecursorScan\t");
        PutInt(out, record.precursorScan);
    }
    out.Put("\nI\tActivationCenter\t");
    PutFixed(out, record.activationCenter, 2);
    out.Put("\nI\tMonoiosotopicMz\t");
    PutGeneral10(out, record.monoisotopicMz);
    out.Put("\nZ\t");
    PutInt(out, charge);
    out.Put('\t');
    PutFixed(out, ProtonatedMass(charge, precursorMz), 6);
    out.Put('\n');
    PutPeakLines();
}
