#pragma once

// The PSI-MS terms the mzML writer uses, each with its accession and name as
// the vocabulary has them. Only terms that the widely installed readers
// know are used: a term newer than a reader's copy of the vocabulary makes
// it refuse the whole file, so newer instrument models are written as the
// generic Thermo term with the model's text beside it.

#include <string_view>

struct CvTerm {
    std::string_view accession;
    std::string_view name;
};

// A unit: its vocabulary ("MS" or "UO") and term.
struct CvUnit {
    std::string_view cvRef;
    CvTerm term;
};

namespace cv {

inline constexpr CvTerm kMs1Spectrum{"MS:1000579", "MS1 spectrum"};
inline constexpr CvTerm kMsnSpectrum{"MS:1000580", "MSn spectrum"};
inline constexpr CvTerm kMsLevel{"MS:1000511", "ms level"};
inline constexpr CvTerm kPositiveScan{"MS:1000130", "positive scan"};
inline constexpr CvTerm kNegativeScan{"MS:1000129", "negative scan"};
inline constexpr CvTerm kCentroidSpectrum{"MS:1000127", "centroid spectrum"};
inline constexpr CvTerm kProfileSpectrum{"MS:1000128", "profile spectrum"};
inline constexpr CvTerm kBasePeakMz{"MS:1000504", "base peak m/z"};
inline constexpr CvTerm kBasePeakIntensity{"MS:1000505", "base peak intensity"};
inline constexpr CvTerm kTotalIonCurrent{"MS:1000285", "total ion current"};
inline constexpr CvTerm kLowestObservedMz{"MS:1000528", "lowest observed m/z"};
inline constexpr CvTerm kHighestObservedMz{"MS:1000527", "highest observed m/z"};
inline constexpr CvTerm kNoCombination{"MS:1000795", "no combination"};
inline constexpr CvTerm kScanStartTime{"MS:1000016", "scan start time"};
inline constexpr CvTerm kFilterString{"MS:1000512", "filter string"};
inline constexpr CvTerm kIonInjectionTime{"MS:1000927", "ion injection time"};
inline constexpr CvTerm kFaimsCompensationVoltage{"MS:1001581", "FAIMS compensation voltage"};
inline constexpr CvTerm kScanWindowLowerLimit{"MS:1000501", "scan window lower limit"};
inline constexpr CvTerm kScanWindowUpperLimit{"MS:1000500", "scan window upper limit"};
inline constexpr CvTerm kIsolationWindowTarget{"MS:1000827", "isolation window target m/z"};
inline constexpr CvTerm kIsolationWindowLowerOffset{"MS:1000828", "isolation window lower offset"};
inline constexpr CvTerm kIsolationWindowUpperOffset{"MS:1000829", "isolation window upper offset"};
inline constexpr CvTerm kSelectedIonMz{"MS:1000744", "selected ion m/z"};
inline constexpr CvTerm kChargeState{"MS:1000041", "charge state"};
inline constexpr CvTerm kCollisionEnergy{"MS:1000045", "collision energy"};
inline constexpr CvTerm kSupplementalCollisionEnergy{"MS:1002680", "supplemental collision energy"};
inline constexpr CvTerm k64BitFloat{"MS:1000523", "64-bit float"};
inline constexpr CvTerm kZlibCompression{"MS:1000574", "zlib compression"};
inline constexpr CvTerm kNoCompression{"MS:1000576", "no compression"};
inline constexpr CvTerm kMzArray{"MS:1000514", "m/z array"};
inline constexpr CvTerm kIntensityArray{"MS:1000515", "intensity array"};
inline constexpr CvTerm kTimeArray{"MS:1000595", "time array"};
inline constexpr CvTerm kTotalIonCurrentChromatogram{"MS:1000235", "total ion current chromatogram"};
inline constexpr CvTerm kThermoNativeIdFormat{"MS:1000768", "Thermo nativeID format"};
inline constexpr CvTerm kThermoRawFormat{"MS:1000563", "Thermo RAW format"};
inline constexpr CvTerm kSha1{"MS:1000569", "SHA-1"};
inline constexpr CvTerm kThermoInstrumentModel{"MS:1000483", "Thermo Fisher Scientific instrument model"};
inline constexpr CvTerm kInstrumentSerialNumber{"MS:1000529", "instrument serial number"};
inline constexpr CvTerm kCustomSoftware{"MS:1000799", "custom unreleased software tool"};
inline constexpr CvTerm kXcalibur{"MS:1000532", "Xcalibur"};
inline constexpr CvTerm kConversionToMzml{"MS:1000544", "Conversion to mzML"};
inline constexpr CvTerm kPeakPicking{"MS:1000035", "peak picking"};

inline constexpr CvUnit kUnitMz{"MS", {"MS:1000040", "m/z"}};
inline constexpr CvUnit kUnitDetectorCounts{"MS", {"MS:1000131", "number of detector counts"}};
inline constexpr CvUnit kUnitMinute{"UO", {"UO:0000031", "minute"}};
inline constexpr CvUnit kUnitMillisecond{"UO", {"UO:0000028", "millisecond"}};
inline constexpr CvUnit kUnitVolt{"UO", {"UO:0000218", "volt"}};
inline constexpr CvUnit kUnitElectronvolt{"UO", {"UO:0000266", "electronvolt"}};

}  // namespace cv

// The instrument model term of a model text as the RAW file names it, when
// the widely installed readers know a term of its own; else none.
const CvTerm* InstrumentModelTerm(std::string_view modelText);

// The parts of one instrument configuration, for an analyzer word of the
// filter texts ("FTMS", "ITMS", "TQMS" ...) on an instrument model.
struct AnalyzerTerms {
    CvTerm analyzer;
    CvTerm detector;
};
AnalyzerTerms AnalyzerTermsOf(std::string_view analyzerWord, std::string_view modelText);

// The ionization term of a filter text's ionization word ("ESI", "NSI",
// "APCI" ...), and the inlet that goes with it (none for most).
struct IonizationTerms {
    CvTerm ionization;
    const CvTerm* inlet = nullptr;
};
IonizationTerms IonizationTermsOf(std::string_view ionizationWord);

// The dissociation term of an activation as the filter text names it
// ("cid", "hcd", "etd" ...), and its supplemental form when it is the
// second activation of a stage (none for those that have no such form).
const CvTerm& DissociationTermOf(std::string_view activation);
const CvTerm* SupplementalDissociationTermOf(std::string_view activation);
// Whether the number after the activation is a collision energy (it is a
// reaction time for electron transfer and capture).
bool ActivationHasCollisionEnergy(std::string_view activation);

// Every term the writer may use, for checking against the vocabulary.
struct AllTerms {
    const CvTerm* terms;
    int count;
};
AllTerms EveryMzmlTerm();
