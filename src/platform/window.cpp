#include "platform/window.h"

#include <algorithm>

namespace platform {

namespace {
bool controlContainerEnabled = true;
}  // namespace

void AfxEnableControlContainer(bool enabled) { controlContainerEnabled = enabled; }

bool IsControlContainerEnabled() { return controlContainerEnabled; }

CWnd::~CWnd() { DestroyWindow(); }

namespace {

HRESULT ClassIdOf(const std::string& text, std::string* classId) {
    if (!text.empty() && text.front() == '{') return CLSIDFromString(text, classId);
    return CLSIDFromProgID(text, classId);
}

// Makes the object, takes its dispatch interface and runs it; null on any failure.
IDispatch* MakeRunningControl(const std::string& classIdText) {
    std::string classId;
    if (Failed(ClassIdOf(classIdText, &classId))) return nullptr;
    void* made = nullptr;
    if (Failed(CoCreateInstance(classId, IID_IDispatch, &made)) || made == nullptr) return nullptr;
    auto* control = static_cast<IDispatch*>(made);
    if (Failed(OleRun(control))) {
        control->Release();
        return nullptr;
    }
    return control;
}

}  // namespace

bool CWnd::CreateControl(const std::string& classId, CWnd* parent) {
    DestroyWindow();
    if (parent == nullptr || !parent->windowExists_ || !parent->canHostControls_) return false;
    CoInitialize();
    IDispatch* control = MakeRunningControl(classId);
    if (control == nullptr) return false;
    control_ = control;
    windowExists_ = true;
    parent->AdoptChild(this);
    return true;
}

void CWnd::InvokeHelper(int32_t dispatchId, int32_t* result, const std::vector<DispArg>& args) {
    if (control_ == nullptr) throw DispatchError{dispatchId, E_UNEXPECTED};
    int32_t answer = 0;
    HRESULT status = control_->Invoke(dispatchId, args, &answer);
    if (Failed(status)) throw DispatchError{dispatchId, status};
    if (result != nullptr) *result = answer;
}

bool CWnd::DestroyWindow() {
    bool existed = windowExists_;
    while (!children_.empty()) children_.back()->DestroyWindow();
    if (control_ != nullptr) {
        IDispatch* control = control_;
        control_ = nullptr;
        control->Release();
    }
    if (parent_ != nullptr) parent_->ForgetChild(this);
    windowExists_ = false;
    canHostControls_ = false;
    return existed;
}

void CWnd::AdoptChild(CWnd* child) {
    child->parent_ = this;
    children_.push_back(child);
}

void CWnd::ForgetChild(CWnd* child) {
    std::erase(children_, child);
    child->parent_ = nullptr;
}

HostWindow::HostWindow() {
    windowExists_ = true;
    canHostControls_ = controlContainerEnabled;
}

}  // namespace platform
