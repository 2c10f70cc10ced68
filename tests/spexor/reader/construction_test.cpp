// How each reader comes about: the hosted control in a host window, and the
// interface found by ProgID and version, with every fallback and its end.
#include <set>
#include <string>
#include <utility>

#include "common/xrawfile.h"
#include "gtest/gtest.h"
#include "reader_test_support.h"
#include "spexor/reader/new_raw_extractor.h"
#include "support/as_main.h"

namespace {

using testing::ExitedWithCode;

const char* const kAttemptLine = "[Morvane] Morvane tries to use MSFileReader \n";
const char* const kBitnessLine =
    "[Morvane] <Exception>: MSFileReader should be 32/64 bit version corresponding to Quorvel.\n";

TEST(HostedControlReader, AnnouncesItsAttemptAndTellsWhetherTheControlExists) {
    RegistryGuard registry;
    platform::HostWindow host;
    testing::internal::CaptureStdout();
    { EXPECT_TRUE(RawExtractor(&host).IsAvailable()); }
    host.SetCanHostControls(false);
    { EXPECT_FALSE(RawExtractor(&host).IsAvailable()); }
    EXPECT_EQ(std::string(kAttemptLine) + kAttemptLine, testing::internal::GetCapturedStdout());
}

TEST(HostedControlReader, ControlOfAClassThatIsNotRegistered) {
    RegistryGuard registry;
    platform::UnregisterClass(xrawfile::kClassId);
    platform::HostWindow host;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(RawExtractor(&host).IsAvailable());
    EXPECT_EQ(kAttemptLine, testing::internal::GetCapturedStdout());
}

TEST(HostedControlReader, ReleasesItsControl) {
    RegistryGuard registry;
    const int64_t before = platform::CurrentLiveResources().objects;
    platform::HostWindow host;
    testing::internal::CaptureStdout();
    for (int file = 0; file < 3; ++file) RawExtractor reader(&host);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(before, platform::CurrentLiveResources().objects);
}

class InterfaceReaderConstruction : public testing::Test {
protected:
    InterfaceReaderConstruction() {
        platform::ClearClassRegistry();
        testing_support::ClearFakeEvents();
    }

    static void Register(const std::string& name, const char* progId, std::set<int> versions,
                         platform::HRESULT refusal = platform::E_NOINTERFACE) {
        testing_support::FakeClass fake;
        fake.name = name;
        fake.classId = name == "MS" ? kMsClassId : kXrClassId;
        fake.progIds = {progId};
        fake.versions = std::move(versions);
        fake.versionRefusal = refusal;
        testing_support::RegisterFake(fake);
    }

    // Constructs the reader and destroys it again, printing nothing; answers
    // the objects made, the versions asked of them and their releases.
    static std::string ConstructAndDestroy() {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        {
            NewRawExtractor reader;
            EXPECT_FALSE(reader.IsAvailable());
        }
        EXPECT_EQ("", testing::internal::GetCapturedStdout());
        EXPECT_EQ("", testing::internal::GetCapturedStderr());
        std::string events;
        for (const std::string& event : testing_support::FakeEvents()) {
            const bool versionAsked = event.find(" v") != std::string::npos;
            if (event.rfind("make", 0) == 0 || event.rfind("release", 0) == 0 || versionAsked) events += event + "\n";
        }
        return events;
    }

    // Constructs the reader in a child that must end with `errorLine` on
    // standard error and the bitness line on standard output.
    void ExpectConstructionToEnd(const std::string& errorLine) {
        EXPECT_EXIT(AS_MAIN({
                        RedirectStdout(scratch.path() / "stdout.txt");
                        NewRawExtractor reader;
                    }),
                    ExitedWithCode(255), Exactly(errorLine));
        EXPECT_EQ(kBitnessLine, testing_support::ReadFile(scratch.path() / "stdout.txt"));
    }

