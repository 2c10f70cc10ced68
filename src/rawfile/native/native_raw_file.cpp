#include "rawfile/native/native_raw_file.h"

#include <algorithm>
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
// The header chain and the structures at the error log address are read in
// a window that starts at this size and grows while they do not fit.
constexpr uint64_t kFirstHeaderWindow = 64 * 1024;
constexpr uint64_t kLargestHeaderWindow = 256ull * 1024 * 1024;

std::string StructureFailure(Status status) {
    return status == kFailed ? "no mass spectrometer controller (no run header with scan events)"
                             : "truncated or damaged file";
}

}  // namespace

Status NativeRawFile::Open(const std::string& path, std::unique_ptr<NativeRawFile>* file, std::string* reason) {
    file->reset();
    std::unique_ptr<DescriptorBytes> bytes = DescriptorBytes::Open(path);
    if (!bytes) {
        if (reason != nullptr) {
            *reason = std::string("cannot read the file (") + std::strerror(errno) + ")";
        }
        return kCannotRead;
    }
    return OpenBytes(std::move(bytes), file, reason);
}

Status NativeRawFile::OpenBytes(std::unique_ptr<FileBytes> bytes, std::unique_ptr<NativeRawFile>* file,
                                std::string* reason) {
    file->reset();
    std::unique_ptr<NativeRawFile> opened(new NativeRawFile());
    opened->bytes_ = std::move(bytes);
    if (const Status status = opened->ReadStructures(); status != kOk) {
        if (reason != nullptr) {
            *reason = opened->openFailure_.empty() ? StructureFailure(status) : opened->openFailure_;
        }
        return status;
    }
    opened->instrument_ = ReadInstrumentInfo(*opened->bytes_, opened->run_.instrumentAddress);
    *file = std::move(opened);
    return kOk;
}

Status NativeRawFile::ReadHeaderChain(RawFileInfo* info) {
    ReadBuffer buffer;
    ByteReader header = bytes_->ReadUpTo(0, kFileHeaderSize, buffer);
    if (const Status status = ReadFileHeader(header, &header_, &openFailure_); status != kOk) {
        return status;
    }
    // The sequencer row, the autosampler information and the raw file
    // information follow the header; their texts make their length.
    Status status = kDamaged;
    ReadGrowing(*bytes_, kFileHeaderSize, kFirstHeaderWindow, kLargestHeaderWindow, buffer, [&](ByteReader in) {
        status = kDamaged;
        if (!SkipSequencerRow(in, header_.version) || !SkipAutosamplerInfo(in)) {
            return false;
        }
        status = ReadRawFileInfo(in, header_.version, info);
        return status == kOk;
    });
    return status;
}

