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
    const std::string baseName = RawBaseName(job.rawPath);
    const std::array<bool, kOutputSlotCount> wanted = EnabledSlots(job.settings);
    for (int slot = 0; slot < kOutputSlotCount; ++slot) {
        job.spectraWritten[slot] = 0;
        job.streams[slot].reset();
        job.writers[slot].reset();
        job.slotEnabled[slot] = false;
        job.outputPaths[slot].clear();
    }
    for (int slot = 0; slot < kOutputSlotCount; ++slot) {
        if (!wanted[slot]) continue;
        const OutputSlot& outputSlot = kOutputSlots[slot];
        const std::string path = MakeOutputPath(outputSlot.suffix, job.rawPath, job.settings.outputDirectory);
        std::unique_ptr<OutputFile> file = CreateOutput(path, job.rawPath);
        if (!file) continue;
        job.outputPaths[slot] = path;
        job.writers[slot] =
            std::make_unique<SpectrumWriter>(job.settings, *file, baseName, FormatLetters(outputSlot.suffix));
        job.streams[slot] = std::move(file);
        job.writers[slot]->WriteHeader();
        job.slotEnabled[slot] = true;
    }
}

void CreateMarkerFile(const RawFileJob& job) {
    const std::array<bool, kOutputSlotCount> wanted = EnabledSlots(job.settings);
    if (!wanted[kMs1Slot] || !wanted[kMergedMs2Slot]) return;
    const std::string path = OutputBasePath(job.rawPath, job.settings.outputDirectory) + std::string(kMarkerSuffix);
    std::unique_ptr<OutputFile> marker = CreateOutput(path, job.rawPath);
    if (marker) marker->Close();
}

void CloseOutputs(RawFileJob& job) {
    for (int slot = 0; slot < kOutputSlotCount; ++slot) {
        if (!job.slotEnabled[slot]) continue;
        if (job.streams[slot]) job.streams[slot]->Close();
        job.writers[slot].reset();
        job.streams[slot].reset();
        if (job.spectraWritten[slot] == 0) {
            std::error_code ignored;
            std::filesystem::remove(job.outputPaths[slot], ignored);
        }
    }
}
