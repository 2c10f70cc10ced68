#pragma once

// The RAW reader component as a control inside brisel's hidden dialog. Every
// method is one dispatch call by id and answers the control's 32-bit result:
// 1 success, any other value a failure code.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com.h"
#include "platform/window.h"

class CDXRawfile : public platform::CWnd {
public:
    // The answer of every method when the call cannot be made at all (no
    // control was created, or the control does not know the call).
    static constexpr int32_t kCallNotMade = 0;

    // Creates the control by the component's class id as a hidden child of
    // `parent`. False when it cannot be created; every method then fails.
    bool Create(platform::CWnd* parent);

    int32_t Open(const std::string& path);
    // Why the last open failed (empty when not known). *message as for the filter text.
    int32_t GetErrorMessage(platform::BSTR* message);
    int32_t SetCurrentController(int32_t type, int32_t number);
    int32_t GetFirstSpectrumNumber(int32_t* scan);
    int32_t GetLastSpectrumNumber(int32_t* scan);
    int32_t GetCreationDate(double* date);
    int32_t RTFromScanNum(int32_t scan, double* minutes);
    // *filter must be null or a string the caller has released: it is overwritten.
    int32_t GetFilterForScanNum(int32_t scan, platform::BSTR* filter);
    int32_t GetMassListFromScanNum(int32_t* scan, const char* filter, int32_t cutoffType, int32_t cutoffValue,
                                   int32_t maxPeaks, int32_t centroid, platform::VARIANT* massList,
                                   platform::VARIANT* peakFlags, int32_t* size);

private:
    int32_t Call(int32_t dispatchId, const std::vector<platform::DispArg>& args);
};
