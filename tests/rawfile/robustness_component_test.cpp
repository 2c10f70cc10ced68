// Our RAW reader component on every real RAW file and on damaged copies of
// each: each file opens or is refused with a failure status, and an opened
// file answers every call for every scan with a success or a failure status
// (never a component error, which would stop the run), hands out
// well-formed mass lists and leaves no string or array behind. Both forms of
// the component must agree on the open. Intact, every real file but the
// damaged bad_file.raw opens and answers every call with success.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/xrawfile.h"
#include "component_forms.h"
#include "platform/com.h"
#include "robustness_variants.h"
#include "support/real_files.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

constexpr const char* kTrailerLabels[] = {"Charge State:", "Ion Injection Time (ms):", "Monoisotopic M/Z:"};

// The scan filter the programs pass for a scan with this filter text.
const char* LevelOf(const std::string& filter) {
    if (filter.find("ms2") != std::string::npos) return "ms2";
    if (filter.find("ms3") != std::string::npos) return "ms3";
    return "ms";
}

bool IsSuccessOrFailure(platform::HRESULT status) { return status >= 0; }

struct WalkCounts {
    int scans = 0;
    int failedCalls = 0;
    std::vector<std::string> firstFailures;  // "scan 7: mass list failed with status 5", at most five

    void NoteFailure(int32_t scan, const std::string& call, platform::HRESULT status) {
        if (++failedCalls <= 5) {
            firstFailures.push_back("scan " + std::to_string(scan) + ": " + call + " failed with status " +
                                    std::to_string(status));
        }
    }
};

void ExpectMassListAnswer(xrawfile::IXRawfile& raw, int32_t scan, const std::string& filter, WalkCounts* counts) {
    int32_t answering = scan;
    platform::VARIANT list;
    platform::VARIANT flags;
    int32_t size = -1;
    const platform::HRESULT status =
        raw.GetMassListFromScanNum(&answering, LevelOf(filter), 0, 0, 0, 0, nullptr, &list, &flags, &size);
    EXPECT_TRUE(IsSuccessOrFailure(status)) << "mass list of scan " << scan << ": " << status;
    if (status != platform::S_OK) {
        counts->NoteFailure(scan, "mass list", status);
    } else if (size > 0) {
        EXPECT_EQ(answering, scan) << "a scan asked with its own level answers for itself";
        ASSERT_EQ(list.vt, platform::VT_ARRAY | platform::VT_R8) << "scan " << scan;
        EXPECT_EQ(platform::SafeArrayElementCount(list.parray), 2u * static_cast<uint32_t>(size)) << "scan " << scan;
    } else {
        EXPECT_EQ(size, 0) << "scan " << scan;
        EXPECT_EQ(list.vt, platform::VT_EMPTY) << "scan " << scan;
    }
    platform::VariantClear(&list);
    platform::VariantClear(&flags);
}

// Asks every call of the component for every scan of the open file, as the
// programs do.
WalkCounts WalkEveryScan(xrawfile::IXRawfile& raw) {
    WalkCounts counts;
    EXPECT_EQ(raw.SetCurrentController(0, 1), platform::S_OK);
    int32_t first = 0;
    int32_t last = -1;
    EXPECT_EQ(raw.GetFirstSpectrumNumber(&first), platform::S_OK);
    EXPECT_EQ(raw.GetLastSpectrumNumber(&last), platform::S_OK);
    double created = 0;
    EXPECT_EQ(raw.GetCreationDate(&created), platform::S_OK);
    // No real file has more than 5000 scans; a damaged one cannot claim more
    // than its index holds, but keep the walk short whatever it says.
    const int64_t end = std::min<int64_t>(last, static_cast<int64_t>(first) + 5000);
    for (int64_t number = first; number <= end; ++number) {
        const auto scan = static_cast<int32_t>(number);
        ++counts.scans;
        platform::BSTR text = nullptr;
        const platform::HRESULT filterStatus = raw.GetFilterForScanNum(scan, &text);
        EXPECT_TRUE(IsSuccessOrFailure(filterStatus)) << "filter of scan " << scan << ": " << filterStatus;
        if (filterStatus != platform::S_OK) counts.NoteFailure(scan, "filter text", filterStatus);
        const std::string filter = text != nullptr ? text : "";
        platform::SysFreeString(text);

        double minutes = 0;
        const platform::HRESULT timeStatus = raw.RTFromScanNum(scan, &minutes);
        EXPECT_TRUE(IsSuccessOrFailure(timeStatus)) << "retention time of scan " << scan;
        if (timeStatus != platform::S_OK) counts.NoteFailure(scan, "retention time", timeStatus);

        ExpectMassListAnswer(raw, scan, filter, &counts);

        for (const char* label : kTrailerLabels) {
            platform::VARIANT value;
            const platform::HRESULT status = raw.GetTrailerExtraValueForScanNum(scan, label, &value);
            EXPECT_TRUE(IsSuccessOrFailure(status)) << label << " of scan " << scan << ": " << status;
            platform::VariantClear(&value);
        }
    }
    EXPECT_TRUE(IsSuccessOrFailure(raw.Close()));
    return counts;
}

struct Outcome {
    bool opened = false;
    WalkCounts counts;
};

