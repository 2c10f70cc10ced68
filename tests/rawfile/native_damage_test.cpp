// The native backend on files that are not RAW files, on a real file damaged
// beyond opening, on a RAW file without scans, on a file without the asked
// labels, and on copies of every real file damaged on purpose: damage in the
// header chain (a scan range included) makes the open fail, damage in one
// scan makes only that scan's operations fail, and nothing crashes.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/com.h"
#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_bytes.h"
#include "rawfile/native/file_header.h"
#include "rawfile/native/native_backend.h"
#include "rawfile/native/raw_file_info.h"
#include "rawfile/native/run_header.h"
#include "rawfile/native/sequencer_row.h"
#include "support/real_files.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

using rawfile::RawBackend;
using rawfile::Status;
using testing_support::ReadFile;
using testing_support::TempDir;

const std::filesystem::path kDataDir = SHARED_DATA_DIR;

std::unique_ptr<RawBackend> Open(const std::filesystem::path& path, Status* status) {
    *status = -1;
    return rawfile::OpenNativeBackend(path.string(), status);
}

std::string RealFile(const std::string& name) { return ReadFile(kDataDir / name); }

// Where the structures of a real file lie, found with the backend's own
// structure readers.
struct Landmarks {
    uint32_t version = 0;
    uint64_t controllerCountOffset = 0;
    uint64_t runHeaderAddress = 0;
    rawfile::native::RunHeader run;
};

Landmarks FindLandmarks(const std::string& bytes) {
    using namespace rawfile::native;
    Landmarks marks;
    ByteReader in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    FileHeader header;
    EXPECT_EQ(ReadFileHeader(in, &header), rawfile::kOk);
    marks.version = header.version;
    EXPECT_TRUE(SkipSequencerRow(in, header.version));
    EXPECT_TRUE(SkipAutosamplerInfo(in));
    marks.controllerCountOffset = in.position() + 28;
    RawFileInfo info;
    EXPECT_EQ(ReadRawFileInfo(in, header.version, &info), rawfile::kOk);
    EXPECT_FALSE(info.runHeaderAddresses.empty());
    marks.runHeaderAddress = info.runHeaderAddresses.at(0);
    const rawfile::native::MemoryBytes file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_EQ(ReadRunHeader(file, marks.runHeaderAddress, header.version, &marks.run), rawfile::kOk);
    return marks;
}

void Put32(std::string* bytes, uint64_t offset, uint32_t value) {
    std::memcpy(bytes->data() + offset, &value, sizeof value);
}

uint64_t IndexEntryOffset(const Landmarks& marks, int32_t scan) {
    const uint64_t entrySize = marks.version < 64 ? 72 : (marks.version < 65 ? 80 : 88);
    return marks.run.scanIndexAddress + static_cast<uint64_t>(scan - marks.run.firstScan) * entrySize;
}

bool IsFailureCode(Status status) { return status >= rawfile::kScriptedFailure && status <= rawfile::kCannotRead; }

// Asks every operation of every scan (and of the numbers around the range)
// and checks that each answer is a clean success or failure with sane data.
void ExerciseEveryScan(RawBackend& backend, uint64_t fileSize) {
    int32_t first = 0;
    int32_t last = 0;
    ASSERT_EQ(backend.GetFirstScan(&first), rawfile::kOk);
    ASSERT_EQ(backend.GetLastScan(&last), rawfile::kOk);
    const int64_t from = static_cast<int64_t>(first) - 1;
    const int64_t to = std::min<int64_t>(last, from + 2000) + 1;
    for (int64_t number = from; number <= to; ++number) {
        const auto scan = static_cast<int32_t>(number);
        std::string filter;
        const Status filterStatus = backend.GetFilterText(scan, &filter);
        EXPECT_TRUE(filterStatus == rawfile::kOk || IsFailureCode(filterStatus)) << filterStatus;
        double minutes = 0;
        const Status rtStatus = backend.GetRetentionTime(scan, &minutes);
        EXPECT_TRUE(rtStatus == rawfile::kOk || IsFailureCode(rtStatus));
        std::vector<double> pairs;
        const Status listStatus = backend.GetMassList(scan, &pairs);
        EXPECT_TRUE(listStatus == rawfile::kOk || IsFailureCode(listStatus));
        EXPECT_EQ(pairs.size() % 2, 0u);
        // Every point comes from at least one stored 4-byte value.
        EXPECT_LE(pairs.size() / 2, fileSize);
        rawfile::TrailerValue value;
        const Status trailerStatus = backend.GetTrailerValue(scan, "Charge State:", &value);
        EXPECT_TRUE(trailerStatus == rawfile::kOk || IsFailureCode(trailerStatus));
    }
}

