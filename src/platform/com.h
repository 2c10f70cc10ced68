#pragma once

// A small in-process stand-in for the component object model the RAW reader
// component lives in: status codes, system strings, variants, safe arrays,
// reference-counted objects, and a class registry by class id and ProgID.
// Texts are UTF-8. Every system string and safe array made here, and every
// object counting its references with RefCount, is counted while alive, so
// tests can check that each one is released exactly once.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using HRESULT = int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
inline constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000Eu);
inline constexpr HRESULT DISP_E_ARRAYISLOCKED = static_cast<HRESULT>(0x8002000Du);

inline bool Succeeded(HRESULT hr) { return hr >= 0; }
inline bool Failed(HRESULT hr) { return hr < 0; }

// Initialises the library for the calling thread: S_OK the first time on a
// thread, S_FALSE when it already was. Nothing here depends on it.
HRESULT CoInitialize();

// ---- System strings -------------------------------------------------------
// A system string is a NUL-terminated UTF-8 buffer that carries its length
// (it may hold NUL characters). Null is a valid, empty string. Freeing null
// does nothing; freeing a string that is not alive is counted in
// LiveResources::invalidReleases and otherwise ignored.
using BSTR = char*;
BSTR SysAllocString(std::string_view text);
void SysFreeString(BSTR text);
uint32_t SysStringLen(BSTR text);

// ---- Safe arrays ----------------------------------------------------------
using VARTYPE = uint16_t;
struct SAFEARRAY;
// A one-dimensional array of `count` elements of type `elementType`
// (VT_R8, VT_R4, VT_I4, VT_UI1 ...), zero-filled. Null for an element type
// that is not a plain number.
SAFEARRAY* SafeArrayCreateVector(VARTYPE elementType, int32_t lowerBound, uint32_t count);
// The same array holding a copy of the `count` elements at `elements`
// instead of zeros, written once rather than cleared and then filled.
SAFEARRAY* SafeArrayCreateVectorCopy(VARTYPE elementType, int32_t lowerBound, uint32_t count, const void* elements);
// Locks the array and hands out its data; each access needs one unaccess.
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
// Fails with DISP_E_ARRAYISLOCKED (and keeps the array) while it is locked.
// Destroying null is S_OK; destroying an array that is not alive is counted
// in LiveResources::invalidReleases and E_INVALIDARG.
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
// Releases what the variant owns (its string or array) and empties it. A
// variant whose array is locked is left as it is (DISP_E_ARRAYISLOCKED).
HRESULT VariantClear(VARIANT* value);

// ---- Release accounting ---------------------------------------------------
// Numbers of system strings, safe arrays and reference-counted objects
// currently alive in the process, and of releases of something that was not
// alive (a second free, a pointer never handed out): those are ignored, so a
// test can count them instead of crashing.
struct LiveResources {
    int64_t strings = 0;
    int64_t arrays = 0;
    int64_t objects = 0;
    int64_t invalidReleases = 0;
};
LiveResources CurrentLiveResources();

// ---- Objects --------------------------------------------------------------
// Interface ids are texts in braces, compared without regard to case.
inline constexpr const char* IID_IUnknown = "{00000000-0000-0000-C000-000000000046}";
inline constexpr const char* IID_IDispatch = "{00020400-0000-0000-C000-000000000046}";
inline constexpr const char* IID_IRunnableObject = "{00000126-0000-0000-C000-000000000046}";

// True when two class or interface ids name the same id (case ignored).
bool IsEqualGUID(std::string_view a, std::string_view b);

