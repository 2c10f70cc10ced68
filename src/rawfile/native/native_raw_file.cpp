#include "rawfile/native/native_raw_file.h"

#include <cerrno>
#include <cstring>

#include "rawfile/native/error_log.h"
#include "rawfile/native/filter_text.h"
#include "rawfile/native/raw_file_info.h"
#include "rawfile/native/scan_packet.h"
#include "rawfile/native/sequencer_row.h"

namespace rawfile::native {

namespace {

constexpr int32_t kMassSpectrometerType = 0;
constexpr int32_t kFirstControllerNumber = 1;

// A file without scans answers the empty range 1 to 0 whatever it stores
// (0 to 0, or a range ending before it starts), so that a caller walking
// from first to last makes no pass instead of asking for a scan 0.
constexpr int32_t kEmptyRangeFirst = 1;
constexpr int32_t kEmptyRangeLast = 0;

// The reason for a failure of the structures after the file header, whose
// readers only tell damage (kDamaged) from a file without a mass
// spectrometer (kFailed).
std::string StructureFailure(Status status) {
    return status == kFailed ? "no mass spectrometer controller (no run header with scan events)"
                             : "truncated or damaged file";
}

}  // namespace

Status NativeRawFile::Open(const std::string& path, std::unique_ptr<NativeRawFile>* file, std::string* reason) {
    file->reset();
    std::unique_ptr<NativeRawFile> opened(new NativeRawFile());
    opened->map_ = MappedFile::Open(path);
    if (!opened->map_) {
        if (reason != nullptr) {
            *reason = std::string("cannot read the file (") + std::strerror(errno) + ")";
        }
        return kCannotRead;
    }
    opened->file_ = ByteReader(opened->map_->data(), opened->map_->size());
    if (const Status status = opened->ReadStructures(); status != kOk) {
        if (reason != nullptr) {
            *reason = opened->openFailure_.empty() ? StructureFailure(status) : opened->openFailure_;
        }
        return status;
    }
    opened->instrument_ = ReadInstrumentInfo(opened->file_, opened->run_.instrumentAddress);
    *file = std::move(opened);
    return kOk;
}

Status NativeRawFile::ReadStructures() {
    ByteReader in = file_;
    if (const Status status = ReadFileHeader(in, &header_, &openFailure_); status != kOk) {
        return status;
    }
    if (!SkipSequencerRow(in, header_.version) || !SkipAutosamplerInfo(in)) {
        return kDamaged;
    }
    RawFileInfo info;
    if (const Status status = ReadRawFileInfo(in, header_.version, &info); status != kOk) {
        return status;
    }
    // The mass spectrometer: the first controller whose run header has scan events.
    bool found = false;
    for (uint64_t address : info.runHeaderAddresses) {
        RunHeader candidate;
        if (const Status status = ReadRunHeader(file_, address, header_.version, &candidate); status != kOk) {
            return status;
        }
        if (candidate.scanEventAddress != 0) {
            run_ = candidate;
            found = true;
            break;
        }
    }
    if (!found) {
        return kFailed;
    }
    if (!AddressesLieInFile(run_, file_.size())) {
        return kDamaged;
    }
    if (const Status status = CountScans(run_, &scanCount_); status != kOk) {
        return status;
    }
    if (const Status status = index_.Open(file_, run_.scanIndexAddress, scanCount_, header_.version); status != kOk) {
        return status;
    }
    if (const Status status = IndexScanEvents(file_, run_, scanCount_, header_.version, &events_); status != kOk) {
        return status;
    }
    return ReadTrailerHeader();
}

Status NativeRawFile::ReadTrailerHeader() {
    ByteReader in = file_;
    in.Seek(run_.errorLogAddress);
    if (!SkipErrorLog(in, run_.errorLogCount) || !ReadScanEventHierarchy(in, &events_)) {
        return kDamaged;
    }
    if (const Status status = ReadGenericDataHeader(in, &trailerHeader_); status != kOk) {
        return status;
    }
    const uint64_t recordSize = trailerHeader_.recordSize;
    if (recordSize != 0 && scanCount_ > file_.size() / recordSize) {
        return kDamaged;
    }
    trailerRecords_ = file_.Region(run_.trailerExtraAddress, scanCount_ * recordSize);
    return trailerRecords_.ok() ? kOk : kDamaged;
}

Status NativeRawFile::SetCurrentController(int32_t type, int32_t number) {
    if (!map_) {
        return kNotOpen;
    }
    return type == kMassSpectrometerType && number == kFirstControllerNumber ? kOk : kUnsupported;
}

Status NativeRawFile::GetFirstScan(int32_t* scan) {
    if (!map_) {
        return kNotOpen;
    }
    *scan = scanCount_ == 0 ? kEmptyRangeFirst : run_.firstScan;
    return kOk;
}

Status NativeRawFile::GetLastScan(int32_t* scan) {
    if (!map_) {
        return kNotOpen;
    }
    *scan = scanCount_ == 0 ? kEmptyRangeLast : run_.lastScan;
    return kOk;
}

Status NativeRawFile::GetCreationDate(double* date) {
    if (!map_) {
        return kNotOpen;
    }
    *date = FiletimeToAutomationDate(header_.creationFiletime);
    return kOk;
}

Status NativeRawFile::Ordinal(int32_t scan, uint64_t* ordinal) const {
    if (!map_) {
        return kNotOpen;
    }
    if (scanCount_ == 0 || scan < run_.firstScan || scan > run_.lastScan) {
        return kNoSuchScan;
    }
    *ordinal = static_cast<uint64_t>(static_cast<int64_t>(scan) - run_.firstScan);
    return kOk;
}

NativeRawFile::CachedScan* NativeRawFile::Scan(int32_t scan, Status* status) {
    uint64_t ordinal = 0;
    if (*status = Ordinal(scan, &ordinal); *status != kOk) {
        return nullptr;
    }
    CachedScan& slot = cache_[ordinal % kCacheSlots];
    if (slot.scan != scan) {
        slot = CachedScan();
        slot.scan = scan;
        slot.ordinal = ordinal;
        slot.eventStatus = ReadEvent(ordinal, &slot.event);
    }
    *status = slot.eventStatus;
    return *status == kOk ? &slot : nullptr;
}

Status NativeRawFile::ReadEvent(uint64_t ordinal, ScanEvent* event) const {
    ByteReader in;
    if (events_.perScan) {
        const uint64_t offset = events_.offsets[ordinal];
        in = file_.Region(offset, run_.trailerExtraAddress - offset);
    } else {
        const ScanIndexEntry entry = index_.Entry(ordinal);
        if (entry.segmentNumber >= events_.templates.size() ||
            entry.eventNumber >= events_.templates[entry.segmentNumber].size()) {
            return kDamaged;  // the index names a template the method does not have
        }
        const uint64_t offset = events_.templates[entry.segmentNumber][entry.eventNumber];
        in = file_.Region(offset, file_.size() - offset);
    }
    return ReadScanEvent(in, events_.layout, event) ? kOk : kDamaged;
}

Status NativeRawFile::GetFilterText(int32_t scan, std::string* text) {
    Status status = kOk;
    CachedScan* cached = Scan(scan, &status);
    if (cached == nullptr) {
        return status;
    }
    if (!cached->filterBuilt) {
        cached->filterStatus = BuildFilterText(cached->event, run_.filterMassPrecision, &cached->filter);
        cached->filterBuilt = true;
    }
    if (cached->filterStatus == kOk) {
        *text = cached->filter;
    }
    return cached->filterStatus;
}

Status NativeRawFile::GetRetentionTime(int32_t scan, double* minutes) {
    uint64_t ordinal = 0;
    if (const Status status = Ordinal(scan, &ordinal); status != kOk) {
        return status;
    }
    *minutes = index_.Entry(ordinal).retentionTime;
    return kOk;
}

Status NativeRawFile::GetMsOrder(int32_t scan, int32_t* order) {
    Status status = kOk;
    const CachedScan* cached = Scan(scan, &status);
    if (cached == nullptr) {
        return status;
    }
    *order = cached->event.msOrder;
    return kOk;
}

Status NativeRawFile::GetMassList(int32_t scan, std::vector<double>* pairs) {
    Status status = kOk;
    const CachedScan* cached = Scan(scan, &status);
    if (cached == nullptr) {
        return status;
    }
    return DecodeMassList(file_, run_.dataAddress, index_.Entry(cached->ordinal), cached->event, pairs);
}

Status NativeRawFile::GetTrailerValue(int32_t scan, std::string_view label, TrailerValue* value) {
    uint64_t ordinal = 0;
    if (const Status status = Ordinal(scan, &ordinal); status != kOk) {
        return status;
    }
    const FieldDescriptor* field = FindField(trailerHeader_, label);
    if (field == nullptr) {
        return kNoSuchLabel;
    }
    const uint64_t recordSize = trailerHeader_.recordSize;
    return ReadFieldValue(trailerRecords_.Region(ordinal * recordSize, recordSize), *field, value);
}

Status NativeRawFile::GetPacketTypeWord(int32_t scan, uint32_t* word) {
    uint64_t ordinal = 0;
    if (const Status status = Ordinal(scan, &ordinal); status != kOk) {
        return status;
    }
    *word = index_.Entry(ordinal).packetTypeWord;
    return kOk;
}

Status NativeRawFile::Close() {
    if (!map_) {
        return kNotOpen;
    }
    cache_ = {};
    trailerRecords_ = ByteReader();
    index_ = ScanIndex();
    file_ = ByteReader();
    map_.reset();
    return kOk;
}

}  // namespace rawfile::native
