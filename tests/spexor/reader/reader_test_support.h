#pragma once

// Helpers for the scan reader tests: both readers opened on a RAW fixture
// through the real control host and class registry, the registry put back as
// found, console capture, and exact-text patterns for death tests.

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com.h"
#include "platform/window.h"
#include "spexor/reader/raw_extractor.h"
#include "support/fake_components.h"
#include "support/temp_dir.h"

enum class ReaderKind { Control, Interface };

std::string ReaderKindName(ReaderKind kind);
inline void PrintTo(ReaderKind kind, std::ostream* out) { *out << ReaderKindName(kind); }

// Builds the reader of `kind` the way the batch driver does.
std::unique_ptr<RawExtractor> MakeReader(ReaderKind kind, platform::CWnd* host);

// Registers our component with control hosting on, and on destruction puts
// the class registry and the control-hosting switch back as they were found.
class RegistryGuard {
public:
    RegistryGuard();

private:
    testing_support::ScopedRegistry restore_;
};

// A fixture file written to a temporary folder and a reader of one kind
// made in a host window; `Open` opens the file through the reader.
class ReaderSession {
public:
    ReaderSession(ReaderKind kind, const std::string& fixture);
    ~ReaderSession();

    void Open() { reader->Open(path.string()); }

    RegistryGuard registry;
    testing_support::TempDir dir;
    std::filesystem::path path;
    platform::HostWindow host;
    std::unique_ptr<RawExtractor> reader;
};

// Standard error written while `body` runs.
template <typename Body>
std::string StderrOf(Body body);

// A pattern for death tests matching exactly `text` (the whole stream).
std::string Exactly(std::string_view text);

// Sends standard output to `file`, to be read back after a death test.
void RedirectStdout(const std::filesystem::path& file);

// Makes standard input a terminal holding one line, so that a pause waits
// for and takes it.
void TerminalStdinWithOneLine();

#include "gtest/gtest.h"

// Names the instances of a test run with both readers.
inline std::string ReaderTestName(const testing::TestParamInfo<ReaderKind>& test) { return ReaderKindName(test.param); }

template <typename Body>
std::string StderrOf(Body body) {
    testing::internal::CaptureStderr();
    body();
    return testing::internal::GetCapturedStderr();
}
