#include "spexor/output/mzml_vocabulary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

// The PSI-MS vocabulary the file's terms are pinned to.
const fs::path kVocabulary = fs::path(SHARED_DATA_DIR) / ".." / "mzml" / "psi-ms.obo";

// Every term's name and exact synonyms, by accession.
std::map<std::string, std::set<std::string>> ReadNames(const fs::path& obo) {
    std::map<std::string, std::set<std::string>> names;
    std::ifstream in(obo);
    std::string line;
    std::string id;
    while (std::getline(in, line)) {
        if (line.starts_with("id: ")) id = line.substr(4);
        if (line.starts_with("name: ")) names[id].insert(line.substr(6));
        if (line.starts_with("synonym: \"") && line.find("\" EXACT") != std::string::npos)
            names[id].insert(line.substr(10, line.find("\" EXACT") - 10));
    }
    return names;
}

}  // namespace

TEST(MzmlVocabulary, EveryTermIsInTheVocabularyUnderItsNameOrTheNameTheReadersKnow) {
    if (!fs::exists(kVocabulary)) GTEST_SKIP() << "no vocabulary at " << kVocabulary;
    const auto names = ReadNames(kVocabulary);
    // Renamed since the readers in wide use took their copy; they check the old name.
    const std::map<std::string, std::string> renamed = {
        {"MS:1000079", "fourier transform ion cyclotron resonance mass spectrometer"}};
    const AllTerms all = EveryMzmlTerm();
    ASSERT_GT(all.count, 50);
    for (int i = 0; i < all.count; ++i) {
        const CvTerm& term = all.terms[i];
        const std::string accession(term.accession);
        if (accession.starts_with("UO:")) continue;
        const auto found = names.find(accession);
        ASSERT_NE(found, names.end()) << accession << " is not in the vocabulary";
        const auto old = renamed.find(accession);
        if (old != renamed.end()) {
            EXPECT_EQ(term.name, old->second);
        } else {
            EXPECT_EQ(found->second.count(std::string(term.name)), 1u) << accession << " is not named " << term.name;
        }
    }
}

TEST(MzmlVocabulary, NewerModelsGetTheGenericTermAndOlderOnesTheirOwn) {
    for (const char* newer : {"Orbitrap Velos Pro", "Orbitrap Exploris 240", "Orbitrap Eclipse", "Stellar",
                              "TSQ Quantum Access Max", "Orbitrap Astral", ""}) {
        EXPECT_EQ(InstrumentModelTerm(newer), nullptr) << newer;
    }
    ASSERT_NE(InstrumentModelTerm("Q Exactive HF Orbitrap"), nullptr);
    EXPECT_EQ(InstrumentModelTerm("Q Exactive HF Orbitrap")->accession, "MS:1002523");
    EXPECT_EQ(InstrumentModelTerm("Q Exactive HF-X Orbitrap")->accession, "MS:1002877");
    EXPECT_EQ(InstrumentModelTerm("LTQ FT")->accession, "MS:1000448");
    EXPECT_EQ(InstrumentModelTerm("Orbitrap Fusion Lumos")->accession, "MS:1002732");
    // Fourier transform on an LTQ FT is a cyclotron; on an Orbitrap an orbitrap.
    EXPECT_EQ(AnalyzerTermsOf("FTMS", "LTQ FT").analyzer.accession, "MS:1000079");
    EXPECT_EQ(AnalyzerTermsOf("FTMS", "Orbitrap Elite").analyzer.accession, "MS:1000484");
    EXPECT_EQ(AnalyzerTermsOf("ITMS", "Orbitrap Elite").analyzer.accession, "MS:1000083");
    EXPECT_EQ(AnalyzerTermsOf("TQMS", "TSQ Vantage").analyzer.accession, "MS:1000081");
}
