#include "spexor/reader/component_connection.h"

#include "platform/com.h"
#include "platform/fatal_error.h"
#include "spexor/console/console_lines.h"
#include "spexor/reader/reader_messages.h"

using namespace platform;

namespace {

constexpr int kNewestVersion = 5;
constexpr int kOldestNewerVersion = 2;

HRESULT ClassIdOf(const std::string& text, std::string* classId) {
    if (!text.empty() && text.front() == '{') return CLSIDFromString(text, classId);
    return CLSIDFromProgID(text, classId);
}

[[noreturn]] void RaiseMissingComponent(const char* reason) {
    console::ReportException(reason);
    console::NoteException("MSFileReader should be 32/64 bit version corresponding to Quorvel.");
    throw FatalError();
}

// Asks an object of a newer version for version 1 and releases the newer
// one. E_NOINTERFACE gives null; any other error is a component error.
xrawfile::IXRawfile* VersionOneOf(xrawfile::IXRawfile* newer) {
    void* answer = nullptr;
    const HRESULT status = newer->QueryInterface(xrawfile::kInterfaceIds[1], &answer);
    newer->Release();
    if (Succeeded(status)) return static_cast<xrawfile::IXRawfile*>(answer);
    if (status == E_NOINTERFACE) return nullptr;
    RaiseComponentError("QueryInterface", status);
}

// Steps 2 and 3 for one ProgID: null only when a newer version was made
// but does not answer for version 1.
xrawfile::IXRawfile* ConnectByProgId(const char* progId) {
    for (int version = kNewestVersion; version >= kOldestNewerVersion; --version) {
        if (xrawfile::IXRawfile* newer = MakeInterfaceVersion(progId, version)) return VersionOneOf(newer);
    }
    xrawfile::IXRawfile* first = MakeInterfaceVersion(progId, 1);
    if (first == nullptr) RaiseMissingComponent("Cannot load Thermo MSFileReader. Cannot read .RAW files.");
    return first;
}

}  // namespace

xrawfile::IXRawfile* MakeInterfaceVersion(const std::string& progId, int version) {
    std::string classId;
    if (Failed(ClassIdOf(progId, &classId))) return nullptr;
    void* made = nullptr;
    if (Failed(CoCreateInstance(classId, IID_IUnknown, &made)) || made == nullptr) return nullptr;
    auto* object = static_cast<IUnknown*>(made);
    void* answer = nullptr;
    if (Succeeded(OleRun(object))) {
        if (Failed(object->QueryInterface(xrawfile::kInterfaceIds[version], &answer))) answer = nullptr;
    }
    object->Release();
    return static_cast<xrawfile::IXRawfile*>(answer);
}

xrawfile::IXRawfile* ConnectToComponent() {
    for (const char* progId : {xrawfile::kProgIdMsFileReader, xrawfile::kProgIdXRawfile}) {
        if (xrawfile::IXRawfile* rawfile = ConnectByProgId(progId)) return rawfile;
    }
    RaiseMissingComponent("Cannot read .RAW files. Check your environment!");
}
