#include "spexor/driver/spexor_app.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/com.h"
#include "platform/command_line.h"
#include "platform/console.h"
#include "platform/cpu_cores.h"
#include "platform/fatal_error.h"
#include "platform/process.h"
#include "platform/window.h"
#include "spexor/console/console_lines.h"
#include "spexor/driver/batch_summary.h"
#include "spexor/driver/elapsed_time.h"
#include "spexor/driver/settings_source.h"
#include "spexor/output/extraction_run.h"
#include "spexor/output/prefetched_file.h"
#include "spexor/output/raw_file_job.h"
#include "spexor/reader/new_raw_extractor.h"
#include "spexor/reader/open_failure.h"
#include "spexor/reader/raw_extractor.h"

using platform::Stream;
using platform::WriteLine;

namespace {

// The hosted-control reader when its control can be made in the host,
// otherwise the reader that reaches the component through its interface.
// A failed open waits for Enter only when it ends the run.
std::unique_ptr<RawExtractor> ChooseReader(platform::HostWindow& host, const RunSettings& settings) {
    std::unique_ptr<RawExtractor> reader(new RawExtractor(&host));
    if (!reader->IsAvailable()) reader.reset(new NewRawExtractor());
    reader->WaitOnOpenFailure(!settings.keepGoing);
    return reader;
}

// Makes readers of the chosen reader's kind, for the threads that convert
// parts of the file.
std::function<std::unique_ptr<RawExtractor>()> ReaderMaker(const RawExtractor& chosen, platform::HostWindow& host) {
    if (dynamic_cast<const NewRawExtractor*>(&chosen) != nullptr) {
        return [] { return std::unique_ptr<RawExtractor>(new NewRawExtractor()); };
    }
    return [&host]() -> std::unique_ptr<RawExtractor> {
        std::unique_ptr<RawExtractor> reader(new RawExtractor(&host));
        if (!reader->IsAvailable()) return nullptr;
        return reader;
    };
}

int ThreadsFor(const RunSettings& settings) {
    return settings.threads > 0 ? settings.threads : platform::UsableCores();
}

// Counts a RAW file's conversion into the tally. A file none of whose
// scans could be read failed, and says so.
void Count(const RawFileJob& job, BatchTally& tally) {
    tally.unreadableScans += job.massLists.failed;
    if (job.NoScanReadable()) {
        console::ReportException("No scan of " + platform::ToNarrow(job.rawPath) + " could be read.");
        ++tally.failedRawFiles;
    } else {
        ++tally.rawFiles;
        if (job.writtenOutputs == 0) ++tally.rawFilesWithoutSpectra;
    }
    tally.outputsWritten += job.writtenOutputs;
    tally.outputsFailed += job.failedOutputs;
}

// Converts one RAW file (its "Begin" line written) and counts it and its
// outputs into `tally`.
void ConvertRawFile(const RunSettings& settings, const std::string& rawPath, platform::HostWindow& host,
                    BatchTally& tally) {
    RawFileJob job;
    job.settings = settings;  // every choice but the list of RAW files
    job.rawPath = rawPath;
    std::unique_ptr<RawExtractor> reader = ChooseReader(host, settings);
    job.reader = reader.get();
    job.threads = ThreadsFor(settings);
    if (job.threads > 1) job.makeReader = ReaderMaker(*reader, host);
    RunExtraction(job);
    Count(job, tally);
}

// A file is converted ahead, while the one before it is, when the run has
// several threads and no terminal to wait on (an open failure there waits
// for Enter) and the file is small enough to hold its output in memory.
constexpr uint64_t kLargestFileConvertedAhead = 64ull * 1024 * 1024;

bool MayConvertAhead(const RunSettings& settings, const std::string& rawPath) {
    if (ThreadsFor(settings) < 2 || platform::StandardInputIsTerminal()) return false;
    std::error_code error;
    const uint64_t size = std::filesystem::file_size(rawPath, error);
    return !error && size <= kLargestFileConvertedAhead;
}

std::unique_ptr<PrefetchedFile> StartConvertingAhead(const RunSettings& settings, const std::string& rawPath,
                                                     platform::HostWindow& host) {
    platform::ConsoleCapture readerLines;
    std::unique_ptr<RawExtractor> reader;
    {
        platform::ScopedConsoleCapture capture(readerLines);
        reader = ChooseReader(host, settings);
    }
    RawFileJob job;
    job.settings = settings;
    job.rawPath = rawPath;
    return std::make_unique<PrefetchedFile>(std::move(job), std::move(reader), std::move(readerLines));
}

}  // namespace

bool SpexorApp::InitInstance() {
    platform::AfxEnableControlContainer();
    const std::vector<std::string> arguments = platform::ProcessArguments();
    platform::CoInitialize();
    return RunBatch(static_cast<int>(arguments.size()), arguments.data());
}

bool SpexorApp::RunBatch(int argc, const std::string* argv) {
    platform::HostWindow host;
    const SettingsRequest request = ObtainSettings(argc, argv);
    if (request.kind == SettingsRequest::Kind::usage) throw platform::FatalError();
    if (request.kind == SettingsRequest::Kind::help || request.kind == SettingsRequest::Kind::version) return true;
    const RunSettings& settings = *request.settings;
    const int64_t start = platform::ProcessClockMs();
    if (settings.rawFiles.empty()) console::ReportException("Warning: No raw files.");
    BatchTally tally;
    tally.missingInputs = settings.missingInputs;
    tally.inputsWithoutRawFiles = settings.inputsWithoutRawFiles;
    tally.rawFilesOfTakenNames = settings.rawFilesOfTakenNames;
    std::unique_ptr<PrefetchedFile> ahead;  // the next file, converted while this one is
    for (size_t i = 0; i < settings.rawFiles.size(); ++i) {
        const std::string& rawPath = settings.rawFiles[i];
        console::Report("Begin to extract " + platform::ToNarrow(rawPath));
        std::unique_ptr<PrefetchedFile> current = std::move(ahead);
        if (i + 1 < settings.rawFiles.size() && MayConvertAhead(settings, settings.rawFiles[i + 1])) {
            ahead = StartConvertingAhead(settings, settings.rawFiles[i + 1], host);
        }
        const console::RepeatLimitOfFile repeatLimit;
        try {
            if (current) {
                Count(current->Commit(), tally);
            } else {
                ConvertRawFile(settings, rawPath, host, tally);
            }
        } catch (const OpenFailure&) {
            // Reported by the reader; with --keep-going the next file comes.
            if (!settings.keepGoing) throw;
            ++tally.failedRawFiles;
        }
    }
    console::Report(BatchSummaryText(tally));
    console::Report(ElapsedTimeText(start, platform::ProcessClockMs()));
    host.DestroyWindow();
    const std::vector<std::string> incomplete = IncompleteRunTexts(tally);
    for (const std::string& text : incomplete) console::ReportException(text);
    return incomplete.empty();
}
