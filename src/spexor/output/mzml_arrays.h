#pragma once

// The binary data arrays of mzML: 64-bit little-endian floats, compressed
// in the zlib format (or not) and then base64-encoded. Buffers are kept from
// array to array.

#include <cstddef>
#include <string_view>
#include <vector>

#include "common/peak.h"
#include "spexor/output/mzml_vocabulary.h"
#include "spexor/output/output_file.h"

class BinaryArrayWriter {
public:
    explicit BinaryArrayWriter(bool compress) : compress_(compress) {}

    // The two arrays of a spectrum: m/z and intensity.
    void PutPeakArrays(OutputFile& out, int indent, const Peak* peaks, std::size_t count);
    // One array of values with its kind (m/z, intensity, time ...) and unit.
    void PutArray(OutputFile& out, int indent, const double* values, std::size_t count, const CvTerm& kind,
                  const CvUnit& unit);

private:
    // The values encoded into text_; empty for no values.
    std::string_view Encode(const double* values, std::size_t count);

    bool compress_;
    std::vector<double> values_;
    std::vector<unsigned char> packed_;
    std::vector<char> text_;
};
