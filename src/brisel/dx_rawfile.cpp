#include "brisel/dx_rawfile.h"

#include "common/xrawfile.h"

using platform::DispArg;

bool CDXRawfile::Create(platform::CWnd* parent) { return CreateControl(xrawfile::kClassId, parent); }

int32_t CDXRawfile::Call(int32_t dispatchId, const std::vector<DispArg>& args) {
    int32_t result = kCallNotMade;
    try {
        InvokeHelper(dispatchId, &result, args);
    } catch (const platform::DispatchError&) {
        return kCallNotMade;
    }
    return result;
}

int32_t CDXRawfile::Open(const std::string& path) { return Call(xrawfile::kDispOpen, {DispArg::Bstr(path.c_str())}); }

int32_t CDXRawfile::GetErrorMessage(platform::BSTR* message) {
    return Call(xrawfile::kDispGetErrorMessage, {DispArg::PBstr(message)});
}

int32_t CDXRawfile::SetCurrentController(int32_t type, int32_t number) {
    return Call(xrawfile::kDispSetCurrentController, {DispArg::I4(type), DispArg::I4(number)});
}

int32_t CDXRawfile::GetFirstSpectrumNumber(int32_t* scan) {
    return Call(xrawfile::kDispGetFirstSpectrumNumber, {DispArg::PI4(scan)});
}

int32_t CDXRawfile::GetLastSpectrumNumber(int32_t* scan) {
    return Call(xrawfile::kDispGetLastSpectrumNumber, {DispArg::PI4(scan)});
}

int32_t CDXRawfile::GetCreationDate(double* date) {
    return Call(xrawfile::kDispGetCreationDate, {DispArg::PDate(date)});
}

int32_t CDXRawfile::RTFromScanNum(int32_t scan, double* minutes) {
    return Call(xrawfile::kDispRTFromScanNum, {DispArg::I4(scan), DispArg::PR8(minutes)});
}

int32_t CDXRawfile::GetFilterForScanNum(int32_t scan, platform::BSTR* filter) {
    return Call(xrawfile::kDispGetFilterForScanNum, {DispArg::I4(scan), DispArg::PBstr(filter)});
}

int32_t CDXRawfile::GetMassListFromScanNum(int32_t* scan, const char* filter, int32_t cutoffType, int32_t cutoffValue,
                                           int32_t maxPeaks, int32_t centroid, platform::VARIANT* massList,
                                           platform::VARIANT* peakFlags, int32_t* size) {
    return Call(xrawfile::kDispGetMassListFromScanNum,
                {DispArg::PI4(scan), DispArg::Bstr(filter), DispArg::I4(cutoffType), DispArg::I4(cutoffValue),
                 DispArg::I4(maxPeaks), DispArg::I4(centroid), DispArg::PVariant(massList),
                 DispArg::PVariant(peakFlags), DispArg::PI4(size)});
}
