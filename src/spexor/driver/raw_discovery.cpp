#include "spexor/driver/raw_discovery.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/ascii_case.h"
#include "platform/file_entry.h"
#include "platform/path_text.h"
#include "platform/raw_listing.h"
#include "spexor/console/console_lines.h"

namespace {

bool IsSameFile(const std::string& a, const std::string& b) {
    std::error_code ignored;
    return std::filesystem::equivalent(a, b, ignored);
}

// The duplicate rule: one RAW file per file name (the outputs are named by
// it), the first one found. Another file of a listed name is reported and
// counted; the same file found again is simply not listed twice.
void AppendUnlessListed(RunSettings& settings, const std::string& candidate, const std::string& candidateName) {
    const std::string name = platform::ToUpperAscii(candidateName);
    const auto listed = std::find_if(
        settings.rawFiles.begin(), settings.rawFiles.end(),
        [&name](const std::string& entry) { return platform::ToUpperAscii(platform::FileNameOf(entry)) == name; });
    if (listed == settings.rawFiles.end()) {
        settings.rawFiles.push_back(candidate);
        return;
    }
    if (IsSameFile(candidate, *listed)) return;
    console::NoteException("Skipped " + candidate + ": it has the name of " + *listed + ", converted instead.");
    ++settings.rawFilesOfTakenNames;
}

void DiscoverFolder(RunSettings& settings, const std::string& input, const std::string& folder) {
    const std::vector<std::string> names = platform::ListRawFiles(folder);
    if (names.empty()) {
        console::NoteException("Find no raws in " + input + "! ");
        ++settings.inputsWithoutRawFiles;
        return;
    }
    const std::string prefix = platform::WithTrailingSeparator(folder);
    for (const std::string& name : names) AppendUnlessListed(settings, prefix + name, name);
}

void DiscoverInput(RunSettings& settings, const std::string& input) {
    const std::string path = platform::RemoveTrailingSeparators(input);
    switch (platform::LookUpEntry(path)) {
        case platform::EntryKind::missing:
            console::NoteException("Failed to find file " + input + "! ");
            ++settings.missingInputs;
            return;
        case platform::EntryKind::folder: DiscoverFolder(settings, input, path); return;
        case platform::EntryKind::archiveFile:
            // Any existing file given by name is taken, whatever its extension.
            AppendUnlessListed(settings, path, platform::FileNameOf(path));
            return;
        case platform::EntryKind::otherEntry:
            console::NoteException("Find no raws in " + input);
            ++settings.inputsWithoutRawFiles;
            return;
    }
}

}  // namespace

void DiscoverRawFiles(RunSettings& settings, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs) DiscoverInput(settings, input);
}
