// A damaged run header whose scan range starts below 1 but spans numbers
// (found by fuzzing: first scan 0, last scan 1 083 579 392). The file holds
// no scans by the first number, yet answering the range as stored sent
// spexor through a billion scan numbers, two failure lines each. Such a
// file fails to open; an empty acquisition's range 0 to 0 still opens.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_header.h"
#include "rawfile/native/native_backend.h"
#include "rawfile/native/raw_file_info.h"
#include "rawfile/native/sequencer_row.h"
#include "robustness_variants.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

// Offset of the first scan number of the mass spectrometer's run header
// (the last scan number follows it).
uint64_t FirstScanOffset(const std::string& bytes) {
    using namespace rawfile::native;
    ByteReader in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    FileHeader header;
    EXPECT_EQ(ReadFileHeader(in, &header), rawfile::kOk);
    EXPECT_TRUE(SkipSequencerRow(in, header.version));
    EXPECT_TRUE(SkipAutosamplerInfo(in));
    RawFileInfo info;
    EXPECT_EQ(ReadRawFileInfo(in, header.version, &info), rawfile::kOk);
    EXPECT_EQ(info.runHeaderAddresses.size(), 1u);
    return info.runHeaderAddresses.at(0) + 8;
}

std::string WithScanRange(std::string bytes, uint64_t offset, int32_t first, int32_t last) {
    std::memcpy(bytes.data() + offset, &first, sizeof first);
    std::memcpy(bytes.data() + offset + 4, &last, sizeof last);
    return bytes;
}

TEST(RobustScanRange, ARangeStartingBelowOneThatSpansNumbersFailsTheOpen) {
    if (!robustness::HasRealFiles()) GTEST_SKIP() << "real RAW data not available";
    const std::string sample = ReadFile(robustness::DataDir() / "sample.raw");
    const uint64_t offset = FirstScanOffset(sample);
    TempDir dir;

    for (const auto& [first, last] : {std::pair{0, 1083579392}, std::pair{0, 574}, std::pair{-2147483647 - 1, 5}}) {
        SCOPED_TRACE(std::to_string(first) + " to " + std::to_string(last));
        const std::string path = dir.Write("range.raw", WithScanRange(sample, offset, first, last)).string();
        rawfile::Status status = 0;
        EXPECT_EQ(rawfile::OpenNativeBackend(path, &status), nullptr);
        EXPECT_EQ(status, rawfile::kDamaged);
    }

    // spexor stops at the open instead of walking the range.
    const std::string path = dir.Write("range.raw", WithScanRange(sample, offset, 0, 1083579392)).string();
    const auto result = testing_support::RunProgram(SPEXOR_BIN, {"-ms1", "-o", (dir.path() / "out").string(), path});
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.err, "[Morvane] <Exception>: Failed to open file " + path + ", check if your file is corrupt!\n");

    // An empty acquisition (range 0 to 0) and an empty range open with no scans.
    for (const auto& [first, last] : {std::pair{0, 0}, std::pair{5, 4}}) {
        SCOPED_TRACE(std::to_string(first) + " to " + std::to_string(last));
        const std::string empty = dir.Write("empty.raw", WithScanRange(sample, offset, first, last)).string();
        rawfile::Status status = 0;
        const auto backend = rawfile::OpenNativeBackend(empty, &status);
        ASSERT_NE(backend, nullptr) << status;
        std::string filter;
        EXPECT_EQ(backend->GetFilterText(first, &filter), rawfile::kNoSuchScan);
    }
}

}  // namespace
