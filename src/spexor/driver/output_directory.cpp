#include "spexor/driver/output_directory.h"

#include "platform/fatal_error.h"
#include "platform/file_entry.h"
#include "platform/path_text.h"
#include "spexor/console/console_lines.h"

void PrepareOutputDirectory(RunSettings& settings) {
    if (settings.outputDirectory.empty()) return;
    const std::string path = platform::RemoveTrailingSeparators(settings.outputDirectory);
    // Any entry of that name counts, a file included.
    if (platform::LookUpEntry(path) == platform::EntryKind::missing) {
        console::NoteException("Failed to find directory " + path + ", which will be created by default.");
        std::string reason;
        if (!CreateDirectoryNested(path, &reason)) {
            console::ReportException("Failed to create directory " + path + ": " + reason);
            throw platform::FatalError();
        }
        console::NoteException("Create directory successufully!");
    }
    console::Report(": Output path is " + path);
    settings.outputDirectory = platform::WithTrailingSeparator(path);
}
