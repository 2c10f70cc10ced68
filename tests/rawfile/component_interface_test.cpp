// The component through its reader interface, on fixture files.

#include <gtest/gtest.h>

#include <cmath>

#include "fixture_text.h"
#include "platform/com.h"
#include "rawfile/backend.h"

namespace {

using namespace platform;
using rawfile_tests::RawfileRef;
using rawfile_tests::WriteFixture;
using testing_support::TempDir;

const char* kTwoScans =
    "created 45000.5\n"
    "scan 1\n"
    "filter FTMS + p NSI Full ms [350.00-1800.00]\n"
    "rt 0.5\n"
    "trailer R4 Ion Injection Time (ms):=12.5\n"
    "points 400.1 0 400.11 150\n"
    "scan 2\n"
    "filter ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1000.00]\n"
    "rt 0.52\n"
    "trailer I2 Charge State:=2\n"
    "p 150.1 30\n";

struct MassListAnswer {
    HRESULT status = S_OK;
    int32_t scan = 0;
    int32_t size = -1;
    std::vector<double> pairs;
    VARTYPE listType = VT_EMPTY;
    VARTYPE flagsType = VT_EMPTY;
    uint32_t flagCount = 0;
};

MassListAnswer AskMassList(xrawfile::IXRawfile* rawfile, int32_t scan, const char* filter) {
    MassListAnswer answer;
    answer.scan = scan;
    VARIANT list;
    VARIANT flags;
    answer.status =
        rawfile->GetMassListFromScanNum(&answer.scan, filter, 0, 0, 0, 0, nullptr, &list, &flags, &answer.size);
    answer.listType = list.vt;
    answer.flagsType = flags.vt;
    if ((list.vt & VT_ARRAY) != 0) {
        void* data = nullptr;
        EXPECT_EQ(SafeArrayAccessData(list.parray, &data), S_OK);
        const double* values = static_cast<const double*>(data);
        answer.pairs.assign(values, values + SafeArrayElementCount(list.parray));
        SafeArrayUnaccessData(list.parray);
    }
    if ((flags.vt & VT_ARRAY) != 0) answer.flagCount = SafeArrayElementCount(flags.parray);
    VariantClear(&list);
    VariantClear(&flags);
    return answer;
}

TEST(ComponentInterface, AnswersEveryOperationFromTheFixture) {
    TempDir dir;
    RawfileRef rawfile;
    ASSERT_EQ(rawfile->Open(WriteFixture(dir, kTwoScans).c_str()), S_OK);
    EXPECT_EQ(rawfile->SetCurrentController(0, 1), S_OK);
    int32_t first = 0, last = 0;
    EXPECT_EQ(rawfile->GetFirstSpectrumNumber(&first), S_OK);
    EXPECT_EQ(rawfile->GetLastSpectrumNumber(&last), S_OK);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 2);
    double date = 0;
    EXPECT_EQ(rawfile->GetCreationDate(&date), S_OK);
    EXPECT_EQ(date, 45000.5);
    double minutes = 0;
    EXPECT_EQ(rawfile->RTFromScanNum(2, &minutes), S_OK);
    EXPECT_EQ(minutes, 0.52);
    BSTR filter = nullptr;
    EXPECT_EQ(rawfile->GetFilterForScanNum(2, &filter), S_OK);
    EXPECT_EQ(std::string(filter, SysStringLen(filter)), "ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1000.00]");
    SysFreeString(filter);

    MassListAnswer list = AskMassList(rawfile.get(), 1, "ms");
    EXPECT_EQ(list.status, S_OK);
    EXPECT_EQ(list.scan, 1);
    EXPECT_EQ(list.size, 2);
    EXPECT_EQ(list.listType, VT_ARRAY | VT_R8);
    EXPECT_EQ(list.flagsType, VT_ARRAY | VT_UI1);
    EXPECT_EQ(list.flagCount, 2u);
    EXPECT_EQ(list.pairs, (std::vector<double>{400.1, 0, 400.11, 150}));

    VARIANT value;
    EXPECT_EQ(rawfile->GetTrailerExtraValueForScanNum(1, "Ion Injection Time (ms):", &value), S_OK);
    EXPECT_EQ(value.vt, VT_R4);
    EXPECT_EQ(value.fltVal, 12.5f);
    EXPECT_EQ(rawfile->GetTrailerExtraValueForScanNum(2, "Charge State:", &value), S_OK);
    EXPECT_EQ(value.vt, VT_I2);
    EXPECT_EQ(value.iVal, 2);
    EXPECT_EQ(rawfile->GetTrailerExtraValueForScanNum(2, "Missing:", &value), rawfile::kNoSuchLabel);
    EXPECT_EQ(rawfile->Close(), S_OK);
    EXPECT_EQ(rawfile->GetFirstSpectrumNumber(&first), rawfile::kNotOpen);
}

}  // namespace
