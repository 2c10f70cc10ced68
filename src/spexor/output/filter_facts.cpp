#include "spexor/output/filter_facts.h"

#include <array>
#include <charconv>

namespace {

constexpr std::array<std::string_view, 12> kIonizationWords = {"ESI", "NSI", "APCI", "APPI", "MALDI", "EI",
                                                               "CI",  "FAB", "TSP",  "FD",   "PSI",   "GD"};

bool ReadNumber(std::string_view text, double& value) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool IsIonizationWord(std::string_view word) {
    for (std::string_view known : kIonizationWords)
        if (word == known) return true;
    return false;
}

// "cid35.00" into its name and energy.
FilterActivation ReadActivation(std::string_view text) {
    FilterActivation activation;
    std::size_t letters = 0;
    while (letters < text.size() && text[letters] >= 'a' && text[letters] <= 'z') ++letters;
    activation.name = text.substr(0, letters);
    activation.hasEnergy = ReadNumber(text.substr(letters), activation.energy);
    return activation;
}

// "810.79@cid35.00@hcd20.00" into a stage; false for a word that is no precursor.
bool ReadStage(std::string_view word, PrecursorStage& stage) {
    std::size_t at = word.find('@');
    stage.mzText = word.substr(0, at);
    stage.activations.clear();
    if (!ReadNumber(stage.mzText, stage.mz)) return false;
    while (at != std::string_view::npos) {
        word.remove_prefix(at + 1);
        at = word.find('@');
        stage.activations.push_back(ReadActivation(word.substr(0, at)));
    }
    return true;
}

void ReadWindows(std::string_view text, std::vector<MzWindow>& windows) {
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        std::string_view range = text.substr(0, comma);
        while (!range.empty() && range.front() == ' ') range.remove_prefix(1);
        const std::size_t dash = range.find('-', 1);
        MzWindow window;
        if (dash != std::string_view::npos && ReadNumber(range.substr(0, dash), window.low) &&
            ReadNumber(range.substr(dash + 1), window.high)) {
            windows.push_back(window);
        }
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
}

}  // namespace

bool IsMsOrderWord(std::string_view word) {
    if (!word.starts_with("ms")) return false;
    for (char c : word.substr(2))
        if (c < '0' || c > '9') return false;
    return true;
}

void ReadFilterFacts(std::string_view filter, FilterFacts& facts) {
    facts.polarity = 0;
    facts.ionization = {};
    facts.sps = false;
    facts.windows.clear();
    facts.stageCount = 0;
    const std::size_t bracket = filter.find('[');
    if (bracket != std::string_view::npos) {
        const std::size_t close = filter.find(']', bracket);
        ReadWindows(filter.substr(bracket + 1, close == std::string_view::npos ? close : close - bracket - 1),
                    facts.windows);
        filter = filter.substr(0, bracket);
    }
    bool afterMsOrder = false;
    bool supplemental = false;
    while (!filter.empty()) {
        const std::size_t blank = filter.find(' ');
        const std::string_view word = filter.substr(0, blank);
        filter.remove_prefix(blank == std::string_view::npos ? filter.size() : blank + 1);
        if (word.empty()) continue;
        if ((word == "+" || word == "-") && facts.polarity == 0) facts.polarity = word[0];
        if (facts.ionization.empty() && IsIonizationWord(word)) facts.ionization = word;
        if (word == "sa") supplemental = true;
        if (word == "sps") facts.sps = true;
        if (IsMsOrderWord(word)) {
            afterMsOrder = true;
            continue;
        }
        if (!afterMsOrder) continue;
        if (facts.stages.size() <= static_cast<std::size_t>(facts.stageCount)) facts.stages.emplace_back();
        if (ReadStage(word, facts.stages[facts.stageCount])) ++facts.stageCount;
    }
    // Supplemental activation ("sa") is written as a second stage at the
    // same precursor: one stage with two activations.
    if (supplemental && facts.stageCount >= 2) {
        PrecursorStage& last = facts.stages[facts.stageCount - 1];
        PrecursorStage& before = facts.stages[facts.stageCount - 2];
        if (last.mzText == before.mzText) {
            before.activations.insert(before.activations.end(), last.activations.begin(), last.activations.end());
            --facts.stageCount;
        }
    }
}
