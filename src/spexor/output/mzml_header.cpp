#include "spexor/output/mzml_header.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string_view>

#include "spexor/output/mzml_vocabulary.h"
#include "spexor/output/mzml_xml.h"

namespace {

constexpr std::string_view kSoftwareId = "spexor";
constexpr std::string_view kSourceFileId = "RAW1";
constexpr double kUnixEpochAsAutomationDate = 25569.0;
constexpr double kSecondsPerDay = 86400.0;

// An XML id from a text: letters, digits, '_', '-' and '.' kept, every
// other character '_', and '_' in front when it would not start with a
// letter or '_' (a RAW file named 10226.raw).
std::string XmlId(const std::string& text) {
    std::string id;
    for (char c : text) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                          c == '-' || c == '.';
        id += kept ? c : '_';
    }
    if (id.empty() || !((id[0] >= 'a' && id[0] <= 'z') || (id[0] >= 'A' && id[0] <= 'Z') || id[0] == '_')) {
        id.insert(0, "_");
    }
    return id;
}

// A file URI of a folder, with every byte outside the unreserved set and
// "/" percent-encoded.
std::string FolderUri(const std::string& rawPath) {
    std::error_code ignored;
    std::filesystem::path folder = std::filesystem::absolute(rawPath, ignored).lexically_normal().parent_path();
    std::string uri = "file://";
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : folder.string()) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

// "2018-02-13T11:09:03.970Z" from an automation date (days since
// 1899-12-30, UTC), to the millisecond.
std::string TimeStamp(double automationDate) {
    const double milliseconds =
        std::floor((automationDate - kUnixEpochAsAutomationDate) * kSecondsPerDay * 1000.0 + 0.5);
    const double seconds = std::floor(milliseconds / 1000.0);
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + length, sizeof text - length, ".%03dZ", static_cast<int>(milliseconds - seconds * 1000.0));
    return text;
}

void PutFileDescription(OutputFile& out, const RunFacts& run, const std::string& rawSha1) {
    out.Put("<fileDescription>\n<fileContent>\n");
    if (run.hasMs1Scans) PutCvParam(out, cv::kMs1Spectrum);
    if (run.hasMsnScans) PutCvParam(out, cv::kMsnSpectrum);
    out.Put("</fileContent>\n<sourceFileList count=\"1\">\n<sourceFile id=\"");
    out.Put(kSourceFileId);
    out.Put("\" name=\"");
    PutEscaped(out, std::filesystem::path(run.rawPath).filename().string());
    out.Put("\" location=\"");
    PutEscaped(out, FolderUri(run.rawPath));
    out.Put("\">\n");
    PutCvParam(out, cv::kThermoNativeIdFormat);
    PutCvParam(out, cv::kThermoRawFormat);
    if (!rawSha1.empty()) PutCvParam(out, cv::kSha1, rawSha1);
    out.Put("</sourceFile>\n</sourceFileList>\n</fileDescription>\n");
}

void PutInstrumentParams(OutputFile& out, const InstrumentIdentity& instrument) {
    out.Put("<referenceableParamGroupList count=\"1\">\n");
    out.Put("<referenceableParamGroup id=\"CommonInstrumentParams\">\n");
    // A model the readers in wide use know by a term of its own gets it;
    // any other the generic term, with the model's text beside it.
    const CvTerm* model = InstrumentModelTerm(instrument.model);
    PutCvParam(out, model != nullptr ? *model : cv::kThermoInstrumentModel);
    if (!instrument.serialNumber.empty()) PutCvParam(out, cv::kInstrumentSerialNumber, instrument.serialNumber);
    if (model == nullptr && !instrument.model.empty()) PutUserParam(out, "instrument model", instrument.model);
    out.Put("</referenceableParamGroup>\n</referenceableParamGroupList>\n");
}

void PutSoftware(OutputFile& out) {
    out.Put("<softwareList count=\"1\">\n<software id=\"");
    out.Put(kSoftwareId);
    out.Put("\" version=\"" SPEXOR_VERSION "\">\n");
    PutCvParam(out, cv::kCustomSoftware, "spexor");
    out.Put("</software>\n</softwareList>\n");
}

void PutInstrumentConfiguration(OutputFile& out, int index, const RunFacts::AnalyzerUse& use,
                                const InstrumentIdentity& instrument) {
    const AnalyzerTerms analyzer = AnalyzerTermsOf(use.analyzer, instrument.model);
    const IonizationTerms ionization = IonizationTermsOf(use.ionization);
    out.Put("<instrumentConfiguration id=\"");
    out.Put(InstrumentConfigurationId(index));
    out.Put("\">\n<referenceableParamGroupRef ref=\"CommonInstrumentParams\"/>\n");
    out.Put("<componentList count=\"3\">\n<source order=\"1\">\n");
    PutCvParam(out, ionization.ionization);
    if (ionization.inlet != nullptr) PutCvParam(out, *ionization.inlet);
    out.Put("</source>\n<analyzer order=\"2\">\n");
    PutCvParam(out, analyzer.analyzer);
    out.Put("</analyzer>\n<detector order=\"3\">\n");
    PutCvParam(out, analyzer.detector);
    out.Put("</detector>\n</componentList>\n</instrumentConfiguration>\n");
}

