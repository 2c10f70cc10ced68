#include "brisel/recording_component.h"

#include <cstring>
#include <utility>

#include "common/xrawfile.h"

namespace brisel_test {

using platform::DispArg;
using platform::HRESULT;
using platform::ParamKind;

namespace {

constexpr int32_t kFailed = 0;
constexpr const char* kJunkFilter = "junk left by a failed call";

platform::SAFEARRAY* MakeDoubleArray(const std::vector<double>& values) {
    platform::SAFEARRAY* array =
        platform::SafeArrayCreateVector(platform::VT_R8, 0, static_cast<uint32_t>(values.size()));
    void* data = nullptr;
    platform::SafeArrayAccessData(array, &data);
    if (!values.empty()) std::memcpy(data, values.data(), values.size() * sizeof(double));
    platform::SafeArrayUnaccessData(array);
    return array;
}

class RecordingControl final : public platform::RefCounted<platform::IDispatch> {
public:
    explicit RecordingControl(std::shared_ptr<Script> script) : script_(std::move(script)) {}

    HRESULT QueryInterface(const std::string& iid, void** out) override {
        if (out == nullptr) return platform::E_POINTER;
        *out = nullptr;
        if (!platform::IsEqualGUID(iid, platform::IID_IUnknown) &&
            !platform::IsEqualGUID(iid, platform::IID_IDispatch)) {
            return platform::E_NOINTERFACE;
        }
        *out = static_cast<platform::IDispatch*>(this);
        AddRef();
        return platform::S_OK;
    }

    HRESULT Invoke(int32_t id, const std::vector<DispArg>& args, int32_t* result) override {
        if (auto broken = script_->brokenDispatchIds.find(id); broken != script_->brokenDispatchIds.end()) {
            script_->calls.push_back("broken " + std::to_string(id));
            return broken->second;
        }
        if (!Matches(id, args)) {
            script_->calls.push_back("bad " + std::to_string(id));
            return args.size() == ExpectedKinds(id).size() ? platform::DISP_E_TYPEMISMATCH
                                                           : platform::DISP_E_BADPARAMCOUNT;
        }
        *result = Answer(id, args);
        return platform::S_OK;
    }

private:
    static std::vector<ParamKind> ExpectedKinds(int32_t id) {
        switch (id) {
            case xrawfile::kDispOpen: return {ParamKind::BSTR};
            case xrawfile::kDispGetCreationDate: return {ParamKind::PDATE};
            case xrawfile::kDispSetCurrentController: return {ParamKind::I4, ParamKind::I4};
            case xrawfile::kDispGetFirstSpectrumNumber:
            case xrawfile::kDispGetLastSpectrumNumber: return {ParamKind::PI4};
            case xrawfile::kDispRTFromScanNum: return {ParamKind::I4, ParamKind::PR8};
            case xrawfile::kDispGetFilterForScanNum: return {ParamKind::I4, ParamKind::PBSTR};
            case xrawfile::kDispGetMassListFromScanNum:
                return {ParamKind::PI4, ParamKind::BSTR,     ParamKind::I4,       ParamKind::I4, ParamKind::I4,
                        ParamKind::I4,  ParamKind::PVARIANT, ParamKind::PVARIANT, ParamKind::PI4};
            default: return {};
        }
    }

    static bool Matches(int32_t id, const std::vector<DispArg>& args) {
        const std::vector<ParamKind> kinds = ExpectedKinds(id);
        if (kinds.empty() || kinds.size() != args.size()) return false;
        for (size_t i = 0; i < kinds.size(); ++i) {
            if (args[i].kind != kinds[i]) return false;
        }
        return true;
    }

