#include "spexor/output/mzml_arrays.h"

#include <libdeflate.h>
#include <nettle/base64.h>

#include <algorithm>
#include <bit>
#include <cstring>

#include "spexor/output/mzml_xml.h"

static_assert(std::endian::native == std::endian::little, "mzML arrays are little-endian: written as they lie");

namespace {

// Fast compression: arrays are written once and read many times, and the
// fastest level costs a few percent of their size.
constexpr int kCompressionLevel = 1;
// Below this many bytes an array is written in stored zlib blocks: still
// the zlib format every reader decodes, but without the set-up of a
// compression (clearing its match finder's tables), which costs far more
// than it saves on a few dozen numbers.
constexpr std::size_t kSmallestCompressedBytes = 1024;

}  // namespace

BinaryArrayWriter::BinaryArrayWriter(bool compress) : compress_(compress) {
    if (!compress_) return;
    compressor_ = libdeflate_alloc_compressor(kCompressionLevel);
    storingCompressor_ = libdeflate_alloc_compressor(0);
}

BinaryArrayWriter::~BinaryArrayWriter() {
    if (compressor_ != nullptr) libdeflate_free_compressor(compressor_);
    if (storingCompressor_ != nullptr) libdeflate_free_compressor(storingCompressor_);
}

bool BinaryArrayWriter::Compress(const unsigned char* raw, std::size_t size, std::size_t* packedSize) {
    libdeflate_compressor* compressor = size < kSmallestCompressedBytes ? storingCompressor_ : compressor_;
    if (compressor == nullptr) return false;
    packed_.resize(libdeflate_zlib_compress_bound(compressor, size));
    *packedSize = libdeflate_zlib_compress(compressor, raw, size, packed_.data(), packed_.size());
    return *packedSize > 0;
}

std::span<const unsigned char> BinaryArrayWriter::Pack(const double* values, std::size_t count) {
    const std::size_t bytes = count * sizeof(double);
    const auto* raw = reinterpret_cast<const unsigned char*>(values);
    std::size_t packedSize = 0;
    // Should compression fail (out of memory), the array goes out as it is, and says so.
    compressed_ = compress_ && count > 0 && Compress(raw, bytes, &packedSize);
    if (compressed_) return {packed_.data(), packedSize};
    return {raw, bytes};
}

namespace {

// Base64 text of `bytes` straight into the file, a piece at a time, so that
// no copy of a long array's text is made.
void PutBase64(OutputFile& out, std::span<const unsigned char> bytes) {
    constexpr std::size_t kPieceBytes = 3 * 16 * 1024;  // whole groups of three: no padding inside
    while (!bytes.empty()) {
        const std::size_t piece = std::min(bytes.size(), kPieceBytes);
        const std::size_t length = BASE64_ENCODE_RAW_LENGTH(piece);
        char* at = out.Reserve(length);
        base64_encode_raw(at, piece, bytes.data());
        out.Commit(at + length);
        bytes = bytes.subspan(piece);
    }
}

}  // namespace

void BinaryArrayWriter::PutArray(OutputFile& out, const double* values, std::size_t count, const CvTerm& kind,
                                 const CvUnit& unit) {
    const std::span<const unsigned char> bytes = Pack(values, count);
    out.Put("<binaryDataArray encodedLength=\"");
    PutInteger(out, static_cast<int64_t>(BASE64_ENCODE_RAW_LENGTH(bytes.size())));
    out.Put("\">\n");
    PutCvParam(out, cv::k64BitFloat);
    PutCvParam(out, compressed_ || (compress_ && count == 0) ? cv::kZlibCompression : cv::kNoCompression);
    PutCvParam(out, kind, std::string_view(), &unit);
    // An empty array is an empty element: a zlib stream of nothing is not
    // read by every reader.
    if (bytes.empty()) {
        out.Put("<binary/>\n");
    } else {
        out.Put("<binary>");
        PutBase64(out, bytes);
        out.Put("</binary>\n");
    }
    out.Put("</binaryDataArray>\n");
}

void BinaryArrayWriter::PutPeakArrays(OutputFile& out, const Peak* peaks, std::size_t count) {
    values_.resize(2 * count);
    for (std::size_t i = 0; i < count; ++i) {
        values_[i] = peaks[i].mz;
        values_[count + i] = peaks[i].intensity;
    }
    PutArray(out, values_.data(), count, cv::kMzArray, cv::kUnitMz);
    PutArray(out, values_.data() + count, count, cv::kIntensityArray, cv::kUnitDetectorCounts);
}
