#pragma once

// Helpers for the component tests: a fixture file in a temporary folder and
// a component object opened on it through its reader interface.

#include <string>

#include "common/xrawfile.h"
#include "support/temp_dir.h"

namespace rawfile_tests {

// A reference-holding pointer to the component's reader interface.
class RawfileRef {
public:
    RawfileRef();  // a fresh component object
    ~RawfileRef();
    RawfileRef(const RawfileRef&) = delete;
    RawfileRef& operator=(const RawfileRef&) = delete;
    xrawfile::IXRawfile* operator->() const { return rawfile_; }
    xrawfile::IXRawfile* get() const { return rawfile_; }

private:
    xrawfile::IXRawfile* rawfile_ = nullptr;
};

// Writes `body` after the fixture's first line into the folder.
std::string WriteFixture(const testing_support::TempDir& dir, const std::string& body,
                         const std::string& name = "run.raw");

}  // namespace rawfile_tests
