// The scan attributes read from filter texts and trailer values, through both
// readers, the real control host and registry, and our component on a fixture.
#include <string>
#include <utility>

#include "gtest/gtest.h"
#include "reader_test_support.h"

namespace {

enum Scan {
    kFullMs = 1,    // no '@'
    kMs2Cid,        // ITMS centroid MS2
    kMs3TwoStages,  // "ms3" without "ms2", two precursor stages
    kPlusAnalyzer,  // starts with the polarity token
    kLeadingBlank,
    kNoBlank,
    kLongPrecursor,  // precursor token of 24 digits
    kAtAtEnd,
    kUpperCaseActivation,
    kNegativeCentroid,
    kWordPrecursor,  // precursor token that is no number
    kNoBlankBeforeAt,
    kFailedFilter,
    kEtdWithSupplementalHcd,  // EThcD: "sa", the ETD reaction before the supplemental one
    kMs3EtdWithSupplementalCid,
};

const std::string kFixture =
    "rawfixture 1\n"
    "scan 1\nfilter FTMS + p NSI Full ms [350.00-1800.00]\n"
    "scan 2\nfilter ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1000.00]\n"
    "scan 3\nfilter FTMS + p NSI Full ms3 500.25@cid35.00 300.10@hcd40.00 [100.00-1000.00]\n"
    "scan 4\nfilter + c ESI Full ms2 722.40@etd30.00 [200.00-2000.00]\n"
    "scan 5\nfilter  FTMS + c NSI Full ms2 445.12@hcd35.00 [110.00-1000.00]\n"
    "scan 6\nfilter FTMS\n"
    "scan 7\nfilter FTMS + c NSI Full ms2 100000000000000000000000@hcd35.00 [110.00-1000.00]\n"
    "scan 8\nfilter ITMS + c NSI Full ms2 445.12@\n"
    "scan 9\nfilter FTMS + c NSI Full ms2 445.12@HCD35.00 [110.00-1000.00]\n"
    "scan 10\nfilter ITMS - c ESI Full ms2 445.12@cid35.00 [110.00-1000.00]\n"
    "scan 11\nfilter FTMS + c NSI Full ms2 mz@hcd35.00 [110.00-1000.00]\n"
    "scan 12\nfilter 445.12@hcd35.00\n"
    "scan 13\nfail filter\n"
    "trailer I2 Charge State:=3\n"
    "trailer R8 Monoisotopic M/Z:=445.1187\n"
    "trailer R4 Ion Injection Time (ms):=0.1\n"
    "scan 14\nfilter FTMS + c NSI d sa Full ms2 325.0000@etd50.00 325.0000@hcd20.00 [150.00-2000.00]\n"
    "scan 15\nfilter ITMS + c NSI d sa Full ms3 500.25@cid35.00 325.00@etd50.00 325.00@cid15.00 [100.00-1000.00]\n";

class ScanInterpretation : public testing::TestWithParam<ReaderKind> {
protected:
    void SetUp() override { session.Open(); }

    std::string Analyzer(int scan) {
        std::string text = "previous";
        session.reader->GetAnalyzer(text, scan);
        return text;
    }
    std::string Activation(int scan) {
        std::string text = "previous";
        session.reader->GetActivation(text, scan);
        return text;
    }
    std::vector<bool> Kinds(int scan) {
        std::vector<bool> answers;
        for (int kind = 0; kind <= 5; ++kind) answers.push_back(session.reader->IsScanKind(scan, kind));
        return answers;
    }
    std::vector<bool> Activations(int scan) {
        std::vector<bool> answers;
        for (int code = 0; code <= 3; ++code) answers.push_back(session.reader->HasActivation(scan, code));
        return answers;
    }