Status NativeRawFile::ReadStructures() {
    RawFileInfo info;
    if (const Status status = ReadHeaderChain(&info); status != kOk) {
        return status;
    }
    // The mass spectrometer: the first controller whose run header has scan events.
    bool found = false;
    for (uint64_t address : info.runHeaderAddresses) {
        RunHeader candidate;
        if (const Status status = ReadRunHeader(*bytes_, address, header_.version, &candidate); status != kOk) {
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
    if (!AddressesLieInFile(run_, bytes_->size())) {
        return kDamaged;
    }
    if (const Status status = CountScans(run_, &scanCount_); status != kOk) {
        return status;
    }
    if (const Status status = index_.Open(*bytes_, run_.scanIndexAddress, scanCount_, header_.version); status != kOk) {
        return status;
    }
    if (const Status status = IndexScanEvents(*bytes_, run_, scanCount_, header_.version, &events_); status != kOk) {
        return status;
    }
    return ReadTrailerHeader();
}

Status NativeRawFile::ReadTrailerHeader() {
    // The error log, the event hierarchy and the trailer header follow each
    // other at the error log address.
    Status status = kDamaged;
    ReadBuffer buffer;
    ReadGrowing(*bytes_, run_.errorLogAddress, kFirstHeaderWindow, kLargestHeaderWindow, buffer, [&](ByteReader in) {
        status = kDamaged;
        if (!SkipErrorLog(in, run_.errorLogCount) || !ReadScanEventHierarchy(in, run_.errorLogAddress, &events_)) {
            return false;
        }
        status = ReadGenericDataHeader(in, &trailerHeader_);
        return status == kOk;
    });
    if (status != kOk) {
        return status;
    }
    const uint64_t recordSize = trailerHeader_.recordSize;
    const uint64_t size = bytes_->size();
    if (recordSize != 0 && scanCount_ > size / recordSize) {
        return kDamaged;
    }
    const uint64_t recordsSize = scanCount_ * recordSize;
    return run_.trailerExtraAddress <= size && recordsSize <= size - run_.trailerExtraAddress ? kOk : kDamaged;
}

Status NativeRawFile::SetCurrentController(int32_t type, int32_t number) {
    if (!bytes_) {
        return kNotOpen;
    }
    return type == kMassSpectrometerType && number == kFirstControllerNumber ? kOk : kUnsupported;
}

Status NativeRawFile::GetFirstScan(int32_t* scan) {
    if (!bytes_) {
        return kNotOpen;
    }
    *scan = scanCount_ == 0 ? kEmptyRangeFirst : run_.firstScan;
    return kOk;
}

Status NativeRawFile::GetLastScan(int32_t* scan) {
    if (!bytes_) {
        return kNotOpen;
    }
    *scan = scanCount_ == 0 ? kEmptyRangeLast : run_.lastScan;
    return kOk;
}

Status NativeRawFile::GetCreationDate(double* date) {
    if (!bytes_) {
        return kNotOpen;
    }
    *date = FiletimeToAutomationDate(header_.creationFiletime);
    return kOk;
}

Status NativeRawFile::Ordinal(int32_t scan, uint64_t* ordinal) const {
    if (!bytes_) {
        return kNotOpen;
    }
    if (scanCount_ == 0 || scan < run_.firstScan || scan > run_.lastScan) {
        return kNoSuchScan;
    }
    *ordinal = static_cast<uint64_t>(static_cast<int64_t>(scan) - run_.firstScan);
    return kOk;
}

NativeRawFile::CachedScan& NativeRawFile::Slot(int32_t scan, uint64_t ordinal) {
    CachedScan& slot = cache_[ordinal % kCacheSlots];
    if (slot.scan != scan) {
        ReadBuffer kept = std::move(slot.trailerBytes);
        slot = CachedScan();
        slot.scan = scan;
        slot.ordinal = ordinal;
        slot.trailerBytes = std::move(kept);
    }
    return slot;
}

NativeRawFile::CachedScan* NativeRawFile::Scan(int32_t scan, Status* status) {
    uint64_t ordinal = 0;
    if (*status = Ordinal(scan, &ordinal); *status != kOk) {
        return nullptr;
    }
    CachedScan& slot = Slot(scan, ordinal);
    if (!slot.eventRead) {
        slot.eventStatus = ReadEvent(ordinal, &slot.event);
        slot.eventRead = true;
    }
    *status = slot.eventStatus;
    return *status == kOk ? &slot : nullptr;
}

Status NativeRawFile::LoadEventBlock(uint64_t block) {
    eventBlock_ = kNoBlock;
    eventStarts_.clear();
    const EventSpan span = events_.BlockSpan(block);
    eventBlockBytes_ = bytes_->Read(span.offset, span.size, eventBuffer_);
    const uint64_t first = block * ScanEventTable::kEventsPerBlock;
    const uint64_t count = std::min(ScanEventTable::kEventsPerBlock, scanCount_ - first);
    ByteReader in = eventBlockBytes_;
    for (uint64_t i = 0; i < count && in.ok(); ++i) {
        eventStarts_.push_back(in.position());
        SkipScanEvent(in, events_.layout);
    }
    if (!in.ok() || in.remaining() != 0) {
        return kDamaged;  // the file no longer holds what the walk at open found
    }
    eventStarts_.push_back(in.position());
    eventBlock_ = block;
    return kOk;
}

Status NativeRawFile::ReadEvent(uint64_t ordinal, ScanEvent* event) {
    if (events_.perScan) {
        const uint64_t block = ordinal / ScanEventTable::kEventsPerBlock;
        if (block != eventBlock_) {
            if (const Status status = LoadEventBlock(block); status != kOk) {
                return status;
            }
        }
        const uint64_t i = ordinal % ScanEventTable::kEventsPerBlock;
        ByteReader in = eventBlockBytes_.Region(eventStarts_[i], eventStarts_[i + 1] - eventStarts_[i]);
        return ReadScanEvent(in, events_.layout, event) ? kOk : kDamaged;
    }
    const ScanIndexEntry* entry = nullptr;
    if (const Status status = index_.Entry(ordinal, &entry); status != kOk) {
        return status;
    }
    if (entry->segmentNumber >= events_.templates.size() ||
        entry->eventNumber >= events_.templates[entry->segmentNumber].size()) {
        return kDamaged;  // the index names a template the method does not have
    }
    const EventSpan span = events_.templates[entry->segmentNumber][entry->eventNumber];
    ByteReader in = bytes_->Read(span.offset, span.size, eventBuffer_);
    return in.ok() && ReadScanEvent(in, events_.layout, event) ? kOk : kDamaged;
}

const ByteReader& NativeRawFile::TrailerRecord(CachedScan& cached) {
    if (!cached.trailerRead) {
        const uint64_t recordSize = trailerHeader_.recordSize;
        cached.trailer =
            bytes_->Read(run_.trailerExtraAddress + cached.ordinal * recordSize, recordSize, cached.trailerBytes);
        cached.trailerRead = true;
    }
    return cached.trailer;
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

Status NativeRawFile::IndexEntry(int32_t scan, const ScanIndexEntry** entry) {
    uint64_t ordinal = 0;
    if (const Status status = Ordinal(scan, &ordinal); status != kOk) {
        return status;
    }
    return index_.Entry(ordinal, entry);
}

Status NativeRawFile::GetRetentionTime(int32_t scan, double* minutes) {
    const ScanIndexEntry* entry = nullptr;
    if (const Status status = IndexEntry(scan, &entry); status != kOk) {
        return status;
    }
    *minutes = entry->retentionTime;
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
    const ScanIndexEntry* entry = nullptr;
    if (const Status indexStatus = index_.Entry(cached->ordinal, &entry); indexStatus != kOk) {
        pairs->clear();
        return indexStatus;
    }
    return DecodeMassList(*bytes_, header_.version, run_.dataAddress, *entry, cached->event, packetBuffer_, pairs);
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
    CachedScan& cached = Slot(scan, ordinal);
    const ByteReader& record = TrailerRecord(cached);
    return record.ok() ? ReadFieldValue(record, *field, value) : kDamaged;
}

Status NativeRawFile::GetScanHeader(int32_t scan, ScanHeaderValues* values) {
    const ScanIndexEntry* entry = nullptr;
    if (const Status status = IndexEntry(scan, &entry); status != kOk) {
        return status;
    }
    *values = ScanHeaderValues();
    values->packetCount = static_cast<int32_t>(entry->packetSize);
    values->startTime = entry->retentionTime;
    values->lowMass = entry->lowMass;
    values->highMass = entry->highMass;
    values->totalIonCurrent = entry->totalIonCurrent;
    values->basePeakMass = entry->basePeakMass;
    values->basePeakIntensity = entry->basePeakIntensity;
    return kOk;
}

Status NativeRawFile::GetInstrumentTexts(InstrumentTexts* texts) {
    if (!bytes_) {
        return kNotOpen;
    }
    texts->name = instrument_.name;
    texts->model = instrument_.model;
    texts->serialNumber = instrument_.serialNumber;
    return kOk;
}

Status NativeRawFile::GetPacketTypeWord(int32_t scan, uint32_t* word) {
    const ScanIndexEntry* entry = nullptr;
    if (const Status status = IndexEntry(scan, &entry); status != kOk) {
        return status;
    }
    *word = entry->packetTypeWord;
    return kOk;
}

Status NativeRawFile::Close() {
    if (!bytes_) {
        return kNotOpen;
    }
    cache_ = {};
    index_ = ScanIndex();
    eventBlock_ = kNoBlock;
    events_ = ScanEventTable();
    bytes_.reset();
    return kOk;
}

}  // namespace rawfile::native
