#include "support/fake_components.h"

#include "common/xrawfile.h"
#include "platform/window.h"

namespace testing_support {

using platform::DispArg;
using platform::HRESULT;
using platform::VARIANT;

namespace {

// Which reader-interface version an interface id names; 0 when none.
int VersionOf(const std::string& iid) {
    for (int version = 1; version <= 5; ++version) {
        if (platform::IsEqualGUID(iid, xrawfile::kInterfaceIds[version])) return version;
    }
    return 0;
}

class FakeObject final : public xrawfile::IXRawfile, public platform::IDispatch, public platform::IRunnableObject {
public:
    explicit FakeObject(FakeClass fake) : fake_(std::move(fake)) {
        if (!fake_.inner) return;
        innerObject_ = fake_.inner();
        if (innerObject_ == nullptr) return;
        void* answer = nullptr;
        if (platform::Succeeded(innerObject_->QueryInterface(xrawfile::kInterfaceIds[1], &answer))) {
            innerRawfile_ = static_cast<xrawfile::IXRawfile*>(answer);
        }
        answer = nullptr;
        if (platform::Succeeded(innerObject_->QueryInterface(platform::IID_IDispatch, &answer))) {
            innerDispatch_ = static_cast<platform::IDispatch*>(answer);
        }
    }

    HRESULT QueryInterface(const std::string& iid, void** out) override {
        if (out == nullptr) return platform::E_POINTER;
        *out = nullptr;
        if (platform::IsEqualGUID(iid, platform::IID_IUnknown)) {
            Record("query", "IUnknown");
            *out = static_cast<platform::IUnknown*>(static_cast<xrawfile::IXRawfile*>(this));
        } else if (platform::IsEqualGUID(iid, platform::IID_IRunnableObject)) {
            *out = static_cast<platform::IRunnableObject*>(this);
        } else if (platform::IsEqualGUID(iid, platform::IID_IDispatch)) {
            Record("query", "IDispatch");
            if (!fake_.answersDispatch) return platform::E_NOINTERFACE;
            *out = static_cast<platform::IDispatch*>(this);
        } else if (int version = VersionOf(iid); version != 0) {
            Record("query", "v" + std::to_string(version));
            if (fake_.versions.count(version) == 0) return fake_.versionRefusal;
            *out = static_cast<xrawfile::IXRawfile*>(this);
        } else {
            return platform::E_NOINTERFACE;
        }
        AddRef();
        return platform::S_OK;
    }

    uint32_t AddRef() override { return refs_.Add(); }

    uint32_t Release() override {
        uint32_t left = refs_.Drop();
        if (left == 0) {
            Record("release", "");
            delete this;
        }
        return left;
    }

    HRESULT Run() override {
        Record("run", "");
        return fake_.runStatus;
    }

    HRESULT Invoke(int32_t dispatchId, const std::vector<DispArg>& args, int32_t* result) override {
        auto broken = fake_.brokenDispatchIds.find(dispatchId);
        if (broken != fake_.brokenDispatchIds.end()) return broken->second;
        if (innerDispatch_ == nullptr) return platform::DISP_E_MEMBERNOTFOUND;
        return innerDispatch_->Invoke(dispatchId, args, result);
    }

