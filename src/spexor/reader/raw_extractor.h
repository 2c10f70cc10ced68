#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "spexor/reader/mass_list.h"
#include "spexor/reader/scan_header.h"

namespace platform {
class CWnd;
struct VARIANT;
}  // namespace platform
class CXRawfile;

// The scan reader: the only road by which spexor reads a RAW file. This class
// reaches the component as a control hosted in the driver's hidden window;
// NewRawExtractor derives from it and reaches the component through its
// reader interface. The interpretation operations (scan kind, activation,
// analyzer, charge, precursor, injection time) are shared by both.
class RawExtractor {
public:
    explicit RawExtractor(platform::CWnd* parent);
    RawExtractor(const RawExtractor&) = delete;
    RawExtractor& operator=(const RawExtractor&) = delete;
    virtual ~RawExtractor();

    virtual void Open(const std::string& path);
    virtual void Close();
    virtual int GetFirstScan();
    virtual int GetLastScan();
    // kind: 0 MS1, 1 to 3 MS2, 4 MS3.
    virtual bool IsScanKind(int scan, int kind);
    // activation: 0 HCD, 1 CID, 2 ETD.
    virtual bool HasActivation(int scan, int activation);
    virtual bool IsCentroidScan(int scan);
    virtual void GetMassList(MassList& list, const std::string& scanFilter);
    virtual void GetAnalyzer(std::string& analyzer, int scan);
    virtual void GetActivation(std::string& activation, int scan);
    virtual std::pair<int, int> GetChargeRange(std::pair<int, int>& range, int scan);
    virtual void GetFilter(int scan, std::string& filter);
    virtual double GetRetentionTime(int scan);     // seconds
    virtual double GetIonInjectionTime(int scan);  // milliseconds
    virtual double GetPrecursorMz(int scan);
    virtual double GetMonoisotopicMz(int scan);
    virtual bool IsAvailable();
    virtual double GetTrailerDouble(int scan, const std::string& label);
    virtual int GetTrailerInt(int scan, const std::string& label);

    // What a full description of the file and its scans needs beyond the
    // questions above. None of them prints anything: an answer that cannot
    // be had is absent (false, empty texts).
    virtual bool GetCreationDate(double& date);  // automation date: days since 1899-12-30
    virtual void GetInstrument(InstrumentIdentity& instrument);
    virtual bool GetScanHeader(int scan, ScanHeader& header);
    // A trailer value by its exact label, into `value` (which the caller
    // clears); false when the scan has no such value.
    virtual bool FindTrailerValue(int scan, const std::string& label, platform::VARIANT& value);
    // A numeric (or yes/no) trailer value, and a text one.
    std::optional<double> FindTrailerNumber(int scan, const std::string& label);
    std::optional<std::string> FindTrailerText(int scan, const std::string& label);

protected:
    // For derived readers that reach the component without a control.
    RawExtractor();

    // The last filter text the component gave, asked for again for the same
    // scan (every question about a scan reads its filter text); a failed
    // fetch is not remembered, so it is asked for, and reported, each time.
    bool RecallFilter(int scan, std::string& filter) const;
    void RememberFilter(int scan, const std::string& filter);
    void ForgetFilter() { filterScan_.reset(); }

    std::unique_ptr<CXRawfile> control;
    bool available = false;

private:
    // The scan's filter text fetched afresh, from the empty text, into
    // questionFilter_.
    const std::string& FilterForQuestion(int scan);

    std::optional<int> filterScan_;
    std::string filter_;
    // The text the filter-based questions work on, kept from question to
    // question so that fetching it needs no allocation.
    std::string questionFilter_;
};
