#pragma once

// The component object: answers the RAW reader's operations through the
// reader interface (IXRawfile, every version 1 to 5: status 0 success, a
// positive failure, a negative component error) and through dispatch ids
// (IDispatch: result 1 success, any other value a failure code), from the
// backend of the file it has open.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/xrawfile.h"
#include "platform/com.h"
#include "rawfile/backend.h"

namespace rawfile {

// The control form's result for a status: 0 becomes 1 (success), a failure
// without a code of its own (kScriptedFailure) becomes 0, any other code
// stays as it is.
int32_t ControlResult(Status status);

class RawComponent final : public xrawfile::IXRawfile, public platform::IDispatch {
public:
    RawComponent();
    RawComponent(const RawComponent&) = delete;
    RawComponent& operator=(const RawComponent&) = delete;

    platform::HRESULT QueryInterface(const std::string& iid, void** out) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    platform::HRESULT Open(const char* path) override;
    platform::HRESULT Close() override;
    platform::HRESULT GetCreationDate(double* date) override;
    platform::HRESULT SetCurrentController(int32_t type, int32_t number) override;
    platform::HRESULT GetFirstSpectrumNumber(int32_t* scan) override;
    platform::HRESULT GetLastSpectrumNumber(int32_t* scan) override;
    platform::HRESULT RTFromScanNum(int32_t scan, double* minutes) override;
    platform::HRESULT GetFilterForScanNum(int32_t scan, platform::BSTR* filter) override;
    platform::HRESULT GetMassListFromScanNum(int32_t* scan, const char* filter, int32_t cutoffType, int32_t cutoffValue,
                                             int32_t maxPeaks, int32_t centroid, double* peakWidth,
                                             platform::VARIANT* massList, platform::VARIANT* peakFlags,
                                             int32_t* size) override;
    platform::HRESULT GetTrailerExtraValueForScanNum(int32_t scan, const char* label,
                                                     platform::VARIANT* value) override;

    platform::HRESULT GetInstName(platform::BSTR* name) override;
    platform::HRESULT GetInstModel(platform::BSTR* model) override;
    platform::HRESULT GetInstSerialNumber(platform::BSTR* serialNumber) override;
    platform::HRESULT GetScanHeaderInfoForScanNum(int32_t scan, int32_t* packets, double* startTime, double* lowMass,
                                                  double* highMass, double* tic, double* basePeakMass,
                                                  double* basePeakIntensity, int32_t* channels, int32_t* uniformTime,
                                                  double* frequency) override;

    platform::HRESULT Invoke(int32_t dispatchId, const std::vector<platform::DispArg>& args, int32_t* result) override;

private:
    ~RawComponent() override;

    // Each answers a backend status; output pointers are checked by the callers.
    Status OpenFile(std::string_view path);
    Status CloseFile();
    Status MassList(int32_t* scan, std::string_view filter, int32_t cutoffType, int32_t cutoffValue, int32_t maxPeaks,
                    int32_t centroid, platform::VARIANT* massList, platform::VARIANT* peakFlags, int32_t* size);
    Status Filter(int32_t scan, platform::BSTR* filter);
    Status Trailer(int32_t scan, std::string_view label, platform::VARIANT* value);
    // One of the instrument's texts, chosen by `field`, into an in-out string.
    Status InstrumentText(std::string InstrumentTexts::*field, platform::BSTR* text);

    platform::RefCount refs_;
    std::unique_ptr<RawBackend> backend_;
    std::vector<double> pairs_;  // the last mass list asked for, its room kept for the next
};

}  // namespace rawfile
