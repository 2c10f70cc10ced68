// libFuzzer target for the native RAW backend. Each input is handed to the
// backend as a file and, when it opens, every operation is asked of every
// scan (and of the numbers just outside the range): filter text, retention
// time, MS order, mass list, every trailer label the file declares, the
// packet type word, then the creation date and close. Besides the
// sanitizers, the answers are checked for what callers rely on: a known
// status, an object exactly when the open succeeds, even (m/z, intensity)
// pairs, repeatable filter texts and no answers once closed. A broken rule
// aborts, so the fuzzer keeps the input as a crash.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "rawfile/backend.h"
#include "rawfile/native/native_backend.h"
#include "rawfile/native/native_raw_file.h"

namespace {

using rawfile::RawBackend;
using rawfile::Status;

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "native backend rule broken: %s\n", what);
        std::abort();
    }
}

bool IsKnownStatus(Status status) { return status >= rawfile::kOk && status <= rawfile::kCannotRead; }

// The input lives in an anonymous in-memory file, reached by path like any
// RAW file; it is rewritten for every input.
class InputFile {
public:
    InputFile() {
        fd_ = memfd_create("fuzz.raw", 0);
        Require(fd_ >= 0, "memfd_create");
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }

    const std::string& Write(const uint8_t* data, size_t size) {
        Require(ftruncate(fd_, 0) == 0, "ftruncate");
        size_t done = 0;
        while (done < size) {
            const ssize_t wrote = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            Require(wrote > 0, "pwrite");
            done += static_cast<size_t>(wrote);
        }
        return path_;
    }

private:
    int fd_ = -1;
    std::string path_;
};

void ExerciseScan(RawBackend& backend, const std::vector<std::string>& labels, int32_t scan, size_t fileSize) {
    std::string filter;
    const Status filterStatus = backend.GetFilterText(scan, &filter);
    Require(IsKnownStatus(filterStatus), "filter text status");
    std::string again;
    const Status againStatus = backend.GetFilterText(scan, &again);
    Require(againStatus == filterStatus && again == filter, "filter text repeats");

    double minutes = 0;
    Require(IsKnownStatus(backend.GetRetentionTime(scan, &minutes)), "retention time status");
    int32_t order = 0;
    Require(IsKnownStatus(backend.GetMsOrder(scan, &order)), "ms order status");

    std::vector<double> pairs;
    Require(IsKnownStatus(backend.GetMassList(scan, &pairs)), "mass list status");
    Require(pairs.size() % 2 == 0, "mass list holds whole pairs");
    Require(pairs.size() / 2 <= fileSize, "mass list bounded by the file");

    for (const std::string& label : labels) {
        rawfile::TrailerValue value;
        Require(IsKnownStatus(backend.GetTrailerValue(scan, label, &value)), "trailer value status");
    }
    rawfile::TrailerValue missing;
    Require(IsKnownStatus(backend.GetTrailerValue(scan, "No Such Label:", &missing)), "missing label status");
}

void ExerciseFile(RawBackend& backend, size_t fileSize) {
    Require(IsKnownStatus(backend.SetCurrentController(0, 1)), "controller status");
    int32_t first = 0;
    int32_t last = 0;
    int32_t rangeFirst = 0;
    int32_t rangeLast = 0;
    Require(backend.GetFirstScan(&first) == rawfile::kOk, "first scan");
    Require(backend.GetLastScan(&last) == rawfile::kOk, "last scan");
    Require(backend.GetScanRange(&rangeFirst, &rangeLast) == rawfile::kOk, "scan range");
    Require(rangeFirst == first && rangeLast == last, "scan range agrees");
    double created = 0;
    Require(backend.GetCreationDate(&created) == rawfile::kOk, "creation date");

    auto* native = dynamic_cast<rawfile::native::NativeRawFile*>(&backend);
    Require(native != nullptr, "native backend");
    std::vector<std::string> labels;
    for (const auto& field : native->trailerHeader().fields) {
        labels.push_back(field.label);
    }

    // One scan before and one after the range; 64-bit so the ends of the
    // integer range cannot wrap.
    const int64_t from = static_cast<int64_t>(first) - 1;
    const int64_t to = static_cast<int64_t>(last) + 1;
    for (int64_t number = from; number <= to; ++number) {
        if (number < INT32_MIN || number > INT32_MAX) {
            continue;
        }
        const auto scan = static_cast<int32_t>(number);
        ExerciseScan(backend, labels, scan, fileSize);
        uint32_t word = 0;
        Require(IsKnownStatus(native->GetPacketTypeWord(scan, &word)), "packet type status");
    }

    Require(backend.Close() == rawfile::kOk, "close");
    std::string filter;
    Require(backend.GetFilterText(first, &filter) == rawfile::kNotOpen, "no filter once closed");
    std::vector<double> pairs;
    Require(backend.GetMassList(first, &pairs) == rawfile::kNotOpen, "no mass list once closed");
    Require(backend.Close() == rawfile::kNotOpen, "second close");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static InputFile input;
    const std::string& path = input.Write(data, size);
    Status status = -1;
    const std::unique_ptr<RawBackend> backend = rawfile::OpenNativeBackend(path, &status);
    if (backend == nullptr) {
        Require(status > rawfile::kOk && IsKnownStatus(status), "failed open gives a failure code");
        return 0;
    }
    Require(status == rawfile::kOk, "successful open gives success");
    ExerciseFile(*backend, size);
    return 0;
}
