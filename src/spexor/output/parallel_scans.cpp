#include "spexor/output/parallel_scans.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/console.h"
#include "platform/fatal_error.h"
#include "spexor/output/output_paths.h"
#include "spexor/output/raw_file_job.h"
#include "spexor/output/scan_conversion.h"
#include "spexor/reader/raw_extractor.h"

namespace {

constexpr int64_t kChunkScans = 256;
// Chunks converted ahead of the one being put into the files, per worker.
constexpr int64_t kChunksAheadPerWorker = 4;

ScanSink SinkOfJob(RawFileJob& job) {
    ScanSink sink;
    sink.settings = &job.settings;
    sink.reader = job.reader;
    for (int slot = 0; slot < kOutputSlotCount; ++slot) {
        if (job.outputs[slot]) sink.writers[slot] = job.outputs[slot]->writer.get();
    }
    return sink;
}

void AddCounts(RawFileJob& job, const std::array<int32_t, kOutputSlotCount>& counts) {
    for (int slot = 0; slot < kOutputSlotCount; ++slot) {
        if (job.outputs[slot]) job.outputs[slot]->spectraWritten += counts[slot];
    }
}

void ConvertOnThisThread(RawFileJob& job, int32_t first, int32_t last) {
    ScanSink sink = SinkOfJob(job);
    LoopState state;
    ConvertScans(sink, first, last, last, state);
    AddCounts(job, sink.counts);
}

// One worker's reader over the file and writers into memory, one per open output.
struct Worker {
    std::unique_ptr<RawExtractor> reader;
    MemoryWriters memory;
    ScanSink sink;
};

// A chunk as converted: per slot its text and record count, its console
// lines, and how it ended.
struct ChunkResult {
    bool done = false;
    std::array<std::unique_ptr<OutputFile>, kOutputSlotCount> texts;  // in memory; null for a slot not written
    std::array<std::unique_ptr<PartNotes>, kOutputSlotCount> notes;   // what each writer kept beside its text
    std::array<int32_t, kOutputSlotCount> counts{};
    platform::ConsoleCapture console;
    bool fatal = false;             // a fatal error ended the conversion in this chunk
    std::exception_ptr unexpected;  // any other failure, raised again in scan order
};

// Runs the job's reader maker for a worker and opens the file; null when
// that fails (the conversion then stays on one thread). What readers say
// while they are made and opened is not the conversion's and is dropped.
std::unique_ptr<Worker> MakeWorker(RawFileJob& job) {
    auto worker = std::make_unique<Worker>();
    platform::ConsoleCapture dropped;
    platform::ScopedConsoleCapture capture(dropped);
    try {
        worker->reader = job.makeReader();
        if (!worker->reader) return nullptr;
        worker->reader->Open(job.rawPath);
    } catch (const platform::FatalError&) {
        return nullptr;
    }
    worker->sink.settings = &job.settings;
    worker->sink.reader = worker->reader.get();
    std::array<bool, kOutputSlotCount> open{};
    for (int slot = 0; slot < kOutputSlotCount; ++slot) open[slot] = job.outputs[slot].has_value();
    worker->memory.Open(open, job.settings, job.run, worker->sink);
    return worker;
}

void CloseWorker(Worker& worker) {
    platform::ConsoleCapture dropped;
    platform::ScopedConsoleCapture capture(dropped);
    try {
        worker.reader->Close();
    } catch (const platform::FatalError&) {}
}

// The last scans from `from` down to `to` that read as MS1 and (when
// `withMs2`) as MS2; 0 for one not found. Asks only for filter texts; its
// lines are dropped (each chunk's own conversion says what the one-thread
// loop would), and so is a fatal ending, which the conversion of the chunk
// holding that scan meets again and delivers before any later chunk.
PrecedingScans LastScansBetween(RawExtractor& reader, int64_t from, int64_t to, bool withMs2) {
    PrecedingScans found;
    platform::ConsoleCapture dropped;
    platform::ScopedConsoleCapture capture(dropped);
    try {
        for (int64_t scan = from; scan >= to && (found.ms1 == 0 || (withMs2 && found.ms2 == 0)); --scan) {
            const int32_t s = static_cast<int32_t>(scan);
            if (reader.IsScanKind(s, 0)) {
                if (found.ms1 == 0) found.ms1 = s;
            } else if (withMs2 && found.ms2 == 0 && reader.IsScanKind(s, 1)) {
                found.ms2 = s;
            }
            dropped = platform::ConsoleCapture();
        }
    } catch (const platform::FatalError&) {}
    return found;
}

class ChunkPipeline {
public:
    ChunkPipeline(RawFileJob& job, int64_t first, int64_t last, std::vector<std::unique_ptr<Worker>> workers)
        : job_(job),
          first_(first),
          last_(last),
          chunks_((last - first) / kChunkScans + 1),
          lastBefore_(static_cast<size_t>(chunks_), PrecedingScans{-1, -1}),
          results_(static_cast<size_t>(chunks_)),
          workers_(std::move(workers)) {
        for (auto& worker : workers_) threads_.emplace_back([this, w = worker.get()] { Work(*w); });
    }

