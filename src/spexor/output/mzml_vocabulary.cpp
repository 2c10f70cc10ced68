#include "spexor/output/mzml_vocabulary.h"

#include <array>
#include <vector>

namespace {

// Thermo models with a term of their own in the vocabulary of the readers
// in wide use (terms from before 2019; each checked with ProteoWizard
// 3.0.18342 and OpenMS 2.6). Model texts as RAW files write them;
// a trailing " Orbitrap" is dropped before looking ("Q Exactive HF Orbitrap").
struct ModelTerm {
    std::string_view model;
    CvTerm term;
};
constexpr std::array kModelTerms = {
    ModelTerm{"LTQ", {"MS:1000447", "LTQ"}},
    ModelTerm{"LTQ FT", {"MS:1000448", "LTQ FT"}},
    ModelTerm{"LTQ FT Ultra", {"MS:1000557", "LTQ FT Ultra"}},
    ModelTerm{"LTQ Orbitrap", {"MS:1000449", "LTQ Orbitrap"}},
    ModelTerm{"LTQ Orbitrap XL", {"MS:1000556", "LTQ Orbitrap XL"}},
    ModelTerm{"LTQ Orbitrap XL ETD", {"MS:1000639", "LTQ Orbitrap XL ETD"}},
    ModelTerm{"LTQ Orbitrap Velos", {"MS:1001742", "LTQ Orbitrap Velos"}},
    ModelTerm{"LTQ Velos", {"MS:1000855", "LTQ Velos"}},
    // Named "LTQ Orbitrap Elite" in the readers' vocabulary, a synonym since.
    ModelTerm{"Orbitrap Elite", {"MS:1001910", "LTQ Orbitrap Elite"}},
    ModelTerm{"Orbitrap Fusion", {"MS:1002416", "Orbitrap Fusion"}},
    ModelTerm{"Orbitrap Fusion Lumos", {"MS:1002732", "Orbitrap Fusion Lumos"}},
    ModelTerm{"Exactive", {"MS:1000649", "Exactive"}},
    ModelTerm{"Q Exactive", {"MS:1001911", "Q Exactive"}},
    ModelTerm{"Q Exactive Plus", {"MS:1002634", "Q Exactive Plus"}},
    ModelTerm{"Q Exactive HF", {"MS:1002523", "Q Exactive HF"}},
    ModelTerm{"Q Exactive HF-X", {"MS:1002877", "Q Exactive HF-X"}},
    ModelTerm{"TSQ Quantum", {"MS:1000199", "TSQ Quantum"}},
    ModelTerm{"TSQ Quantum Ultra", {"MS:1000751", "TSQ Quantum Ultra"}},
    ModelTerm{"TSQ Quantum Ultra AM", {"MS:1000743", "TSQ Quantum Ultra AM"}},
    ModelTerm{"TSQ Vantage", {"MS:1001510", "TSQ Vantage"}},
};

constexpr CvTerm kOrbitrap{"MS:1000484", "orbitrap"};
// Renamed in the vocabulary since; the readers in wide use check the name they know.
constexpr CvTerm kFourierTransformIcr{"MS:1000079", "fourier transform ion cyclotron resonance mass spectrometer"};
constexpr CvTerm kRadialEjectionLinearIonTrap{"MS:1000083", "radial ejection linear ion trap"};
constexpr CvTerm kQuadrupole{"MS:1000081", "quadrupole"};
constexpr CvTerm kTimeOfFlight{"MS:1000084", "time-of-flight"};
constexpr CvTerm kMagneticSector{"MS:1000080", "magnetic sector"};
constexpr CvTerm kInductiveDetector{"MS:1000624", "inductive detector"};
constexpr CvTerm kElectronMultiplier{"MS:1000253", "electron multiplier"};

constexpr CvTerm kElectrosprayIonization{"MS:1000073", "electrospray ionization"};
constexpr CvTerm kNanoelectrospray{"MS:1000398", "nanoelectrospray"};
constexpr CvTerm kApci{"MS:1000070", "atmospheric pressure chemical ionization"};
constexpr CvTerm kAppi{"MS:1000382", "atmospheric pressure photoionization"};
constexpr CvTerm kMaldi{"MS:1000075", "matrix-assisted laser desorption ionization"};
constexpr CvTerm kIonizationType{"MS:1000008", "ionization type"};
constexpr CvTerm kElectrosprayInlet{"MS:1000057", "electrospray inlet"};
constexpr CvTerm kNanosprayInlet{"MS:1000485", "nanospray inlet"};

constexpr CvTerm kCid{"MS:1000133", "collision-induced dissociation"};
constexpr CvTerm kHcd{"MS:1000422", "beam-type collision-induced dissociation"};
constexpr CvTerm kEtd{"MS:1000598", "electron transfer dissociation"};
constexpr CvTerm kEcd{"MS:1000250", "electron capture dissociation"};
constexpr CvTerm kPqd{"MS:1000599", "pulsed q dissociation"};
constexpr CvTerm kPhotodissociation{"MS:1000435", "photodissociation"};
constexpr CvTerm kSupplementalHcd{"MS:1002678", "supplemental beam-type collision-induced dissociation"};
constexpr CvTerm kSupplementalCid{"MS:1002679", "supplemental collision-induced dissociation"};

std::string_view WithoutOrbitrapSuffix(std::string_view model) {
    constexpr std::string_view suffix = " Orbitrap";
    if (model.size() > suffix.size() && model.ends_with(suffix)) model.remove_suffix(suffix.size());
    return model;
}

}  // namespace

