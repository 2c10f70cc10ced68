#include "spexor/output/output_file_set.h"

#include <filesystem>
#include <system_error>

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
        std::unique_ptr<OutputFile> file = CreateOutput(path, job.rawPath);
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
}

void CreateMarkerFile(RawFileJob& job) {
    const OutputKinds& kinds = job.settings.outputKinds;
    if (!kinds.ms1 || !kinds.ms2 || job.settings.activationMode != ActivationMode::merged) return;
    const std::string path = OutputBasePath(job.rawPath, job.settings.outputDirectory) + std::string(kMarkerSuffix);
    std::unique_ptr<OutputFile> marker = CreateOutput(path, job.rawPath);
    if (marker) marker->Close();
    if (!marker || marker->Failed()) {
        ++job.failedOutputs;
        if (marker) RemoveFile(path);
    }
}

void CloseOutputs(RawFileJob& job) {
    for (std::optional<OpenOutput>& output : job.outputs) {
        if (!output) continue;
        output->writer->Finish();
        output->file->Close();
        const bool failed = output->file->Failed();
        const bool empty = output->spectraWritten == 0;
        const std::string path = output->path;
        output.reset();
        if (failed) ++job.failedOutputs;
        if (failed || empty) {
            RemoveFile(path);
        } else {
            ++job.writtenOutputs;
        }
    }
}

bool DescribesRun(const RawFileJob& job) {
    for (const std::optional<OpenOutput>& output : job.outputs) {
        if (output && output->writer->DescribesEveryScan()) return true;
    }
    return false;
}
