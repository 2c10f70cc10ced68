#include "spexor/reader/cxrawfile.h"

#include "common/xrawfile.h"
#include "spexor/reader/reader_messages.h"

using platform::DispArg;

CXRawfile::~CXRawfile() = default;

bool CXRawfile::Create(platform::CWnd* parent) { return CreateControl(xrawfile::kClassId, parent); }

int32_t CXRawfile::Call(const char* operation, int32_t dispatchId, const std::vector<DispArg>& args) {
    int32_t result = 0;
    try {
        InvokeHelper(dispatchId, &result, args);
    } catch (const platform::DispatchError& error) {
        RaiseDispatchFailure(operation, error.dispatchId, error.status);
    }
    return result;
}

int32_t CXRawfile::Open(const std::string& path) {
    return Call("Open", xrawfile::kDispOpen, {DispArg::Bstr(path.c_str())});
}

int32_t CXRawfile::Close() { return Call("Close", xrawfile::kDispClose, {}); }

int32_t CXRawfile::SetCurrentController(int32_t type, int32_t number) {
    return Call("SetCurrentController", xrawfile::kDispSetCurrentController, {DispArg::I4(type), DispArg::I4(number)});
}

int32_t CXRawfile::GetFirstSpectrumNumber(int32_t* scan) {
    return Call("GetFirstSpectrumNumber", xrawfile::kDispGetFirstSpectrumNumber, {DispArg::PI4(scan)});
}

int32_t CXRawfile::GetLastSpectrumNumber(int32_t* scan) {
    return Call("GetLastSpectrumNumber", xrawfile::kDispGetLastSpectrumNumber, {DispArg::PI4(scan)});
}

int32_t CXRawfile::RTFromScanNum(int32_t scan, double* minutes) {
    return Call("RTFromScanNum", xrawfile::kDispRTFromScanNum, {DispArg::I4(scan), DispArg::PR8(minutes)});
}

int32_t CXRawfile::GetFilterForScanNum(int32_t scan, platform::BSTR* filter) {
    return Call("GetFilterForScanNum", xrawfile::kDispGetFilterForScanNum, {DispArg::I4(scan), DispArg::PBstr(filter)});
}

int32_t CXRawfile::GetMassListFromScanNum(int32_t* scan, const std::string& filter, int32_t cutoffType,
                                          int32_t cutoffValue, int32_t maxPeaks, int32_t centroid,
                                          platform::VARIANT* massList, platform::VARIANT* peakFlags, int32_t* size) {
    return Call("GetMassListFromScanNum", xrawfile::kDispGetMassListFromScanNum,
                {DispArg::PI4(scan), DispArg::Bstr(filter.c_str()), DispArg::I4(cutoffType), DispArg::I4(cutoffValue),
                 DispArg::I4(maxPeaks), DispArg::I4(centroid), DispArg::PVariant(massList),
                 DispArg::PVariant(peakFlags), DispArg::PI4(size)});
}

int32_t CXRawfile::GetTrailerExtraValueForScanNum(int32_t scan, const std::string& label, platform::VARIANT* value) {
    return Call("GetTrailerExtraValueForScanNum", xrawfile::kDispGetTrailerExtraValueForScanNum,
                {DispArg::I4(scan), DispArg::Bstr(label.c_str()), DispArg::PVariant(value)});
}

int32_t CXRawfile::GetCreationDate(double* date) {
    return Call("GetCreationDate", xrawfile::kDispGetCreationDate, {DispArg::PDate(date)});
}

int32_t CXRawfile::GetInstName(platform::BSTR* name) {
    return Call("GetInstName", xrawfile::kDispGetInstName, {DispArg::PBstr(name)});
}

int32_t CXRawfile::GetInstModel(platform::BSTR* model) {
    return Call("GetInstModel", xrawfile::kDispGetInstModel, {DispArg::PBstr(model)});
}

int32_t CXRawfile::GetInstSerialNumber(platform::BSTR* serialNumber) {
    return Call("GetInstSerialNumber", xrawfile::kDispGetInstSerialNumber, {DispArg::PBstr(serialNumber)});
}

int32_t CXRawfile::GetScanHeaderInfoForScanNum(int32_t scan, int32_t* packets, double* startTime, double* lowMass,
                                               double* highMass, double* tic, double* basePeakMass,
                                               double* basePeakIntensity, int32_t* channels, int32_t* uniformTime,
                                               double* frequency) {
    return Call("GetScanHeaderInfoForScanNum", xrawfile::kDispGetScanHeaderInfoForScanNum,
                {DispArg::I4(scan), DispArg::PI4(packets), DispArg::PR8(startTime), DispArg::PR8(lowMass),
                 DispArg::PR8(highMass), DispArg::PR8(tic), DispArg::PR8(basePeakMass), DispArg::PR8(basePeakIntensity),
                 DispArg::PI4(channels), DispArg::PI4(uniformTime), DispArg::PR8(frequency)});
}