class IUnknown {
public:
    // On success *out holds an added reference and points to the interface
    // asked for, to be cast to that interface type (IUnknown*, IDispatch*,
    // xrawfile::IXRawfile* ...); on failure *out is null.
    virtual HRESULT QueryInterface(const std::string& iid, void** out) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// Parameter kinds of a dispatch call, as the control methods declare them.
// (The scoped enumerator BSTR names the kind, not the string type above.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
enum class ParamKind { BSTR, I4, PI4, PR8, PBSTR, PVARIANT, PDATE };
#pragma GCC diagnostic pop

// One typed argument of a dispatch call.
struct DispArg {
    ParamKind kind;
    union {
        const char* str;  // BSTR: passed by value
        int32_t i4;       // I4
        int32_t* pi4;     // PI4
        double* pr8;      // PR8 and PDATE
        BSTR* pbstr;      // PBSTR
        VARIANT* pvar;    // PVARIANT
    };
    static DispArg Bstr(const char* text) {
        DispArg a{ParamKind::BSTR, {}};
        a.str = text;
        return a;
    }
    static DispArg I4(int32_t value) {
        DispArg a{ParamKind::I4, {}};
        a.i4 = value;
        return a;
    }
    static DispArg PI4(int32_t* value) {
        DispArg a{ParamKind::PI4, {}};
        a.pi4 = value;
        return a;
    }
    static DispArg PR8(double* value) {
        DispArg a{ParamKind::PR8, {}};
        a.pr8 = value;
        return a;
    }
    static DispArg PDate(double* value) {
        DispArg a{ParamKind::PDATE, {}};
        a.pr8 = value;
        return a;
    }
    static DispArg PBstr(BSTR* value) {
        DispArg a{ParamKind::PBSTR, {}};
        a.pbstr = value;
        return a;
    }
    static DispArg PVariant(VARIANT* value) {
        DispArg a{ParamKind::PVARIANT, {}};
        a.pvar = value;
        return a;
    }
};

// The dispatch interface of a control: a method called by dispatch id with
// typed arguments and a 32-bit integer result. The returned status tells
// whether the call itself could be made (unknown id, wrong arguments ...);
// what the method answered is in *result.
class IDispatch : public IUnknown {
public:
    virtual HRESULT Invoke(int32_t dispatchId, const std::vector<DispArg>& args, int32_t* result) = 0;
};

// Optional interface of an object that has a running state of its own.
// OleRun asks for it: an object that does not answer it counts as running;
// one that does is put into its running state by Run, which may refuse.
class IRunnableObject : public IUnknown {
public:
    virtual HRESULT Run() = 0;
};

// Reference count for objects of this layer; also counts live objects for
// LiveResources::objects. Starts at 1 (the creator's reference).
class RefCount {
public:
    RefCount();
    ~RefCount();
    RefCount(const RefCount&) = delete;
    RefCount& operator=(const RefCount&) = delete;
    uint32_t Add() { return ++count_; }
    // Returns the count left; the owner deletes itself at 0.
    uint32_t Drop() { return --count_; }

private:
    uint32_t count_ = 1;
};

// The reference counting of an object that deletes itself when its last
// reference is released: derive from RefCounted<Interface>.
template <class Interface>
class RefCounted : public Interface {
public:
    uint32_t AddRef() override { return refs_.Add(); }
    uint32_t Release() override {
        const uint32_t left = refs_.Drop();
        if (left == 0) delete this;
        return left;
    }

private:
    RefCount refs_;
};

// ---- Class registry -------------------------------------------------------
// A factory makes a new object with one reference held by the caller.
using ClassFactory = std::function<IUnknown*()>;

// Registers (or replaces) a class under its class id ("{...}") and ProgIDs.
void RegisterClass(const std::string& classId, const std::vector<std::string>& progIds, ClassFactory factory);
void UnregisterClass(const std::string& classId);
void ClearClassRegistry();

// What is registered, so a test can put the registry back as it found it.
struct ClassRegistration {
    std::string classId;
    std::vector<std::string> progIds;
    ClassFactory factory;
};
std::vector<ClassRegistration> RegisteredClasses();

// Looks up a registered ProgID (case ignored); CO_E_CLASSSTRING when unknown.
HRESULT CLSIDFromProgID(const std::string& progId, std::string* classId);
// Reads a class id written in braces ({8-4-4-4-12 hex digits}) into its
// upper-case form; anything else is CO_E_CLASSSTRING. The class need not be
// registered.
HRESULT CLSIDFromString(const std::string& text, std::string* classId);
// Makes an object of a registered class and asks it for `iid`; every class
// context counts (all classes here live in the process).
// REGDB_E_CLASSNOTREG for an unknown class, E_FAIL when the factory makes
// nothing, otherwise the object's answer for `iid`.
HRESULT CoCreateInstance(const std::string& classId, const std::string& iid, void** out);
// Puts an object into its running state (see IRunnableObject).
HRESULT OleRun(IUnknown* object);

}  // namespace platform