TEST(NativeOpen, RefusesFilesThatAreNotRawFiles) {
    TempDir dir;
    Status status = 0;
    EXPECT_EQ(Open(dir.Write("text.raw", "this is not a RAW file, it is plain text\n"), &status), nullptr);
    EXPECT_EQ(status, rawfile::kNotRawFile);
    EXPECT_EQ(Open(dir.Write("empty.raw", ""), &status), nullptr);
    EXPECT_EQ(status, rawfile::kNotRawFile);
    EXPECT_EQ(Open(dir.path() / "missing.raw", &status), nullptr);
    EXPECT_EQ(status, rawfile::kCannotRead);
    std::filesystem::create_directory(dir.path() / "folder.raw");
    EXPECT_EQ(Open(dir.path() / "folder.raw", &status), nullptr);
    EXPECT_EQ(status, rawfile::kCannotRead);
}

TEST(NativeOpen, RecognisesTheSignatureFromTheFirstBytes) {
    const std::string small = RealFile("small.RAW");
    if (small.empty()) {
        GTEST_SKIP() << "real RAW data not available";
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(small.data());
    EXPECT_TRUE(rawfile::LooksLikeThermoRaw(bytes, small.size()));
    EXPECT_TRUE(rawfile::LooksLikeThermoRaw(bytes, 18));
    EXPECT_FALSE(rawfile::LooksLikeThermoRaw(bytes, 17));
    EXPECT_FALSE(rawfile::LooksLikeThermoRaw(reinterpret_cast<const unsigned char*>("rawfixture 1\n"), 13));
    std::string wrongMagic = small.substr(0, 64);
    wrongMagic[0] = 0;
    EXPECT_FALSE(rawfile::LooksLikeThermoRaw(reinterpret_cast<const unsigned char*>(wrongMagic.data()), 64));
}

TEST(NativeOpen, RefusesVersionsOutsideTheKnownRange) {
    std::string bytes = RealFile("small2.RAW");
    if (bytes.empty()) {
        GTEST_SKIP() << "real RAW data not available";
    }
    TempDir dir;
    Status status = 0;
    for (uint32_t version : {56u, 67u, 0xFFFFFFFFu}) {
        Put32(&bytes, 36, version);
        EXPECT_EQ(Open(dir.Write("version.raw", bytes), &status), nullptr) << version;
        EXPECT_EQ(status, rawfile::kUnsupported) << version;
    }
}

// bad_file.raw is damaged beyond opening (Thermo's own library cannot open
// it either): the open fails with a failure code, without a crash.
TEST(NativeOpen, TheRealFileDamagedBeyondOpeningFailsToOpen) {
    if (!testing_support::HasRealFile(testing_support::kUnopenableFile)) {
        GTEST_SKIP() << "real RAW data not available";
    }
    Status status = 0;
    EXPECT_EQ(Open(kDataDir / testing_support::kUnopenableFile, &status), nullptr);
    EXPECT_TRUE(IsFailureCode(status)) << status;
}

// thermo.raw stores the range 0 to 0; the backend answers the empty range
// 1 to 0, so that a walk from first to last asks for no scan.
TEST(NativeOpen, AnAcquisitionWithoutScansOpensWithAnEmptyRangeAndAnswersNoSuchScan) {
    const std::filesystem::path path = kDataDir / "thermo.raw";
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << "real RAW data not available";
    }
    Status status = 0;
    const auto backend = Open(path, &status);
    ASSERT_NE(backend, nullptr) << status;
    EXPECT_EQ(backend->SetCurrentController(0, 1), rawfile::kOk);
    int32_t first = -1;
    int32_t last = -1;
    double created = 0;
    EXPECT_EQ(backend->GetFirstScan(&first), rawfile::kOk);
    EXPECT_EQ(backend->GetLastScan(&last), rawfile::kOk);
    EXPECT_EQ(backend->GetCreationDate(&created), rawfile::kOk);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 0);
    EXPECT_EQ(created, 44382.615348136576);  // 2021-07-05 14:46:06.079 UTC
    for (int32_t scan : {0, 1, -1}) {
        std::string filter = "unchanged";
        EXPECT_EQ(backend->GetFilterText(scan, &filter), rawfile::kNoSuchScan);
        EXPECT_EQ(filter, "unchanged");
        double minutes = 0;
        EXPECT_EQ(backend->GetRetentionTime(scan, &minutes), rawfile::kNoSuchScan);
        std::vector<double> pairs;
        EXPECT_EQ(backend->GetMassList(scan, &pairs), rawfile::kNoSuchScan);
        rawfile::TrailerValue value;
        EXPECT_EQ(backend->GetTrailerValue(scan, "Charge State:", &value), rawfile::kNoSuchScan);
        EXPECT_TRUE(std::holds_alternative<rawfile::NoTrailerValue>(value));
    }
    EXPECT_EQ(backend->Close(), rawfile::kOk);
}

