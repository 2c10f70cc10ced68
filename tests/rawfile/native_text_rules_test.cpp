// The printed forms the native backend builds: numbers rounded the way
// Thermo's library rounds them, filter texts from scan events, and the
// automation date of the creation time.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "rawfile/native/file_header.h"
#include "rawfile/native/filter_text.h"
#include "rawfile/native/number_format.h"

namespace {

using rawfile::native::BuildFilterText;
using rawfile::native::FormatFixed;
using rawfile::native::Reaction;
using rawfile::native::ScanEvent;

std::string Fixed(double value, int decimals) {
    std::string text = "unset";
    EXPECT_TRUE(FormatFixed(value, decimals, &text)) << value;
    return text;
}

TEST(NativeNumberFormat, RoundsTheFifteenDigitDecimalHalfAwayFromZero) {
    // The exact binary value lies below the half; its 15-digit form does not.
    EXPECT_EQ(Fixed(211821442.41524971, 4), "211821442.4153");
    // Exact binary halves go away from zero, not to even.
    EXPECT_EQ(Fixed(2299626.25, 1), "2299626.3");
    EXPECT_EQ(Fixed(0.125, 2), "0.13");
    EXPECT_EQ(Fixed(-0.125, 2), "-0.13");
    EXPECT_EQ(Fixed(810.79, 2), "810.79");
    EXPECT_EQ(Fixed(325.0, 4), "325.0000");
    EXPECT_EQ(Fixed(35.0, 2), "35.00");
    EXPECT_EQ(Fixed(181.65342712402344, 3), "181.653");
}

TEST(NativeNumberFormat, CarriesThroughNinesAndHandlesSmallAndLargeValues) {
    EXPECT_EQ(Fixed(9.995, 2), "10.00");  // 9.99500000000000 at 15 digits
    EXPECT_EQ(Fixed(999.9999, 2), "1000.00");
    EXPECT_EQ(Fixed(0.0, 2), "0.00");
    EXPECT_EQ(Fixed(0.004, 2), "0.00");
    EXPECT_EQ(Fixed(0.005, 2), "0.01");
    EXPECT_EQ(Fixed(0.0000004, 2), "0.00");
    EXPECT_EQ(Fixed(12.5, 0), "13");
    EXPECT_EQ(Fixed(1e20, 2), "100000000000000000000.00");
    EXPECT_EQ(Fixed(123456789012345678.0, 1), "123456789012346000.0");
    // No digit kept before the rounding: the carry makes the only one.
    EXPECT_EQ(Fixed(0.6, 0), "1");
    EXPECT_EQ(Fixed(-0.6, 0), "-1");
    EXPECT_EQ(Fixed(0.4, 0), "0");
    // The largest double with the most decimals: 309 digits, the point and 20 zeros.
    const std::string largest = Fixed(std::numeric_limits<double>::max(), rawfile::native::kMostDecimals);
    EXPECT_EQ(largest.size(), 309u + 1 + 20);
    EXPECT_EQ(largest.substr(0, 16), "1797693134862320");
    EXPECT_EQ(largest.substr(309), "." + std::string(20, '0'));
}

TEST(NativeNumberFormat, RefusesWhatCannotBePrinted) {
    std::string text = "unchanged";
    EXPECT_FALSE(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2, &text));
    EXPECT_FALSE(FormatFixed(std::numeric_limits<double>::infinity(), 2, &text));
    EXPECT_FALSE(FormatFixed(1.0, -1, &text));
    EXPECT_FALSE(FormatFixed(1.0, rawfile::native::kMostDecimals + 1, &text));
    EXPECT_EQ(text, "unchanged");
}

ScanEvent FullScan() {
    ScanEvent event;
    event.analyzer = 4;  // FTMS
    event.polarity = 1;
    event.dataType = 1;
    event.ionization = 5;  // NSI
    event.scanType = 0;
    event.msOrder = 1;
    event.massRanges = {{350.0, 1800.0}};
    return event;
}

Reaction MakeReaction(double mz, uint32_t activation, double energy) {
    Reaction reaction;
    reaction.precursorMz = mz;
    reaction.collisionEnergy = energy;
    reaction.flags = 1 | (activation << 1);
    return reaction;
}

std::string Filter(const ScanEvent& event, uint32_t precision) {
    std::string text;
    const rawfile::Status status = BuildFilterText(event, precision, &text);
    EXPECT_EQ(status, rawfile::kOk);
    return text;
}

