#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "spexor/driver/run_settings.h"
#include "spexor/output/output_file.h"
#include "spexor/output/output_slots.h"
#include "spexor/output/peak_lines.h"
#include "spexor/output/run_facts.h"
#include "spexor/output/scan_record.h"

// What a writer keeps beside the text of a part of its file written on
// another thread (where the part's spectra begin, say), handed with that
// text to the writer of the file. Each format that keeps something derives
// its own.
struct PartNotes {
    virtual ~PartNotes() = default;
};

// The writer bound to one output file, in three steps: Begin (what the file
// starts with), WriteSpectrum per record (one block per record, or per
// record and charge for the formats with a charge) and Finish (what the
// file ends with). It borrows the file; the job owns and closes it. One
// class per format (ms1_writer.h, msn_writer.h, mgf_writer.h, ksd_writer.h).
class FormatWriter {
public:
    virtual ~FormatWriter() = default;
    FormatWriter(const FormatWriter&) = delete;
    FormatWriter& operator=(const FormatWriter&) = delete;

    // Whether the writer takes every scan, each with its full description
    // (ScanDescription), those whose mass list was empty or could not be
    // read included; the text formats take only scans with a mass list.
    virtual bool DescribesEveryScan() const { return false; }

    // What a file starts with (nothing by default), once, before any record.
    virtual void Begin() {}
    // What a file ends with (nothing by default), once, before it is closed.
    virtual void Finish() {}
    // The record's block, or one block for each charge of its range.
    void WriteSpectrum(const SpectrumRecord& record);
    // The same, with the record's peak lines as `lines` holds them, formatted
    // with this writer's decimals: a record that goes to several files (an
    // MS2 scan to its MS2, MGF and KSD files) is formatted once for all.
    void WriteSpectrum(const SpectrumRecord& record, const PeakLines& lines);

    // A writer into memory, whose text is being handed to the file's writer:
    // what it keeps beside that text, from which it starts afresh (none by
    // default).
    virtual std::unique_ptr<PartNotes> TakePartNotes() { return nullptr; }
    // Puts a part of the file written on another thread at the end of the
    // file: its text and what its writer kept beside it (by default the
    // text alone).
    virtual void AppendPart(std::string_view text, const PartNotes* notes);

protected:
    FormatWriter(const ConversionSettings& settings, OutputFile& out, bool blockPerCharge);

    // One block of the record; `charge` is 0 for the formats without one.
    virtual void WriteBlock(const SpectrumRecord& record, int32_t charge) = 0;

    const ConversionSettings& settings() const { return settings_; }
    OutputFile& out() { return *out_; }
    // The record's peak lines, formatted once per record.
    void PutPeakLines() { out_->Put(lines_->Text()); }

private:
    void WriteBlocks(const SpectrumRecord& record);

    ConversionSettings settings_;
    OutputFile* out_;
    bool blockPerCharge_;
    PeakLines peakLines_;
    const PeakLines* lines_ = &peakLines_;  // the lines of the record being written
};

// The writer of a format on `out`; `run` (which it may borrow) tells it
// about the RAW file (the MGF titles carry its name).
std::unique_ptr<FormatWriter> MakeFormatWriter(OutputFormat format, const ConversionSettings& settings, OutputFile& out,
                                               const RunFacts& run);
