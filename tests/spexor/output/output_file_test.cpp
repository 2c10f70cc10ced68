#include "spexor/output/output_file.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fatal_error.h"
#include "support/temp_dir.h"

using testing_support::ReadFile;
using testing_support::TempDir;

TEST(OutputFile, TextReachesTheFileWhenTheBufferFillsOrIsFlushed) {
    TempDir dir;
    const std::string path = (dir.path() / "out.mgf").string();
    std::string reason;
    std::unique_ptr<OutputFile> file = OutputFile::Create(path, reason);
    ASSERT_NE(file, nullptr) << reason;
    file->Put("BEGIN IONS\n");
    EXPECT_EQ(ReadFile(path), "");  // not written per line
    file->Flush();
    EXPECT_EQ(ReadFile(path), "BEGIN IONS\n");

    // A large piece goes out after the text still in the buffer, whether it
    // is written straight from where it lies or through the buffer.
    const std::string big(OutputFile::kBufferSize * 2 + 17, 'x');
    const std::string piece(OutputFile::kDirectWriteSize - 1, 'y');
    file->Put("TITLE=a\n");
    file->Put(big);
    file->Put('\n');
    file->Put(piece);
    file->Put(big);
    file->Close();
    EXPECT_EQ(ReadFile(path), "BEGIN IONS\nTITLE=a\n" + big + "\n" + piece + big);
}

TEST(OutputFile, PositionCountsEveryBytePutWhereverItWaits) {
    TempDir dir;
    const std::string path = (dir.path() / "out.mzML").string();
    std::string reason;
    std::unique_ptr<OutputFile> file = OutputFile::Create(path, reason);
    ASSERT_NE(file, nullptr) << reason;
    EXPECT_EQ(file->Position(), 0u);
    file->Put("<mzML>\n");
    const std::string big(OutputFile::kBufferSize + 3, 'x');  // through the buffer and past it
    file->Put(big);
    file->Put('\n');
    const std::string direct(OutputFile::kDirectWriteSize, 'y');  // straight out
    file->Put(direct);
    const uint64_t expected = 7 + big.size() + 1 + direct.size();
    EXPECT_EQ(file->Position(), expected);
    file->Close();
    EXPECT_EQ(ReadFile(path).size(), expected);

    std::unique_ptr<OutputFile> text = OutputFile::InMemory(4);
    text->Put("<spectrum");
    EXPECT_EQ(text->Position(), text->Held().size());
}

TEST(OutputFile, CreatingEmptiesAnExistingFileAndFailuresGiveTheReason) {
    TempDir dir;
    const std::filesystem::path path = dir.Write("out.ms2", "old content");
    std::string reason;
    OutputFile::Create(path.string(), reason)->Close();
    EXPECT_EQ(ReadFile(path), "");
    EXPECT_EQ(OutputFile::Create((dir.path() / "missing" / "out.ms2").string(), reason), nullptr);
    EXPECT_EQ(reason, "No such file or directory");
}

TEST(OutputFile, FailedWriteIsReportedOncePerFile) {
    std::string reason;
    std::unique_ptr<OutputFile> full = OutputFile::Create("/dev/full", reason);
    if (!full) GTEST_SKIP() << "no /dev/full here: " << reason;
    testing::internal::CaptureStderr();
    full->Put("S\t000001\t000001\n");
    full->Flush();
    full->Put("more\n");
    full->Close();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[Morvane] <Exception>: Failed to write /dev/full: No space left on device\n");
}

TEST(OutputFile, AFatalErrorTravellingUpStillWritesOutWhatTheBufferHolds) {
    TempDir dir;
    const std::string path = (dir.path() / "out.ksd").string();
    try {
        std::string reason;
        const std::unique_ptr<OutputFile> file = OutputFile::Create(path, reason);
        ASSERT_NE(file, nullptr) << reason;
        file->Put("H\n1234\t2710.500000\n");
        throw platform::FatalError();
    } catch (const platform::FatalError&) {}
    EXPECT_EQ(ReadFile(path), "H\n1234\t2710.500000\n");
}