TEST(NativeFilterText, WritesTheTokensInTheirOrder) {
    ScanEvent event = FullScan();
    EXPECT_EQ(Filter(event, 4), "FTMS + p NSI Full ms [350.0000-1800.0000]");
    // A reaction on an MS1 event is not printed.
    event.reactions = {MakeReaction(1075.0, 5, 0.0)};
    EXPECT_EQ(Filter(event, 2), "FTMS + p NSI Full ms [350.00-1800.00]");

    event.analyzer = 0;
    event.dataType = 0;
    event.scanRate = 1;
    event.dependent = 1;
    event.wideband = 1;
    event.msOrder = 2;
    event.reactions = {MakeReaction(810.79, 0, 35.0)};
    event.massRanges = {{210.0, 1635.0}};
    EXPECT_EQ(Filter(event, 2), "ITMS + c NSI r d w Full ms2 810.79@cid35.00 [210.00-1635.00]");
}

TEST(NativeFilterText, WritesOneReactionPerStageAndEveryRange) {
    ScanEvent event = FullScan();
    event.msOrder = 3;
    event.reactions = {MakeReaction(700.5, 5, 28.0), MakeReaction(400.25, 0, 35.0), MakeReaction(1.0, 0, 1.0)};
    EXPECT_EQ(Filter(event, 2), "FTMS + p NSI Full ms3 700.50@hcd28.00 400.25@cid35.00 [350.00-1800.00]");

    ScanEvent quadrupole = FullScan();
    quadrupole.analyzer = 6;  // undefined: no analyzer token
    quadrupole.ionization = 3;
    quadrupole.scanType = 6;  // Q1MS: no MS order token
    quadrupole.massRanges = {{181.65342712402344, 182.58200073242188}, {507.7794494628906, 508.7080078125}};
    EXPECT_EQ(Filter(quadrupole, 3), "+ p ESI Q1MS [181.653-182.582, 507.779-508.708]");
}

TEST(NativeFilterText, NamesElectronTransferAndOtherDissociations) {
    ScanEvent event = FullScan();
    event.msOrder = 2;
    event.reactions = {MakeReaction(500.0, 4, 25.0)};
    EXPECT_EQ(Filter(event, 2), "FTMS + p NSI Full ms2 500.00@etd25.00 [350.00-1800.00]");
    event.reactions = {MakeReaction(500.0, 11, 25.0)};
    EXPECT_EQ(Filter(event, 2), "FTMS + p NSI Full ms2 500.00@uvpd25.00 [350.00-1800.00]");
    event.reactions = {MakeReaction(500.0, 12, 25.0)};
    std::string text;
    EXPECT_EQ(BuildFilterText(event, 2, &text), rawfile::kUnsupported);
}

TEST(NativeFilterText, WritesSupplementalActivationAndInSourceDissociation) {
    ScanEvent event = FullScan();
    event.msOrder = 2;
    event.supplementalActivation = 1;
    event.reactions = {MakeReaction(325.0, 4, 50.0), MakeReaction(325.0, 5, 15.0)};
    EXPECT_EQ(Filter(event, 4), "FTMS + p NSI sa Full ms2 325.0000@etd50.00 325.0000@hcd15.00 [350.0000-1800.0000]");
    event.msOrder = 3;  // the supplemental activation belongs to the last stage
    event.reactions.insert(event.reactions.begin(), MakeReaction(800.0, 0, 35.0));
    EXPECT_EQ(Filter(event, 2),
              "FTMS + p NSI sa Full ms3 800.00@cid35.00 325.00@etd50.00 325.00@hcd15.00 [350.00-1800.00]");

    ScanEvent source = FullScan();
    source.sourceFragmentation = 0;  // on
    source.sourceFragmentationEnergies = {15.0};
    source.dependent = 1;
    EXPECT_EQ(Filter(source, 2), "FTMS + p NSI sid=15.00 d Full ms [350.00-1800.00]");
    source.sourceFragmentation = 2;  // any: nothing printed
    EXPECT_EQ(Filter(source, 2), "FTMS + p NSI d Full ms [350.00-1800.00]");
}