    HRESULT Open(const char* path) override { return Inner() ? innerRawfile_->Open(path) : platform::E_NOTIMPL; }
    HRESULT Close() override { return Inner() ? innerRawfile_->Close() : platform::E_NOTIMPL; }
    HRESULT GetCreationDate(double* date) override {
        return Inner() ? innerRawfile_->GetCreationDate(date) : platform::E_NOTIMPL;
    }
    HRESULT SetCurrentController(int32_t type, int32_t number) override {
        return Inner() ? innerRawfile_->SetCurrentController(type, number) : platform::E_NOTIMPL;
    }
    HRESULT GetFirstSpectrumNumber(int32_t* scan) override {
        return Inner() ? innerRawfile_->GetFirstSpectrumNumber(scan) : platform::E_NOTIMPL;
    }
    HRESULT GetLastSpectrumNumber(int32_t* scan) override {
        return Inner() ? innerRawfile_->GetLastSpectrumNumber(scan) : platform::E_NOTIMPL;
    }
    HRESULT RTFromScanNum(int32_t scan, double* minutes) override {
        return Inner() ? innerRawfile_->RTFromScanNum(scan, minutes) : platform::E_NOTIMPL;
    }
    HRESULT GetFilterForScanNum(int32_t scan, platform::BSTR* filter) override {
        return Inner() ? innerRawfile_->GetFilterForScanNum(scan, filter) : platform::E_NOTIMPL;
    }
    HRESULT GetMassListFromScanNum(int32_t* scan, const char* filter, int32_t cutoffType, int32_t cutoffValue,
                                   int32_t maxPeaks, int32_t centroid, double* peakWidth, VARIANT* massList,
                                   VARIANT* peakFlags, int32_t* size) override {
        if (!Inner()) return platform::E_NOTIMPL;
        return innerRawfile_->GetMassListFromScanNum(scan, filter, cutoffType, cutoffValue, maxPeaks, centroid,
                                                     peakWidth, massList, peakFlags, size);
    }
    HRESULT GetTrailerExtraValueForScanNum(int32_t scan, const char* label, VARIANT* value) override {
        return Inner() ? innerRawfile_->GetTrailerExtraValueForScanNum(scan, label, value) : platform::E_NOTIMPL;
    }
    HRESULT GetInstName(platform::BSTR* name) override {
        return Inner() ? innerRawfile_->GetInstName(name) : platform::E_NOTIMPL;
    }
    HRESULT GetInstModel(platform::BSTR* model) override {
        return Inner() ? innerRawfile_->GetInstModel(model) : platform::E_NOTIMPL;
    }
    HRESULT GetInstSerialNumber(platform::BSTR* serialNumber) override {
        return Inner() ? innerRawfile_->GetInstSerialNumber(serialNumber) : platform::E_NOTIMPL;
    }
    HRESULT GetScanHeaderInfoForScanNum(int32_t scan, int32_t* packets, double* startTime, double* lowMass,
                                        double* highMass, double* tic, double* basePeakMass, double* basePeakIntensity,
                                        int32_t* channels, int32_t* uniformTime, double* frequency) override {
        if (!Inner()) return platform::E_NOTIMPL;
        return innerRawfile_->GetScanHeaderInfoForScanNum(scan, packets, startTime, lowMass, highMass, tic,
                                                          basePeakMass, basePeakIntensity, channels, uniformTime,
                                                          frequency);
    }

private:
    ~FakeObject() override {
        if (innerDispatch_ != nullptr) innerDispatch_->Release();
        if (innerRawfile_ != nullptr) innerRawfile_->Release();
        if (innerObject_ != nullptr) innerObject_->Release();
    }

    bool Inner() const { return innerRawfile_ != nullptr; }

    void Record(const std::string& what, const std::string& detail) {
        FakeEvents().push_back(what + " " + fake_.name + (detail.empty() ? "" : " " + detail));
    }

    FakeClass fake_;
    platform::RefCount refs_;
    platform::IUnknown* innerObject_ = nullptr;
    xrawfile::IXRawfile* innerRawfile_ = nullptr;
    platform::IDispatch* innerDispatch_ = nullptr;
};

}  // namespace

void RegisterFake(const FakeClass& fake) {
    platform::RegisterClass(fake.classId, fake.progIds, [fake]() -> platform::IUnknown* {
        FakeEvents().push_back("make " + fake.name);
        if (!fake.makes) return nullptr;
        return static_cast<xrawfile::IXRawfile*>(new FakeObject(fake));
    });
}

std::vector<std::string>& FakeEvents() {
    static std::vector<std::string> events;
    return events;
}

void ClearFakeEvents() { FakeEvents().clear(); }

ScopedRegistry::ScopedRegistry()
    : saved_(platform::RegisteredClasses()), containerEnabled_(platform::IsControlContainerEnabled()) {}

ScopedRegistry::~ScopedRegistry() {
    platform::ClearClassRegistry();
    for (const platform::ClassRegistration& registration : saved_) {
        platform::RegisterClass(registration.classId, registration.progIds, registration.factory);
    }
    platform::AfxEnableControlContainer(containerEnabled_);
}

}  // namespace testing_support