    int32_t Answer(int32_t id, const std::vector<DispArg>& args) {
        std::vector<std::string>& calls = script_->calls;
        switch (id) {
            case xrawfile::kDispOpen: {
                calls.push_back(std::string("open ") + args[0].str);
                auto found = script_->files.find(args[0].str);
                file_ = found == script_->files.end() ? nullptr : &found->second;
                filterFetches_.clear();
                return file_ == nullptr ? kFailed : file_->openResult;
            }
            case xrawfile::kDispSetCurrentController:
                calls.push_back("controller " + std::to_string(args[0].i4) + " " + std::to_string(args[1].i4));
                return file_ == nullptr ? kFailed : file_->controllerResult;
            case xrawfile::kDispGetFirstSpectrumNumber:
                calls.push_back("first");
                return ScanNumberAnswer(&ScriptedFile::firstScan, &ScriptedFile::firstResult, args[0].pi4);
            case xrawfile::kDispGetLastSpectrumNumber:
                calls.push_back("last");
                return ScanNumberAnswer(&ScriptedFile::lastScan, &ScriptedFile::lastResult, args[0].pi4);
            case xrawfile::kDispGetCreationDate:
                calls.push_back("date");
                if (file_ == nullptr) return kFailed;
                *args[0].pr8 = file_->dateResult == 1 ? file_->creationDate : kJunkDate;
                return file_->dateResult;
            case xrawfile::kDispRTFromScanNum: {
                calls.push_back("rt " + std::to_string(args[0].i4));
                const ScriptedScan* scan = Scan(args[0].i4);
                if (scan == nullptr) return kFailed;
                *args[1].pr8 = scan->retentionTime;
                return scan->retentionTimeResult;
            }
            case xrawfile::kDispGetFilterForScanNum: return FilterAnswer(args[0].i4, args[1].pbstr);
            case xrawfile::kDispGetMassListFromScanNum: return MassListAnswer(args);
            default: calls.push_back("id " + std::to_string(id)); return kFailed;
        }
    }

    int32_t ScanNumberAnswer(int32_t ScriptedFile::*number, int32_t ScriptedFile::*result, int32_t* out) {
        if (file_ == nullptr) return kFailed;
        *out = file_->*result == 1 ? file_->*number : kJunkScanNumber;
        return file_->*result;
    }

    const ScriptedScan* Scan(int32_t number) const {
        if (file_ == nullptr) return nullptr;
        auto found = file_->scans.find(number);
        return found == file_->scans.end() ? nullptr : &found->second;
    }

    int32_t FilterAnswer(int32_t number, platform::BSTR* out) {
        script_->calls.push_back("filter " + std::to_string(number));
        const ScriptedScan* scan = Scan(number);
        if (scan == nullptr) return kFailed;
        const int fetch = ++filterFetches_[number];
        if (auto failing = scan->failingFilterFetches.find(fetch); failing != scan->failingFilterFetches.end()) {
            // Leaves a string behind even though it fails: the caller must still release it.
            *out = platform::SysAllocString(kJunkFilter);
            return failing->second;
        }
        *out = platform::SysAllocString(scan->filter);
        return 1;
    }

    int32_t MassListAnswer(const std::vector<DispArg>& args) {
        int32_t* scanNumber = args[0].pi4;
        script_->calls.push_back("masslist " + std::to_string(*scanNumber) + " " + args[1].str + " " +
                                 std::to_string(args[2].i4) + " " + std::to_string(args[3].i4) + " " +
                                 std::to_string(args[4].i4) + " " + std::to_string(args[5].i4));
        const ScriptedScan* scan = Scan(*scanNumber);
        if (scan == nullptr) return kFailed;
        if (scan->deliveredScan != 0) *scanNumber = scan->deliveredScan;
        if (scan->massListResult != 1) return scan->massListResult;
        platform::VARIANT* list = args[6].pvar;
        platform::VARIANT* flags = args[7].pvar;
        list->vt = platform::VT_ARRAY | platform::VT_R8;
        list->parray = MakeDoubleArray(scan->pairs);
        flags->vt = platform::VT_ARRAY | platform::VT_I4;
        flags->parray =
            platform::SafeArrayCreateVector(platform::VT_I4, 0, static_cast<uint32_t>(scan->pairs.size() / 2));
        *args[8].pi4 =
            scan->reportedPointCount >= 0 ? scan->reportedPointCount : static_cast<int32_t>(scan->pairs.size() / 2);
        return 1;
    }

    std::shared_ptr<Script> script_;
    ScriptedFile* file_ = nullptr;
    std::map<int32_t, int> filterFetches_;
};

}  // namespace

void RegisterRecordingComponent(std::shared_ptr<Script> script) {
    platform::RegisterClass(xrawfile::kClassId, {xrawfile::kProgIdMsFileReader, xrawfile::kProgIdXRawfile},
                            [script]() -> platform::IUnknown* { return new RecordingControl(script); });
}

}  // namespace brisel_test
