#include "spexor/driver/batch_summary.h"

#include <vector>

namespace {

// "1 RAW file", "3 RAW files".
std::string Counted(int count, const char* singular, const char* plural) {
    std::string text = std::to_string(count);
    text.append(" ").append(count == 1 ? singular : plural);
    return text;
}

}  // namespace

std::string BatchSummaryText(const BatchTally& tally) {
    std::string text = "Summary: ";
    text.append(Counted(tally.rawFiles, "RAW file", "RAW files")).append(" converted, ");
    text.append(Counted(tally.outputsWritten, "output file", "output files")).append(" written");
    std::vector<std::string> notes;
    if (tally.rawFilesWithoutSpectra > 0) {
        notes.push_back(Counted(tally.rawFilesWithoutSpectra, "RAW file", "RAW files") + " without any spectrum");
    }
    if (tally.failedRawFiles > 0) notes.push_back(Counted(tally.failedRawFiles, "RAW file", "RAW files") + " failed");
    if (tally.unreadableScans > 0) notes.push_back(Counted(tally.unreadableScans, "scan", "scans") + " unreadable");
    if (tally.outputsFailed > 0) {
        notes.push_back(Counted(tally.outputsFailed, "output file", "output files") + " failed");
    }
    if (tally.rawFilesOfTakenNames > 0) {
        notes.push_back(Counted(tally.rawFilesOfTakenNames, "RAW file", "RAW files") + " skipped for a name taken");
    }
    if (tally.missingInputs > 0) notes.push_back(Counted(tally.missingInputs, "input", "inputs") + " not found");
    if (tally.inputsWithoutRawFiles > 0) {
        notes.push_back(Counted(tally.inputsWithoutRawFiles, "input", "inputs") + " without RAW files");
    }
    for (size_t i = 0; i < notes.size(); ++i) text.append(i == 0 ? "; " : ", ").append(notes[i]);
    return text.append(".");
}

std::vector<std::string> IncompleteRunTexts(const BatchTally& tally) {
    constexpr const char* kIncomplete = "; the run is incomplete.";
    std::vector<std::string> texts;
    if (tally.missingInputs > 0) {
        texts.push_back(Counted(tally.missingInputs, "input was", "inputs were") + " not found" + kIncomplete);
    }
    if (tally.failedRawFiles > 0) {
        texts.push_back(Counted(tally.failedRawFiles, "RAW file", "RAW files") + " could not be converted" +
                        kIncomplete);
    }
    if (tally.outputsFailed > 0) {
        texts.push_back(Counted(tally.outputsFailed, "output file", "output files") + " could not be written" +
                        kIncomplete);
    }
    return texts;
}
