#pragma once

#include "common/xrawfile.h"
#include "spexor/reader/raw_extractor.h"

// The scan reader that reaches the component through its reader interface
// (found by ProgID), used when the control cannot be created.
class NewRawExtractor : public RawExtractor {
public:
    NewRawExtractor();
    ~NewRawExtractor() override;

    void Open(const std::string& path) override;
    void Close() override;
    int GetFirstScan() override;
    int GetLastScan() override;
    void GetMassList(MassList& list, const std::string& scanFilter) override;
    void GetFilter(int scan, std::string& filter) override;
    double GetRetentionTime(int scan) override;
    double GetTrailerDouble(int scan, const std::string& label) override;
    int GetTrailerInt(int scan, const std::string& label) override;
    bool GetCreationDate(double& date) override;
    void GetInstrument(InstrumentIdentity& instrument) override;
    bool GetScanHeader(int scan, ScanHeader& header) override;
    bool FindTrailerValue(int scan, const std::string& label, platform::VARIANT& value) override;

private:
    xrawfile::IXRawfile* rawfile = nullptr;
};
