#pragma once

// A small in-process stand-in for the component object model the RAW reader
// component lives in: status codes, system strings, variants, safe arrays,
// reference-counted objects, and a class registry by class id and ProgID.
// Texts are UTF-8. Every system string and safe array made here is counted,
// so tests can check that each one is released exactly once.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using HRESULT = int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
inline constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000Eu);

inline bool Succeeded(HRESULT hr) { return hr >= 0; }
inline bool Failed(HRESULT hr) { return hr < 0; }

HRESULT CoInitialize();

// ---- System strings -------------------------------------------------------
// A system string is a NUL-terminated UTF-8 buffer that carries its length
// (it may hold NUL characters). Null is a valid, empty string.
using BSTR = char*;
BSTR SysAllocString(std::string_view text);
void SysFreeString(BSTR text);
uint32_t SysStringLen(BSTR text);

// ---- Safe arrays ----------------------------------------------------------
using VARTYPE = uint16_t;
struct SAFEARRAY;
// A one-dimensional array of `count` elements of type `elementType`
// (VT_R8, VT_R4, VT_I4, VT_UI1 ...), zero-filled.
SAFEARRAY* SafeArrayCreateVector(VARTYPE elementType, int32_t lowerBound, uint32_t count);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
HRESULT SafeArrayDestroy(SAFEARRAY* array);
uint32_t SafeArrayElementCount(const SAFEARRAY* array);
VARTYPE SafeArrayElementType(const SAFEARRAY* array);

// ---- Variants -------------------------------------------------------------
enum VarEnum : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_BOOL = 11,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
};

struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    union {
        int8_t cVal;
        uint8_t bVal;
        int16_t iVal;
        uint16_t uiVal;
        int32_t lVal;
        uint32_t ulVal;
        int32_t intVal;
        uint32_t uintVal;
        int64_t llVal;
        uint64_t ullVal;
        float fltVal;
        double dblVal;
        double date;
        int16_t boolVal;
        BSTR bstrVal;
        SAFEARRAY* parray;  // when vt has VT_ARRAY set
    };
    VARIANT() : llVal(0) {}
};

void VariantInit(VARIANT* value);
// Releases what the variant owns (its string or array) and empties it.
HRESULT VariantClear(VARIANT* value);

// ---- Release accounting ---------------------------------------------------
// Numbers of system strings and safe arrays currently alive in the process.
struct LiveResources {
    int64_t strings = 0;
    int64_t arrays = 0;
};
LiveResources CurrentLiveResources();

// ---- Objects --------------------------------------------------------------
// Interface ids are texts in braces, compared without regard to case.
inline constexpr const char* IID_IUnknown = "{00000000-0000-0000-C000-000000000046}";
inline constexpr const char* IID_IDispatch = "{00020400-0000-0000-C000-000000000046}";

class IUnknown {
public:
    // On success *out holds an added reference; on failure *out is null.
    virtual HRESULT QueryInterface(const std::string& iid, void** out) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// Parameter kinds of a dispatch call, as the control methods declare them.
enum class ParamKind { BSTR, I4, PI4, PR8, PBSTR, PVARIANT, PDATE };

// One typed argument of a dispatch call.
struct DispArg {
    ParamKind kind;
    union {
        const char* str;   // BSTR: passed by value
        int32_t i4;        // I4
        int32_t* pi4;      // PI4
        double* pr8;       // PR8 and PDATE
        BSTR* pbstr;       // PBSTR
        VARIANT* pvar;     // PVARIANT
    };
    static DispArg Bstr(const char* text) { DispArg a{ParamKind::BSTR, {}}; a.str = text; return a; }
    static DispArg I4(int32_t value) { DispArg a{ParamKind::I4, {}}; a.i4 = value; return a; }
    static DispArg PI4(int32_t* value) { DispArg a{ParamKind::PI4, {}}; a.pi4 = value; return a; }
    static DispArg PR8(double* value) { DispArg a{ParamKind::PR8, {}}; a.pr8 = value; return a; }
    static DispArg PDate(double* value) { DispArg a{ParamKind::PDATE, {}}; a.pr8 = value; return a; }
    static DispArg PBstr(BSTR* value) { DispArg a{ParamKind::PBSTR, {}}; a.pbstr = value; return a; }
    static DispArg PVariant(VARIANT* value) { DispArg a{ParamKind::PVARIANT, {}}; a.pvar = value; return a; }
};

// The dispatch interface of a control: a method called by dispatch id with
// typed arguments and a 32-bit integer result. The returned status tells
// whether the call itself could be made (unknown id, wrong arguments ...);
// what the method answered is in *result.
class IDispatch : public IUnknown {
public:
    virtual HRESULT Invoke(int32_t dispatchId, const std::vector<DispArg>& args, int32_t* result) = 0;
};

// ---- Class registry -------------------------------------------------------
// A factory makes a new object with one reference held by the caller.
using ClassFactory = std::function<IUnknown*()>;

// Registers (or replaces) a class under its class id ("{...}") and ProgIDs.
void RegisterClass(const std::string& classId, const std::vector<std::string>& progIds, ClassFactory factory);
void UnregisterClass(const std::string& classId);
void ClearClassRegistry();

HRESULT CLSIDFromProgID(const std::string& progId, std::string* classId);
// Reads a class id written in braces; anything else is CO_E_CLASSSTRING.
HRESULT CLSIDFromString(const std::string& text, std::string* classId);
// Makes an object of a registered class and asks it for `iid`.
HRESULT CoCreateInstance(const std::string& classId, const std::string& iid, void** out);
// Puts an object into its running state.
HRESULT OleRun(IUnknown* object);

}  // namespace platform
