#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "spexor/output/format_writer.h"
#include "spexor/output/mzml_arrays.h"
#include "spexor/output/mzml_scan_element.h"
#include "spexor/output/run_facts.h"
#include "spexor/output/sha1_digest.h"

// The indexed mzML 1.1 format: one file per RAW file with every scan, each
// with its full description, a total-ion-current chromatogram, the index of
// byte offsets and the file's SHA-1 checksum. Written as a stream: the file
// is never held in memory, only the offsets and the chromatogram's points.
//
// The header is written with the first spectrum, when the file-level facts
// (RunFacts) are known. A writer into memory writes a part of the file, its
// spectra alone, and hands their offsets within the part with its text.
class MzmlWriter : public FormatWriter {
public:
    MzmlWriter(const ConversionSettings& settings, OutputFile& out, const RunFacts& run);
    ~MzmlWriter() override;

    bool DescribesEveryScan() const override { return true; }
    void Finish() override;
    std::unique_ptr<PartNotes> TakePartNotes() override;
    void AppendPart(std::string_view text, const PartNotes* notes) override;

    // What the writer keeps beside the text: where each spectrum starts, and
    // the chromatogram's points.
    struct SpectrumStart {
        int32_t scan;
        uint64_t offset;
    };
    struct Notes : PartNotes {
        std::vector<SpectrumStart> spectra;
        // The chromatogram's two arrays, kept apart so that they are
        // encoded as they lie.
        std::vector<double> minutes;
        std::vector<double> totalIonCurrents;
    };

private:
    // Passes every byte of the file to the checksum.
    struct ChecksumWatcher : ByteWatcher {
        Sha1Digest digest;
        void Saw(std::string_view bytes) override { digest.Add(bytes); }
    };

    void WriteBlock(const SpectrumRecord& record, int32_t charge) override;
    void PutHeaderOnce();
    void ReserveNotes();
    void PutChromatogram();
    void PutIndex();

    const RunFacts& run_;
    bool header_ = false;
    Notes notes_;
    SpectrumElementWriter spectrum_;
    BinaryArrayWriter arrays_;
    ChecksumWatcher checksum_;
    uint64_t chromatogramOffset_ = 0;
};