TEST(NativeFilterText, WritesTripleQuadrupoleScanKindsWithTheBarePrecursor) {
    ScanEvent event = FullScan();
    event.analyzer = 6;
    event.dataType = 0;
    event.msOrder = 2;
    event.scanType = 3;  // SRM
    Reaction any = MakeReaction(526.2579956054688, 6, 25.0);
    any.flags = 6 << 1;  // activation "any", energy not valid
    event.reactions = {any};
    event.massRanges = {{637.26, 637.262}, {750.344, 750.346}};
    EXPECT_EQ(Filter(event, 3), "+ c NSI SRM ms2 526.258 [637.260-637.262, 750.344-750.346]");
    event.scanType = 0;
    event.msOrder = -2;  // neutral loss
    event.massRanges = {{550.0, 1000.0}};
    EXPECT_EQ(Filter(event, 3), "+ c NSI Full cnl 526.258 [550.000-1000.000]");
    event.msOrder = -1;  // precursor ion, here in negative mode
    event.polarity = 0;
    EXPECT_EQ(Filter(event, 3), "- c NSI Full pr 526.258 [550.000-1000.000]");
    // A named activation without a valid energy prints no energy.
    event.msOrder = 2;
    event.reactions = {MakeReaction(500.0, 0, 35.0)};
    event.reactions[0].flags &= ~1u;
    EXPECT_EQ(Filter(event, 2), "- c NSI Full ms2 500.00@cid [550.00-1000.00]");
}

TEST(NativeFilterText, FailsForWhatItCannotName) {
    ScanEvent event = FullScan();
    event.msOrder = 2;
    std::string text = "unchanged";
    event.reactions.clear();  // an MS2 event without its reaction
    EXPECT_EQ(BuildFilterText(event, 2, &text), rawfile::kDamaged);
    event.supplementalActivation = 1;  // a supplemental activation without its second reaction
    event.reactions = {MakeReaction(500.0, 4, 25.0)};
    EXPECT_EQ(BuildFilterText(event, 2, &text), rawfile::kDamaged);
    event = FullScan();
    event.msOrder = -3;  // no scan kind of that signed order is known
    event.reactions = {MakeReaction(500.0, 6, 25.0)};
    EXPECT_EQ(BuildFilterText(event, 2, &text), rawfile::kUnsupported);
    event = FullScan();
    event.scanType = 5;
    EXPECT_EQ(BuildFilterText(event, 2, &text), rawfile::kUnsupported);
    event = FullScan();
    event.analyzer = 9;
    EXPECT_EQ(BuildFilterText(event, 2, &text), rawfile::kUnsupported);
    event = FullScan();
    event.massRanges = {{std::nan(""), 100.0}};
    EXPECT_EQ(BuildFilterText(event, 2, &text), rawfile::kUnsupported);
    event = FullScan();
    EXPECT_EQ(BuildFilterText(event, 21, &text), rawfile::kUnsupported);
    // Numbers that cannot be written in the reactions or the source energy.
    event = FullScan();
    event.msOrder = 2;
    event.reactions = {MakeReaction(std::nan(""), 0, 35.0)};
    EXPECT_EQ(BuildFilterText(event, 2, &text), rawfile::kUnsupported);
    event.reactions = {MakeReaction(500.0, 0, std::nan(""))};
    EXPECT_EQ(BuildFilterText(event, 2, &text), rawfile::kUnsupported);
    // An unwritable source energy is found before a missing reaction.
    event.reactions.clear();
    event.sourceFragmentation = 0;
    event.sourceFragmentationEnergies = {std::nan("")};
    EXPECT_EQ(BuildFilterText(event, 2, &text), rawfile::kUnsupported);
    EXPECT_EQ(text, "unchanged");
}

TEST(NativeCreationDate, CountsWholeMillisecondsSince1899) {
    using rawfile::native::FiletimeToAutomationDate;
    const uint64_t epoch = 94353120000000000ULL;  // 1899-12-30 in FILETIME ticks
    EXPECT_EQ(FiletimeToAutomationDate(epoch), 0.0);
    EXPECT_EQ(FiletimeToAutomationDate(epoch + 864000000000ULL), 1.0);
    EXPECT_EQ(FiletimeToAutomationDate(epoch + 864000000000ULL / 2), 0.5);
    // Sub-millisecond ticks are dropped before the division.
    EXPECT_EQ(FiletimeToAutomationDate(epoch + 12345 * 10000ULL + 9999), 12345 / 86400000.0);
    EXPECT_LT(FiletimeToAutomationDate(epoch - 864000000000ULL), 0.0);
}

}  // namespace
