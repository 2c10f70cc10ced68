#include "spexor/driver/spexor_app.h"

#include <memory>
#include <vector>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/com.h"
#include "platform/command_line.h"
#include "platform/console.h"
#include "platform/fatal_error.h"
#include "platform/window.h"
#include "spexor/console/console_lines.h"
#include "spexor/driver/elapsed_time.h"
#include "spexor/driver/settings_source.h"
#include "spexor/output/extraction_run.h"
#include "spexor/output/raw_file_job.h"
#include "spexor/reader/new_raw_extractor.h"
#include "spexor/reader/raw_extractor.h"

using platform::Stream;
using platform::WriteLine;

namespace {

// The hosted-control reader when its control can be made in the host,
// otherwise the reader that reaches the component through its interface.
std::unique_ptr<RawExtractor> ChooseReader(platform::HostWindow& host) {
    std::unique_ptr<RawExtractor> reader(new RawExtractor(&host));
    if (!reader->IsAvailable()) reader.reset(new NewRawExtractor());
    return reader;
}

// Converts one RAW file; returns the number of its output files that failed.
int ConvertRawFile(const RunSettings& settings, const std::string& rawPath, platform::HostWindow& host) {
    console::Report("Begin to extract " + platform::ToNarrow(rawPath));
    RawFileJob job;
    job.settings = settings;  // every choice but the list of RAW files
    job.rawPath = rawPath;
    std::unique_ptr<RawExtractor> reader = ChooseReader(host);
    job.reader = reader.get();
    RunExtraction(job);
    return job.failedOutputs;
}

// "1 output file could not be written", "3 output files ..."
std::string FailedOutputsText(int failed) {
    return std::to_string(failed) + (failed == 1 ? " output file" : " output files") +
           " could not be written; the run is incomplete.";
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
    int failedOutputs = 0;
    for (const std::string& rawPath : settings.rawFiles) failedOutputs += ConvertRawFile(settings, rawPath, host);
    console::Report(ElapsedTimeText(start, platform::ProcessClockMs()));
    host.DestroyWindow();
    if (failedOutputs == 0) return true;
    console::ReportException(FailedOutputsText(failedOutputs));
    return false;
}
