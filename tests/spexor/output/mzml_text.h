#pragma once

// Reading back an mzML file spexor wrote, for the tests: its index, its
// spectra and their arrays, decoded as a reader decodes them (base64, then
// zlib when the array says so).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mzml_test {

// One <spectrum> element: its native id's scan, its text and its arrays.
struct SpectrumText {
    int32_t scan = 0;
    std::string_view text;
    std::vector<double> mz;
    std::vector<double> intensity;
    bool decoded = false;  // both arrays decoded (or empty)
};

// The values of an attribute or cvParam in an element's text; none when absent.
std::optional<std::string> Attribute(std::string_view element, std::string_view name);
std::optional<std::string> CvValue(std::string_view element, std::string_view accession);

// The index entries ("spectrum" and "chromatogram") in file order: id and offset.
struct IndexEntry {
    std::string id;
    uint64_t offset = 0;
};
std::vector<IndexEntry> IndexOf(const std::string& file, const std::string& indexName);

// The spectra of the file in file order, with their arrays decoded.
std::vector<SpectrumText> SpectraOf(const std::string& file);

// The digest fileChecksum must hold: SHA-1 of every byte up to and
// including "<fileChecksum>"; empty when the file has no such element.
std::string ExpectedChecksum(const std::string& file);

}  // namespace mzml_test
