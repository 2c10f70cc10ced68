#pragma once

// Watches a folder while a program writes into it, as a workflow that lists
// the folder (or waits for one file) would: every name seen, and for each
// name the contents read from it whenever it was seen.

#include <atomic>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>

namespace testing_support {

class FolderWatch {
public:
    // Starts listing `folder` (which may not exist yet) over and over,
    // reading every file whose name `readsName` accepts.
    FolderWatch(std::filesystem::path folder, bool (*readsName)(const std::string& name));
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Stops watching (after a last look).
    void Stop();

    // Every name seen in the folder.
    const std::set<std::string>& names() const { return names_; }
    // For each file read, every different content read from it.
    const std::map<std::string, std::set<std::string>>& contents() const { return contents_; }

private:
    void Look();

    std::filesystem::path folder_;
    bool (*readsName_)(const std::string& name);
    std::set<std::string> names_;
    std::map<std::string, std::set<std::string>> contents_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace testing_support
