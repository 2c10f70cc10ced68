// The control form of the component: each dispatch id bound to its operation,
// with the parameter list its control method declares.

#include <initializer_list>

#include "rawfile/raw_component.h"

namespace rawfile {

using platform::DispArg;
using platform::HRESULT;
using platform::ParamKind;

namespace {

bool IsPointer(ParamKind kind) { return kind != ParamKind::BSTR && kind != ParamKind::I4; }

const void* PointerOf(const DispArg& arg) {
    switch (arg.kind) {
        case ParamKind::PI4: return arg.pi4;
        case ParamKind::PR8:
        case ParamKind::PDATE: return arg.pr8;
        case ParamKind::PBSTR: return arg.pbstr;
        case ParamKind::PVARIANT: return arg.pvar;
        default: return nullptr;
    }
}

// The call's arguments against the parameter list: count, kinds, and no null
// where a pointer is expected.
HRESULT CheckArguments(const std::vector<DispArg>& args, std::initializer_list<ParamKind> kinds) {
    if (args.size() != kinds.size()) return platform::DISP_E_BADPARAMCOUNT;
    size_t index = 0;
    for (ParamKind kind : kinds) {
        const DispArg& arg = args[index++];
        if (arg.kind != kind) return platform::DISP_E_TYPEMISMATCH;
        if (IsPointer(kind) && PointerOf(arg) == nullptr) return platform::E_POINTER;
    }
    return platform::S_OK;
}

const char* TextOf(const DispArg& arg) { return arg.str != nullptr ? arg.str : ""; }

}  // namespace

HRESULT RawComponent::Invoke(int32_t dispatchId, const std::vector<DispArg>& args, int32_t* result) {
    if (result == nullptr) return platform::E_POINTER;
    using K = ParamKind;
    HRESULT check = platform::S_OK;
    Status status = kOk;
    switch (dispatchId) {
        case xrawfile::kDispOpen:
            if ((check = CheckArguments(args, {K::BSTR})) == platform::S_OK) status = Open(TextOf(args[0]));
            break;
        case xrawfile::kDispClose:
            if ((check = CheckArguments(args, {})) == platform::S_OK) status = Close();
            break;
        case xrawfile::kDispGetCreationDate:
            if ((check = CheckArguments(args, {K::PDATE})) == platform::S_OK) status = GetCreationDate(args[0].pr8);
            break;
        case xrawfile::kDispSetCurrentController:
            if ((check = CheckArguments(args, {K::I4, K::I4})) == platform::S_OK) {
                status = SetCurrentController(args[0].i4, args[1].i4);
            }
            break;
        case xrawfile::kDispGetFirstSpectrumNumber:
            if ((check = CheckArguments(args, {K::PI4})) == platform::S_OK)
                status = GetFirstSpectrumNumber(args[0].pi4);
            break;
        case xrawfile::kDispGetLastSpectrumNumber:
            if ((check = CheckArguments(args, {K::PI4})) == platform::S_OK) status = GetLastSpectrumNumber(args[0].pi4);
            break;
        case xrawfile::kDispRTFromScanNum:
            if ((check = CheckArguments(args, {K::I4, K::PR8})) == platform::S_OK) {
                status = RTFromScanNum(args[0].i4, args[1].pr8);
            }
            break;
        case xrawfile::kDispGetFilterForScanNum:
            if ((check = CheckArguments(args, {K::I4, K::PBSTR})) == platform::S_OK) {
                status = GetFilterForScanNum(args[0].i4, args[1].pbstr);
            }
            break;
        case xrawfile::kDispGetMassListFromScanNum:
            check =
                CheckArguments(args, {K::PI4, K::BSTR, K::I4, K::I4, K::I4, K::I4, K::PVARIANT, K::PVARIANT, K::PI4});
            if (check == platform::S_OK) {
                status = GetMassListFromScanNum(args[0].pi4, TextOf(args[1]), args[2].i4, args[3].i4, args[4].i4,
                                                args[5].i4, nullptr, args[6].pvar, args[7].pvar, args[8].pi4);
            }
            break;
        case xrawfile::kDispGetTrailerExtraValueForScanNum:
            if ((check = CheckArguments(args, {K::I4, K::BSTR, K::PVARIANT})) == platform::S_OK) {
                status = GetTrailerExtraValueForScanNum(args[0].i4, TextOf(args[1]), args[2].pvar);
            }
            break;
        case xrawfile::kDispGetInstName:
            if ((check = CheckArguments(args, {K::PBSTR})) == platform::S_OK) status = GetInstName(args[0].pbstr);
            break;
        case xrawfile::kDispGetInstModel:
            if ((check = CheckArguments(args, {K::PBSTR})) == platform::S_OK) status = GetInstModel(args[0].pbstr);
            break;
        case xrawfile::kDispGetInstSerialNumber:
            if ((check = CheckArguments(args, {K::PBSTR})) == platform::S_OK) {
                status = GetInstSerialNumber(args[0].pbstr);
            }
            break;
        case xrawfile::kDispGetScanHeaderInfoForScanNum:
            check = CheckArguments(
                args, {K::I4, K::PI4, K::PR8, K::PR8, K::PR8, K::PR8, K::PR8, K::PR8, K::PI4, K::PI4, K::PR8});
            if (check == platform::S_OK) {
                status = GetScanHeaderInfoForScanNum(args[0].i4, args[1].pi4, args[2].pr8, args[3].pr8, args[4].pr8,
                                                     args[5].pr8, args[6].pr8, args[7].pr8, args[8].pi4, args[9].pi4,
                                                     args[10].pr8);
            }
            break;
        default: return platform::DISP_E_MEMBERNOTFOUND;
    }
    if (check != platform::S_OK) return check;
    *result = ControlResult(status);
    return platform::S_OK;
}

}  // namespace rawfile
