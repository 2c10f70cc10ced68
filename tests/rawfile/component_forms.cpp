#include "component_forms.h"

#include <gtest/gtest.h>

#include "rawfile/component.h"

namespace rawfile_tests {

ComponentForms::ComponentForms() {
    platform::IUnknown* object = rawfile::CreateComponent();
    void* answer = nullptr;
    EXPECT_EQ(object->QueryInterface(xrawfile::kInterfaceIds[1], &answer), platform::S_OK);
    rawfile_ = static_cast<xrawfile::IXRawfile*>(answer);
    EXPECT_EQ(object->QueryInterface(platform::IID_IDispatch, &answer), platform::S_OK);
    dispatch_ = static_cast<platform::IDispatch*>(answer);
    object->Release();
}

ComponentForms::~ComponentForms() {
    dispatch_->Release();
    rawfile_->Release();
}

int32_t ComponentForms::Call(int32_t dispatchId, const std::vector<platform::DispArg>& args) {
    int32_t result = -999;
    platform::HRESULT status = dispatch_->Invoke(dispatchId, args, &result);
    EXPECT_EQ(status, platform::S_OK) << "dispatch id " << dispatchId;
    return result;
}

platform::HRESULT ComponentForms::Invoke(int32_t dispatchId, const std::vector<platform::DispArg>& args,
                                         int32_t* result) {
    return dispatch_->Invoke(dispatchId, args, result);
}

}  // namespace rawfile_tests
