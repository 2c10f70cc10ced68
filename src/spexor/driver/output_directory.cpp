#include "spexor/driver/output_directory.h"

#include "platform/console.h"
#include "platform/file_entry.h"
#include "platform/path_text.h"
#include "platform/process.h"

using platform::Stream;
using platform::WriteLine;

void PrepareOutputDirectory(RunSettings& settings) {
    if (settings.outputDirectory.empty()) return;
    const std::string path = platform::RemoveTrailingSeparators(settings.outputDirectory);
    // Any entry of that name counts, a file included.
    if (platform::LookUpEntry(path) == platform::EntryKind::missing) {
        WriteLine(Stream::Out, "[Morvane] <Exception>: Failed to find directory " + path +
                                   ", which will be created by default.");
        if (!CreateDirectoryNested(path)) {
            WriteLine(Stream::Err, "[Morvane] <Exception>: Failed to create directory nested **\n");
            platform::ExitProcess(platform::kFatalExitStatus);
        }
        WriteLine(Stream::Out, "[Morvane] <Exception>: Create directory successufully!");
    }
    WriteLine(Stream::Out, "[Morvane] : Output path is " + path);
    settings.outputDirectory = platform::WithTrailingSeparator(path);
}
