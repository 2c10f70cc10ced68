#include "support/folder_watch.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

namespace testing_support {

FolderWatch::FolderWatch(std::filesystem::path folder, bool (*readsName)(const std::string& name))
    : folder_(std::move(folder)), readsName_(readsName) {
    thread_ = std::thread([this] {
        while (!stop_) Look();
    });
}

FolderWatch::~FolderWatch() { Stop(); }

void FolderWatch::Stop() {
    if (!thread_.joinable()) return;
    stop_ = true;
    thread_.join();
    Look();
}

void FolderWatch::Look() {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder_, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        names_.insert(name);
        if (!readsName_(name)) continue;
        std::ifstream in(entry->path(), std::ios::binary);
        if (!in) continue;  // gone meanwhile
        contents_[name].insert(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
}

}  // namespace testing_support
