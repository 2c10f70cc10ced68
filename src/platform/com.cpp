#include "platform/com.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "platform/ascii_case.h"

namespace platform {

namespace {

// Which strings and arrays are alive, so that a release of anything else is
// counted instead of freeing it. Readers on several threads (one component
// each) make and free strings and arrays at once, several per scan, so the
// sets are split into shards by address, each with its own lock, and two
// threads seldom wait for each other.
struct LedgerShard {
    std::mutex mutex;
    std::unordered_set<const void*> liveStrings;
    std::unordered_set<const void*> liveArrays;
};

constexpr std::size_t kLedgerShards = 64;

std::array<LedgerShard, kLedgerShards>& Shards() {
    static std::array<LedgerShard, kLedgerShards> shards;
    return shards;
}

LedgerShard& ShardOf(const void* address) {
    // Blocks lie 16 bytes apart or more: mix the address before taking its top bits.
    const uint64_t mixed = (reinterpret_cast<uintptr_t>(address) >> 4) * 0x9e3779b97f4a7c15ull;
    return Shards()[mixed >> 58];
}

std::atomic<int64_t> liveObjects{0};
std::atomic<int64_t> invalidReleases{0};

// Adds `address` to, or takes it out of, one of its shard's sets; Leave is
// false when it was not there to take out.
void Enter(const void* address, std::unordered_set<const void*> LedgerShard::*set) {
    LedgerShard& shard = ShardOf(address);
    std::lock_guard<std::mutex> lock(shard.mutex);
    (shard.*set).insert(address);
}

bool Leave(const void* address, std::unordered_set<const void*> LedgerShard::*set) {
    LedgerShard& shard = ShardOf(address);
    std::lock_guard<std::mutex> lock(shard.mutex);
    return (shard.*set).erase(address) != 0;
}

bool IsIn(const void* address, std::unordered_set<const void*> LedgerShard::*set) {
    LedgerShard& shard = ShardOf(address);
    std::lock_guard<std::mutex> lock(shard.mutex);
    return (shard.*set).count(address) != 0;
}

}  // namespace

// ---- Initialisation ---------------------------------------------------------

HRESULT CoInitialize() {
    thread_local bool initialised = false;
    if (initialised) return S_FALSE;
    initialised = true;
    return S_OK;
}

// ---- System strings ---------------------------------------------------------
// Layout: an 8-byte header holding the length, then the characters and a NUL.
// The string handed out points just past the header.

namespace {
constexpr size_t kStringHeader = 8;

uint32_t& StoredLength(BSTR text) { return *reinterpret_cast<uint32_t*>(text - kStringHeader); }
}  // namespace

BSTR SysAllocString(std::string_view text) {
    auto* block = static_cast<char*>(std::malloc(kStringHeader + text.size() + 1));
    if (block == nullptr) return nullptr;
    BSTR result = block + kStringHeader;
    StoredLength(result) = static_cast<uint32_t>(text.size());
    if (!text.empty()) std::memcpy(result, text.data(), text.size());
    result[text.size()] = '\0';
    Enter(result, &LedgerShard::liveStrings);
    return result;
}

void SysFreeString(BSTR text) {
    if (text == nullptr) return;
    if (!Leave(text, &LedgerShard::liveStrings)) {
        ++invalidReleases;
        return;
    }
    std::free(text - kStringHeader);
}

uint32_t SysStringLen(BSTR text) { return text == nullptr ? 0 : StoredLength(text); }

// ---- Safe arrays ------------------------------------------------------------

struct SAFEARRAY {
    VARTYPE elementType = VT_EMPTY;
    int32_t lowerBound = 0;
    uint32_t count = 0;
    uint32_t locks = 0;
    // Kept in doubles so every element type is aligned.
    std::unique_ptr<double[]> storage;
};

namespace {

size_t ElementSize(VARTYPE type) {
    switch (type) {
        case VT_I1:
        case VT_UI1: return 1;
        case VT_I2:
        case VT_UI2:
        case VT_BOOL: return 2;
        case VT_I4:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
        case VT_R4: return 4;
        case VT_I8:
        case VT_UI8:
        case VT_R8:
        case VT_DATE: return 8;
        default: return 0;
    }
}

bool IsLiveArray(const SAFEARRAY* array) { return array != nullptr && IsIn(array, &LedgerShard::liveArrays); }

// A registered array of `count` elements whose storage, whole doubles and
// at least one, is left as allocated for the caller to fill: `*elementBytes`
// of elements, `*storedBytes` in all. Null for a type that is not a plain
// number.
SAFEARRAY* NewVector(VARTYPE elementType, int32_t lowerBound, uint32_t count, size_t* elementBytes,
                     size_t* storedBytes) {
    const size_t elementSize = ElementSize(elementType);
    if (elementSize == 0) return nullptr;
    auto* array = new SAFEARRAY;
    array->elementType = elementType;
    array->lowerBound = lowerBound;
    array->count = count;
    *elementBytes = static_cast<size_t>(count) * elementSize;
    const size_t doubles = std::max<size_t>(1, (*elementBytes + sizeof(double) - 1) / sizeof(double));
    *storedBytes = doubles * sizeof(double);
    array->storage = std::make_unique_for_overwrite<double[]>(doubles);
    Enter(array, &LedgerShard::liveArrays);
    return array;
}

}  // namespace

SAFEARRAY* SafeArrayCreateVector(VARTYPE elementType, int32_t lowerBound, uint32_t count) {
    size_t elementBytes = 0;
    size_t storedBytes = 0;
    SAFEARRAY* array = NewVector(elementType, lowerBound, count, &elementBytes, &storedBytes);
    if (array != nullptr) std::memset(array->storage.get(), 0, storedBytes);
    return array;
}

SAFEARRAY* SafeArrayCreateVectorCopy(VARTYPE elementType, int32_t lowerBound, uint32_t count, const void* elements) {
    size_t elementBytes = 0;
    size_t storedBytes = 0;
    SAFEARRAY* array = NewVector(elementType, lowerBound, count, &elementBytes, &storedBytes);
    if (array == nullptr) return nullptr;
    auto* storage = reinterpret_cast<char*>(array->storage.get());
    if (elementBytes > 0) std::memcpy(storage, elements, elementBytes);
    std::memset(storage + elementBytes, 0, storedBytes - elementBytes);
    return array;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
    if (data == nullptr) return E_POINTER;
    *data = nullptr;
    if (!IsLiveArray(array)) return E_INVALIDARG;
    ++array->locks;
    *data = array->storage.get();
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) {
    if (!IsLiveArray(array)) return E_INVALIDARG;
    if (array->locks == 0) return E_UNEXPECTED;
    --array->locks;
    return S_OK;
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
    if (array == nullptr) return S_OK;
    if (!IsLiveArray(array)) {
        ++invalidReleases;
        return E_INVALIDARG;
    }
    if (array->locks != 0) return DISP_E_ARRAYISLOCKED;
    Leave(array, &LedgerShard::liveArrays);
    delete array;
    return S_OK;
}

uint32_t SafeArrayElementCount(const SAFEARRAY* array) { return array == nullptr ? 0 : array->count; }

VARTYPE SafeArrayElementType(const SAFEARRAY* array) {
    return array == nullptr ? static_cast<VARTYPE>(VT_EMPTY) : array->elementType;
}

// ---- Variants ---------------------------------------------------------------

void VariantInit(VARIANT* value) {
    if (value == nullptr) return;
    value->vt = VT_EMPTY;
    value->llVal = 0;
}

HRESULT VariantClear(VARIANT* value) {
    if (value == nullptr) return E_INVALIDARG;
    if ((value->vt & VT_ARRAY) != 0) {
        // A locked array is kept, and so is the variant that holds it.
        if (SafeArrayDestroy(value->parray) == DISP_E_ARRAYISLOCKED) return DISP_E_ARRAYISLOCKED;
    } else if (value->vt == VT_BSTR) {
        SysFreeString(value->bstrVal);
    }
    VariantInit(value);
    return S_OK;
}

// ---- Accounting and objects -------------------------------------------------

LiveResources CurrentLiveResources() {
    LiveResources live;
    for (LedgerShard& shard : Shards()) {
        std::lock_guard<std::mutex> lock(shard.mutex);
        live.strings += static_cast<int64_t>(shard.liveStrings.size());
        live.arrays += static_cast<int64_t>(shard.liveArrays.size());
    }
    live.objects = liveObjects;
    live.invalidReleases = invalidReleases;
    return live;
}

RefCount::RefCount() { ++liveObjects; }
RefCount::~RefCount() { --liveObjects; }

bool IsEqualGUID(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ToUpperAscii(a) == ToUpperAscii(b);
}

// ---- Class registry ---------------------------------------------------------

namespace {

struct Registry {
    // Keyed by the upper-case class id; ProgIDs keyed upper-case too.
    std::map<std::string, ClassRegistration> classes;
    std::unordered_map<std::string, std::string> classOfProgId;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

void ForgetProgIdsOf(const std::string& classKey) {
    auto& progIds = TheRegistry().classOfProgId;
    std::erase_if(progIds, [&](const auto& entry) { return entry.second == classKey; });
}

}  // namespace

void RegisterClass(const std::string& classId, const std::vector<std::string>& progIds, ClassFactory factory) {
    Registry& registry = TheRegistry();
    std::string key = ToUpperAscii(classId);
    ForgetProgIdsOf(key);
    registry.classes[key] = ClassRegistration{classId, progIds, std::move(factory)};
    for (const std::string& progId : progIds) registry.classOfProgId[ToUpperAscii(progId)] = key;
}

void UnregisterClass(const std::string& classId) {
    std::string key = ToUpperAscii(classId);
    ForgetProgIdsOf(key);
    TheRegistry().classes.erase(key);
}

void ClearClassRegistry() {
    TheRegistry().classes.clear();
    TheRegistry().classOfProgId.clear();
}

std::vector<ClassRegistration> RegisteredClasses() {
    std::vector<ClassRegistration> result;
    for (const auto& entry : TheRegistry().classes) {
        ClassRegistration registration = entry.second;
        // Only the ProgIDs that still lead to this class (a later class may have taken one over).
        std::erase_if(registration.progIds, [&](const std::string& progId) {
            auto found = TheRegistry().classOfProgId.find(ToUpperAscii(progId));
            return found == TheRegistry().classOfProgId.end() || found->second != entry.first;
        });
        result.push_back(std::move(registration));
    }
    return result;
}

HRESULT CLSIDFromProgID(const std::string& progId, std::string* classId) {
    if (classId == nullptr) return E_POINTER;
    const Registry& registry = TheRegistry();
    auto found = registry.classOfProgId.find(ToUpperAscii(progId));
    if (found == registry.classOfProgId.end()) return CO_E_CLASSSTRING;
    *classId = registry.classes.at(found->second).classId;
    return S_OK;
}

HRESULT CLSIDFromString(const std::string& text, std::string* classId) {
    if (classId == nullptr) return E_POINTER;
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    static constexpr std::string_view kShape = "{00000000-0000-0000-0000-000000000000}";
    if (text.size() != kShape.size()) return CO_E_CLASSSTRING;
    for (size_t i = 0; i < kShape.size(); ++i) {
        bool fits = kShape[i] == '0' ? std::isxdigit(static_cast<unsigned char>(text[i])) != 0 : text[i] == kShape[i];
        if (!fits) return CO_E_CLASSSTRING;
    }
    *classId = ToUpperAscii(text);
    return S_OK;
}

HRESULT CoCreateInstance(const std::string& classId, const std::string& iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    const Registry& registry = TheRegistry();
    auto found = registry.classes.find(ToUpperAscii(classId));
    if (found == registry.classes.end() || !found->second.factory) return REGDB_E_CLASSNOTREG;
    IUnknown* object = found->second.factory();
    if (object == nullptr) return E_FAIL;
    HRESULT status = object->QueryInterface(iid, out);
    object->Release();
    return status;
}

HRESULT OleRun(IUnknown* object) {
    if (object == nullptr) return E_INVALIDARG;
    void* runnable = nullptr;
    if (Failed(object->QueryInterface(IID_IRunnableObject, &runnable)) || runnable == nullptr) return S_OK;
    auto* runnableObject = static_cast<IRunnableObject*>(runnable);
    HRESULT status = runnableObject->Run();
    runnableObject->Release();
    return status;
}

}  // namespace platform