TEST(NativeScans, LabelsAreMatchedExactlyAndScansOutsideTheRangeFail) {
    const std::filesystem::path path = kDataDir / "tsq_quantum.raw";
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << "real RAW data not available";
    }
    Status status = 0;
    const auto backend = Open(path, &status);
    ASSERT_NE(backend, nullptr) << status;
    rawfile::TrailerValue value;
    EXPECT_EQ(backend->GetTrailerValue(1, "Charge State:", &value), rawfile::kNoSuchLabel);
    EXPECT_EQ(backend->GetTrailerValue(1, "Micro Scan Count:", &value), rawfile::kNoSuchLabel);
    EXPECT_EQ(backend->GetTrailerValue(1, "Micro Scan count", &value), rawfile::kNoSuchLabel);
    ASSERT_EQ(backend->GetTrailerValue(1, "Micro Scan count:", &value), rawfile::kOk);
    EXPECT_EQ(value, rawfile::TrailerValue(int16_t{1}));
    ASSERT_EQ(backend->GetTrailerValue(78, "Average Scan by Inst:", &value), rawfile::kOk);
    EXPECT_TRUE(std::holds_alternative<bool>(value));
    for (int32_t scan : {0, 79, -5, 2147483647, -2147483647 - 1}) {
        std::string filter;
        EXPECT_EQ(backend->GetFilterText(scan, &filter), rawfile::kNoSuchScan) << scan;
        int32_t order = 0;
        EXPECT_EQ(backend->GetMsOrder(scan, &order), rawfile::kNoSuchScan) << scan;
    }
    EXPECT_EQ(backend->SetCurrentController(0, 2), rawfile::kUnsupported);
    EXPECT_EQ(backend->SetCurrentController(1, 1), rawfile::kUnsupported);
    EXPECT_EQ(backend->Close(), rawfile::kOk);
    int32_t first = 0;
    EXPECT_EQ(backend->GetFirstScan(&first), rawfile::kNotOpen);
    std::string filter;
    EXPECT_EQ(backend->GetFilterText(1, &filter), rawfile::kNotOpen);
}

TEST(NativeDamage, TruncatedCopiesFailToOpenOrAnswerCleanly) {
    if (testing_support::RealFileNames().empty()) GTEST_SKIP() << "real RAW data not available";
    TempDir dir;
    int opened = 0;
    int refused = 0;
    for (const std::string& name : testing_support::RealFileNames()) {
        const std::string bytes = RealFile(name);
        if (bytes.empty()) {
            GTEST_SKIP() << "real RAW data not available";
        }
        std::vector<uint64_t> lengths = {0, 1, 19, 20, 1355, 1356, 1400, bytes.size() - 1, bytes.size() - 4};
        for (int step = 1; step < 24; ++step) {
            lengths.push_back(bytes.size() * static_cast<uint64_t>(step) / 24);
        }
        for (uint64_t length : lengths) {
            SCOPED_TRACE(name + " cut to " + std::to_string(length));
            Status status = 0;
            const auto backend = Open(dir.Write("cut.raw", bytes.substr(0, length)), &status);
            if (backend == nullptr) {
                EXPECT_TRUE(IsFailureCode(status)) << status;
                ++refused;
                continue;
            }
            ++opened;
            ExerciseEveryScan(*backend, length);
        }
    }
    // The index and the trailer records lie at the end of the file: every cut
    // that removes them must make the open fail.
    EXPECT_GT(refused, opened);
}