    ReaderSession session{GetParam(), kFixture};
};

using KindAnswers = std::vector<bool>;  // kinds 0 to 5
using CodeAnswers = std::vector<bool>;  // activation codes 0 to 3

TEST_P(ScanInterpretation, ScanKindsAndActivations) {
    EXPECT_EQ(KindAnswers({true, false, false, false, false, false}), Kinds(kFullMs));
    EXPECT_EQ(CodeAnswers({false, false, false, false}), Activations(kFullMs));

    EXPECT_EQ(KindAnswers({false, true, true, true, false, false}), Kinds(kMs2Cid));
    EXPECT_EQ(CodeAnswers({false, true, false, false}), Activations(kMs2Cid));
    EXPECT_EQ(CodeAnswers({false, false, true, false}), Activations(kPlusAnalyzer));

    // An MS3 text names no "ms2": no kind 0 to 3 and no activation whatever the code.
    EXPECT_EQ(KindAnswers({false, false, false, false, true, false}), Kinds(kMs3TwoStages));
    EXPECT_EQ(CodeAnswers({false, false, false, false}), Activations(kMs3TwoStages));

    // Activation names count only in lower case.
    EXPECT_EQ(CodeAnswers({false, false, false, false}), Activations(kUpperCaseActivation));
}

TEST_P(ScanInterpretation, Analyzer) {
    EXPECT_EQ("FTMS", Analyzer(kFullMs));
    EXPECT_EQ("ITMS", Analyzer(kMs2Cid));
    EXPECT_EQ("ITMS", Analyzer(kPlusAnalyzer));
    EXPECT_EQ("", Analyzer(kLeadingBlank));
    EXPECT_EQ("FTMS", Analyzer(kNoBlank));
    EXPECT_EQ("445.12@hcd35.00", Analyzer(kNoBlankBeforeAt));
}

TEST_P(ScanInterpretation, ActivationOfTheLastStage) {
    EXPECT_EQ("", Activation(kFullMs));
    EXPECT_EQ("cid", Activation(kMs2Cid));
    EXPECT_EQ("hcd", Activation(kMs3TwoStages));
    EXPECT_EQ("", Activation(kAtAtEnd));
    EXPECT_EQ("HCD", Activation(kUpperCaseActivation));
    EXPECT_EQ("etd", Activation(kEtdWithSupplementalHcd));
    EXPECT_EQ("etd", Activation(kMs3EtdWithSupplementalCid));
    EXPECT_EQ(325.0, session.reader->GetPrecursorMz(kEtdWithSupplementalHcd));
}

TEST_P(ScanInterpretation, PrecursorMzOfTheLastStage) {
    EXPECT_EQ(0.0, session.reader->GetPrecursorMz(kFullMs));
    EXPECT_EQ(445.12, session.reader->GetPrecursorMz(kMs2Cid));
    EXPECT_EQ(300.10, session.reader->GetPrecursorMz(kMs3TwoStages));
    EXPECT_EQ(445.12, session.reader->GetPrecursorMz(kAtAtEnd));
    EXPECT_EQ(1e19, session.reader->GetPrecursorMz(kLongPrecursor));  // first 20 of 24 digits
    EXPECT_EQ(0.0, session.reader->GetPrecursorMz(kWordPrecursor));
    EXPECT_EQ(0.0, session.reader->GetPrecursorMz(kNoBlankBeforeAt));
}

TEST_P(ScanInterpretation, CentroidMarkOfEitherPolarity) {
    EXPECT_TRUE(session.reader->IsCentroidScan(kMs2Cid));
    EXPECT_TRUE(session.reader->IsCentroidScan(kNegativeCentroid));
    EXPECT_FALSE(session.reader->IsCentroidScan(kFullMs));
    EXPECT_FALSE(session.reader->IsCentroidScan(kNoBlank));
}

TEST_P(ScanInterpretation, FailedFilterAnswersFromAnEmptyText) {
    // A question answered just before must leave nothing behind for the failed fetch.
    EXPECT_EQ("FTMS", Analyzer(kNoBlank));
    std::string filter = "previous";
    std::string messages = StderrOf([&] {
        session.reader->GetFilter(kFailedFilter, filter);
        EXPECT_EQ(KindAnswers({true, false, false, false, false, false}), Kinds(kFailedFilter));
        EXPECT_EQ(CodeAnswers({false, false, false, false}), Activations(kFailedFilter));
        EXPECT_FALSE(session.reader->IsCentroidScan(kFailedFilter));
        EXPECT_EQ("", Analyzer(kFailedFilter));
        EXPECT_EQ("", Activation(kFailedFilter));
        EXPECT_EQ(0.0, session.reader->GetPrecursorMz(kFailedFilter));
    });
    EXPECT_EQ("previous", filter);
    std::string line = "[Morvane] <Exception>: Error getting filter for scan number 13!\n";
    std::string expected;
    for (int fetch = 0; fetch < 1 + 6 + 4 + 4; ++fetch) expected += line;
    EXPECT_EQ(expected, messages);
}

TEST_P(ScanInterpretation, FilterReplacesTheText) {
    std::string filter = "previous text";
    session.reader->GetFilter(kNoBlank, filter);
    EXPECT_EQ("FTMS", filter);
    session.reader->GetFilter(kLeadingBlank, filter);
    EXPECT_EQ(" FTMS + c NSI Full ms2 445.12@hcd35.00 [110.00-1000.00]", filter);
}

TEST_P(ScanInterpretation, TrailerAttributes) {
    std::pair<int, int> range{7, 9};
    EXPECT_EQ(std::make_pair(3, 3), session.reader->GetChargeRange(range, kFailedFilter));
    EXPECT_EQ(std::make_pair(3, 3), range);
    EXPECT_EQ(445.1187, session.reader->GetMonoisotopicMz(kFailedFilter));
    EXPECT_EQ(static_cast<double>(0.1f), session.reader->GetIonInjectionTime(kFailedFilter));
}

INSTANTIATE_TEST_SUITE_P(BothReaders, ScanInterpretation, testing::Values(ReaderKind::Control, ReaderKind::Interface),
                         ReaderTestName);

}  // namespace
