#pragma once

#include <memory>
#include <thread>

#include "platform/console.h"
#include "spexor/output/raw_file_job.h"

class RawExtractor;

// A RAW file converted ahead on another thread while the file before it is
// converted: its reader's console lines are captured and its spectra held
// in memory, and both reach the console and the output files only when the
// file's turn comes, so that the run's files and lines are those of one
// file after the other. Meant for files small enough to hold their output
// in memory.
class PrefetchedFile {
public:
    // `job` is complete but for its outputs; the reader (made, not yet
    // opened) belongs to the prefetch. `readerLines` are what making the
    // reader wrote.
    PrefetchedFile(RawFileJob job, std::unique_ptr<RawExtractor> reader, platform::ConsoleCapture readerLines);
    ~PrefetchedFile();
    PrefetchedFile(const PrefetchedFile&) = delete;
    PrefetchedFile& operator=(const PrefetchedFile&) = delete;

    // The file's turn: writes what making its reader wrote, waits for the
    // conversion and completes it as RunExtraction would have (opening the
    // outputs, their texts, the lines, the ending; a fatal error raised at
    // the same point). Returns the finished job.
    const RawFileJob& Commit();

private:
    struct Ahead;
    void ConvertAhead();

    RawFileJob job_;
    std::unique_ptr<RawExtractor> reader_;
    platform::ConsoleCapture readerLines_;
    std::unique_ptr<Ahead> ahead_;
    std::thread thread_;
};
