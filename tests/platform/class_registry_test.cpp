// The in-process class registry: lookup by ProgID and class id, object
// creation, running state, and restoring the registry after a test.

#include <gtest/gtest.h>

#include "common/xrawfile.h"
#include "platform/com.h"
#include "support/fake_components.h"

namespace {

using namespace platform;
using testing_support::FakeClass;
using testing_support::FakeEvents;
using testing_support::RegisterFake;
using testing_support::ScopedRegistry;

class ClassRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        ClearClassRegistry();
        testing_support::ClearFakeEvents();
    }
    ScopedRegistry restore_;
};

FakeClass FakeUnder(std::vector<std::string> progIds) {
    FakeClass fake;
    fake.progIds = std::move(progIds);
    return fake;
}

TEST_F(ClassRegistry, ProgIdsAndClassIdsAreFoundWithoutRegardToCase) {
    RegisterFake(FakeUnder({xrawfile::kProgIdMsFileReader, xrawfile::kProgIdXRawfile}));
    std::string classId;
    ASSERT_EQ(CLSIDFromProgID("msfilereader.xrawfile.1", &classId), S_OK);
    EXPECT_TRUE(IsEqualGUID(classId, testing_support::kFakeClassId));
    ASSERT_EQ(CLSIDFromProgID(xrawfile::kProgIdXRawfile, &classId), S_OK);
    EXPECT_TRUE(IsEqualGUID(classId, testing_support::kFakeClassId));
    EXPECT_EQ(CLSIDFromProgID("Other.Thing.1", &classId), CO_E_CLASSSTRING);

    void* made = nullptr;
    ASSERT_EQ(CoCreateInstance("{0fa4e000-0000-4000-8000-00000000fa4e}", IID_IUnknown, &made), S_OK);
    static_cast<IUnknown*>(made)->Release();
}

TEST_F(ClassRegistry, ClassIdTextMustHaveTheBracedShape) {
    std::string classId;
    ASSERT_EQ(CLSIDFromString("{b5562cf7-56ec-11d2-8102-00104b304896}", &classId), S_OK);
    EXPECT_EQ(classId, xrawfile::kClassId);
    for (const char* bad : {"B5562CF7-56EC-11D2-8102-00104B304896", "{B5562CF7-56EC-11D2-8102-00104B30489}",
                            "{B5562CF7-56EC-11D2-8102-00104B30489G}", "{B5562CF7+56EC-11D2-8102-00104B304896}",
                            "MSFileReader.XRawfile.1", ""}) {
        EXPECT_EQ(CLSIDFromString(bad, &classId), CO_E_CLASSSTRING) << bad;
    }
}

TEST_F(ClassRegistry, CreationFailsForUnknownClassesEmptyFactoriesAndRefusedInterfaces) {
    LiveResources before = CurrentLiveResources();
    void* made = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(testing_support::kFakeClassId, IID_IUnknown, &made), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(made, nullptr);

    FakeClass nothing = FakeUnder({"Fake.Nothing.1"});
    nothing.makes = false;
    RegisterFake(nothing);
    EXPECT_EQ(CoCreateInstance(testing_support::kFakeClassId, IID_IUnknown, &made), E_FAIL);

    FakeClass onlyFive = FakeUnder({"Fake.Five.1"});
    onlyFive.versions = {5};
    onlyFive.versionRefusal = E_FAIL;
    RegisterFake(onlyFive);
    EXPECT_EQ(CoCreateInstance(testing_support::kFakeClassId, xrawfile::kInterfaceIds[1], &made), E_FAIL);
    EXPECT_EQ(made, nullptr);
    ASSERT_EQ(CoCreateInstance(testing_support::kFakeClassId, xrawfile::kInterfaceIds[5], &made), S_OK);
    EXPECT_EQ(CurrentLiveResources().objects, before.objects + 1);
    static_cast<xrawfile::IXRawfile*>(made)->Release();
    EXPECT_EQ(CurrentLiveResources().objects, before.objects);
    EXPECT_EQ(CoCreateInstance(testing_support::kFakeClassId, IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(ClassRegistry, RegisteringAgainReplacesAndUnregisteringForgetsTheProgIds) {
    RegisterFake(FakeUnder({"Fake.Old.1"}));
    RegisterFake(FakeUnder({"Fake.New.1"}));
    std::string classId;
    EXPECT_EQ(CLSIDFromProgID("Fake.Old.1", &classId), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID("Fake.New.1", &classId), S_OK);
    ASSERT_EQ(RegisteredClasses().size(), 1u);
    EXPECT_EQ(RegisteredClasses()[0].progIds, std::vector<std::string>{"Fake.New.1"});
    UnregisterClass("{0FA4E000-0000-4000-8000-00000000fa4e}");
    EXPECT_EQ(CLSIDFromProgID("Fake.New.1", &classId), CO_E_CLASSSTRING);
    EXPECT_TRUE(RegisteredClasses().empty());
}

TEST_F(ClassRegistry, ScopedRegistryPutsBackWhatItFound) {
    RegisterFake(FakeUnder({"Fake.Kept.1"}));
    {
        ScopedRegistry inner;
        ClearClassRegistry();
        FakeClass other = FakeUnder({"Fake.Other.1"});
        other.classId = "{0FA4E000-0000-4000-8000-000000000002}";
        RegisterFake(other);
    }
    std::string classId;
    EXPECT_EQ(CLSIDFromProgID("Fake.Kept.1", &classId), S_OK);
    EXPECT_EQ(CLSIDFromProgID("Fake.Other.1", &classId), CO_E_CLASSSTRING);
    void* made = nullptr;
    ASSERT_EQ(CoCreateInstance(classId, IID_IUnknown, &made), S_OK);
    static_cast<IUnknown*>(made)->Release();
}

TEST_F(ClassRegistry, RunningStateIsAskedOfObjectsThatHaveOne) {
    FakeClass refusing = FakeUnder({"Fake.Refusing.1"});
    refusing.name = "refusing";
    refusing.runStatus = E_UNEXPECTED;
    RegisterFake(refusing);
    void* made = nullptr;
    ASSERT_EQ(CoCreateInstance(testing_support::kFakeClassId, IID_IUnknown, &made), S_OK);
    auto* object = static_cast<IUnknown*>(made);
    EXPECT_EQ(OleRun(object), E_UNEXPECTED);
    void* version = nullptr;
    EXPECT_EQ(object->QueryInterface(xrawfile::kInterfaceIds[3], &version), S_OK);
    static_cast<IUnknown*>(version)->Release();
    object->Release();
    EXPECT_EQ(FakeEvents(), (std::vector<std::string>{"make refusing", "query refusing IUnknown", "run refusing",
                                                      "query refusing v3", "release refusing"}));
    EXPECT_EQ(OleRun(nullptr), E_INVALIDARG);
}

// An object without a running state of its own counts as running.
class PlainObject final : public RefCounted<IUnknown> {
public:
    HRESULT QueryInterface(const std::string& iid, void** out) override {
        *out = nullptr;
        if (!IsEqualGUID(iid, IID_IUnknown)) return E_NOINTERFACE;
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }

private:
};

TEST_F(ClassRegistry, ObjectWithoutRunningStateRuns) {
    auto* object = new PlainObject;
    EXPECT_EQ(OleRun(object), S_OK);
    object->Release();
}

}  // namespace
