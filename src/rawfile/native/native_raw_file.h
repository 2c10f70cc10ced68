#pragma once

// A real Thermo RAW file behind our component. Opening reads the header
// chain down to the mass spectrometer's run header, the scan index and the
// trailer header, and walks the scan event stream once; everything per scan
// (event, filter text, packet, trailer record) is read from the file when
// asked for, into buffers kept from scan to scan.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_bytes.h"
#include "rawfile/native/file_header.h"
#include "rawfile/native/generic_data.h"
#include "rawfile/native/instrument_info.h"
#include "rawfile/native/raw_file_info.h"
#include "rawfile/native/run_header.h"
#include "rawfile/native/scan_event_stream.h"
#include "rawfile/native/scan_index.h"

namespace rawfile::native {

class NativeRawFile : public RawBackend {
public:
    // Opens and indexes the file; on failure *file stays null and, when
    // `reason` is given, it receives a one-line reason for a reader ("not a
    // Thermo RAW file", "format version 70 is not supported (57 to 66 are)",
    // "cannot read the file (No such file or directory)", ...).
    static Status Open(const std::string& path, std::unique_ptr<NativeRawFile>* file, std::string* reason = nullptr);
    // The same for a file's bytes given some other way (in memory, for fuzzing).
    static Status OpenBytes(std::unique_ptr<FileBytes> bytes, std::unique_ptr<NativeRawFile>* file,
                            std::string* reason = nullptr);

    Status SetCurrentController(int32_t type, int32_t number) override;
    Status GetFirstScan(int32_t* scan) override;
    Status GetLastScan(int32_t* scan) override;
    Status GetCreationDate(double* date) override;
    Status GetFilterText(int32_t scan, std::string* text) override;
    Status GetRetentionTime(int32_t scan, double* minutes) override;
    Status GetMsOrder(int32_t scan, int32_t* order) override;
    Status GetMassList(int32_t scan, std::vector<double>* pairs) override;
    Status GetTrailerValue(int32_t scan, std::string_view label, TrailerValue* value) override;
    Status GetScanHeader(int32_t scan, ScanHeaderValues* values) override;
    Status GetInstrumentTexts(InstrumentTexts* texts) override;
    Status Close() override;

    // File-level facts beyond the component's operations, for the dump tool.
    uint32_t version() const { return header_.version; }
    const GenericDataHeader& trailerHeader() const { return trailerHeader_; }
    // The mass spectrometer's identification; empty texts when its block is damaged.
    const InstrumentInfo& instrument() const { return instrument_; }
    // The raw packet type word of a scan (low 16 bits: the packet type).
    Status GetPacketTypeWord(int32_t scan, uint32_t* word);

private:
    struct CachedScan {
        int32_t scan = 0;  // 0: slot empty
        uint64_t ordinal = 0;
        bool eventRead = false;
        Status eventStatus = kFailed;
        ScanEvent event;
        bool filterBuilt = false;
        Status filterStatus = kFailed;
        std::string filter;
        bool trailerRead = false;
        ByteReader trailer;       // the scan's trailer record, in `trailerBytes` (failed when unreadable)
        ReadBuffer trailerBytes;  // kept when the slot goes to another scan
    };

    NativeRawFile() = default;
    Status ReadHeaderChain(RawFileInfo* info);
    Status ReadStructures();
    Status ReadTrailerHeader();
    // The ordinal of a scan number, or kNoSuchScan.
    Status Ordinal(int32_t scan, uint64_t* ordinal) const;
    // The scan index entry of a scan number.
    Status IndexEntry(int32_t scan, const ScanIndexEntry** entry);
    // Decodes the event of the scan at `ordinal`, from the stream or its template.
    Status ReadEvent(uint64_t ordinal, ScanEvent* event);
    // Reads one block of the per-scan event stream and finds where its events start.
    Status LoadEventBlock(uint64_t block);
    // The scan's trailer record, read once per cached scan.
    const ByteReader& TrailerRecord(CachedScan& cached);
    // The cache slot of a scan, emptied for it when it held another.
    CachedScan& Slot(int32_t scan, uint64_t ordinal);
    // The scan's decoded event, cached; null with *status set on failure.
    CachedScan* Scan(int32_t scan, Status* status);

    std::unique_ptr<FileBytes> bytes_;
    ReadBuffer eventBuffer_;
    static constexpr uint64_t kNoBlock = UINT64_MAX;
    uint64_t eventBlock_ = kNoBlock;  // the block of the event stream held in eventBuffer_
    ByteReader eventBlockBytes_;
    std::vector<uint64_t> eventStarts_;  // where each of its events starts, then its end
    ReadBuffer packetBuffer_;
    FileHeader header_;
    RunHeader run_;
    uint64_t scanCount_ = 0;
    ScanIndex index_;
    ScanEventTable events_;
    GenericDataHeader trailerHeader_;
    static constexpr size_t kCacheSlots = 16;
    std::array<CachedScan, kCacheSlots> cache_;
    InstrumentInfo instrument_;
    std::string openFailure_;  // the reason a structure reader gave for failing, if it gave one
};

}  // namespace rawfile::native
