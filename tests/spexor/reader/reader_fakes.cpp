#include "reader_fakes.h"

#include <stdexcept>

#include "rawfile/component.h"
#include "support/temp_dir.h"

using namespace platform;

CallLog::CallLog(const std::filesystem::path& file) : file_(file), stream_(std::fopen(file.c_str(), "a")) {
    if (stream_ == nullptr) throw std::runtime_error("cannot write the call log");
}

CallLog::~CallLog() { std::fclose(stream_); }

void CallLog::Add(const std::string& entry) {
    std::fputs((entry + "\n").c_str(), stream_);
    std::fflush(stream_);
}

std::string CallLog::Text() const { return testing_support::ReadFile(file_); }

namespace {

int VersionOf(const std::string& iid) {
    for (int version = 1; version <= 5; ++version) {
        if (IsEqualGUID(iid, xrawfile::kInterfaceIds[version])) return version;
    }
    return 0;
}

template <typename Interface>
Interface* InterfaceOf(const char* iid) {
    IUnknown* object = rawfile::CreateComponent();
    void* answer = nullptr;
    if (object == nullptr || Failed(object->QueryInterface(iid, &answer))) throw std::logic_error("no component");
    object->Release();
    return static_cast<Interface*>(answer);
}

class RecordingControl : public RefCounted<IDispatch> {
public:
    RecordingControl(IDispatch* inner, CallLog* log, int32_t extraPoints)
        : inner_(inner), log_(log), extraPoints_(extraPoints) {}

    HRESULT QueryInterface(const std::string& iid, void** out) override {
        *out = nullptr;
        if (!IsEqualGUID(iid, IID_IUnknown) && !IsEqualGUID(iid, IID_IDispatch)) return E_NOINTERFACE;
        AddRef();
        *out = static_cast<IDispatch*>(this);
        return S_OK;
    }
    HRESULT Invoke(int32_t dispatchId, const std::vector<DispArg>& args, int32_t* result) override {
        log_->Add("dispatch " + std::to_string(dispatchId));
        const HRESULT status = inner_->Invoke(dispatchId, args, result);
        if (dispatchId == xrawfile::kDispGetMassListFromScanNum) *args.back().pi4 += extraPoints_;
        return status;
    }

private:
    ~RecordingControl() override { inner_->Release(); }

    IDispatch* inner_;
    CallLog* log_;
    int32_t extraPoints_;
};

class RecordingInterface : public RefCounted<xrawfile::IXRawfile> {
public:
    RecordingInterface(xrawfile::IXRawfile* inner, CallLog* log, int32_t extraPoints)
        : inner_(inner), log_(log), extraPoints_(extraPoints) {}

    HRESULT QueryInterface(const std::string& iid, void** out) override {
        *out = nullptr;
        if (!IsEqualGUID(iid, IID_IUnknown) && VersionOf(iid) == 0) return E_NOINTERFACE;
        AddRef();
        *out = static_cast<xrawfile::IXRawfile*>(this);
        return S_OK;
    }

    HRESULT Open(const char* path) override { return Record("Open", inner_->Open(path)); }
    HRESULT Close() override { return Record("Close", inner_->Close()); }
    HRESULT GetCreationDate(double* date) override { return Record("GetCreationDate", inner_->GetCreationDate(date)); }
    HRESULT SetCurrentController(int32_t type, int32_t number) override {
        return Record("SetCurrentController", inner_->SetCurrentController(type, number));
    }
    HRESULT GetFirstSpectrumNumber(int32_t* scan) override {
        return Record("GetFirstSpectrumNumber", inner_->GetFirstSpectrumNumber(scan));
    }
    HRESULT GetLastSpectrumNumber(int32_t* scan) override {
        return Record("GetLastSpectrumNumber", inner_->GetLastSpectrumNumber(scan));
    }
    HRESULT RTFromScanNum(int32_t scan, double* minutes) override {
        return Record("RTFromScanNum", inner_->RTFromScanNum(scan, minutes));
    }
    HRESULT GetFilterForScanNum(int32_t scan, BSTR* filter) override {
        return Record("GetFilterForScanNum", inner_->GetFilterForScanNum(scan, filter));
    }
    HRESULT GetMassListFromScanNum(int32_t* scan, const char* filter, int32_t cutoffType, int32_t cutoffValue,
                                   int32_t maxPeaks, int32_t centroid, double* peakWidth, VARIANT* massList,
                                   VARIANT* peakFlags, int32_t* size) override {
        const HRESULT status = inner_->GetMassListFromScanNum(scan, filter, cutoffType, cutoffValue, maxPeaks, centroid,
                                                              peakWidth, massList, peakFlags, size);
        *size += extraPoints_;
        return Record("GetMassListFromScanNum", status);
    }
    HRESULT GetTrailerExtraValueForScanNum(int32_t scan, const char* label, VARIANT* value) override {
        return Record("GetTrailerExtraValueForScanNum", inner_->GetTrailerExtraValueForScanNum(scan, label, value));
    }
    HRESULT GetInstName(platform::BSTR* name) override { return Record("GetInstName", inner_->GetInstName(name)); }
    HRESULT GetInstModel(platform::BSTR* model) override { return Record("GetInstModel", inner_->GetInstModel(model)); }
    HRESULT GetInstSerialNumber(platform::BSTR* serialNumber) override {
        return Record("GetInstSerialNumber", inner_->GetInstSerialNumber(serialNumber));
    }
    HRESULT GetScanHeaderInfoForScanNum(int32_t scan, int32_t* packets, double* startTime, double* lowMass,
                                        double* highMass, double* tic, double* basePeakMass, double* basePeakIntensity,
                                        int32_t* channels, int32_t* uniformTime, double* frequency) override {
        return Record("GetScanHeaderInfoForScanNum", inner_->GetScanHeaderInfoForScanNum(
                                                         scan, packets, startTime, lowMass, highMass, tic, basePeakMass,
                                                         basePeakIntensity, channels, uniformTime, frequency));
    }

private:
    ~RecordingInterface() override { inner_->Release(); }

    HRESULT Record(const char* operation, HRESULT status) {
        log_->Add(operation);
        return status;
    }

    xrawfile::IXRawfile* inner_;
    CallLog* log_;
    int32_t extraPoints_;
};

}  // namespace

void RegisterRecordingControl(CallLog* log, int32_t extraPoints) {
    RegisterClass(xrawfile::kClassId, {}, [=]() -> IUnknown* {
        return new RecordingControl(InterfaceOf<IDispatch>(IID_IDispatch), log, extraPoints);
    });
}

void RegisterRecordingInterface(CallLog* log, int32_t extraPoints) {
    RegisterClass(xrawfile::kClassId, {xrawfile::kProgIdMsFileReader, xrawfile::kProgIdXRawfile}, [=]() -> IUnknown* {
        return new RecordingInterface(InterfaceOf<xrawfile::IXRawfile>(xrawfile::kInterfaceIds[1]), log, extraPoints);
    });
}
