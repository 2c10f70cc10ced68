// The mass-list scan filter: which scans pass "ms", "ms2" and "ms3", and
// the other scan's number and points when the asked one does not pass.

#include <gtest/gtest.h>

#include "component_forms.h"
#include "fixture_text.h"
#include "rawfile/backend.h"
#include "rawfile/scan_filter.h"
#include "support/temp_dir.h"

namespace {

using namespace platform;
using rawfile_tests::ComponentForms;
using rawfile_tests::WriteFixture;
using testing_support::TempDir;

// Scans 1 (MS1), 2 (MS2), 3 (MS3), 4 (MS1), 5 (MS2): each has one point whose m/z is its scan number.
const char* kMixedOrders =
    "scan 1\nfilter FTMS + p NSI Full ms [350.00-1800.00]\np 1 10\n"
    "scan 2\nfilter ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1000.00]\np 2 20\n"
    "scan 3\nfilter ITMS + c NSI d Full ms3 445.12@cid35.00 300.10@cid35.00 [80.00-700.00]\np 3 30\n"
    "scan 4\nfilter FTMS + p NSI Full ms [350.00-1800.00]\np 4 40\n"
    "scan 5\nfilter ITMS + c NSI d Full ms2 512.30@hcd30.00 [110.00-1000.00]\np 5 50\n";

struct Answer {
    int32_t status = 0;
    int32_t scan = 0;
    int32_t size = 0;
    double firstMz = 0;
};

// Reads the first point's m/z and releases both arrays.
void TakePoints(Answer& answer, VARIANT& list, VARIANT& flags) {
    if (answer.size > 0) {
        void* data = nullptr;
        SafeArrayAccessData(list.parray, &data);
        answer.firstMz = static_cast<double*>(data)[0];
        SafeArrayUnaccessData(list.parray);
    }
    VariantClear(&list);
    VariantClear(&flags);
}

Answer ViaInterface(xrawfile::IXRawfile* rawfile, int32_t scan, const char* filter) {
    Answer answer;
    answer.scan = scan;
    VARIANT list, flags;
    answer.status =
        rawfile->GetMassListFromScanNum(&answer.scan, filter, 0, 0, 0, 0, nullptr, &list, &flags, &answer.size);
    TakePoints(answer, list, flags);
    return answer;
}

Answer ViaControl(ComponentForms& forms, int32_t scan, const char* filter) {
    Answer answer;
    answer.scan = scan;
    VARIANT list, flags;
    answer.status =
        forms.Call(xrawfile::kDispGetMassListFromScanNum,
                   {DispArg::PI4(&answer.scan), DispArg::Bstr(filter), DispArg::I4(0), DispArg::I4(0), DispArg::I4(0),
                    DispArg::I4(0), DispArg::PVariant(&list), DispArg::PVariant(&flags), DispArg::PI4(&answer.size)});
    TakePoints(answer, list, flags);
    return answer;
}

class ScanFilterAnswers : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = WriteFixture(dir_, kMixedOrders);
        ASSERT_EQ(forms_.rawfile()->Open(path_.c_str()), S_OK);
    }
    // Asks both forms; expects the answering scan (its point's m/z is its number).
    void ExpectAnsweredBy(int32_t scan, const char* filter, int32_t answering) {
        Answer viaInterface = ViaInterface(forms_.rawfile(), scan, filter);
        EXPECT_EQ(viaInterface.status, S_OK) << scan << " " << filter;
        EXPECT_EQ(viaInterface.scan, answering) << scan << " " << filter;
        EXPECT_EQ(viaInterface.size, 1);
        EXPECT_EQ(viaInterface.firstMz, answering);
        Answer viaControl = ViaControl(forms_, scan, filter);
        EXPECT_EQ(viaControl.status, 1) << scan << " " << filter;
        EXPECT_EQ(viaControl.scan, answering) << scan << " " << filter;
        EXPECT_EQ(viaControl.firstMz, answering);
    }
    TempDir dir_;
    std::string path_;
    ComponentForms forms_;
};

TEST_F(ScanFilterAnswers, MsPassesEveryScanMs3Included) {
    for (int32_t scan = 1; scan <= 5; ++scan) {
        ExpectAnsweredBy(scan, "ms", scan);
        ExpectAnsweredBy(scan, "", scan);
    }
}

TEST_F(ScanFilterAnswers, OrderFiltersPassTheirOwnScansOnly) {
    ExpectAnsweredBy(2, "ms2", 2);
    ExpectAnsweredBy(5, "ms2", 5);
    ExpectAnsweredBy(3, "ms3", 3);
    ExpectAnsweredBy(4, "ms1", 4);
    ExpectAnsweredBy(5, " MS2 ", 5);
}

