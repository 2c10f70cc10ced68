#pragma once

// Fake classes for the in-process class registry, so tests can drive every
// construction and fallback path of the component readers: classes that are
// not made at all, refuse to run, answer only some interface versions, answer
// a version with an error, cannot serve as a control, or whose dispatch
// machinery fails for chosen dispatch ids.
//
// A fake passes every reader-interface and dispatch call on to an inner
// object made by `inner` (normally rawfile::CreateComponent, the real
// component, so fixture files still answer); without one those calls fail
// (E_NOTIMPL through the interface, DISP_E_MEMBERNOTFOUND through dispatch).
//
// Typical use:
//   testing_support::ScopedRegistry restore;   // puts registry and host switch back
//   platform::ClearClassRegistry();
//   testing_support::FakeClass fake;
//   fake.progIds = {xrawfile::kProgIdMsFileReader};
//   fake.versions = {5};                        // answers version 5 only
//   fake.inner = rawfile::CreateComponent;
//   testing_support::RegisterFake(fake);
//   ... construct the reader ...
//   EXPECT_EQ(testing_support::FakeEvents(), (std::vector<std::string>{"make fake", "run fake", ...}));

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/com.h"

namespace testing_support {

// A class id no real class uses.
inline constexpr const char* kFakeClassId = "{0FA4E000-0000-4000-8000-00000000FA4E}";

struct FakeClass {
    std::string name = "fake";  // names the fake in FakeEvents()
    std::string classId = kFakeClassId;
    std::vector<std::string> progIds;
    // False: the factory makes nothing, so CoCreateInstance fails (E_FAIL).
    bool makes = true;
    // What OleRun gets from the object (S_OK: it runs).
    platform::HRESULT runStatus = platform::S_OK;
    // Reader-interface versions (1 to 5) the object answers.
    std::set<int> versions{1, 2, 3, 4, 5};
    // The answer when asked for a version it does not answer.
    platform::HRESULT versionRefusal = platform::E_NOINTERFACE;
    // False: the object does not answer IDispatch, so it cannot be a control.
    bool answersDispatch = true;
    // Dispatch ids whose call fails in the machinery with the given status.
    std::map<int32_t, platform::HRESULT> brokenDispatchIds;
    // Makes the object every call is passed on to (may be empty).
    platform::ClassFactory inner;
};

// Registers the fake under its class id and ProgIDs (replacing what was there).
void RegisterFake(const FakeClass& fake);

// What was asked of fakes since the last ClearFakeEvents(), in order:
// "make <name>", "run <name>", "query <name> v<n>" (a reader-interface
// version), "query <name> IDispatch", "query <name> IUnknown",
// "release <name>" (the last reference went).
std::vector<std::string>& FakeEvents();
void ClearFakeEvents();

// Saves the class registry and the control-hosting switch, and puts both
// back when it goes.
class ScopedRegistry {
public:
    ScopedRegistry();
    ~ScopedRegistry();
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

private:
    std::vector<platform::ClassRegistration> saved_;
    bool containerEnabled_;
};

}  // namespace testing_support
