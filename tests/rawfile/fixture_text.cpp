#include "fixture_text.h"

#include "rawfile/component.h"

namespace rawfile_tests {

RawfileRef::RawfileRef() {
    platform::IUnknown* object = rawfile::CreateComponent();
    void* answer = nullptr;
    object->QueryInterface(xrawfile::kInterfaceIds[1], &answer);
    object->Release();
    rawfile_ = static_cast<xrawfile::IXRawfile*>(answer);
}

RawfileRef::~RawfileRef() {
    if (rawfile_ != nullptr) rawfile_->Release();
}

std::string WriteFixture(const testing_support::TempDir& dir, const std::string& body, const std::string& name) {
    return dir.Write(name, "rawfixture 1\n" + body).string();
}

}  // namespace rawfile_tests
