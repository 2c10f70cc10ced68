#pragma once

#include <filesystem>
#include <string>

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `content` to `name` inside the folder and returns its path.
    std::filesystem::path Write(const std::string& name, const std::string& content) const;

private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);

}  // namespace testing_support
