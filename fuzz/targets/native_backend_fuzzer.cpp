// libFuzzer target for the native RAW reader over a whole file: each input
// is opened as a RAW file from memory (MemoryBytes over the input itself,
// so AddressSanitizer sees any byte read past its end) and, when it opens,
// every operation is asked of every scan (exercise_raw_file.h). A failed
// open gives a failure code and a reason; a successful one an object.

#include <cstdint>
#include <memory>
#include <string>

#include "exercise_raw_file.h"
#include "fuzz_support.h"
#include "rawfile/native/file_bytes.h"
#include "rawfile/native/native_raw_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using rawfile::native::NativeRawFile;
    std::unique_ptr<NativeRawFile> file;
    std::string reason;
    const rawfile::Status status =
        NativeRawFile::OpenBytes(std::make_unique<rawfile::native::MemoryBytes>(data, size), &file, &reason);
    if (status != rawfile::kOk) {
        fuzz::Require(file == nullptr && fuzz::IsKnownStatus(status), "a failed open gives a failure code");
        fuzz::Require(!reason.empty(), "a failed open gives a reason");
        return 0;
    }
    fuzz::Require(file != nullptr, "a successful open gives a file");
    fuzz::ExerciseFile(*file, size);
    return 0;
}
