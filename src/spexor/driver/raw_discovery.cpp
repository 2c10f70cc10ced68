#include "spexor/driver/raw_discovery.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "platform/file_entry.h"
#include "platform/path_text.h"
#include "platform/raw_listing.h"
#include "spexor/console/console_lines.h"

namespace {

// The duplicate rule: one RAW file per file name, the first one found.
void AppendUnlessListed(std::vector<std::string>& rawFiles, const std::string& candidate,
                        const std::string& candidateName) {
    const std::string name = platform::ToUpperAscii(candidateName);
    const bool listed = std::any_of(rawFiles.begin(), rawFiles.end(), [&name](const std::string& entry) {
        return platform::ToUpperAscii(platform::FileNameOf(entry)) == name;
    });
    if (!listed) rawFiles.push_back(candidate);
}

void DiscoverFolder(RunSettings& settings, const std::string& input, const std::string& folder) {
    const std::vector<std::string> names = platform::ListRawFiles(folder);
    if (names.empty()) {
        console::NoteException("Find no raws in " + input + "! ");
        ++settings.inputsWithoutRawFiles;
        return;
    }
    const std::string prefix = platform::WithTrailingSeparator(folder);
    for (const std::string& name : names) AppendUnlessListed(settings.rawFiles, prefix + name, name);
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
            AppendUnlessListed(settings.rawFiles, path, platform::FileNameOf(path));
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
