// Decoding of stored spectra on hand-made packets: which FT profile bins are
// listed (chunk gaps, the start and the end of the bins), ion-trap profile
// positions, peak lists, the segmented profile of triple quadrupoles, and
// the bounds the byte reader keeps.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "rawfile/native/byte_reader.h"
#include "rawfile/native/centroid_segment_packet.h"
#include "rawfile/native/file_bytes.h"
#include "rawfile/native/profile_points.h"
#include "rawfile/native/segmented_profile.h"
#include "rawfile/native/standard_packet.h"

namespace {

using rawfile::native::ByteReader;
using rawfile::native::ProfileBlock;
using rawfile::native::ProfileChunk;

// Little-endian bytes built field by field.
class Bytes {
public:
    Bytes& U32(uint32_t value) { return Raw(&value, sizeof value); }
    Bytes& I32(int32_t value) { return Raw(&value, sizeof value); }
    Bytes& F32(float value) { return Raw(&value, sizeof value); }
    Bytes& F64(double value) { return Raw(&value, sizeof value); }
    Bytes& Text16(const std::u16string& text) {
        for (char16_t unit : text) {
            Raw(&unit, sizeof unit);
        }
        return *this;
    }
    ByteReader Reader() const { return ByteReader(data_.data(), data_.size()); }
    rawfile::native::MemoryBytes File() const { return rawfile::native::MemoryBytes(data_.data(), data_.size()); }
    size_t size() const { return data_.size(); }

private:
    Bytes& Raw(const void* value, size_t size) {
        const size_t at = data_.size();
        data_.resize(at + size);
        std::memcpy(data_.data() + at, value, size);
        return *this;
    }
    std::vector<uint8_t> data_;
};

// A profile whose chunks take their intensities (all 7.0) from `storage`.
struct TestProfile {
    Bytes storage;
    ProfileBlock block;

    TestProfile(uint32_t binCount, const std::vector<std::pair<uint32_t, uint32_t>>& chunks, float fudge = 0) {
        for (size_t i = 0; i < 1024; ++i) {
            storage.F32(7.0f);
        }
        block.first = 0.0;
        block.step = 1.0;
        block.binCount = binCount;
        for (const auto& [firstBin, count] : chunks) {
            ProfileChunk chunk;
            chunk.firstBin = firstBin;
            chunk.binCount = count;
            chunk.fudge = fudge;
            chunk.intensities = storage.Reader().Region(0, 4ull * count);
            block.chunks.push_back(chunk);
        }
    }
};

// FT-ICR coefficients that make the m/z of bin b exactly -1 / b (first 0,
// step 1), rising with the bin as real lists do.
const std::vector<double> kReciprocal = {0.0, 0.0, -1.0, 0.0};

// The bins an FT profile lists, recovered from m/z = -1 / bin, and whether
// each point is a stored one (intensity 7) or padding (0).
std::vector<std::pair<long, bool>> ListedBins(const TestProfile& profile) {
    std::vector<double> pairs;
    EXPECT_EQ(rawfile::native::AppendFtProfile(profile.block, kReciprocal, &pairs), rawfile::kOk);
    std::vector<std::pair<long, bool>> bins;
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        bins.emplace_back(std::lround(-1.0 / pairs[i]), pairs[i + 1] == 7.0);
    }
    return bins;
}

std::vector<std::pair<long, bool>> Bins(long from, long to, bool stored) {
    std::vector<std::pair<long, bool>> bins;
    for (long bin = from; bin <= to; ++bin) {
        bins.emplace_back(bin, stored);
    }
    return bins;
}

template <typename... Parts>
std::vector<std::pair<long, bool>> Join(const Parts&... parts) {
    std::vector<std::pair<long, bool>> all;
    (all.insert(all.end(), parts.begin(), parts.end()), ...);
    return all;
}

TEST(NativeFtProfile, ListsShortGapsWholeAndPadsLongOnesWithFourZerosEachSide) {
    // Bins 1..4 lie before the first chunk (at 5): a gap of 4, listed whole.
    // Chunks 5-7 and 16-17: gap 8..15 (8 bins), listed whole.
    // Chunks 16-17 and 40-41: gap of 22 bins: 18..21 and 36..39.
    // After 41 with 100 bins: 42..45, then 97..100.
    const TestProfile profile(100, {{5, 3}, {16, 2}, {40, 2}});
    EXPECT_EQ(ListedBins(profile),
              Join(Bins(1, 4, false), Bins(5, 7, true), Bins(8, 15, false), Bins(16, 17, true), Bins(18, 21, false),
                   Bins(36, 39, false), Bins(40, 41, true), Bins(42, 45, false), Bins(97, 100, false)));
}

