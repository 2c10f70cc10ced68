#include "spexor/output/mzml_arrays.h"

#include <nettle/base64.h>
#include <zlib.h>

#include <bit>
#include <cstring>

#include "spexor/output/mzml_xml.h"

static_assert(std::endian::native == std::endian::little, "mzML arrays are little-endian: written as they lie");

namespace {

// Fast compression: arrays are written once and read many times, and the
// fastest level costs a few percent of their size.
constexpr int kCompressionLevel = Z_BEST_SPEED;

}  // namespace

std::string_view BinaryArrayWriter::Encode(const double* values, std::size_t count) {
    if (count == 0) return {};
    const std::size_t bytes = count * sizeof(double);
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(values);
    std::size_t size = bytes;
    if (compress_) {
        uLongf packedSize = compressBound(static_cast<uLong>(bytes));
        packed_.resize(packedSize);
        if (compress2(packed_.data(), &packedSize, raw, static_cast<uLong>(bytes), kCompressionLevel) != Z_OK) {
            packedSize = 0;  // only when out of memory
        }
        raw = packed_.data();
        size = packedSize;
    }
    text_.resize(BASE64_ENCODE_RAW_LENGTH(size));
    base64_encode_raw(text_.data(), size, raw);
    return std::string_view(text_.data(), text_.size());
}

void BinaryArrayWriter::PutArray(OutputFile& out, int indent, const double* values, std::size_t count,
                                 const CvTerm& kind, const CvUnit& unit) {
    const std::string_view encoded = Encode(values, count);
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    out.Put(pad);
    out.Put("<binaryDataArray encodedLength=\"");
    PutInteger(out, static_cast<int64_t>(encoded.size()));
    out.Put("\">\n");
    PutCvParam(out, indent + 2, cv::k64BitFloat);
    PutCvParam(out, indent + 2, compress_ ? cv::kZlibCompression : cv::kNoCompression);
    PutCvParam(out, indent + 2, kind, std::string_view(), &unit);
    out.Put(pad);
    // An empty array is an empty element: a zlib stream of nothing is not
    // read by every reader.
    if (encoded.empty()) {
        out.Put("  <binary/>\n");
    } else {
        out.Put("  <binary>");
        out.Put(encoded);
        out.Put("</binary>\n");
    }
    out.Put(pad);
    out.Put("</binaryDataArray>\n");
}

void BinaryArrayWriter::PutPeakArrays(OutputFile& out, int indent, const Peak* peaks, std::size_t count) {
    values_.resize(2 * count);
    for (std::size_t i = 0; i < count; ++i) {
        values_[i] = peaks[i].mz;
        values_[count + i] = peaks[i].intensity;
    }
    PutArray(out, indent, values_.data(), count, cv::kMzArray, cv::kUnitMz);
    PutArray(out, indent, values_.data() + count, count, cv::kIntensityArray, cv::kUnitDetectorCounts);
}
