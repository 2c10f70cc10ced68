#pragma once

// The binary data arrays of mzML: 64-bit little-endian floats, compressed
// in the zlib format (libdeflate) or not, then base64-encoded (nettle).
// Buffers and compressors are kept from array to array.

struct libdeflate_compressor;

#include <cstddef>
#include <span>
#include <vector>

#include "common/peak.h"
#include "spexor/output/mzml_vocabulary.h"
#include "spexor/output/output_file.h"

class BinaryArrayWriter {
public:
    explicit BinaryArrayWriter(bool compress);
    ~BinaryArrayWriter();
    BinaryArrayWriter(const BinaryArrayWriter&) = delete;
    BinaryArrayWriter& operator=(const BinaryArrayWriter&) = delete;

    // The two arrays of a spectrum: m/z and intensity.
    void PutPeakArrays(OutputFile& out, const Peak* peaks, std::size_t count);
    // One array of values with its kind (m/z, intensity, time ...) and unit.
    void PutArray(OutputFile& out, const double* values, std::size_t count, const CvTerm& kind, const CvUnit& unit);

private:
    // The bytes of the values as they go into the file: compressed (in
    // packed_) or the values themselves.
    std::span<const unsigned char> Pack(const double* values, std::size_t count);

    // Compresses `size` bytes at `raw` into packed_; false when zlib fails.
    bool Compress(const unsigned char* raw, std::size_t size, std::size_t* packedSize);

    bool compress_;
    bool compressed_ = false;  // the array just encoded was compressed
    // Compressors made once: making one costs more than compressing a
    // short array.
    libdeflate_compressor* compressor_ = nullptr;
    libdeflate_compressor* storingCompressor_ = nullptr;  // level 0: stored blocks
    std::vector<double> values_;
    std::vector<unsigned char> packed_;
};