TEST(NativeFtProfile, PadsTheStartAndAShortEnd) {
    // First chunk at 20: bins 1..4 and 16..19. Last chunk ends at 93 of 100
    // bins: 6 bins to the last one, listed up to bin 99 and no further.
    const TestProfile profile(100, {{20, 2}, {90, 4}});
    EXPECT_EQ(ListedBins(profile), Join(Bins(1, 4, false), Bins(16, 19, false), Bins(20, 21, true), Bins(22, 25, false),
                                        Bins(86, 89, false), Bins(90, 93, true), Bins(94, 99, false)));
}

TEST(NativeFtProfile, PaddingTakesTheFudgeOfTheFollowingChunk) {
    TestProfile profile(50, {{10, 1}, {14, 1}}, -0.5f);
    profile.block.chunks[1].fudge = 0.25f;
    std::vector<double> pairs;
    ASSERT_EQ(rawfile::native::AppendFtProfile(profile.block, kReciprocal, &pairs), rawfile::kOk);
    // Bins 1-4, 6-9 (fudge of chunk 1), 10, 11-13 (fudge of chunk 2), 14, 15-18, 47-50 (last chunk's).
    ASSERT_EQ(pairs.size() / 2, 4u + 4 + 1 + 3 + 1 + 4 + 4);
    EXPECT_EQ(pairs[0], -1.0 / 1.0 + -0.5);
    EXPECT_EQ(pairs[2 * 9], -1.0 / 11.0 + 0.25);
    EXPECT_EQ(pairs[2 * 12], -1.0 / 14.0 + 0.25);
    EXPECT_EQ(pairs[2 * 20], -1.0 / 50.0 + 0.25);
}

TEST(NativeFtProfile, PaddingThatWouldNotRiseListsJustAboveThePointBefore) {
    // The gap after chunk 1 takes chunk 2's fudge, which puts its pads
    // (bin 11, m/z -1/11 - 0.2 ...) below chunk 1's last point (bin 10, -1/10 + 0.25).
    TestProfile profile(50, {{10, 1}, {14, 1}}, 0.25f);
    profile.block.chunks[1].fudge = -0.2f;
    std::vector<double> pairs;
    ASSERT_EQ(rawfile::native::AppendFtProfile(profile.block, kReciprocal, &pairs), rawfile::kOk);
    const double stored = -1.0 / 10.0 + 0.25;
    ASSERT_EQ(pairs[2 * 8], stored);
    // Each pad of that gap is lifted in turn above the one before it.
    EXPECT_EQ(pairs[2 * 9], stored + 1e-5);
    EXPECT_EQ(pairs[2 * 10], stored + 1e-5 + 1e-5);
    EXPECT_EQ(pairs[2 * 9 + 1], 0.0);
}

TEST(NativeFtProfile, StoredPointsThatWouldNotRiseListJustAboveThePointBefore) {
    // Chunk 2 starts right after chunk 1 with a correction lower by more
    // than a bin: its first two bins (-1/13 - 0.015, -1/14 - 0.015) fall
    // below chunk 1's last point (-1/12); its third rises again.
    TestProfile profile(50, {{10, 3}, {13, 3}}, 0.0f);
    profile.block.chunks[1].fudge = -0.015f;
    std::vector<double> pairs;
    ASSERT_EQ(rawfile::native::AppendFtProfile(profile.block, kReciprocal, &pairs), rawfile::kOk);
    // Bins 1-4 and 6-9 pad the first chunk; bins 10-12 and 13-15 follow.
    const double lastOfFirst = -1.0 / 12.0;
    ASSERT_EQ(pairs[2 * 10], lastOfFirst);
    EXPECT_EQ(pairs[2 * 11], lastOfFirst + 1e-5);
    EXPECT_EQ(pairs[2 * 12], lastOfFirst + 1e-5 + 1e-5);
    EXPECT_EQ(pairs[2 * 13], -1.0 / 15.0 + static_cast<double>(-0.015f));
    // Lifted points keep their stored intensities.
    EXPECT_EQ(pairs[2 * 11 + 1], 7.0);
    EXPECT_EQ(pairs[2 * 12 + 1], 7.0);
}

