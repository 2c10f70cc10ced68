#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com.h"
#include "platform/window.h"

// One instance of the RAW reader component's control, created as a hidden
// child of a parent window by the component's class id and called through
// its dispatch interface. Every method answers the control's 32-bit result,
// 1 meaning success. A dispatch call that cannot be made at all ends the run
// with a line on standard error naming the operation and the code.
class CXRawfile : public platform::CWnd {
public:
    CXRawfile() = default;
    ~CXRawfile() override;

    // Creates the control inside `parent`; false when it cannot be created.
    bool Create(platform::CWnd* parent);

    int32_t Open(const std::string& path);
    int32_t Close();
    int32_t SetCurrentController(int32_t type, int32_t number);
    int32_t GetFirstSpectrumNumber(int32_t* scan);
    int32_t GetLastSpectrumNumber(int32_t* scan);
    int32_t RTFromScanNum(int32_t scan, double* minutes);
    int32_t GetFilterForScanNum(int32_t scan, platform::BSTR* filter);
    int32_t GetMassListFromScanNum(int32_t* scan, const std::string& filter, int32_t cutoffType, int32_t cutoffValue,
                                   int32_t maxPeaks, int32_t centroid, platform::VARIANT* massList,
                                   platform::VARIANT* peakFlags, int32_t* size);
    int32_t GetTrailerExtraValueForScanNum(int32_t scan, const std::string& label, platform::VARIANT* value);
    int32_t GetCreationDate(double* date);
    int32_t GetInstName(platform::BSTR* name);
    int32_t GetInstModel(platform::BSTR* model);
    int32_t GetInstSerialNumber(platform::BSTR* serialNumber);
    int32_t GetScanHeaderInfoForScanNum(int32_t scan, int32_t* packets, double* startTime, double* lowMass,
                                        double* highMass, double* tic, double* basePeakMass, double* basePeakIntensity,
                                        int32_t* channels, int32_t* uniformTime, double* frequency);

private:
    int32_t Call(const char* operation, int32_t dispatchId, const std::vector<platform::DispArg>& args);
};
