#pragma once

// Looking at what a conversion left behind: the files of a folder and how
// often a piece of text stands in an output.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// The names of the entries of `folder`, sorted.
inline std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// How often `piece` stands in `text`, overlapping occurrences included.
inline int Count(const std::string& text, const std::string& piece) {
    int count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
    return count;
}