const CvTerm* InstrumentModelTerm(std::string_view modelText) {
    const std::string_view model = WithoutOrbitrapSuffix(modelText);
    for (const ModelTerm& entry : kModelTerms) {
        if (entry.model == model) return &entry.term;
    }
    return nullptr;
}

AnalyzerTerms AnalyzerTermsOf(std::string_view analyzerWord, std::string_view modelText) {
    if (analyzerWord == "FTMS") {
        // Fourier transform on an LTQ FT is an ion cyclotron; on every later model an orbitrap.
        const bool cyclotron = modelText.starts_with("LTQ FT");
        return {cyclotron ? kFourierTransformIcr : kOrbitrap, kInductiveDetector};
    }
    if (analyzerWord == "ITMS") return {kRadialEjectionLinearIonTrap, kElectronMultiplier};
    if (analyzerWord == "TOFMS") return {kTimeOfFlight, kElectronMultiplier};
    if (analyzerWord == "Sector") return {kMagneticSector, kElectronMultiplier};
    return {kQuadrupole, kElectronMultiplier};  // TQMS, SQMS and filters that name no analyzer
}

IonizationTerms IonizationTermsOf(std::string_view ionizationWord) {
    if (ionizationWord == "ESI") return {kElectrosprayIonization, &kElectrosprayInlet};
    if (ionizationWord == "NSI") return {kNanoelectrospray, &kNanosprayInlet};
    if (ionizationWord == "APCI") return {kApci};
    if (ionizationWord == "APPI") return {kAppi};
    if (ionizationWord == "MALDI") return {kMaldi};
    return {kIonizationType};
}

const CvTerm& DissociationTermOf(std::string_view activation) {
    if (activation == "hcd") return kHcd;
    if (activation == "etd") return kEtd;
    if (activation == "ecd") return kEcd;
    if (activation == "pqd") return kPqd;
    if (activation == "mpd" || activation == "uvpd") return kPhotodissociation;
    return kCid;  // "cid", and a precursor without an activation (a triple quadrupole's collision cell)
}

const CvTerm* SupplementalDissociationTermOf(std::string_view activation) {
    if (activation == "hcd") return &kSupplementalHcd;
    if (activation == "cid") return &kSupplementalCid;
    return nullptr;
}

bool ActivationHasCollisionEnergy(std::string_view activation) { return activation != "etd" && activation != "ecd"; }

AllTerms EveryMzmlTerm() {
    static const std::vector<CvTerm> terms = [] {
        std::vector<CvTerm> all = {cv::kMs1Spectrum,
                                   cv::kMsnSpectrum,
                                   cv::kMsLevel,
                                   cv::kPositiveScan,
                                   cv::kNegativeScan,
                                   cv::kCentroidSpectrum,
                                   cv::kProfileSpectrum,
                                   cv::kBasePeakMz,
                                   cv::kBasePeakIntensity,
                                   cv::kTotalIonCurrent,
                                   cv::kLowestObservedMz,
                                   cv::kHighestObservedMz,
                                   cv::kNoCombination,
                                   cv::kScanStartTime,
                                   cv::kFilterString,
                                   cv::kIonInjectionTime,
                                   cv::kFaimsCompensationVoltage,
                                   cv::kScanWindowLowerLimit,
                                   cv::kScanWindowUpperLimit,
                                   cv::kIsolationWindowTarget,
                                   cv::kIsolationWindowLowerOffset,
                                   cv::kIsolationWindowUpperOffset,
                                   cv::kSelectedIonMz,
                                   cv::kChargeState,
                                   cv::kCollisionEnergy,
                                   cv::kSupplementalCollisionEnergy,
                                   cv::k64BitFloat,
                                   cv::kZlibCompression,
                                   cv::kNoCompression,
                                   cv::kMzArray,
                                   cv::kIntensityArray,
                                   cv::kTimeArray,
                                   cv::kTotalIonCurrentChromatogram,
                                   cv::kThermoNativeIdFormat,
                                   cv::kThermoRawFormat,
                                   cv::kSha1,
                                   cv::kThermoInstrumentModel,
                                   cv::kInstrumentSerialNumber,
                                   cv::kCustomSoftware,
                                   cv::kXcalibur,
                                   cv::kConversionToMzml,
                                   cv::kPeakPicking,
                                   cv::kUnitMz.term,
                                   cv::kUnitDetectorCounts.term,
                                   kOrbitrap,
                                   kFourierTransformIcr,
                                   kRadialEjectionLinearIonTrap,
                                   kQuadrupole,
                                   kTimeOfFlight,
                                   kMagneticSector,
                                   kInductiveDetector,
                                   kElectronMultiplier,
                                   kElectrosprayIonization,
                                   kNanoelectrospray,
                                   kApci,
                                   kAppi,
                                   kMaldi,
                                   kIonizationType,
                                   kElectrosprayInlet,
                                   kNanosprayInlet,
                                   kCid,
                                   kHcd,
                                   kEtd,
                                   kEcd,
                                   kPqd,
                                   kPhotodissociation,
                                   kSupplementalHcd,
                                   kSupplementalCid};
        for (const ModelTerm& entry : kModelTerms) all.push_back(entry.term);
        return all;
    }();
    return {terms.data(), static_cast<int>(terms.size())};
}
