#include "spexor/output/ms_text_lines.h"

#include "spexor/output/creation_date.h"
#include "spexor/output/output_text.h"

namespace {
constexpr const char* kOwnershipNote = "spexor is written and maintained by the Morvane team";
}  // namespace

void PutMsTextHeader(OutputFile& out, const ConversionSettings& settings) {
    out.Put("H\tCreationDate\t");
    out.Put(CurrentCreationDate());
    out.Put("\nH\tExtractor\tspexor\nH\tExtractorVersion\t2.1.0\nH\tComments\t");
    out.Put(kOwnershipNote);
    out.Put("\nH\tDataType\t");
    out.Put(settings.centroided ? "Centroided" : "Profile");
    out.Put('\n');
}

void PutScanLineStart(OutputFile& out, int32_t scanNumber) {
    out.Put("S\t");
    PutZeroPadded6(out, scanNumber);
    out.Put('\t');
    PutZeroPadded6(out, scanNumber);
}

void PutPeakCountAndTimes(OutputFile& out, const SpectrumRecord& record) {
    out.Put("\nI\tNumberOfPeaks\t");
    PutInt(out, record.peakCount);
    out.Put("\nI\tRetTime\t");
    PutFixed(out, record.retentionTime, 6);
    out.Put("\nI\tIonInjectionTime\t");
    PutFixed(out, record.ionInjectionTime, 6);
}