    static constexpr const char* kMsClassId = "{0FA4E000-0000-4000-8000-000000000001}";
    static constexpr const char* kXrClassId = "{0FA4E000-0000-4000-8000-000000000002}";

    RegistryGuard registry;
    testing_support::TempDir scratch;
};

TEST_F(InterfaceReaderConstruction, VersionFiveIsAskedForVersionOne) {
    Register("MS", xrawfile::kProgIdMsFileReader, {1, 2, 3, 4, 5});
    Register("XR", xrawfile::kProgIdXRawfile, {1, 2, 3, 4, 5});
    EXPECT_EQ("make MS\nquery MS v5\nquery MS v1\nrelease MS\n", ConstructAndDestroy());
}

TEST_F(InterfaceReaderConstruction, VersionOneMadeDirectlyWhenNoNewerOne) {
    Register("MS", xrawfile::kProgIdMsFileReader, {1});
    Register("XR", xrawfile::kProgIdXRawfile, {1, 2, 3, 4, 5});
    std::string expected;
    for (int version = 5; version >= 1; --version) {
        expected += "make MS\nquery MS v" + std::to_string(version) + "\nrelease MS\n";
    }
    EXPECT_EQ(expected, ConstructAndDestroy());
}

TEST_F(InterfaceReaderConstruction, SecondProgIdOnlyWhenVersionOneIsRefused) {
    Register("MS", xrawfile::kProgIdMsFileReader, {3});
    Register("XR", xrawfile::kProgIdXRawfile, {1});
    std::string expected;
    for (int version = 5; version >= 4; --version) {
        expected += "make MS\nquery MS v" + std::to_string(version) + "\nrelease MS\n";
    }
    expected += "make MS\nquery MS v3\nquery MS v1\nrelease MS\n";
    for (int version = 5; version >= 1; --version) {
        expected += "make XR\nquery XR v" + std::to_string(version) + "\nrelease XR\n";
    }
    EXPECT_EQ(expected, ConstructAndDestroy());
}

TEST_F(InterfaceReaderConstruction, NothingRegistered) {
    ExpectConstructionToEnd("[Morvane] <Exception>: Cannot load Thermo MSFileReader. Cannot read .RAW files.\n");
}

TEST_F(InterfaceReaderConstruction, SecondProgIdNotRegistered) {
    Register("MS", xrawfile::kProgIdMsFileReader, {2});
    ExpectConstructionToEnd("[Morvane] <Exception>: Cannot load Thermo MSFileReader. Cannot read .RAW files.\n");
}

TEST_F(InterfaceReaderConstruction, VersionOneRefusedUnderBothProgIds) {
    Register("MS", xrawfile::kProgIdMsFileReader, {5});
    Register("XR", xrawfile::kProgIdXRawfile, {2});
    ExpectConstructionToEnd("[Morvane] <Exception>: Cannot read .RAW files. Check your environment!\n");
}

TEST_F(InterfaceReaderConstruction, VersionOneAnsweredWithAnError) {
    Register("MS", xrawfile::kProgIdMsFileReader, {4}, platform::E_FAIL);
    EXPECT_EXIT(AS_MAIN(NewRawExtractor reader), ExitedWithCode(255),
                Exactly("[Morvane] <Exception>: MSFileReader component error in QueryInterface, "
                        "error code 0x80004005!\n"));
}

TEST(InterfaceReader, HoldsNoInterfaceAfterClose) {
    RegistryGuard registry;
    testing_support::TempDir dir;
    const auto path = dir.Write("run.raw", "rawfixture 1\nscan 1\nfilter FTMS + p NSI Full ms\n");
    const int64_t before = platform::CurrentLiveResources().objects;
    {
        NewRawExtractor reader;
        reader.Open(path.string());
        reader.Close();
        EXPECT_EQ(before, platform::CurrentLiveResources().objects);
    }
    EXPECT_EQ(before, platform::CurrentLiveResources().objects);
}

}  // namespace
