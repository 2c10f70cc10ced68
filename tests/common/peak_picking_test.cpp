#include "common/peak_picking.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kSpexorShift = 3;
constexpr int kBriselShift = 2;

// Points at m/z 100.0, 100.1, 100.2, ... with the given intensities.
std::vector<Peak> Curve(const std::vector<double>& intensities) {
    std::vector<Peak> points;
    for (size_t i = 0; i < intensities.size(); ++i)
        points.push_back({100.0 + 0.1 * static_cast<double>(i), intensities[i]});
    return points;
}

std::vector<Peak> Pick(const std::vector<Peak>& points, int shift) {
    std::vector<Peak> out(points.size() + 1);
    int32_t count = -7;
    PickPeaks(out.data(), count, points.data(), static_cast<int32_t>(points.size()), shift);
    EXPECT_GE(count, 0);
    EXPECT_LE(count, static_cast<int32_t>(points.size()));
    out.resize(static_cast<size_t>(std::max(count, 0)));
    return out;
}

void ExpectPeaks(const std::vector<Peak>& actual, const std::vector<Peak>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].mz, expected[i].mz, 1e-9) << "peak " << i;
        EXPECT_EQ(actual[i].intensity, expected[i].intensity) << "peak " << i;
    }
}

void ExpectBothPrograms(const std::vector<double>& intensities, const std::vector<Peak>& expected) {
    SCOPED_TRACE(testing::PrintToString(intensities));
    ExpectPeaks(Pick(Curve(intensities), kSpexorShift), expected);
    ExpectPeaks(Pick(Curve(intensities), kBriselShift), expected);
}

TEST(PeakPicking, ShortScansPassThroughUnchanged) {
    const std::vector<Peak> five = {{10.0, 3.0}, {11.0, 0.0}, {9.0, 7.5}, {12.0, 1.0}, {13.0, 0.0}};
    for (int shift : {kSpexorShift, kBriselShift}) {
        const std::vector<Peak> out = Pick(five, shift);
        ASSERT_EQ(out.size(), 5u);
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(out[i].mz, five[i].mz);
            EXPECT_EQ(out[i].intensity, five[i].intensity);
        }
        EXPECT_TRUE(Pick({}, shift).empty());
    }
}

TEST(PeakPicking, SixPointsOnlyStartAtTheFirstPoint) {
    // A zero first point moves the start to point 1, where no search may begin.
    ExpectBothPrograms({0, 10, 30, 10, 5, 1}, {});
    // Started at point 0 the whole curve is one peak.
    EXPECT_EQ(Pick(Curve({5, 10, 30, 10, 5, 1}), kSpexorShift).size(), 1u);
    EXPECT_EQ(Pick(Curve({5, 10, 30, 10, 5, 1}), kBriselShift).size(), 1u);
}

TEST(PeakPicking, EdgeShiftDecidesWhereTheFirstWindowLies) {
    const std::vector<Peak> curve = Curve({5, 10, 30, 10, 5, 0, 0, 0});
    ExpectPeaks(Pick(curve, kBriselShift), {{100.2, 30}});
    ExpectPeaks(Pick(curve, kSpexorShift), {{100.4, 5}});
}

TEST(PeakPicking, SearchFromPointOneRunsToTheEndOfTheData) {
    ExpectBothPrograms({0, 10, 30, 10, 0, 0, 0}, {{100.3, 10}});
}

TEST(PeakPicking, PeakNeedsFourPointsFromStartToEndOfDescent) {
    ExpectBothPrograms({0, 0, 0, 5, 30, 5, 0, 0, 0, 0}, {});
}

TEST(PeakPicking, ApexAtTheStartTakesTheWeightedMeanWithTheNextPoint) {
    ExpectBothPrograms({0, 0, 0, 5, 30, 10, 5, 0, 0, 0}, {{100.425, 30}});
}

TEST(PeakPicking, FlatTopGivesItsMiddle) { ExpectBothPrograms({0, 0, 5, 10, 30, 30, 10, 5, 0, 0, 0}, {{100.45, 30}}); }

TEST(PeakPicking, ValleyPointEndsOnePeakAndStartsTheNext) {
    ExpectBothPrograms({0, 0, 5, 10, 30, 10, 5, 8, 20, 8, 4, 0, 0, 0}, {{100.4, 30}, {100.8, 20}});
}

TEST(PeakPicking, RisingCurveEndsAtTheLastFullWindow) {
    ExpectBothPrograms({1, 2, 3, 4, 5, 6}, {{(100.2 * 3 + 100.3 * 4) / 7, 4}});
}

TEST(PeakPicking, FlatTopEndingAtTheCentreIsAnApex) {
    // spexor's first window 1, 30, 30, 10, 5 is centred on the second 30
    // (a flat top ending at the centre); brisel's finds the flat top one
    // point earlier (a flat top starting at the centre). Both give its middle.
    ExpectBothPrograms({5, 1, 30, 30, 10, 5, 2, 0}, {{100.25, 30}});
}

TEST(PeakPicking, ZeroIntensitiesNeverGiveAnUndefinedMz) {
    // The apex search runs over zero points to the end of the data: both
    // points of the weighted mean are zero.
    for (int shift : {kSpexorShift, kBriselShift}) {
        const std::vector<Peak> out = Pick(Curve({5, 0, 0, 0, 0, 0, 0}), shift);
        ASSERT_EQ(out.size(), 1u);
        EXPECT_TRUE(std::isfinite(out[0].mz));
        EXPECT_GE(out[0].mz, 100.0);
        EXPECT_LE(out[0].mz, 100.6);
    }
    // A zero point right before the apex: the Gaussian has no value there.
    const std::vector<Peak> out = Pick(Curve({10, 0, 40, 20, 10, 5, 3}), kBriselShift);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(std::isfinite(out[0].mz));
    EXPECT_NEAR(out[0].mz, 100.2, 1e-9);
    EXPECT_EQ(out[0].intensity, 40);
}

TEST(ComputePeak, ChoosesTheMzFormulaByTheRange) {
    const std::vector<Peak> p = Curve({5, 10, 40, 20, 5});
    Peak single = ComputePeak(2, 2, 2, p.data());
    EXPECT_EQ(single.mz, p[2].mz);
    EXPECT_EQ(single.intensity, 40);
    EXPECT_NEAR(ComputePeak(2, 2, 3, p.data()).mz, (p[2].mz * 40 + p[3].mz * 20) / 60, 1e-12);
    EXPECT_NEAR(ComputePeak(1, 2, 2, p.data()).mz, (p[1].mz * 10 + p[2].mz * 40) / 50, 1e-12);
    Peak gaussian = ComputePeak(0, 2, 4, p.data());
    EXPECT_EQ(gaussian.intensity, 40);
    EXPECT_GT(gaussian.mz, p[2].mz);  // the right side is higher: the apex leans right
    EXPECT_LT(gaussian.mz, p[3].mz);
}

TEST(GaussianApex, FindsTheCentreOfASampledGaussian) {
    const double centre = 500.237, width = 0.02;
    auto at = [&](double x) { return Peak{x, 1000.0 * std::exp(-(x - centre) * (x - centre) / (2 * width * width))}; };
    EXPECT_NEAR(GaussianApex(at(500.21), at(500.23), at(500.25)), centre, 1e-9);
    // Flat tops give the middle of the two equal points.
    EXPECT_NEAR(GaussianApex({1.0, 5}, {2.0, 9}, {3.0, 9}), 2.5, 1e-12);
    EXPECT_NEAR(GaussianApex({1.0, 9}, {2.0, 9}, {3.0, 5}), 1.5, 1e-12);
}

}  // namespace
