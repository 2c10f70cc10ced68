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
bool IsControlContainerEnabled();

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
    // Destroys the window (and so its control and child controls).
    virtual ~CWnd();

    // Creates a control of the registered class `classId` (a class id in
    // braces, or a ProgID) as a hidden child of `parent` (no name, style 0,
    // empty rectangle, id 0): the object is made, asked for its dispatch
    // interface and put into its running state. False when the parent is
    // absent or cannot host controls, or any of those steps fails. A control
    // this window already held is destroyed first.
    virtual bool CreateControl(const std::string& classId, CWnd* parent);

    // Calls a method of the control by dispatch id. Throws DispatchError when
    // the call cannot be made (status E_UNEXPECTED when there is no control,
    // else the dispatch interface's own status); otherwise *result (when not
    // null) holds the method's answer.
    void InvokeHelper(int32_t dispatchId, int32_t* result, const std::vector<DispArg>& args);

    // Destroys the window: its control is released and every control created
    // inside it is destroyed too. False when there was no window.
    bool DestroyWindow();

    bool HasControl() const { return control_ != nullptr; }
    bool CanHostControls() const { return canHostControls_; }

protected:
    bool canHostControls_ = false;
    bool windowExists_ = false;

private:
    void AdoptChild(CWnd* child);
    void ForgetChild(CWnd* child);

    IDispatch* control_ = nullptr;
    CWnd* parent_ = nullptr;
    std::vector<CWnd*> children_;
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