TEST(NativeDamage, BitFlippedCopiesFailToOpenOrAnswerCleanly) {
    TempDir dir;
    std::mt19937_64 random(20240607);
    for (const std::string& name : testing_support::RealFileNames()) {
        const std::string bytes = RealFile(name);
        if (bytes.empty()) {
            GTEST_SKIP() << "real RAW data not available";
        }
        for (int variant = 0; variant < 12; ++variant) {
            std::string damaged = bytes;
            const int flips = 1 + static_cast<int>(random() % 16);
            for (int i = 0; i < flips; ++i) {
                // Half of the flips land in the last quarter, where the index,
                // events and trailer records lie.
                const uint64_t span = (i % 2 == 0) ? damaged.size() : damaged.size() / 4;
                const uint64_t at = damaged.size() - 1 - random() % span;
                damaged[at] = static_cast<char>(damaged[at] ^ (1 << (random() % 8)));
            }
            SCOPED_TRACE(name + " variant " + std::to_string(variant));
            Status status = 0;
            const auto backend = Open(dir.Write("flipped.raw", damaged), &status);
            if (backend == nullptr) {
                EXPECT_TRUE(IsFailureCode(status)) << status;
                continue;
            }
            ExerciseEveryScan(*backend, damaged.size());
        }
    }
}

class NativeDamageInPlace : public testing::Test {
protected:
    void SetUp() override {
        bytes_ = RealFile("sample.raw");
        if (bytes_.empty()) {
            GTEST_SKIP() << "real RAW data not available";
        }
        marks_ = FindLandmarks(bytes_);
    }

    std::unique_ptr<RawBackend> OpenDamaged(Status* status) { return Open(dir_.Write("damaged.raw", bytes_), status); }

    TempDir dir_;
    std::string bytes_;
    Landmarks marks_;
};

TEST_F(NativeDamageInPlace, DamageInTheHeaderChainFailsTheOpen) {
    const std::string intact = bytes_;
    Status status = 0;
    struct Damage {
        const char* what;
        uint64_t offset;
        uint32_t value;
    };
    const Damage damages[] = {
        {"controller count", marks_.controllerCountOffset, 100000},
        {"last scan number", marks_.runHeaderAddress + 12, 0x7FFFFFFF},
        {"scan index address", marks_.runHeaderAddress + 7412, 0x7FFF},  // high half of the 64-bit address
        {"scan event address", marks_.runHeaderAddress + 7452, 1},
        {"error log count", marks_.runHeaderAddress + 20, 0x10000000},
        {"first event's mass range count", marks_.run.scanEventAddress + 4 + 132 + 4 + 4 + 56, 0x40000000},
    };
    for (const Damage& damage : damages) {
        bytes_ = intact;
        Put32(&bytes_, damage.offset, damage.value);
        EXPECT_EQ(OpenDamaged(&status), nullptr) << damage.what;
        EXPECT_EQ(status, rawfile::kDamaged) << damage.what;
    }
}

