#include "spexor/output/output_file_set.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "spexor/console/console_lines.h"
#include "spexor/output/output_paths.h"
#include "spexor/output/raw_file_job.h"

namespace {

bool IsSameFile(const std::string& a, const std::string& b) {
    std::error_code ignored;
    return std::filesystem::equivalent(a, b, ignored);
}

void RemoveFile(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

void ReportUnwritable(const std::string& path, const std::string& reason) {
    console::ReportException("Failed to create output file " + path + ": " + reason);
}

// Removes what an earlier run left under an output's name, so that after
// this run the name holds this run's file or nothing. False, with the
// system's reason, when something is there that cannot be removed (a
// folder, say) or the folder cannot be reached.
bool RemoveEarlierOutput(const std::string& path, std::string& reason) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
    reason = std::strerror(errno == EISDIR || errno == EPERM ? EISDIR : errno);
    return false;
}

// The staged file of an output, its earlier file removed, unless it would
// be the RAW file being converted; reports and returns null when it cannot be.
std::unique_ptr<OutputFile> StageOutput(const std::string& path, const std::string& rawPath) {
    if (IsSameFile(path, rawPath)) {
        ReportUnwritable(path, "it is the RAW file being converted");
        return nullptr;
    }
    std::string reason;
    if (!RemoveEarlierOutput(path, reason)) {
        ReportUnwritable(path, reason);
        return nullptr;
    }
    return OutputFile::Staged(path);
}

bool WritesMarker(const ConversionSettings& settings) {
    const OutputKinds& kinds = settings.outputKinds;
    return kinds.ms1 && kinds.ms2 && settings.activationMode == ActivationMode::merged;
}

std::string MarkerPath(const RawFileJob& job) {
    return OutputBasePath(job.rawPath, job.settings.outputDirectory) + std::string(kMarkerSuffix);
}

// Creates an output file unless it would overwrite the RAW file being
// converted; reports and returns null when it is not created.
std::unique_ptr<OutputFile> CreateOutput(const std::string& path, const std::string& rawPath) {
    if (IsSameFile(path, rawPath)) {
        ReportUnwritable(path, "it is the RAW file being converted");
        return nullptr;
    }
    std::string reason;
    std::unique_ptr<OutputFile> file = OutputFile::Create(path, reason);
    if (!file) ReportUnwritable(path, reason);
    return file;
}

// Creates the empty marker file. One that cannot be made is reported,
// counted as failed and not left behind.
void CreateMarkerFile(RawFileJob& job) {
    const std::string path = MarkerPath(job);
    std::unique_ptr<OutputFile> marker = CreateOutput(path, job.rawPath);
    if (marker) marker->Close();
    if (!marker || marker->Failed()) {
        ++job.failedOutputs;
        if (marker) RemoveFile(path);
    }
}

}  // namespace

void OpenOutputs(RawFileJob& job) {
    job.run.rawPath = job.rawPath;
    job.run.baseName = RawBaseName(job.rawPath);
    job.failedOutputs = 0;
    job.writtenOutputs = 0;
    for (int slot = 0; slot < kOutputSlotCount; ++slot) {
        std::optional<OpenOutput>& output = job.outputs[slot];
        output.reset();
        const OutputSlot& outputSlot = OutputSlots()[slot];
        if (!SlotWanted(outputSlot, job.settings)) continue;
        const std::string path = MakeOutputPath(outputSlot.suffix, job.rawPath, job.settings.outputDirectory);
        std::unique_ptr<OutputFile> file = StageOutput(path, job.rawPath);
        if (!file) {
            ++job.failedOutputs;
            continue;
        }
        output.emplace();
        output->path = path;
        output->writer = MakeFormatWriter(outputSlot.format, job.settings, *file, job.run);
        output->file = std::move(file);
        output->writer->Begin();
    }
    // An earlier marker would claim outputs that are not there yet.
    if (WritesMarker(job.settings) && !IsSameFile(MarkerPath(job), job.rawPath)) {
        std::string ignored;
        RemoveEarlierOutput(MarkerPath(job), ignored);
    }
}

void CloseOutputs(RawFileJob& job) {
    // Files that received no spectrum are dropped unmade; the others written out.
    for (std::optional<OpenOutput>& output : job.outputs) {
        if (!output) continue;
        if (output->spectraWritten == 0) {
            output->file->Discard();
            continue;
        }
        output->writer->Finish();
        output->file->Close();
        if (output->file->Failed()) ++job.failedOutputs;
    }
    // The RAW file's outputs take their final names together, and only when
    // every one of them was written: none is left looking complete beside
    // one that failed.
    std::vector<std::string> published;
    for (std::optional<OpenOutput>& output : job.outputs) {
        if (!output) continue;
        if (output->spectraWritten > 0 && job.failedOutputs == 0) {
            if (output->file->Publish()) {
                published.push_back(output->path);
            } else {
                ++job.failedOutputs;
            }
        }
        output->file->Discard();
        output.reset();
    }
    if (job.failedOutputs == 0 && WritesMarker(job.settings) && !job.NoScanReadable()) CreateMarkerFile(job);
    if (job.failedOutputs > 0) {
        for (const std::string& path : published) RemoveFile(path);
        published.clear();
    }
    job.writtenOutputs = static_cast<int>(published.size());
}

bool DescribesRun(const RawFileJob& job) {
    for (const std::optional<OpenOutput>& output : job.outputs) {
        if (output && output->writer->DescribesEveryScan()) return true;
    }
    return false;
}
