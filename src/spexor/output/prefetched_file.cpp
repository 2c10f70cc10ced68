#include "spexor/output/prefetched_file.h"

#include <array>
#include <exception>
#include <string>

#include "platform/console.h"
#include "platform/fatal_error.h"
#include "spexor/output/extraction_run.h"
#include "spexor/output/output_file_set.h"
#include "spexor/output/output_paths.h"
#include "spexor/output/parallel_scans.h"
#include "spexor/output/scan_conversion.h"
#include "spexor/reader/raw_extractor.h"

// What the conversion ahead left for the file's turn.
struct PrefetchedFile::Ahead {
    platform::ConsoleCapture openLines;
    bool openFatal = false;
    platform::ConsoleCapture scanLines;
    bool scanFatal = false;
    std::exception_ptr unexpected;
    MemoryWriters memory;
    std::array<int32_t, kOutputSlotCount> counts{};
};

PrefetchedFile::PrefetchedFile(RawFileJob job, std::unique_ptr<RawExtractor> reader,
                               platform::ConsoleCapture readerLines)
    : job_(std::move(job)), reader_(std::move(reader)), readerLines_(std::move(readerLines)), ahead_(new Ahead) {
    job_.reader = reader_.get();
    thread_ = std::thread([this] { ConvertAhead(); });
}

PrefetchedFile::~PrefetchedFile() {
    if (thread_.joinable()) thread_.join();
}

// As RunExtraction does, with every output the settings ask for held in
// memory (headers left to the real files) and every line captured.
void PrefetchedFile::ConvertAhead() {
    Ahead& ahead = *ahead_;
    try {
        platform::ScopedConsoleCapture capture(ahead.openLines);
        reader_->Open(job_.rawPath);
    } catch (const platform::FatalError&) {
        ahead.openFatal = true;
        return;
    }
    ScanSink sink;
    sink.settings = &job_.settings;
    sink.reader = reader_.get();
    std::array<bool, kOutputSlotCount> wanted{};
    for (int slot = 0; slot < kOutputSlotCount; ++slot) wanted[slot] = SlotWanted(OutputSlots()[slot], job_.settings);
    job_.run.rawPath = job_.rawPath;
    job_.run.baseName = RawBaseName(job_.rawPath);
    ahead.memory.Open(wanted, job_.settings, job_.run, sink);
    platform::ScopedConsoleCapture capture(ahead.scanLines);
    try {
        const int32_t first = reader_->GetFirstScan();
        const int32_t last = reader_->GetLastScan();
        if (sink.DescribesScans()) DescribeRun(*reader_, first, last, job_.run);
        LoopState state;
        ConvertScans(sink, first, last, last, state);
    } catch (const platform::FatalError&) {
        ahead.scanFatal = true;
    } catch (...) {
        ahead.unexpected = std::current_exception();
    }
    ahead.counts = sink.counts;
}

const RawFileJob& PrefetchedFile::Commit() {
    readerLines_.Replay();
    thread_.join();
    Ahead& ahead = *ahead_;
    ahead.openLines.Replay();
    if (ahead.openFatal) throw platform::FatalError();
    OpenOutputs(job_);
    if (job_.failedOutputs > 0) {
        // Not every output the conversion ahead wrote for is open, which
        // changes what is read: convert again, on this thread.
        const int32_t first = reader_->GetFirstScan();
        const int32_t last = reader_->GetLastScan();
        ConvertAllScans(job_, first, last);
    } else {
        ahead.scanLines.Replay();
        for (int slot = 0; slot < kOutputSlotCount; ++slot) {
            if (!job_.outputs[slot] || !ahead.memory.texts[slot]) continue;
            const std::unique_ptr<PartNotes> notes = ahead.memory.writers[slot]->TakePartNotes();
            job_.outputs[slot]->writer->AppendPart(ahead.memory.texts[slot]->Held(), notes.get());
            job_.outputs[slot]->spectraWritten += ahead.counts[slot];
            ahead.memory.writers[slot].reset();
            ahead.memory.texts[slot].reset();
        }
        if (ahead.unexpected) std::rethrow_exception(ahead.unexpected);
        if (ahead.scanFatal) throw platform::FatalError();
    }
    FinishExtraction(job_);
    return job_;
}
