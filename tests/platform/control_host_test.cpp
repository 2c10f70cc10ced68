// The hidden control host: creating a control by class id or ProgID, the
// hosting switch, dispatch calls by id and their machinery failures, and
// destroying windows with the controls in them.

#include <gtest/gtest.h>

#include <memory>

#include "common/xrawfile.h"
#include "platform/window.h"
#include "support/fake_components.h"

namespace {

using namespace platform;
using testing_support::FakeClass;
using testing_support::FakeEvents;
using testing_support::RegisterFake;

// A control whose one method (dispatch id 7) adds its two integers, writes
// the sum to its third argument and answers the sum as its result.
class AddingControl final : public RefCounted<IDispatch> {
public:
    HRESULT QueryInterface(const std::string& iid, void** out) override {
        *out = nullptr;
        if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    HRESULT Invoke(int32_t dispatchId, const std::vector<DispArg>& args, int32_t* result) override {
        if (dispatchId != 7) return DISP_E_MEMBERNOTFOUND;
        if (args.size() != 3) return DISP_E_BADPARAMCOUNT;
        if (args[0].kind != ParamKind::I4 || args[1].kind != ParamKind::I4 || args[2].kind != ParamKind::PI4) {
            return DISP_E_TYPEMISMATCH;
        }
        *args[2].pi4 = args[0].i4 + args[1].i4;
        *result = *args[2].pi4;
        return S_OK;
    }

private:
};

constexpr const char* kAddingClassId = "{0FA4E000-0000-4000-8000-0000000000AD}";

class ControlHost : public ::testing::Test {
protected:
    void SetUp() override {
        ClearClassRegistry();
        testing_support::ClearFakeEvents();
        RegisterClass(kAddingClassId, {"Adding.Control.1"}, []() -> IUnknown* { return new AddingControl; });
    }
    testing_support::ScopedRegistry restore_;
};

TEST_F(ControlHost, ControlIsMadeByClassIdOrProgIdAndCalledById) {
    HostWindow host;
    EXPECT_TRUE(host.CanHostControls());
    for (const char* name : {kAddingClassId, "{0fa4e000-0000-4000-8000-0000000000ad}", "adding.control.1"}) {
        CWnd control;
        ASSERT_TRUE(control.CreateControl(name, &host)) << name;
        EXPECT_TRUE(control.HasControl());
        int32_t sum = 0;
        int32_t result = 0;
        control.InvokeHelper(7, &result, {DispArg::I4(40), DispArg::I4(2), DispArg::PI4(&sum)});
        EXPECT_EQ(sum, 42);
        EXPECT_EQ(result, 42);
    }
}

TEST_F(ControlHost, HostsThatCannotHoldControlsMakeNoObject) {
    LiveResources before = CurrentLiveResources();
    FakeClass fake;
    fake.progIds = {"Fake.Control.1"};
    RegisterFake(fake);
    {
        AfxEnableControlContainer(false);
        HostWindow disabled;
        AfxEnableControlContainer(true);
        HostWindow switchedOff;
        switchedOff.SetCanHostControls(false);
        CWnd control;
        EXPECT_FALSE(disabled.CanHostControls());
        EXPECT_FALSE(control.CreateControl(testing_support::kFakeClassId, &disabled));
        EXPECT_FALSE(control.CreateControl(testing_support::kFakeClassId, &switchedOff));
        EXPECT_FALSE(control.CreateControl(testing_support::kFakeClassId, nullptr));
        // A control window is no host for another control.
        HostWindow host;
        CWnd first;
        ASSERT_TRUE(first.CreateControl(testing_support::kFakeClassId, &host));
        testing_support::ClearFakeEvents();
        EXPECT_FALSE(control.CreateControl(testing_support::kFakeClassId, &first));
        EXPECT_FALSE(control.HasControl());
        EXPECT_TRUE(FakeEvents().empty());
    }
    EXPECT_EQ(CurrentLiveResources().objects, before.objects);
}

TEST_F(ControlHost, ObjectsThatCannotBeControlsAreReleased) {
    LiveResources before = CurrentLiveResources();
    HostWindow host;
    CWnd control;
    EXPECT_FALSE(control.CreateControl("{0FA4E000-0000-4000-8000-0000000000FF}", &host));  // not registered
    EXPECT_FALSE(control.CreateControl("No.Such.Control", &host));
    EXPECT_FALSE(control.CreateControl("{not a class id}", &host));

    FakeClass noDispatch;
    noDispatch.name = "plain";
    noDispatch.answersDispatch = false;
    RegisterFake(noDispatch);
    EXPECT_FALSE(control.CreateControl(testing_support::kFakeClassId, &host));

    FakeClass notRunning;
    notRunning.name = "stopped";
    notRunning.runStatus = E_FAIL;
    RegisterFake(notRunning);
    EXPECT_FALSE(control.CreateControl(testing_support::kFakeClassId, &host));
    EXPECT_FALSE(control.HasControl());
    EXPECT_EQ(FakeEvents(),
              (std::vector<std::string>{"make plain", "query plain IDispatch", "release plain", "make stopped",
                                        "query stopped IDispatch", "run stopped", "release stopped"}));
    EXPECT_EQ(CurrentLiveResources().objects, before.objects);
}

TEST_F(ControlHost, MachineryFailuresAreThrownWithTheirStatus) {
    HostWindow host;
    CWnd none;
    try {
        int32_t result = 0;
        none.InvokeHelper(xrawfile::kDispOpen, &result, {DispArg::Bstr("run.raw")});
        FAIL() << "a call without a control went through";
    } catch (const DispatchError& error) {
        EXPECT_EQ(error.dispatchId, xrawfile::kDispOpen);
        EXPECT_EQ(error.status, E_UNEXPECTED);
    }

    CWnd control;
    ASSERT_TRUE(control.CreateControl(kAddingClassId, &host));
    int32_t sum = 0;
    int32_t result = -1;
    auto statusOf = [&](int32_t id, const std::vector<DispArg>& args) -> HRESULT {
        try {
            control.InvokeHelper(id, &result, args);
        } catch (const DispatchError& error) {
            EXPECT_EQ(error.dispatchId, id);
            return error.status;
        }
        return S_OK;
    };
    EXPECT_EQ(statusOf(8, {}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(statusOf(7, {DispArg::I4(1)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(statusOf(7, {DispArg::I4(1), DispArg::PR8(nullptr), DispArg::PI4(&sum)}), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(result, -1);

    FakeClass broken;
    broken.brokenDispatchIds = {{xrawfile::kDispGetFirstSpectrumNumber, E_OUTOFMEMORY}};
    RegisterFake(broken);
    ASSERT_TRUE(control.CreateControl(testing_support::kFakeClassId, &host));
    EXPECT_EQ(statusOf(xrawfile::kDispGetFirstSpectrumNumber, {DispArg::PI4(&sum)}), E_OUTOFMEMORY);
    // Without an inner object the fake's other methods are not there.
    EXPECT_EQ(statusOf(xrawfile::kDispGetLastSpectrumNumber, {DispArg::PI4(&sum)}), DISP_E_MEMBERNOTFOUND);
}

TEST_F(ControlHost, DestroyingTheHostDestroysItsControls) {
    LiveResources before = CurrentLiveResources();
    auto host = std::make_unique<HostWindow>();
    CWnd first;
    CWnd second;
    ASSERT_TRUE(first.CreateControl(kAddingClassId, host.get()));
    ASSERT_TRUE(second.CreateControl(kAddingClassId, host.get()));
    EXPECT_EQ(CurrentLiveResources().objects, before.objects + 2);
    EXPECT_TRUE(second.DestroyWindow());
    EXPECT_FALSE(second.DestroyWindow());
    EXPECT_EQ(CurrentLiveResources().objects, before.objects + 1);
    EXPECT_TRUE(host->DestroyWindow());
    EXPECT_FALSE(first.HasControl());
    EXPECT_FALSE(host->CanHostControls());
    EXPECT_EQ(CurrentLiveResources().objects, before.objects);
    EXPECT_FALSE(first.CreateControl(kAddingClassId, host.get()));
    host.reset();  // the controls outlive their host window object safely
}

TEST_F(ControlHost, ControlObjectGoesWithItsWindowObject) {
    LiveResources before = CurrentLiveResources();
    HostWindow host;
    {
        CWnd control;
        ASSERT_TRUE(control.CreateControl(kAddingClassId, &host));
        ASSERT_TRUE(control.CreateControl(kAddingClassId, &host));  // replaces the first
        EXPECT_EQ(CurrentLiveResources().objects, before.objects + 1);
    }
    EXPECT_EQ(CurrentLiveResources().objects, before.objects);
    CWnd later;
    EXPECT_TRUE(later.CreateControl(kAddingClassId, &host));  // the host keeps working
}

}  // namespace