// A run header whose scan range starts below 1 but spans numbers (found by
// fuzzing: first scan 0, last scan 1 083 579 392) holds no scans by its
// first number, yet answering the range as stored sent spexor through a
// billion scan numbers, two failure lines each. Such a file fails to open;
// an empty acquisition's range 0 to 0, or an empty range, still opens and
// answers the empty range 1 to 0.
TEST_F(NativeDamageInPlace, AScanRangeStartingBelowOneThatSpansNumbersFailsTheOpen) {
    const std::string intact = bytes_;
    const uint64_t firstScanOffset = marks_.runHeaderAddress + 8;  // the last scan number follows
    const auto withScanRange = [&](int32_t first, int32_t last) {
        bytes_ = intact;
        Put32(&bytes_, firstScanOffset, static_cast<uint32_t>(first));
        Put32(&bytes_, firstScanOffset + 4, static_cast<uint32_t>(last));
    };
    Status status = 0;
    for (const auto& [first, last] : {std::pair{0, 1083579392}, std::pair{0, 574}, std::pair{-2147483647 - 1, 5}}) {
        SCOPED_TRACE(std::to_string(first) + " to " + std::to_string(last));
        withScanRange(first, last);
        EXPECT_EQ(OpenDamaged(&status), nullptr);
        EXPECT_EQ(status, rawfile::kDamaged);
    }

    // spexor stops at the open instead of walking the range.
    withScanRange(0, 1083579392);
    const std::string path = dir_.Write("range.raw", bytes_).string();
    const auto result = testing_support::RunProgram(SPEXOR_BIN, {"-ms1", "-o", (dir_.path() / "out").string(), path});
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(result.err, "[Morvane] <Exception>: Failed to open file " + path +
                              ", check if your file is corrupt!\n[Morvane] <Exception>: Reason: truncated or damaged "
                              "file\n");

    for (const auto& [first, last] : {std::pair{0, 0}, std::pair{5, 4}}) {
        SCOPED_TRACE(std::to_string(first) + " to " + std::to_string(last));
        withScanRange(first, last);
        const auto backend = OpenDamaged(&status);
        ASSERT_NE(backend, nullptr) << status;
        int32_t answeredFirst = -1;
        int32_t answeredLast = -1;
        EXPECT_EQ(backend->GetFirstScan(&answeredFirst), rawfile::kOk);
        EXPECT_EQ(backend->GetLastScan(&answeredLast), rawfile::kOk);
        EXPECT_EQ(answeredFirst, 1);
        EXPECT_EQ(answeredLast, 0);
        std::string filter;
        EXPECT_EQ(backend->GetFilterText(first, &filter), rawfile::kNoSuchScan);
        EXPECT_EQ(backend->GetFilterText(1, &filter), rawfile::kNoSuchScan);
    }
}

TEST_F(NativeDamageInPlace, DamageInOnePacketFailsOnlyThatScan) {
    const int32_t damagedScan = 10;
    const uint64_t entry = IndexEntryOffset(marks_, damagedScan);
    Status status = 0;

    Put32(&bytes_, entry + 16, 77);  // a packet type of unknown layout
    auto backend = OpenDamaged(&status);
    ASSERT_NE(backend, nullptr) << status;
    std::vector<double> pairs;
    EXPECT_EQ(backend->GetMassList(damagedScan, &pairs), rawfile::kUnsupported);
    EXPECT_TRUE(pairs.empty());
    std::string filter;
    EXPECT_EQ(backend->GetFilterText(damagedScan, &filter), rawfile::kOk);
    EXPECT_EQ(backend->GetMassList(damagedScan + 1, &pairs), rawfile::kOk);
    EXPECT_FALSE(pairs.empty());
    backend.reset();

    Put32(&bytes_, entry + 16, 20);
    Put32(&bytes_, entry + 20, 1000);  // a size that does not match the packet's blocks
    backend = OpenDamaged(&status);
    ASSERT_NE(backend, nullptr) << status;
    EXPECT_EQ(backend->GetMassList(damagedScan, &pairs), rawfile::kDamaged);
    EXPECT_EQ(backend->GetMassList(damagedScan - 1, &pairs), rawfile::kOk);
    backend.reset();

    Put32(&bytes_, entry + 20, 0xFFFFFFF0u);  // a packet reaching past the end of the file
    backend = OpenDamaged(&status);
    ASSERT_NE(backend, nullptr) << status;
    EXPECT_EQ(backend->GetMassList(damagedScan, &pairs), rawfile::kDamaged);
}

TEST_F(NativeDamageInPlace, AnUnprintableMassPrecisionFailsOnlyTheFilterTexts) {
    Put32(&bytes_, marks_.runHeaderAddress + 7404, 1000);
    Status status = 0;
    const auto backend = OpenDamaged(&status);
    ASSERT_NE(backend, nullptr) << status;
    std::string filter;
    EXPECT_EQ(backend->GetFilterText(1, &filter), rawfile::kUnsupported);
    int32_t order = 0;
    EXPECT_EQ(backend->GetMsOrder(2, &order), rawfile::kOk);
    EXPECT_EQ(order, 2);
    std::vector<double> pairs;
    EXPECT_EQ(backend->GetMassList(1, &pairs), rawfile::kOk);
}

}  // namespace

