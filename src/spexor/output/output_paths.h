#pragma once

#include <string>
#include <string_view>

// The RAW file's name without folder and extension: the text after the last
// "/" up to the last "." after it (the whole name when it has no ".").
std::string RawBaseName(std::string_view rawPath);

// The path every output file of a RAW file starts with: beside the RAW file
// (its path without the extension) when `outputDirectory` is empty, else the
// output directory (ending in one "/") followed by RawBaseName.
std::string OutputBasePath(std::string_view rawPath, std::string_view outputDirectory);

// OutputBasePath followed by the slot's suffix.
std::string MakeOutputPath(std::string_view suffix, std::string_view rawPath, std::string_view outputDirectory);

// The empty marker file that flags a merged MS1-and-MS2 conversion.
inline constexpr std::string_view kMarkerSuffix = ".spexor";
