#pragma once

// A minimal window-and-control layer: a hidden host window that can hold
// controls, and a window object that stands for one control created in it by
// class id and called through its dispatch interface.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com.h"

namespace platform {

// Switches on control hosting for host windows created afterwards (the
// default). Tests switch it off to make every host unable to hold controls.
void AfxEnableControlContainer(bool enabled = true);

// Raised by InvokeHelper when the dispatch machinery itself fails (no
// control, unknown dispatch id, bad arguments): not a method's own answer.
struct DispatchError {
    int32_t dispatchId;
    HRESULT status;
};

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    // Creates a control of the registered class `classId` as a hidden child
    // of `parent` (no name, style 0, empty rectangle, id 0). False when the
    // parent cannot host controls or the class cannot be made as a control.
    virtual bool CreateControl(const std::string& classId, CWnd* parent);

    // Calls a method of the control by dispatch id. Throws DispatchError when
    // the call cannot be made; otherwise *result holds the method's answer.
    void InvokeHelper(int32_t dispatchId, int32_t* result, const std::vector<DispArg>& args);

    // Destroys the control (or the window) and releases its object.
    bool DestroyWindow();

    bool HasControl() const { return control_ != nullptr; }
    bool CanHostControls() const { return canHostControls_; }

protected:
    bool canHostControls_ = false;

private:
    IDispatch* control_ = nullptr;
};

// The hidden top-level dialog window in which readers create their control.
class HostWindow : public CWnd {
public:
    // Takes the control-hosting switch as it stands when created.
    HostWindow();
    // Test hook: make this host unable (or able) to host controls.
    void SetCanHostControls(bool can) { canHostControls_ = can; }
};

}  // namespace platform
