#include "spexor/output/output_paths.h"

namespace {

// Where the file name starts: after the last separator.
std::size_t NameStart(std::string_view path) {
    const std::size_t separator = path.rfind('/');
    return separator == std::string_view::npos ? 0 : separator + 1;
}

// The path up to its extension's ".", or the whole path. Only a "." in the
// file name counts: a "." in a folder name is no extension.
std::string_view WithoutExtension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < NameStart(path)) return path;
    return path.substr(0, dot);
}

}  // namespace

std::string RawBaseName(std::string_view rawPath) {
    return std::string(WithoutExtension(rawPath).substr(NameStart(rawPath)));
}

std::string OutputBasePath(std::string_view rawPath, std::string_view outputDirectory) {
    if (outputDirectory.empty()) return std::string(WithoutExtension(rawPath));
    return std::string(outputDirectory) + RawBaseName(rawPath);
}

std::string MakeOutputPath(std::string_view suffix, std::string_view rawPath, std::string_view outputDirectory) {
    return OutputBasePath(rawPath, outputDirectory) + std::string(suffix);
}