TEST(NativeFtProfile, ConvertsOrbitrapFrequenciesInTheLibrarysOrder) {
    TestProfile profile(3, {{1, 1}});
    profile.block.first = 1000.0;
    profile.block.step = 3.5;
    const std::vector<double> coefficients = {0.0, 0.0, 0.125, 2.0e11, 3.0e17, 0.0, 0.0};
    std::vector<double> pairs;
    ASSERT_EQ(rawfile::native::AppendFtProfile(profile.block, coefficients, &pairs), rawfile::kOk);
    ASSERT_EQ(pairs.size(), 4u);  // the stored bin 1 and the last bin, 2
    const double f = 1000.0 + 1.0 * 3.5;
    const double f2 = f * f;
    EXPECT_EQ(pairs[0], 0.125 + 2.0e11 / f2 + 3.0e17 / (f2 * f2));
}

TEST(NativeFtProfile, RefusesDisorderedChunksAndUnknownConversions) {
    std::vector<double> pairs;
    const TestProfile overlapping(100, {{10, 5}, {12, 2}});
    EXPECT_EQ(rawfile::native::AppendFtProfile(overlapping.block, kReciprocal, &pairs), rawfile::kDamaged);
    const TestProfile pastTheEnd(100, {{98, 5}});
    EXPECT_EQ(rawfile::native::AppendFtProfile(pastTheEnd.block, kReciprocal, &pairs), rawfile::kDamaged);
    const TestProfile fine(100, {{10, 5}});
    EXPECT_EQ(rawfile::native::AppendFtProfile(fine.block, {1.0, 2.0}, &pairs), rawfile::kUnsupported);
}

TEST(NativeIonTrapProfile, PlacesEveryStoredBinOneStepAfterItsIndex) {
    TestProfile profile(1000, {{3, 2}, {10, 1}}, 0.5f);
    profile.block.first = 200.0;
    profile.block.step = 0.25;
    std::vector<double> pairs;
    ASSERT_EQ(rawfile::native::AppendIonTrapProfile(profile.block, &pairs), rawfile::kOk);
    EXPECT_EQ(pairs, (std::vector<double>{201.5, 7.0, 201.75, 7.0, 203.25, 7.0}));
}

TEST(NativeStandardPacket, SplitsBlocksAndReadsPeakLists) {
    Bytes packet;
    packet.U32(1).U32(0).U32(1 + 2 * 3).U32(0x10000).U32(0).U32(0).U32(0).U32(0).F32(100).F32(200);
    packet.U32(2).F64(150.125).F32(10.0f).F64(175.5).F32(20.0f);
    rawfile::native::StandardPacket split;
    ASSERT_EQ(rawfile::native::ReadStandardPacket(packet.Reader(), &split), rawfile::kOk);
    ASSERT_TRUE(split.PeakMassesAreDoubles());
    std::vector<double> pairs;
    ASSERT_EQ(rawfile::native::AppendPeakList(split.peaks, true, 1, &pairs), rawfile::kOk);
    EXPECT_EQ(pairs, (std::vector<double>{150.125, 10.0, 175.5, 20.0}));
    // Read as f32 masses the count does not fit the block.
    EXPECT_EQ(rawfile::native::AppendPeakList(split.peaks, false, 1, &pairs), rawfile::kDamaged);

    Bytes wrongSizes;
    wrongSizes.U32(1).U32(5).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).F32(0).F32(0).U32(0);
    EXPECT_EQ(rawfile::native::ReadStandardPacket(wrongSizes.Reader(), &split), rawfile::kDamaged);
}

TEST(NativeStandardPacket, ReadsOnePeakRunPerMassSegment) {
    // Three segments (SIM of three ranges): two more ranges after the header,
    // then [count, peaks] per segment.
    Bytes packet;
    packet.U32(3).U32(0).U32(3 + 1 + 3).U32(0).U32(0).U32(0).U32(0).U32(0).F32(428).F32(438);
    packet.F32(646.5f).F32(651.5f).F32(669.5f).F32(684.5f);
    packet.U32(1).F32(429.5f).F32(10.0f).U32(0).U32(1).F32(670.25f).F32(30.0f);
    rawfile::native::StandardPacket split;
    ASSERT_EQ(rawfile::native::ReadStandardPacket(packet.Reader(), &split), rawfile::kOk);
    EXPECT_EQ(split.segmentCount, 3u);
    std::vector<double> pairs;
    ASSERT_EQ(rawfile::native::AppendPeakList(split.peaks, false, split.segmentCount, &pairs), rawfile::kOk);
    EXPECT_EQ(pairs, (std::vector<double>{429.5, 10.0, 670.25, 30.0}));
    // Read as one segment, the block holds more than its run.
    EXPECT_EQ(rawfile::native::AppendPeakList(split.peaks, false, 1, &pairs), rawfile::kDamaged);
    // More segments than the block has runs for.
    EXPECT_EQ(rawfile::native::AppendPeakList(split.peaks, false, 4, &pairs), rawfile::kDamaged);
}