TEST_F(ScanFilterAnswers, NonPassingScanIsAnsweredByTheNextPassingOneOrTheNearestBefore) {
    ExpectAnsweredBy(1, "ms2", 2);
    ExpectAnsweredBy(3, "ms2", 5);
    ExpectAnsweredBy(4, "ms2", 5);
    ExpectAnsweredBy(1, "ms3", 3);
    ExpectAnsweredBy(4, "ms3", 3);  // nothing after it passes
    ExpectAnsweredBy(5, "ms3", 3);
    ExpectAnsweredBy(2, "ms1", 4);
    ExpectAnsweredBy(5, "ms1", 4);
}

TEST_F(ScanFilterAnswers, NoPassingScanMissingScanAndUnknownFiltersFail) {
    struct Case {
        int32_t scan;
        const char* filter;
        int32_t status;
    };
    for (const Case& c : {Case{2, "ms4", rawfile::kNoSuchScan}, Case{9, "ms2", rawfile::kNoSuchScan},
                          Case{9, "ms", rawfile::kNoSuchScan}, Case{2, "p ms2", rawfile::kUnsupported},
                          Case{2, "ms0", rawfile::kUnsupported}, Case{2, "msx", rawfile::kUnsupported},
                          Case{2, "m", rawfile::kUnsupported}}) {
        Answer viaInterface = ViaInterface(forms_.rawfile(), c.scan, c.filter);
        EXPECT_EQ(viaInterface.status, c.status) << c.filter;
        EXPECT_EQ(viaInterface.scan, c.scan) << "a failed call leaves the scan number";
        EXPECT_EQ(viaInterface.size, 0);
        Answer viaControl = ViaControl(forms_, c.scan, c.filter);
        EXPECT_EQ(viaControl.status, c.status) << c.filter;
        EXPECT_EQ(viaControl.scan, c.scan);
    }
}

TEST(ScanFilterText, ReadsMsOrderOrNone) {
    rawfile::ScanFilter filter;
    ASSERT_TRUE(rawfile::ParseScanFilter("ms", &filter));
    EXPECT_FALSE(filter.msOrder);
    ASSERT_TRUE(rawfile::ParseScanFilter("  ", &filter));
    EXPECT_FALSE(filter.msOrder);
    ASSERT_TRUE(rawfile::ParseScanFilter("Ms3", &filter));
    EXPECT_EQ(filter.msOrder, 3);
    ASSERT_TRUE(rawfile::ParseScanFilter("ms10", &filter));
    EXPECT_EQ(filter.msOrder, 10);
    EXPECT_FALSE(rawfile::ParseScanFilter("ms2 ms3", &filter));
    EXPECT_FALSE(rawfile::ParseScanFilter("ms-2", &filter));
}

TEST(ScanFilterPoints, ScriptedFailureOfTheAnsweringScanApplies) {
    TempDir dir;
    std::string path = WriteFixture(dir,
                                    "scan 1\nfilter FTMS + p NSI Full ms\np 1 1\n"
                                    "scan 2\nfilter ITMS + c NSI d Full ms2 445.12@cid35.00\np 2 2\nfail masslist 8\n");
    ComponentForms forms;
    ASSERT_EQ(forms.rawfile()->Open(path.c_str()), S_OK);
    Answer answer = ViaInterface(forms.rawfile(), 1, "ms2");
    EXPECT_EQ(answer.status, 8);
    EXPECT_EQ(answer.scan, 1);
}

TEST(ScanFilterPoints, ScanWithoutPointsAnswersSizeZeroAndEmptyVariants) {
    TempDir dir;
    std::string path = WriteFixture(dir, "scan 1\nfilter FTMS + p NSI Full ms\n");
    ComponentForms forms;
    ASSERT_EQ(forms.rawfile()->Open(path.c_str()), S_OK);
    int32_t scan = 1, size = -1;
    VARIANT list, flags;
    EXPECT_EQ(forms.rawfile()->GetMassListFromScanNum(&scan, "ms", 0, 0, 0, 0, nullptr, &list, &flags, &size), S_OK);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(list.vt, VT_EMPTY);
    EXPECT_EQ(flags.vt, VT_EMPTY);
}

TEST(ScanFilterPoints, CutOffsPeakLimitsAndCentroidingAreRefused) {
    TempDir dir;
    std::string path = WriteFixture(dir, "scan 1\np 1 1\n");
    ComponentForms forms;
    ASSERT_EQ(forms.rawfile()->Open(path.c_str()), S_OK);
    const int32_t settings[][4] = {{1, 0, 0, 0}, {0, 5, 0, 0}, {0, 0, 10, 0}, {0, 0, 0, 1}};
    for (const auto& s : settings) {
        int32_t scan = 1, size = -1;
        VARIANT list, flags;
        EXPECT_EQ(
            forms.rawfile()->GetMassListFromScanNum(&scan, "ms", s[0], s[1], s[2], s[3], nullptr, &list, &flags, &size),
            rawfile::kUnsupported);
        EXPECT_EQ(list.vt, VT_EMPTY);
    }
}

}  // namespace
