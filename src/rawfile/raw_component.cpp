#include "rawfile/raw_component.h"

#include <cstring>
#include <vector>

#include "rawfile/mass_list_arrays.h"
#include "rawfile/scan_filter.h"
#include "rawfile/trailer_variant.h"

namespace rawfile {

using platform::HRESULT;

int32_t ControlResult(Status status) {
    if (status == kOk) return xrawfile::kControlSuccess;
    if (status == kScriptedFailure) return 0;
    return status;
}

RawComponent::RawComponent() = default;
RawComponent::~RawComponent() = default;

HRESULT RawComponent::QueryInterface(const std::string& iid, void** out) {
    if (out == nullptr) return platform::E_POINTER;
    *out = nullptr;
    if (platform::IsEqualGUID(iid, platform::IID_IUnknown)) {
        *out = static_cast<platform::IUnknown*>(static_cast<xrawfile::IXRawfile*>(this));
    } else if (platform::IsEqualGUID(iid, platform::IID_IDispatch)) {
        *out = static_cast<platform::IDispatch*>(this);
    } else {
        for (int version = 1; version <= 5 && *out == nullptr; ++version) {
            if (platform::IsEqualGUID(iid, xrawfile::kInterfaceIds[version])) {
                *out = static_cast<xrawfile::IXRawfile*>(this);
            }
        }
    }
    if (*out == nullptr) return platform::E_NOINTERFACE;
    AddRef();
    return platform::S_OK;
}

uint32_t RawComponent::AddRef() { return refs_.Add(); }

uint32_t RawComponent::Release() {
    uint32_t left = refs_.Drop();
    if (left == 0) delete this;
    return left;
}

// ---- Operations on the open file --------------------------------------------

Status RawComponent::OpenFile(std::string_view path) {
    // Opening another file on the same object replaces the one open.
    backend_.reset();
    Status status = kFailed;
    backend_ = OpenBackend(std::string(path), &status);
    return backend_ != nullptr ? kOk : status;
}

Status RawComponent::CloseFile() {
    if (backend_ == nullptr) return kNotOpen;
    Status status = backend_->Close();
    backend_.reset();
    return status;
}

Status RawComponent::Filter(int32_t scan, platform::BSTR* filter) {
    // The previous string the caller's slot held is released (in-out string).
    platform::SysFreeString(*filter);
    *filter = nullptr;
    if (backend_ == nullptr) return kNotOpen;
    std::string text;
    Status status = backend_->GetFilterText(scan, &text);
    if (status == kOk) *filter = platform::SysAllocString(text);
    return status;
}

Status RawComponent::MassList(int32_t* scan, std::string_view filter, int32_t cutoffType, int32_t cutoffValue,
                              int32_t maxPeaks, int32_t centroid, platform::VARIANT* massList,
                              platform::VARIANT* peakFlags, int32_t* size) {
    platform::VariantClear(massList);
    platform::VariantClear(peakFlags);
    *size = 0;
    if (backend_ == nullptr) return kNotOpen;
    // No intensity cut-off, no peak limit, no centroiding: the points as stored.
    if (cutoffType != 0 || cutoffValue != 0 || maxPeaks != 0 || centroid != 0) return kUnsupported;
    ScanFilter scanFilter;
    if (!ParseScanFilter(filter, &scanFilter)) return kUnsupported;
    int32_t answering = *scan;
    if (Status status = AnsweringScan(*backend_, scanFilter, *scan, &answering); status != kOk) return status;
    if (Status status = backend_->GetMassList(answering, &pairs_); status != kOk) return status;
    *scan = answering;
    return PutMassList(pairs_, massList, peakFlags, size);
}

Status RawComponent::Trailer(int32_t scan, std::string_view label, platform::VARIANT* value) {
    platform::VariantClear(value);
    if (backend_ == nullptr) return kNotOpen;
    TrailerValue answer;
    if (const Status status = backend_->GetTrailerValue(scan, label, &answer); status != kOk) return status;
    PutTrailerVariant(answer, value);
    return kOk;
}

Status RawComponent::InstrumentText(std::string InstrumentTexts::*field, platform::BSTR* text) {
    platform::SysFreeString(*text);
    *text = nullptr;
    if (backend_ == nullptr) return kNotOpen;
    InstrumentTexts texts;
    const Status status = backend_->GetInstrumentTexts(&texts);
    if (status == kOk) *text = platform::SysAllocString(texts.*field);
    return status;
}

// ---- Reader interface --------------------------------------------------------

HRESULT RawComponent::Open(const char* path) { return OpenFile(path != nullptr ? path : ""); }

HRESULT RawComponent::Close() { return CloseFile(); }

HRESULT RawComponent::GetCreationDate(double* date) {
    if (date == nullptr) return platform::E_POINTER;
    return backend_ != nullptr ? backend_->GetCreationDate(date) : kNotOpen;
}

HRESULT RawComponent::SetCurrentController(int32_t type, int32_t number) {
    return backend_ != nullptr ? backend_->SetCurrentController(type, number) : kNotOpen;
}

HRESULT RawComponent::GetFirstSpectrumNumber(int32_t* scan) {
    if (scan == nullptr) return platform::E_POINTER;
    return backend_ != nullptr ? backend_->GetFirstScan(scan) : kNotOpen;
}

HRESULT RawComponent::GetLastSpectrumNumber(int32_t* scan) {
    if (scan == nullptr) return platform::E_POINTER;
    return backend_ != nullptr ? backend_->GetLastScan(scan) : kNotOpen;
}

HRESULT RawComponent::RTFromScanNum(int32_t scan, double* minutes) {
    if (minutes == nullptr) return platform::E_POINTER;
    return backend_ != nullptr ? backend_->GetRetentionTime(scan, minutes) : kNotOpen;
}

HRESULT RawComponent::GetFilterForScanNum(int32_t scan, platform::BSTR* filter) {
    if (filter == nullptr) return platform::E_POINTER;
    return Filter(scan, filter);
}

HRESULT RawComponent::GetMassListFromScanNum(int32_t* scan, const char* filter, int32_t cutoffType, int32_t cutoffValue,
                                             int32_t maxPeaks, int32_t centroid,
                                             double* /*peakWidth: used only when centroiding*/,
                                             platform::VARIANT* massList, platform::VARIANT* peakFlags, int32_t* size) {
    if (scan == nullptr || massList == nullptr || peakFlags == nullptr || size == nullptr) return platform::E_POINTER;
    return MassList(scan, filter != nullptr ? filter : "", cutoffType, cutoffValue, maxPeaks, centroid, massList,
                    peakFlags, size);
}

HRESULT RawComponent::GetTrailerExtraValueForScanNum(int32_t scan, const char* label, platform::VARIANT* value) {
    if (value == nullptr) return platform::E_POINTER;
    return Trailer(scan, label != nullptr ? label : "", value);
}

HRESULT RawComponent::GetInstName(platform::BSTR* name) {
    if (name == nullptr) return platform::E_POINTER;
    return InstrumentText(&InstrumentTexts::name, name);
}

HRESULT RawComponent::GetInstModel(platform::BSTR* model) {
    if (model == nullptr) return platform::E_POINTER;
    return InstrumentText(&InstrumentTexts::model, model);
}

HRESULT RawComponent::GetInstSerialNumber(platform::BSTR* serialNumber) {
    if (serialNumber == nullptr) return platform::E_POINTER;
    return InstrumentText(&InstrumentTexts::serialNumber, serialNumber);
}

HRESULT RawComponent::GetScanHeaderInfoForScanNum(int32_t scan, int32_t* packets, double* startTime, double* lowMass,
                                                  double* highMass, double* tic, double* basePeakMass,
                                                  double* basePeakIntensity, int32_t* channels, int32_t* uniformTime,
                                                  double* frequency) {
    if (packets == nullptr || startTime == nullptr || lowMass == nullptr || highMass == nullptr || tic == nullptr ||
        basePeakMass == nullptr || basePeakIntensity == nullptr || channels == nullptr || uniformTime == nullptr ||
        frequency == nullptr) {
        return platform::E_POINTER;
    }
    if (backend_ == nullptr) return kNotOpen;
    ScanHeaderValues values;
    if (const Status status = backend_->GetScanHeader(scan, &values); status != kOk) return status;
    *packets = values.packetCount;
    *startTime = values.startTime;
    *lowMass = values.lowMass;
    *highMass = values.highMass;
    *tic = values.totalIonCurrent;
    *basePeakMass = values.basePeakMass;
    *basePeakIntensity = values.basePeakIntensity;
    *channels = values.channelCount;
    *uniformTime = values.uniformTime ? 1 : 0;
    *frequency = values.frequency;
    return kOk;
}

}  // namespace rawfile
