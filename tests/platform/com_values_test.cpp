// System strings, safe arrays and variants, and the accounting that lets
// tests check each one is released exactly once.

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "platform/com.h"

namespace {

using namespace platform;

TEST(SystemString, CarriesItsLengthAndIsCountedWhileAlive) {
    LiveResources before = CurrentLiveResources();
    BSTR text = SysAllocString(std::string_view("ab\0cd", 5));
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_EQ(std::string(text, 5), std::string("ab\0cd", 5));
    EXPECT_EQ(text[5], '\0');
    EXPECT_EQ(CurrentLiveResources().strings, before.strings + 1);
    SysFreeString(text);
    EXPECT_EQ(CurrentLiveResources().strings, before.strings);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    BSTR empty = SysAllocString("");
    EXPECT_EQ(SysStringLen(empty), 0u);
    EXPECT_STREQ(empty, "");
    SysFreeString(empty);
}

TEST(SystemString, SecondFreeIsCountedNotCarriedOut) {
    LiveResources before = CurrentLiveResources();
    BSTR text = SysAllocString("filter");
    SysFreeString(text);
    SysFreeString(text);
    SysFreeString(nullptr);
    char notAString[16] = {};
    SysFreeString(notAString + 8);
    LiveResources after = CurrentLiveResources();
    EXPECT_EQ(after.strings, before.strings);
    EXPECT_EQ(after.invalidReleases, before.invalidReleases + 2);
}

TEST(SafeArray, VectorOfDoublesIsZeroFilledAndLockedWhileAccessed) {
    LiveResources before = CurrentLiveResources();
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, 4);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(SafeArrayElementCount(array), 4u);
    EXPECT_EQ(SafeArrayElementType(array), VT_R8);
    EXPECT_EQ(CurrentLiveResources().arrays, before.arrays + 1);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK);
    auto* values = static_cast<double*>(data);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(values[i], 0.0);
    values[3] = 445.12;
    EXPECT_EQ(SafeArrayDestroy(array), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayUnaccessData(array), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(array), E_UNEXPECTED);
    ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK);
    EXPECT_EQ(static_cast<double*>(data)[3], 445.12);
    SafeArrayUnaccessData(array);
    EXPECT_EQ(SafeArrayDestroy(array), S_OK);
    EXPECT_EQ(CurrentLiveResources().arrays, before.arrays);
}

TEST(SafeArray, VectorCopyHoldsTheElementsGivenAndIsCountedLikeAnyArray) {
    LiveResources before = CurrentLiveResources();
    const uint8_t flags[3] = {7, 0, 255};
    SAFEARRAY* array = SafeArrayCreateVectorCopy(VT_UI1, 0, 3, flags);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(SafeArrayElementCount(array), 3u);
    EXPECT_EQ(CurrentLiveResources().arrays, before.arrays + 1);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK);
    EXPECT_EQ(std::memcmp(data, flags, sizeof flags), 0);
    SafeArrayUnaccessData(array);
    EXPECT_EQ(SafeArrayDestroy(array), S_OK);
    EXPECT_EQ(SafeArrayCreateVectorCopy(VT_BSTR, 0, 1, flags), nullptr);
    SAFEARRAY* empty = SafeArrayCreateVectorCopy(VT_R8, 0, 0, nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SafeArrayDestroy(empty), S_OK);
    EXPECT_EQ(CurrentLiveResources().arrays, before.arrays);
}

TEST(SafeArray, RefusesWhatItCannotHoldAndCountsBadDestroys) {
    LiveResources before = CurrentLiveResources();
    EXPECT_EQ(SafeArrayCreateVector(VT_BSTR, 0, 2), nullptr);
    EXPECT_EQ(SafeArrayCreateVector(VT_EMPTY, 0, 2), nullptr);
    SAFEARRAY* empty = SafeArrayCreateVector(VT_UI1, 0, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SafeArrayElementCount(empty), 0u);
    EXPECT_EQ(SafeArrayDestroy(empty), S_OK);
    EXPECT_EQ(SafeArrayDestroy(empty), E_INVALIDARG);
    EXPECT_EQ(SafeArrayDestroy(nullptr), S_OK);
    void* data = reinterpret_cast<void*>(1);
    EXPECT_EQ(SafeArrayAccessData(empty, &data), E_INVALIDARG);
    EXPECT_EQ(data, nullptr);
    LiveResources after = CurrentLiveResources();
    EXPECT_EQ(after.arrays, before.arrays);
    EXPECT_EQ(after.invalidReleases, before.invalidReleases + 1);
}

TEST(Variant, ClearReleasesTheStringOrArrayItHolds) {
    LiveResources before = CurrentLiveResources();
    VARIANT text;
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString("Charge State:");
    VARIANT list;
    list.vt = VT_ARRAY | VT_R8;
    list.parray = SafeArrayCreateVector(VT_R8, 0, 2);
    VARIANT number;
    number.vt = VT_I8;
    number.llVal = 4294967301;
    EXPECT_EQ(CurrentLiveResources().strings, before.strings + 1);
    EXPECT_EQ(CurrentLiveResources().arrays, before.arrays + 1);
    for (VARIANT* value : {&text, &list, &number}) {
        EXPECT_EQ(VariantClear(value), S_OK);
        EXPECT_EQ(value->vt, VT_EMPTY);
        EXPECT_EQ(value->llVal, 0);
    }
    EXPECT_EQ(VariantClear(&text), S_OK);  // already empty: nothing more to release
    LiveResources after = CurrentLiveResources();
    EXPECT_EQ(after.strings, before.strings);
    EXPECT_EQ(after.arrays, before.arrays);
    EXPECT_EQ(after.invalidReleases, before.invalidReleases);
}

TEST(Variant, ArrayLockedForReadingIsNotCleared) {
    VARIANT list;
    list.vt = VT_ARRAY | VT_R8;
    list.parray = SafeArrayCreateVector(VT_R8, 0, 2);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(list.parray, &data), S_OK);
    EXPECT_EQ(VariantClear(&list), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(list.vt, VT_ARRAY | VT_R8);
    SafeArrayUnaccessData(list.parray);
    EXPECT_EQ(VariantClear(&list), S_OK);
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

TEST(CoInitialize, FirstCallOnAThreadInitialisesLaterOnesFindItDone) {
    HRESULT first = E_FAIL;
    HRESULT second = E_FAIL;
    std::thread thread([&] {
        first = CoInitialize();
        second = CoInitialize();
    });
    thread.join();
    EXPECT_EQ(first, S_OK);
    EXPECT_EQ(second, S_FALSE);
}

TEST(Guid, ComparedWithoutRegardToCase) {
    EXPECT_TRUE(IsEqualGUID("{b5562cf7-56ec-11d2-8102-00104b304896}", "{B5562CF7-56EC-11D2-8102-00104B304896}"));
    EXPECT_FALSE(IsEqualGUID("{B5562CF7-56EC-11D2-8102-00104B304896}", "{B5562CF7-56EC-11D2-8102-00104B304897}"));
    EXPECT_FALSE(IsEqualGUID("{B5562CF7}", "{B5562CF7-56EC-11D2-8102-00104B304896}"));
}

}  // namespace
