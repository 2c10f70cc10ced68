// The component as the programs reach it: registered under its class id and
// ProgIDs, created as a control in the host and called by dispatch id, or
// made by ProgID in any interface version; the dispatch binding's own
// failures; which backend a file gets.

#include <gtest/gtest.h>

#include "fixture_text.h"
#include "platform/window.h"
#include "rawfile/backend.h"
#include "rawfile/component.h"
#include "support/fake_components.h"
#include "support/temp_dir.h"

namespace {

using namespace platform;
using rawfile_tests::WriteFixture;
using testing_support::TempDir;

const char* kOneScan =
    "created 45000.5\n"
    "scan 3\n"
    "filter FTMS + p NSI Full ms [350.00-1800.00]\n"
    "rt 1.5\n"
    "trailer R8 Monoisotopic M/Z:=445.12\n"
    "points 400.1 10 400.2 20 400.3 30\n";

class ComponentHosting : public ::testing::Test {
protected:
    void SetUp() override {
        ClearClassRegistry();
        rawfile::RegisterComponent();
    }
    testing_support::ScopedRegistry restore_;
};

HRESULT StatusOf(CWnd& control, int32_t id, const std::vector<DispArg>& args) {
    int32_t result = 0;
    try {
        control.InvokeHelper(id, &result, args);
    } catch (const DispatchError& error) {
        return error.status;
    }
    return S_OK;
}

TEST_F(ComponentHosting, ControlInTheHostAnswersEveryDispatchIdAndReleasesNothingTwice) {
    TempDir dir;
    std::string path = WriteFixture(dir, kOneScan);
    LiveResources before = CurrentLiveResources();
    {
        HostWindow host;
        CWnd control;
        ASSERT_TRUE(control.CreateControl(xrawfile::kClassId, &host));
        int32_t result = 0;
        control.InvokeHelper(xrawfile::kDispOpen, &result, {DispArg::Bstr(path.c_str())});
        EXPECT_EQ(result, 1);
        control.InvokeHelper(xrawfile::kDispSetCurrentController, &result, {DispArg::I4(0), DispArg::I4(1)});
        EXPECT_EQ(result, 1);
        int32_t first = 0, last = 0;
        control.InvokeHelper(xrawfile::kDispGetFirstSpectrumNumber, &result, {DispArg::PI4(&first)});
        control.InvokeHelper(xrawfile::kDispGetLastSpectrumNumber, &result, {DispArg::PI4(&last)});
        EXPECT_EQ(first, 3);
        EXPECT_EQ(last, 3);
        double date = 0, minutes = 0;
        control.InvokeHelper(xrawfile::kDispGetCreationDate, &result, {DispArg::PDate(&date)});
        EXPECT_EQ(date, 45000.5);
        control.InvokeHelper(xrawfile::kDispRTFromScanNum, &result, {DispArg::I4(3), DispArg::PR8(&minutes)});
        EXPECT_EQ(minutes, 1.5);
        BSTR filter = nullptr;
        control.InvokeHelper(xrawfile::kDispGetFilterForScanNum, &result, {DispArg::I4(3), DispArg::PBstr(&filter)});
        EXPECT_STREQ(filter, "FTMS + p NSI Full ms [350.00-1800.00]");
        SysFreeString(filter);
        int32_t scan = 3, size = 0;
        VARIANT list, flags;
        control.InvokeHelper(
            xrawfile::kDispGetMassListFromScanNum, &result,
            {DispArg::PI4(&scan), DispArg::Bstr("ms"), DispArg::I4(0), DispArg::I4(0), DispArg::I4(0), DispArg::I4(0),
             DispArg::PVariant(&list), DispArg::PVariant(&flags), DispArg::PI4(&size)});
        EXPECT_EQ(result, 1);
        EXPECT_EQ(size, 3);
        EXPECT_EQ(SafeArrayElementCount(list.parray), 6u);
        EXPECT_EQ(SafeArrayElementCount(flags.parray), 3u);
        VariantClear(&list);
        VariantClear(&flags);
        VARIANT value;
        control.InvokeHelper(xrawfile::kDispGetTrailerExtraValueForScanNum, &result,
                             {DispArg::I4(3), DispArg::Bstr("Monoisotopic M/Z:"), DispArg::PVariant(&value)});
        EXPECT_EQ(value.vt, VT_R8);
        EXPECT_EQ(value.dblVal, 445.12);
        control.InvokeHelper(xrawfile::kDispClose, &result, {});
        EXPECT_EQ(result, 1);
        // A second file on the same control without closing the first.
        control.InvokeHelper(xrawfile::kDispOpen, &result, {DispArg::Bstr(path.c_str())});
        EXPECT_EQ(result, 1);
        control.InvokeHelper(xrawfile::kDispOpen, &result, {DispArg::Bstr(path.c_str())});
        EXPECT_EQ(result, 1);
    }
    LiveResources after = CurrentLiveResources();
    EXPECT_EQ(after.strings, before.strings);
    EXPECT_EQ(after.arrays, before.arrays);
    EXPECT_EQ(after.objects, before.objects);
    EXPECT_EQ(after.invalidReleases, before.invalidReleases);
}

TEST_F(ComponentHosting, BindingRefusesWrongCallsAsMachineryFailures) {
    HostWindow host;
    CWnd control;
    ASSERT_TRUE(control.CreateControl(xrawfile::kClassId, &host));
    int32_t number = 0;
    double real = 0;
    EXPECT_EQ(StatusOf(control, 4, {}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(StatusOf(control, xrawfile::kDispGetErrorMessage, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(StatusOf(control, xrawfile::kDispOpen, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(StatusOf(control, xrawfile::kDispClose, {DispArg::I4(1)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(StatusOf(control, xrawfile::kDispOpen, {DispArg::I4(1)}), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(StatusOf(control, xrawfile::kDispGetCreationDate, {DispArg::PR8(&real)}), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(StatusOf(control, xrawfile::kDispRTFromScanNum, {DispArg::I4(1), DispArg::PI4(&number)}),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(StatusOf(control, xrawfile::kDispGetFirstSpectrumNumber, {DispArg::PI4(nullptr)}), E_POINTER);
    // Dispatch id 73 takes nine parameters: the interface form's peak width is not one of them.
    VARIANT list, flags;
    EXPECT_EQ(StatusOf(control, xrawfile::kDispGetMassListFromScanNum,
                       {DispArg::PI4(&number), DispArg::Bstr("ms"), DispArg::I4(0), DispArg::I4(0), DispArg::I4(0),
                        DispArg::I4(0), DispArg::PR8(&real), DispArg::PVariant(&list), DispArg::PVariant(&flags),
                        DispArg::PI4(&number)}),
              DISP_E_BADPARAMCOUNT);
    // Methods called with nothing open answer a failure code, not a machinery failure.
    int32_t result = 0;
    control.InvokeHelper(xrawfile::kDispGetFirstSpectrumNumber, &result, {DispArg::PI4(&number)});
    EXPECT_EQ(result, rawfile::kNotOpen);
}

TEST_F(ComponentHosting, EveryProgIdAndVersionMakesTheComponent) {
    LiveResources before = CurrentLiveResources();
    for (const char* progId : {xrawfile::kProgIdMsFileReader, xrawfile::kProgIdXRawfile}) {
        std::string classId;
        ASSERT_EQ(CLSIDFromProgID(progId, &classId), S_OK);
        EXPECT_TRUE(IsEqualGUID(classId, xrawfile::kClassId));
        for (int version = 1; version <= 5; ++version) {
            void* made = nullptr;
            ASSERT_EQ(CoCreateInstance(classId, IID_IUnknown, &made), S_OK);
            auto* object = static_cast<IUnknown*>(made);
            EXPECT_EQ(OleRun(object), S_OK);
            void* answer = nullptr;
            ASSERT_EQ(object->QueryInterface(xrawfile::kInterfaceIds[version], &answer), S_OK);
            object->Release();
            auto* rawfile = static_cast<xrawfile::IXRawfile*>(answer);
            void* first = nullptr;
            ASSERT_EQ(rawfile->QueryInterface(xrawfile::kInterfaceIds[1], &first), S_OK);
            int32_t scan = 0;
            EXPECT_EQ(static_cast<xrawfile::IXRawfile*>(first)->GetFirstSpectrumNumber(&scan), rawfile::kNotOpen);
            static_cast<xrawfile::IXRawfile*>(first)->Release();
            rawfile->Release();
        }
    }
    void* made = nullptr;
    EXPECT_EQ(CoCreateInstance(xrawfile::kClassId, "{00000000-0000-0000-0000-000000000001}", &made), E_NOINTERFACE);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(CurrentLiveResources().objects, before.objects);
}

TEST_F(ComponentHosting, FakeWrappingTheComponentPassesCallsOn) {
    TempDir dir;
    std::string path = WriteFixture(dir, kOneScan);
    testing_support::FakeClass fake;
    fake.classId = xrawfile::kClassId;
    fake.progIds = {xrawfile::kProgIdXRawfile};
    fake.versions = {1};
    fake.inner = rawfile::CreateComponent;
    testing_support::RegisterFake(fake);
    void* made = nullptr;
    ASSERT_EQ(CoCreateInstance(xrawfile::kClassId, xrawfile::kInterfaceIds[1], &made), S_OK);
    auto* rawfile = static_cast<xrawfile::IXRawfile*>(made);
    EXPECT_EQ(rawfile->Open(path.c_str()), S_OK);
    int32_t first = 0;
    EXPECT_EQ(rawfile->GetFirstSpectrumNumber(&first), S_OK);
    EXPECT_EQ(first, 3);
    rawfile->Release();
}

TEST(BackendChoice, FixturesByFirstLineOthersRefused) {
    TempDir dir;
    rawfile::Status status = rawfile::kOk;
    std::string error;
    EXPECT_NE(rawfile::OpenBackend(dir.Write("crlf.raw", "rawfixture 1\r\nscan 1\r\n").string(), &status), nullptr);
    EXPECT_NE(rawfile::OpenBackend(dir.Write("bare.raw", "rawfixture 1").string(), &status), nullptr);
    EXPECT_EQ(rawfile::OpenBackend(dir.Write("text.raw", "rawfixture 10\nscan 1\n").string(), &status, &error),
              nullptr);
    EXPECT_EQ(status, rawfile::kNotRawFile);
    EXPECT_EQ(error, "not a Thermo RAW file");
    EXPECT_EQ(rawfile::OpenBackend(dir.Write("empty.raw", "").string(), &status), nullptr);
    EXPECT_EQ(status, rawfile::kNotRawFile);
    EXPECT_EQ(rawfile::OpenBackend((dir.path() / "absent.raw").string(), &status, &error), nullptr);
    EXPECT_EQ(status, rawfile::kCannotRead);
    EXPECT_EQ(error, "cannot read the file (No such file or directory)");
    EXPECT_EQ(rawfile::OpenBackend(dir.path().string(), &status), nullptr);
    EXPECT_EQ(status, rawfile::kCannotRead);
    EXPECT_EQ(rawfile::OpenBackend(dir.Write("bad.raw", "rawfixture 1\nscan\n").string(), &status, &error), nullptr);
    EXPECT_EQ(status, rawfile::kDamaged);
    EXPECT_EQ(error, "line 2: scan needs a scan number");
}

}  // namespace