TEST(NativeStandardPacket, RefusesChunkCountsTheBlockCannotHold) {
    Bytes block;
    block.F64(0).F64(1).U32(0x10000000).U32(100).U32(1).U32(1).F32(3.0f);
    ProfileBlock profile;
    EXPECT_EQ(rawfile::native::ReadProfileBlock(block.Reader(), false, &profile), rawfile::kDamaged);
    Bytes longChunk;
    longChunk.F64(0).F64(1).U32(1).U32(100).U32(1).U32(50).F32(3.0f);
    EXPECT_EQ(rawfile::native::ReadProfileBlock(longChunk.Reader(), false, &profile), rawfile::kDamaged);
}

// Format versions whose segment records are 28 and 20 bytes long.
constexpr uint32_t kWideRecords = 66;
constexpr uint32_t kNarrowRecords = 63;

// A segmented profile: intensities, then the table right after them.
Bytes SegmentedPacket(uint64_t dataAddress, uint32_t secondSegmentStart, uint32_t blockLength) {
    Bytes result;
    for (uint64_t i = 0; i < dataAddress; i += 4) {
        result.F32(0);  // filler before the data address
    }
    for (int i = 0; i < 5; ++i) {
        result.F32(static_cast<float>(i + 1));
    }
    const uint32_t blockStartFromData = 0;
    result.U32(0).F32(100.5f).F32(101.0f).F64(0.25).U32(blockStartFromData).U32(0);
    result.U32(0).F32(500.25f).F32(501.0f).F64(0.5).U32(secondSegmentStart).U32(0);
    result.U32(0).F32(-1).F32(-1).F64(-1).U32(blockLength).U32(0);
    return result;
}

TEST(NativeSegmentedProfile, ConcatenatesSegmentsFromTheirLowMass) {
    const Bytes file = SegmentedPacket(0, 12, 20);
    std::vector<double> pairs;
    ASSERT_EQ(rawfile::native::AppendSegmentedProfile(file.File(), 0, 20, 3, kWideRecords, &pairs), rawfile::kOk);
    EXPECT_EQ(pairs, (std::vector<double>{100.5, 1, 100.75, 2, 101.0, 3, 500.25, 4, 500.75, 5}));
}

TEST(NativeSegmentedProfile, RefusesInconsistentTables) {
    std::vector<double> pairs;
    // A segment starting past the block, a block not made of whole values,
    // a block reaching before the data address, a table past the file.
    EXPECT_EQ(rawfile::native::AppendSegmentedProfile(SegmentedPacket(0, 24, 20).File(), 0, 20, 3, kWideRecords, &pairs),
              rawfile::kDamaged);
    EXPECT_EQ(rawfile::native::AppendSegmentedProfile(SegmentedPacket(0, 12, 18).File(), 0, 20, 3, kWideRecords, &pairs),
              rawfile::kDamaged);
    EXPECT_EQ(rawfile::native::AppendSegmentedProfile(SegmentedPacket(0, 12, 20).File(), 4, 20, 3, kWideRecords, &pairs),
              rawfile::kDamaged);
    EXPECT_EQ(rawfile::native::AppendSegmentedProfile(SegmentedPacket(0, 12, 20).File(), 0, 20, 4, kWideRecords, &pairs),
              rawfile::kDamaged);
    EXPECT_EQ(rawfile::native::AppendSegmentedProfile(SegmentedPacket(0, 12, 20).File(), 0, 20, 0, kWideRecords, &pairs),
              rawfile::kDamaged);
}

// A type-24 packet: `count` peaks, their flag bytes, then the table of one
// segment and the terminator, `filler` bytes after the data address; the
// records are 28 bytes wide, or 20 as files before version 64 keep them.
Bytes CentroidSegmentPacket(uint32_t filler, uint32_t count, uint32_t firstOffset, uint32_t peakBytes,
                            bool narrow = false) {
    Bytes result;
    for (uint32_t i = 0; i < filler; i += 4) {
        result.U32(0);
    }
    for (uint32_t i = 0; i < count; ++i) {
        result.F32(100.5f + static_cast<float>(i)).F32(static_cast<float>(i + 1));
    }
    for (uint32_t i = 0; i < count; i += 4) {
        result.U32(0x06060606);  // flags, four at a time
    }
    if (narrow) {
        result.U32(firstOffset).F32(100).F32(200).F64(0.1);
        result.U32(peakBytes).F32(-1).F32(-1).F64(-1);
    } else {
        result.U32(0).F32(100).F32(200).F64(0.1).U32(firstOffset).U32(0);
        result.U32(0).F32(0).F32(0).F64(0).U32(peakBytes).U32(0);
    }
    return result;
}

