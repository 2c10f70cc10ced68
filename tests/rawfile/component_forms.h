#pragma once

// One component object seen in both its forms: the reader interface
// (statuses) and the dispatch interface (control results), so a test can ask
// the same question both ways.

#include <string>
#include <vector>

#include "common/xrawfile.h"
#include "platform/com.h"

namespace rawfile_tests {

class ComponentForms {
public:
    ComponentForms();
    ~ComponentForms();
    ComponentForms(const ComponentForms&) = delete;
    ComponentForms& operator=(const ComponentForms&) = delete;

    xrawfile::IXRawfile* rawfile() const { return rawfile_; }
    // Calls by dispatch id; a machinery failure fails the test and answers -999.
    int32_t Call(int32_t dispatchId, const std::vector<platform::DispArg>& args);
    // The dispatch interface's own status for a call.
    platform::HRESULT Invoke(int32_t dispatchId, const std::vector<platform::DispArg>& args, int32_t* result);

private:
    xrawfile::IXRawfile* rawfile_ = nullptr;
    platform::IDispatch* dispatch_ = nullptr;
};

}  // namespace rawfile_tests