    ~ChunkPipeline() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        for (std::thread& thread : threads_) thread.join();
        for (auto& worker : workers_) CloseWorker(*worker);
    }

    // Puts every chunk into the files and onto the console in scan order.
    void Deliver() {
        for (int64_t k = 0; k < chunks_; ++k) {
            ChunkResult result = TakeResult(k);
            result.console.Replay();
            for (int slot = 0; slot < kOutputSlotCount; ++slot) {
                if (job_.outputs[slot] && result.texts[slot]) {
                    job_.outputs[slot]->writer->AppendPart(result.texts[slot]->Held(), result.notes[slot].get());
                }
                if (result.texts[slot]) Recycle(std::move(result.texts[slot]));
            }
            AddCounts(job_, result.counts);
            if (result.unexpected) std::rethrow_exception(result.unexpected);
            if (result.fatal) throw platform::FatalError();
        }
    }

private:
    ChunkResult TakeResult(int64_t k) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return results_[static_cast<size_t>(k)].done; });
        ChunkResult result = std::move(results_[static_cast<size_t>(k)]);
        delivered_ = k + 1;
        lock.unlock();
        changed_.notify_all();
        return result;
    }

    // An empty in-memory text: a delivered chunk's buffer when there is one
    // (its pages already in place, where a new one would be faulted in
    // anew), else a new one of `capacity`.
    std::unique_ptr<OutputFile> SpareText(std::size_t capacity) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!spareTexts_.empty()) {
                std::unique_ptr<OutputFile> text = std::move(spareTexts_.back());
                spareTexts_.pop_back();
                return text;
            }
        }
        return OutputFile::InMemory(capacity);
    }

    void Recycle(std::unique_ptr<OutputFile> text) {
        text->ClearHeld();
        std::lock_guard<std::mutex> lock(mutex_);
        spareTexts_.push_back(std::move(text));
    }

    // Takes the next chunk, waiting while too many are ahead of delivery; -1 when there is none.
    int64_t NextChunk() {
        std::unique_lock<std::mutex> lock(mutex_);
        const int64_t ahead = kChunksAheadPerWorker * static_cast<int64_t>(workers_.size());
        changed_.wait(lock, [&] { return stop_ || next_ >= chunks_ || next_ < delivered_ + ahead; });
        if (stop_ || next_ >= chunks_) return -1;
        return next_++;
    }

    // The last MS1 scan before chunk k, as the one-thread loop follows it
    // (every scan that reads as MS1, whether written or not), and the last
    // MS2 scan when the scans are described: looked for in the chunk
    // before, and when that holds none, taken from before chunk k-1, which
    // its worker, having taken that chunk earlier, finds first.
    PrecedingScans LastScansBefore(Worker& worker, int64_t k) {
        PrecedingScans found;
        if (k > 0) {
            const int64_t from = first_ + k * kChunkScans;
            const bool withMs2 = worker.sink.DescribesScans();
            found = LastScansBetween(*worker.reader, from - 1, from - kChunkScans, withMs2);
            if (found.ms1 == 0 || (withMs2 && found.ms2 == 0)) {
                std::unique_lock<std::mutex> lock(mutex_);
                changed_.wait(lock, [&] { return lastBefore_[static_cast<size_t>(k - 1)].ms1 >= 0; });
                const PrecedingScans& earlier = lastBefore_[static_cast<size_t>(k - 1)];
                if (found.ms1 == 0) found.ms1 = earlier.ms1;
                if (found.ms2 == 0) found.ms2 = earlier.ms2;
            }
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            lastBefore_[static_cast<size_t>(k)] = found;
        }
        changed_.notify_all();
        return found;
    }

    void Work(Worker& worker) {
        for (int64_t k = NextChunk(); k >= 0; k = NextChunk()) {
            ChunkResult result = Convert(worker, k, LastScansBefore(worker, k));
            {
                std::lock_guard<std::mutex> lock(mutex_);
                result.done = true;
                results_[static_cast<size_t>(k)] = std::move(result);
            }
            changed_.notify_all();
        }
    }

    ChunkResult Convert(Worker& worker, int64_t k, const PrecedingScans& before) {
        ChunkResult result;
        const int64_t from = first_ + k * kChunkScans;
        const int64_t to = from + kChunkScans - 1 < last_ ? from + kChunkScans - 1 : last_;
        LoopState state;
        state.lastMs1Scan = before.ms1;
        state.lastMs2Scan = before.ms2;
        worker.sink.counts = {};
        {
            platform::ScopedConsoleCapture capture(result.console);
            try {
                ConvertScans(worker.sink, from, to, static_cast<int32_t>(last_), state);
            } catch (const platform::FatalError&) {
                result.fatal = true;
            } catch (...) {
                result.unexpected = std::current_exception();
            }
        }
        result.counts = worker.sink.counts;
        for (int slot = 0; slot < kOutputSlotCount; ++slot) {
            // The chunk's text is handed over as it lies; the worker goes on
            // in a buffer of a chunk delivered before (or a new one as large),
            // which seldom needs to grow.
            if (!worker.memory.texts[slot]) continue;
            OutputFile& text = *worker.memory.texts[slot];
            result.notes[slot] = worker.memory.writers[slot]->TakePartNotes();
            if (text.Held().empty() && !result.notes[slot]) continue;
            result.texts[slot] = SpareText(text.capacity());
            result.texts[slot]->SwapHeld(text);
        }
        return result;
    }

    RawFileJob& job_;
    const int64_t first_;
    const int64_t last_;
    const int64_t chunks_;
    std::vector<PrecedingScans> lastBefore_;  // -1 until the chunk's worker has found them
    std::vector<ChunkResult> results_;
    std::vector<std::unique_ptr<Worker>> workers_;
    std::vector<std::unique_ptr<OutputFile>> spareTexts_;  // delivered chunks' buffers, emptied
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int64_t next_ = 0;
    int64_t delivered_ = 0;
    bool stop_ = false;
};

}  // namespace

void ConvertAllScans(RawFileJob& job, int32_t first, int32_t last) {
    const int64_t count = static_cast<int64_t>(last) - first + 1;
    if (job.threads <= 1 || !job.makeReader || count < 4 * kChunkScans) {
        ConvertOnThisThread(job, first, last);
        return;
    }
    std::vector<std::unique_ptr<Worker>> workers;
    for (int i = 0; i < job.threads; ++i) {
        std::unique_ptr<Worker> worker = MakeWorker(job);
        if (!worker) break;
        workers.push_back(std::move(worker));
    }
    if (workers.size() < 2) {
        for (auto& worker : workers) CloseWorker(*worker);
        ConvertOnThisThread(job, first, last);
        return;
    }
    ChunkPipeline pipeline(job, first, last, std::move(workers));
    pipeline.Deliver();
}