TEST(NativeCentroidSegments, ReadsTheNarrowRecordsOfOlderFiles) {
    const Bytes file = CentroidSegmentPacket(8, 4, 8, 32, true);
    std::vector<double> pairs;
    ASSERT_EQ(rawfile::native::AppendCentroidSegments(file.File(), 0, 8 + 36, 2, kNarrowRecords, &pairs),
              rawfile::kOk);
    EXPECT_EQ(pairs, (std::vector<double>{100.5, 1, 101.5, 2, 102.5, 3, 103.5, 4}));
    // Read with the wider records of newer files, the same table is refused.
    EXPECT_EQ(rawfile::native::AppendCentroidSegments(file.File(), 0, 8 + 36, 2, kWideRecords, &pairs),
              rawfile::kDamaged);
}

TEST(NativeCentroidSegments, ReadsThePeaksBeforeTheirFlagsAndTable) {
    const Bytes file = CentroidSegmentPacket(8, 4, 8, 32);
    std::vector<double> pairs;
    ASSERT_EQ(rawfile::native::AppendCentroidSegments(file.File(), 0, 8 + 36, 2, kWideRecords, &pairs), rawfile::kOk);
    EXPECT_EQ(pairs, (std::vector<double>{100.5, 1, 101.5, 2, 102.5, 3, 103.5, 4}));
    // The first record must say where the peaks start; the peaks must not
    // reach before the data address; the length must be whole peaks; the
    // table must lie in the file.
    EXPECT_EQ(rawfile::native::AppendCentroidSegments(file.File(), 0, 8 + 36, 2, kWideRecords, &pairs), rawfile::kOk);
    EXPECT_EQ(rawfile::native::AppendCentroidSegments(CentroidSegmentPacket(8, 4, 4, 32).File(), 0, 44, 2, kWideRecords, &pairs),
              rawfile::kDamaged);
    EXPECT_EQ(rawfile::native::AppendCentroidSegments(file.File(), 12, 44, 2, kWideRecords, &pairs), rawfile::kDamaged);
    EXPECT_EQ(rawfile::native::AppendCentroidSegments(CentroidSegmentPacket(8, 4, 8, 30).File(), 0, 44, 2, kWideRecords, &pairs),
              rawfile::kDamaged);
    EXPECT_EQ(rawfile::native::AppendCentroidSegments(file.File(), 0, 44, 3, kWideRecords, &pairs), rawfile::kDamaged);
}

TEST(NativeByteReader, NeverReadsPastItsSpanAndStaysFailed) {
    Bytes bytes;
    bytes.U32(7).I32(2).Text16(u"ab").I32(-1);
    ByteReader in = bytes.Reader();
    EXPECT_EQ(in.U32(), 7u);
    EXPECT_EQ(in.PString(), "ab");
    EXPECT_TRUE(in.ok());
    EXPECT_EQ(in.PString(), "");  // negative length
    EXPECT_FALSE(in.ok());
    EXPECT_EQ(in.U32(), 0u);

    ByteReader shortRead = bytes.Reader();
    shortRead.Seek(bytes.size() - 2);
    EXPECT_EQ(shortRead.U32(), 0u);
    EXPECT_FALSE(shortRead.ok());

    Bytes tooLong;
    tooLong.I32(1000).Text16(u"x");
    ByteReader text = tooLong.Reader();
    EXPECT_EQ(text.PString(), "");
    EXPECT_FALSE(text.ok());

    const ByteReader whole = bytes.Reader();
    EXPECT_FALSE(whole.Region(4, UINT64_MAX).ok());  // offset + length overflows
    EXPECT_FALSE(whole.Region(UINT64_MAX, 1).ok());
    EXPECT_TRUE(whole.Region(bytes.size(), 0).ok());
}

TEST(NativeByteReader, DecodesWideTextToUtf8) {
    Bytes bytes;
    bytes.Text16(u"m/z \u00e9\u20ac\U0001F600").Text16(std::u16string(1, u'\0')).Text16(u"old");
    ByteReader in = bytes.Reader();
    EXPECT_EQ(in.FixedWideText(bytes.size()), "m/z \xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
    Bytes lone;
    lone.Text16(std::u16string(1, static_cast<char16_t>(0xD800))).Text16(u"a");
    ByteReader loneIn = lone.Reader();
    EXPECT_EQ(loneIn.FixedWideText(lone.size()),
              "\xef\xbf\xbd"
              "a");
}

}  // namespace