void PutInstrumentConfigurations(OutputFile& out, const RunFacts& run) {
    // The schema wants at least one: a file whose filter texts could not be
    // read gets one of the instrument's kind.
    std::vector<RunFacts::AnalyzerUse> uses = run.analyzers;
    if (uses.empty()) uses.push_back({"", ""});
    out.Put("<instrumentConfigurationList count=\"");
    PutInteger(out, static_cast<int64_t>(uses.size()));
    out.Put("\">\n");
    for (std::size_t i = 0; i < uses.size(); ++i)
        PutInstrumentConfiguration(out, static_cast<int>(i), uses[i], run.instrument);
    out.Put("</instrumentConfigurationList>\n");
}

void PutProcessing(OutputFile& out, std::string_view id, const CvTerm& term) {
    out.Put("<dataProcessing id=\"");
    out.Put(id);
    out.Put("\">\n<processingMethod order=\"0\" softwareRef=\"");
    out.Put(kSoftwareId);
    out.Put("\">\n");
    PutCvParam(out, term);
    out.Put("</processingMethod>\n</dataProcessing>\n");
}

void PutDataProcessing(OutputFile& out, bool picksPeaks) {
    out.Put("<dataProcessingList count=\"");
    out.Put(picksPeaks ? "2" : "1");
    out.Put("\">\n");
    PutProcessing(out, kConversionProcessingId, cv::kConversionToMzml);
    if (picksPeaks) PutProcessing(out, kPeakPickingProcessingId, cv::kPeakPicking);
    out.Put("</dataProcessingList>\n");
}

}  // namespace

bool PicksPeaks(const RunFacts& run, const ConversionSettings& settings) {
    return settings.centroided && run.hasProfileScans;
}

std::string InstrumentConfigurationId(int index) { return "IC" + std::to_string(index + 1); }

void PutMzmlHeader(OutputFile& out, const RunFacts& run, const ConversionSettings& settings, const std::string& rawSha1,
                   int64_t spectrumCount) {
    const std::string id = XmlId(run.baseName);
    out.Put("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n");
    out.Put(
        "<indexedmzML xmlns=\"http://psi.hupo.org/ms/mzml\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
        " xsi:schemaLocation=\"http://psi.hupo.org/ms/mzml "
        "http://psidev.info/files/ms/mzML/xsd/mzML1.1.2_idx.xsd\">\n");
    out.Put(
        "<mzML xmlns=\"http://psi.hupo.org/ms/mzml\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
        " xsi:schemaLocation=\"http://psi.hupo.org/ms/mzml http://psidev.info/files/ms/mzML/xsd/mzML1.1.0.xsd\""
        " id=\"");
    out.Put(id);
    out.Put("\" version=\"1.1.0\">\n");
    out.Put(
        "<cvList count=\"2\">\n"
        "<cv id=\"MS\" fullName=\"Proteomics Standards Initiative Mass Spectrometry Ontology\""
        " version=\"4.1.257\" URI=\"https://raw.githubusercontent.com/HUPO-PSI/psi-ms-CV/master/psi-ms.obo\"/>\n"
        "<cv id=\"UO\" fullName=\"Unit Ontology\" version=\"09:04:2014\""
        " URI=\"https://raw.githubusercontent.com/bio-ontology-research-group/unit-ontology/master/unit.obo\"/>\n"
        "</cvList>\n");
    PutFileDescription(out, run, rawSha1);
    PutInstrumentParams(out, run.instrument);
    PutSoftware(out);
    PutInstrumentConfigurations(out, run);
    PutDataProcessing(out, PicksPeaks(run, settings));
    out.Put("<run id=\"");
    out.Put(id);
    out.Put("\" defaultInstrumentConfigurationRef=\"IC1\"");
    if (run.creationDate) {
        out.Put(" startTimeStamp=\"");
        out.Put(TimeStamp(*run.creationDate));
        out.Put("\"");
    }
    out.Put(" defaultSourceFileRef=\"");
    out.Put(kSourceFileId);
    out.Put("\">\n<spectrumList count=\"");
    PutInteger(out, spectrumCount);
    out.Put("\" defaultDataProcessingRef=\"");
    out.Put(kConversionProcessingId);
    out.Put("\">\n");
}