namespace {

// Every scan's answers of a backend whose file was cut after it opened:
// the first `keep` scans' packets still lie in the file.
struct CutAnswers {
    int massListsRead = 0;
    int massListsFailed = 0;
};

CutAnswers AskEveryScan(RawBackend& backend) {
    CutAnswers answers;
    int32_t first = 0;
    int32_t last = 0;
    EXPECT_EQ(backend.GetFirstScan(&first), rawfile::kOk);
    EXPECT_EQ(backend.GetLastScan(&last), rawfile::kOk);
    for (int32_t scan = first; scan <= last; ++scan) {
        std::vector<double> pairs;
        const Status status = backend.GetMassList(scan, &pairs);
        (status == rawfile::kOk ? answers.massListsRead : answers.massListsFailed) += 1;
        EXPECT_TRUE(status == rawfile::kOk || status == rawfile::kDamaged) << scan << ": " << status;
        rawfile::TrailerValue value;
        const Status trailer = backend.GetTrailerValue(scan, "Charge State:", &value);
        EXPECT_TRUE(trailer == rawfile::kOk || trailer == rawfile::kDamaged) << scan << ": " << trailer;
    }
    return answers;
}

}  // namespace

TEST(NativeScans, AFileCutAfterItOpenedFailsTheScansItNoLongerHolds) {
    const std::filesystem::path sample = kDataDir / "sample.raw";
    if (!std::filesystem::exists(sample)) GTEST_SKIP() << "real RAW data not available";
    TempDir dir;
    const std::string bytes = ReadFile(sample);
    const std::filesystem::path copy = dir.Write("copy.raw", bytes);
    Status status = 0;
    const auto backend = rawfile::OpenNativeBackend(copy.string(), &status);
    ASSERT_NE(backend, nullptr) << status;
    // Cut to a third: the events and trailer records, which lie after the
    // packets, are gone, so every scan's reads fail (and none ends the process).
    std::filesystem::resize_file(copy, bytes.size() / 3);
    const CutAnswers cut = AskEveryScan(*backend);
    EXPECT_EQ(cut.massListsRead, 0);
    EXPECT_EQ(cut.massListsFailed, 574);
    std::string filter;
    EXPECT_EQ(backend->GetFilterText(574, &filter), rawfile::kDamaged);
    double minutes = 0;
    EXPECT_EQ(backend->GetRetentionTime(574, &minutes), rawfile::kOk);  // read at open
    // The whole file back (a copy that caught up): the same reader reads every scan.
    dir.Write("copy.raw", bytes);
    EXPECT_EQ(AskEveryScan(*backend).massListsRead, 574);
    EXPECT_EQ(backend->Close(), rawfile::kOk);
}

// Reads of every size, from anywhere in a file several read-ahead windows
// long, in an order that jumps between regions as a scan walk does: each
// gives the file's own bytes, and a span past the end fails.
TEST(NativeFileBytes, ReadsGiveTheFileBytesWhereverAndHoweverLongTheyAre) {
    using rawfile::native::DescriptorBytes;
    using rawfile::native::ReadAhead;
    TempDir dir;
    std::mt19937_64 random(7);
    std::string bytes(3 * ReadAhead::kWindowBytes + 12345, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    const std::filesystem::path path = dir.Write("bytes.raw", bytes);
    const auto file = DescriptorBytes::Open(path.string());
    ASSERT_NE(file, nullptr);
    rawfile::native::ReadBuffer buffer;
    const uint64_t lengths[] = {
        0, 1, 8, 4096, ReadAhead::kLargestCachedRead, ReadAhead::kLargestCachedRead + 1, ReadAhead::kWindowBytes + 3};
    for (int i = 0; i < 3000; ++i) {
        const uint64_t length = lengths[random() % std::size(lengths)];
        const uint64_t offset = random() % (bytes.size() - length + 1);
        const rawfile::native::ByteReader in = file->Read(offset, length, buffer);
        ASSERT_TRUE(in.ok()) << offset << " " << length;
        ASSERT_EQ(std::memcmp(in.data(), bytes.data() + offset, length), 0) << offset << " " << length;
    }
    EXPECT_FALSE(file->Read(bytes.size() - 4, 8, buffer).ok());
    EXPECT_TRUE(file->Read(bytes.size() - 8, 8, buffer).ok());
}