// Opens the file through both forms of one component object each; walks it
// through the interface form when it opens.
Outcome OpenAndWalk(const std::string& path) {
    Outcome outcome;
    {
        rawfile_tests::ComponentForms control;
        const int32_t result = control.Call(xrawfile::kDispOpen, {platform::DispArg::Bstr(path.c_str())});
        outcome.opened = result == xrawfile::kControlSuccess;
    }
    rawfile_tests::ComponentForms forms;
    const platform::HRESULT status = forms.rawfile()->Open(path.c_str());
    EXPECT_TRUE(IsSuccessOrFailure(status)) << "open: " << status;
    EXPECT_EQ(status == platform::S_OK, outcome.opened) << "both forms agree on the open";
    if (status == platform::S_OK) {
        outcome.counts = WalkEveryScan(*forms.rawfile());
    }
    return outcome;
}

bool SameLiveResources(const platform::LiveResources& a, const platform::LiveResources& b) {
    return a.strings == b.strings && a.arrays == b.arrays && a.objects == b.objects &&
           a.invalidReleases == b.invalidReleases;
}

class RobustRealFile : public testing::TestWithParam<std::string> {};

TEST_P(RobustRealFile, OpensAndAnswersEveryScanThroughTheComponent) {
    const std::string& name = GetParam();
    const platform::LiveResources before = platform::CurrentLiveResources();
    const Outcome outcome = OpenAndWalk((testing_support::DataDir() / name).string());
    if (name == testing_support::kUnopenableFile) {
        EXPECT_FALSE(outcome.opened) << name << " opens, though it is damaged beyond opening";
    } else {
        EXPECT_TRUE(outcome.opened) << name << ": the component refuses to open it";
        EXPECT_EQ(outcome.counts.failedCalls, 0)
            << name << ": calls that failed in " << outcome.counts.scans << " scans";
        for (const std::string& failure : outcome.counts.firstFailures) {
            ADD_FAILURE() << name << " " << failure;
        }
    }
    EXPECT_TRUE(SameLiveResources(platform::CurrentLiveResources(), before)) << "strings and arrays all released";
}

INSTANTIATE_TEST_SUITE_P(RealFiles, RobustRealFile, testing::ValuesIn(testing_support::RealFileNames()),
                         testing_support::RealFileTestName());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RobustRealFile);

TEST(RobustComponent, OddRealFilesOpenAndAnswerEveryScan) {
    if (!testing_support::HasRealFile("tsq_quantum.raw") || !testing_support::HasRealFile("thermo.raw")) {
        GTEST_SKIP() << "real RAW data not available";
    }
    const platform::LiveResources before = platform::CurrentLiveResources();

    // tsq_quantum.raw: triple-quadrupole scans, all readable.
    const Outcome tsq = OpenAndWalk((testing_support::DataDir() / "tsq_quantum.raw").string());
    EXPECT_TRUE(tsq.opened);
    EXPECT_EQ(tsq.counts.scans, 78);
    EXPECT_EQ(tsq.counts.failedCalls, 0);

    // thermo.raw: an acquisition without scans; the range is the empty 1 to 0,
    // so the programs' walk asks for no scan at all.
    const Outcome thermo = OpenAndWalk((testing_support::DataDir() / "thermo.raw").string());
    EXPECT_TRUE(thermo.opened);
    EXPECT_EQ(thermo.counts.scans, 0);
    EXPECT_EQ(thermo.counts.failedCalls, 0);
    {
        // Asked anyway, scan numbers still fail cleanly and hand back nothing.
        rawfile_tests::ComponentForms forms;
        ASSERT_EQ(forms.rawfile()->Open((testing_support::DataDir() / "thermo.raw").string().c_str()), platform::S_OK);
        for (int32_t scan : {0, 1}) {
            platform::BSTR text = nullptr;
            const platform::HRESULT status = forms.rawfile()->GetFilterForScanNum(scan, &text);
            EXPECT_GT(status, 0) << "filter of scan " << scan;
            EXPECT_EQ(text, nullptr) << "scan " << scan;
            platform::SysFreeString(text);
            double minutes = 0;
            EXPECT_GT(forms.rawfile()->RTFromScanNum(scan, &minutes), 0) << "retention time of scan " << scan;
        }
        EXPECT_TRUE(IsSuccessOrFailure(forms.rawfile()->Close()));
    }

    EXPECT_TRUE(SameLiveResources(platform::CurrentLiveResources(), before)) << "strings and arrays all released";
}

TEST(RobustComponent, DamagedCopiesOpenOrFailCleanly) {
    if (!testing_support::HasRealFiles()) GTEST_SKIP() << "real RAW data not available";
    const platform::LiveResources before = platform::CurrentLiveResources();
    TempDir dir;
    int refused = 0;
    int opened = 0;
    int openedWithFailedCalls = 0;
    for (const std::string& name : testing_support::RealFileNames()) {
        const std::string bytes = ReadFile(testing_support::DataDir() / name);
        for (const robustness::DamagedCopy& copy : robustness::DamagedCopies(name, bytes)) {
            SCOPED_TRACE(copy.what);
            const Outcome outcome = OpenAndWalk(dir.Write("damaged.raw", copy.bytes).string());
            if (!outcome.opened) {
                ++refused;
            } else {
                ++opened;
                openedWithFailedCalls += outcome.counts.failedCalls > 0;
            }
        }
    }
    EXPECT_TRUE(SameLiveResources(platform::CurrentLiveResources(), before)) << "strings and arrays all released";
    // The copies reach both kinds of outcome: a refused open, and an open
    // file some of whose scans cannot be read.
    EXPECT_GE(refused, static_cast<int>(2 * testing_support::RealFileNames().size()))
        << "every cut after the header and at a third";
    EXPECT_GT(opened, 0);
    EXPECT_GT(openedWithFailedCalls, 0);
}

}  // namespace
