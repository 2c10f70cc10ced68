#pragma once

// Asks every operation of every scan of an opened native RAW file (and of
// the scan numbers just outside its range), then closes it, checking what
// callers rely on: known statuses (and only those each operation can
// give), whole (m/z, intensity) pairs bounded by the file, filter texts
// built the same way twice, and no answers once closed.

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "rawfile/native/file_bytes.h"
#include "rawfile/native/native_raw_file.h"

namespace fuzz {

// File bytes that, like a file read with pread, hand out cursors over the
// caller's buffer; each read puts the bytes in a new block of exactly their
// size, so AddressSanitizer reports a read past what was asked for and any
// use of a cursor over a buffer that has been read into again.
class CopyingBytes : public rawfile::native::FileBytes {
public:
    CopyingBytes(const uint8_t* data, uint64_t size) : data_(data), size_(size) {}
    uint64_t size() const override { return size_; }
    rawfile::native::ByteReader Read(uint64_t offset, uint64_t length,
                                     rawfile::native::ReadBuffer& buffer) const override {
        if (offset > size_ || length > size_ - offset) {
            rawfile::native::ByteReader failed;
            failed.Fail();
            return failed;
        }
        buffer = rawfile::native::ReadBuffer(data_ + offset, data_ + offset + length);
        return rawfile::native::ByteReader(buffer.data(), length);
    }

private:
    const uint8_t* data_;
    uint64_t size_;
};

inline void ExerciseScan(rawfile::native::NativeRawFile& file, int32_t scan, bool inRange, size_t fileSize) {
    using namespace rawfile;
    std::string filter;
    const Status filterStatus = file.GetFilterText(scan, &filter);
    std::string again;
    Require(file.GetFilterText(scan, &again) == filterStatus && again == filter, "filter text repeats");
    double minutes = 0;
    const Status timeStatus = file.GetRetentionTime(scan, &minutes);
    int32_t order = 0;
    const Status orderStatus = file.GetMsOrder(scan, &order);
    std::vector<double> pairs = {1.0, 2.0};
    const Status massStatus = file.GetMassList(scan, &pairs);
    uint32_t word = 0;
    const Status wordStatus = file.GetPacketTypeWord(scan, &word);
    ScanHeaderValues header;
    const Status headerStatus = file.GetScanHeader(scan, &header);
    TrailerValue missing;
    const Status missingStatus = file.GetTrailerValue(scan, "No Such Label:", &missing);
    if (!inRange) {
        Require(filterStatus == kNoSuchScan && timeStatus == kNoSuchScan && orderStatus == kNoSuchScan &&
                    massStatus == kNoSuchScan && wordStatus == kNoSuchScan && missingStatus == kNoSuchScan &&
                    headerStatus == kNoSuchScan,
                "a scan outside the range is no such scan");
        return;
    }
    Require(filterStatus == kOk || filterStatus == kDamaged || filterStatus == kUnsupported, "filter text status");
    Require(timeStatus == kOk && wordStatus == kOk && headerStatus == kOk, "the index answers every scan in the range");
    Require(header.startTime == minutes || (header.startTime != header.startTime && minutes != minutes),
            "the header's start time is the retention time");
    Require(orderStatus == kOk || orderStatus == kDamaged, "ms order status");
    Require(massStatus == kOk || massStatus == kDamaged || massStatus == kUnsupported, "mass list status");
    // A scan whose event cannot be read fails before its packet is looked at
    // and leaves the list as it was; a packet that cannot be decoded leaves
    // no points.
    Require(massStatus == kOk || orderStatus != kOk || pairs.empty(), "a failed packet leaves no points");
    Require(pairs.size() % 2 == 0, "mass list holds whole pairs");
    Require(pairs.size() / 2 <= fileSize, "mass list bounded by the file");
    Require(missingStatus == kNoSuchLabel, "a label the header lacks is no such label");
    if (orderStatus == kDamaged) {
        Require(filterStatus == kDamaged && massStatus == kDamaged, "an unreadable event fails every answer from it");
    }
    for (const auto& field : file.trailerHeader().fields) {
        TrailerValue value;
        const Status status = file.GetTrailerValue(scan, field.label, &value);
        Require(status == kOk || status == kDamaged, "trailer value status");
    }
}

// Exercises and closes the file.
inline void ExerciseFile(rawfile::native::NativeRawFile& file, size_t fileSize) {
    using namespace rawfile;
    Require(file.SetCurrentController(0, 1) == kOk, "the mass spectrometer is controller 0, 1");
    Require(file.SetCurrentController(1, 1) == kUnsupported, "other controllers are unsupported");
    int32_t first = 0;
    int32_t last = 0;
    int32_t rangeFirst = 0;
    int32_t rangeLast = 0;
    Require(file.GetFirstScan(&first) == kOk && file.GetLastScan(&last) == kOk, "first and last scan");
    Require(file.GetScanRange(&rangeFirst, &rangeLast) == kOk, "scan range");
    Require(rangeFirst == first && rangeLast == last, "scan range agrees");
    Require(first >= 1 || last < first, "a range of scans starts at 1 or later");
    double created = 0;
    Require(file.GetCreationDate(&created) == kOk, "creation date");
    InstrumentTexts instrument;
    Require(file.GetInstrumentTexts(&instrument) == kOk, "instrument texts");
    Require(instrument.model == file.instrument().model, "instrument model as read");

    // One scan before and one after the range; 64-bit so the ends of the
    // integer range cannot wrap.
    for (int64_t number = static_cast<int64_t>(first) - 1; number <= static_cast<int64_t>(last) + 1; ++number) {
        if (number < INT32_MIN || number > INT32_MAX) {
            continue;
        }
        ExerciseScan(file, static_cast<int32_t>(number), number >= first && number <= last, fileSize);
    }
    // Scans asked again after the cache has turned over answer as before.
    if (first <= last) {
        std::string text;
        std::string again;
        const Status status = file.GetFilterText(first, &text);
        Require(file.GetFilterText(first, &again) == status && again == text, "filter text repeats after others");
    }

    Require(file.Close() == kOk, "close");
    std::string filter;
    Require(file.GetFilterText(first, &filter) == kNotOpen, "no filter once closed");
    std::vector<double> pairs;
    Require(file.GetMassList(first, &pairs) == kNotOpen, "no mass list once closed");
    Require(file.SetCurrentController(0, 1) == kNotOpen, "no controller once closed");
    Require(file.Close() == kNotOpen, "second close");
}

}  // namespace fuzz
