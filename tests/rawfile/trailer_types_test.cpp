// Trailer values keep the type tag the fixture gives them, through both
// forms of the component.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>

#include "component_forms.h"
#include "fixture_text.h"
#include "rawfile/backend.h"
#include "support/temp_dir.h"

namespace {

using namespace platform;
using rawfile_tests::ComponentForms;
using rawfile_tests::WriteFixture;
using testing_support::TempDir;

struct Expected {
    std::string line;  // "<tag> <label>=<value>"
    std::string label;
    VARTYPE type;
    std::function<bool(const VARIANT&)> holds;
};

std::vector<Expected> EveryTag() {
    return {
        {"I1 a:=-5", "a:", VT_I1, [](const VARIANT& v) { return v.cVal == -5; }},
        {"I2 Charge State:=-300", "Charge State:", VT_I2, [](const VARIANT& v) { return v.iVal == -300; }},
        {"I4 c:=-2147483648", "c:", VT_I4, [](const VARIANT& v) { return v.lVal == INT32_MIN; }},
        {"INT d:=123456", "d:", VT_INT, [](const VARIANT& v) { return v.intVal == 123456; }},
        {"I8 e:=4294967301", "e:", VT_I8, [](const VARIANT& v) { return v.llVal == 4294967301LL; }},
        {"UI1 f:=255", "f:", VT_UI1, [](const VARIANT& v) { return v.bVal == 255; }},
        {"UI2 g:=65535", "g:", VT_UI2, [](const VARIANT& v) { return v.uiVal == 65535; }},
        {"UI4 h:=4294967295", "h:", VT_UI4, [](const VARIANT& v) { return v.ulVal == UINT32_MAX; }},
        {"UINT i:=3", "i:", VT_UINT, [](const VARIANT& v) { return v.uintVal == 3u; }},
        {"UI8 j:=18446744073709551615", "j:", VT_UI8, [](const VARIANT& v) { return v.ullVal == UINT64_MAX; }},
        {"R4 Ion Injection Time (ms):=12.3", "Ion Injection Time (ms):", VT_R4,
         [](const VARIANT& v) { return v.fltVal == 12.3f; }},
        {"R8 Monoisotopic M/Z:=445.12003000000001", "Monoisotopic M/Z:", VT_R8,
         [](const VARIANT& v) { return v.dblVal == 445.12003000000001; }},
        {"BSTR Scan Description:= two  blanks ", "Scan Description:", VT_BSTR,
         [](const VARIANT& v) { return std::string(v.bstrVal, SysStringLen(v.bstrVal)) == " two  blanks "; }},
        {"BSTR empty:=", "empty:", VT_BSTR, [](const VARIANT& v) { return SysStringLen(v.bstrVal) == 0; }},
        {"VT2 k:=7", "k:", VT_I2, [](const VARIANT& v) { return v.iVal == 7; }},
        {"VT11 l:=-1", "l:", VT_BOOL, [](const VARIANT& v) { return v.boolVal == -1; }},
        {"VT7 m:=45000.25", "m:", VT_DATE, [](const VARIANT& v) { return v.date == 45000.25; }},
        {"VT0 n:=", "n:", VT_EMPTY, [](const VARIANT&) { return true; }},
        {"VT64 o:=17", "o:", 64, [](const VARIANT& v) { return v.llVal == 17; }},
    };
}

class TrailerTypes : public ::testing::Test {
protected:
    void SetUp() override {
        std::string body = "scan 1\n";
        for (const Expected& e : EveryTag()) body += "trailer " + e.line + "\n";
        path_ = WriteFixture(dir_, body);
        ASSERT_EQ(forms_.rawfile()->Open(path_.c_str()), S_OK);
    }
    TempDir dir_;
    std::string path_;
    ComponentForms forms_;
};

TEST_F(TrailerTypes, EveryTagGivesItsVariantTypeAndValue) {
    LiveResources before = CurrentLiveResources();
    for (const Expected& e : EveryTag()) {
        VARIANT value;
        ASSERT_EQ(forms_.rawfile()->GetTrailerExtraValueForScanNum(1, e.label.c_str(), &value), S_OK) << e.line;
        EXPECT_EQ(value.vt, e.type) << e.line;
        EXPECT_TRUE(e.holds(value)) << e.line;
        VariantClear(&value);

        int32_t result = forms_.Call(xrawfile::kDispGetTrailerExtraValueForScanNum,
                                     {DispArg::I4(1), DispArg::Bstr(e.label.c_str()), DispArg::PVariant(&value)});
        EXPECT_EQ(result, 1) << e.line;
        EXPECT_EQ(value.vt, e.type) << e.line;
        EXPECT_TRUE(e.holds(value)) << e.line;
        VariantClear(&value);
    }
    EXPECT_EQ(CurrentLiveResources().strings, before.strings);
}

TEST_F(TrailerTypes, LabelsMatchExactly) {
    VARIANT value;
    EXPECT_EQ(forms_.rawfile()->GetTrailerExtraValueForScanNum(1, "Charge State", &value), rawfile::kNoSuchLabel);
    EXPECT_EQ(forms_.rawfile()->GetTrailerExtraValueForScanNum(1, "charge state:", &value), rawfile::kNoSuchLabel);
    EXPECT_EQ(value.vt, VT_EMPTY);
}

TEST_F(TrailerTypes, ValueTheSlotStillHeldIsReleasedFirst) {
    LiveResources before = CurrentLiveResources();
    VARIANT value;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(forms_.rawfile()->GetTrailerExtraValueForScanNum(1, "Scan Description:", &value), S_OK);
    }
    EXPECT_EQ(CurrentLiveResources().strings, before.strings + 1);
    EXPECT_EQ(forms_.rawfile()->GetTrailerExtraValueForScanNum(1, "absent:", &value), rawfile::kNoSuchLabel);
    EXPECT_EQ(CurrentLiveResources().strings, before.strings);

    BSTR filter = nullptr;
    for (int i = 0; i < 3; ++i) {
        forms_.Call(xrawfile::kDispGetFilterForScanNum, {DispArg::I4(1), DispArg::PBstr(&filter)});
    }
    EXPECT_EQ(CurrentLiveResources().strings, before.strings + 1);
    SysFreeString(filter);
    EXPECT_EQ(CurrentLiveResources().invalidReleases, before.invalidReleases);
}

}  // namespace
