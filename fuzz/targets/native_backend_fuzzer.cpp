// libFuzzer target for the native RAW reader over a whole file: each input
// is opened as a RAW file from memory, its bytes handed out the way a file
// read with pread hands them out, into the reader's buffers
// (CopyingBytes, exercise_raw_file.h), and, when it opens, every operation
// is asked of every scan. A failed open gives a failure code and a reason;
// a successful one an object.

#include <cstdint>
#include <memory>
#include <string>

#include "exercise_raw_file.h"
#include "fuzz_support.h"
#include "rawfile/native/native_raw_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using rawfile::native::NativeRawFile;
    std::unique_ptr<NativeRawFile> file;
    std::string reason;
    const rawfile::Status status =
        NativeRawFile::OpenBytes(std::make_unique<fuzz::CopyingBytes>(data, size), &file, &reason);
    if (status != rawfile::kOk) {
        fuzz::Require(file == nullptr && fuzz::IsKnownStatus(status), "a failed open gives a failure code");
        fuzz::Require(!reason.empty(), "a failed open gives a reason");
        return 0;
    }
    fuzz::Require(file != nullptr, "a successful open gives a file");
    fuzz::ExerciseFile(*file, size);
    return 0;
}
