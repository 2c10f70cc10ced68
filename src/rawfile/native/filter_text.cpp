#include "rawfile/native/filter_text.h"

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "rawfile/native/number_format.h"

namespace rawfile::native {

namespace {

constexpr int kEnergyDecimals = 2;

constexpr uint8_t kAnalyzerUndefined = 6;
constexpr std::array<const char*, 6> kAnalyzerNames = {"ITMS", "TQMS", "SQMS", "TOFMS", "FTMS", "Sector"};
constexpr std::array<const char*, 10> kIonizationNames = {"EI",  "CI",  "FAB", "ESI",   "APCI",
                                                          "NSI", "TSP", "FD",  "MALDI", "GD"};
// Scan types by code; null where the printed form is not known.
constexpr std::array<const char*, 8> kScanTypeNames = {"Full", "Z", "SIM", "SRM", "CRM", nullptr, "Q1MS", "Q3MS"};
constexpr uint8_t kScanTypeQ1 = 6;
constexpr uint8_t kScanTypeQ3 = 7;

// Activation names by code, in the instrument software's numbering. The
// samples confirm 0 (cid), 4 (etd) and 5 (hcd); the others follow the same
// numbering, so the rarer dissociation methods are named rather than
// refused, and their MSn scans keep their level and activation. 6 ("any",
// as triple-quadrupole SRM, neutral-loss and precursor-ion reactions store
// it) has no name: such a reaction prints as its bare precursor m/z.
constexpr std::array<const char*, 12> kActivationNames = {"cid",   "mpd", "ecd", "pqd",  "etd",  "hcd",
                                                          nullptr, "sa",  "ptr", "netd", "nptr", "uvpd"};
constexpr uint32_t kActivationAny = 6;
constexpr int8_t kLargestMsOrder = 100;
// Negative MS orders name the scan kinds of a triple quadrupole that have
// one reaction but are not product-ion scans.
constexpr int8_t kPrecursorIonOrder = -1;
constexpr int8_t kNeutralLossOrder = -2;

constexpr uint8_t kOn = 1;
constexpr uint8_t kSourceFragmentationOn = 0;

// The name of a known analyzer; empty (no token) for "undefined"; null
// for any other code.
const char* AnalyzerName(uint8_t analyzer) {
    if (analyzer < kAnalyzerNames.size()) {
        return kAnalyzerNames[analyzer];
    }
    return analyzer == kAnalyzerUndefined ? "" : nullptr;
}

// The name of an activation; null when it has none.
const char* ActivationName(uint32_t code) {
    return code < kActivationNames.size() ? kActivationNames[code] : nullptr;
}

// The texts of numbers formatted lately, by value and decimals. The scan
// ranges and energies of a run's filters repeat from scan to scan, and
// formatting a number as the filter does (fifteen significant digits first)
// costs far more than looking it up. One per thread, as every reader is used
// by one thread at a time.
class RecentNumbers {
public:
    const std::string* Find(double value, uint32_t decimals) const {
        const Entry& entry = entries_[Slot(value, decimals)];
        return entry.used && entry.bits == std::bit_cast<uint64_t>(value) && entry.decimals == decimals ? &entry.text
                                                                                                        : nullptr;
    }
    void Keep(double value, uint32_t decimals, const std::string& text) {
        Entry& entry = entries_[Slot(value, decimals)];
        entry = {std::bit_cast<uint64_t>(value), decimals, true, text};
    }

private:
    static constexpr std::size_t kSlots = 64;
    struct Entry {
        uint64_t bits = 0;
        uint32_t decimals = 0;
        bool used = false;
        std::string text;
    };
    static std::size_t Slot(double value, uint32_t decimals) {
        const uint64_t mixed = (std::bit_cast<uint64_t>(value) + decimals) * 0x9e3779b97f4a7c15ull;
        return static_cast<std::size_t>(mixed >> 58);
    }
    std::array<Entry, kSlots> entries_;
};

// Appends `value` with `decimals` decimals to `text`; false when it cannot
// be written so.
bool AppendNumber(double value, uint32_t decimals, std::string& text) {
    thread_local RecentNumbers recent;
    if (const std::string* known = recent.Find(value, decimals)) {
        text += *known;
        return true;
    }
    thread_local std::string formatted;
    if (decimals > static_cast<uint32_t>(kMostDecimals) || !FormatFixed(value, static_cast<int>(decimals), &formatted)) {
        return false;
    }
    recent.Keep(value, decimals, formatted);
    text += formatted;
    return true;
}

// "810.79@cid35.00"; "526.258" for a reaction of activation "any".
bool AppendReaction(const Reaction& reaction, uint32_t massPrecision, std::string& text) {
    if (!AppendNumber(reaction.precursorMz, massPrecision, text)) {
        return false;
    }
    if (reaction.ActivationCode() == kActivationAny) {
        return true;
    }
    const char* activation = ActivationName(reaction.ActivationCode());
    if (activation == nullptr) {
        return false;
    }
    text += '@';
    text += activation;
    return !reaction.EnergyValid() || AppendNumber(reaction.collisionEnergy, kEnergyDecimals, text);
}

// "sid=15.00", the in-source CID energy; "sid" when none is stored.
bool AppendSourceFragmentation(const ScanEvent& event, std::string& text) {
    text += "sid";
    if (event.sourceFragmentationEnergies.empty()) {
        return true;
    }
    text += '=';
    return AppendNumber(event.sourceFragmentationEnergies.front(), kEnergyDecimals, text);
}

// "ms", "ms2" ...; "pr" and "cnl" for precursor-ion and neutral-loss scans.
void AppendMsOrder(int8_t order, std::string& text) {
    if (order == kPrecursorIonOrder) {
        text += "pr";
    } else if (order == kNeutralLossOrder) {
        text += "cnl";
    } else {
        text += "ms";
        if (order != 1) text += std::to_string(order);
    }
}

// The number of reactions the text lists: one per MSn stage, one for the
// single stage of precursor-ion and neutral-loss scans, and one more for a
// supplemental activation of the last stage.
size_t ListedReactionCount(const ScanEvent& event) {
    size_t count = event.msOrder >= 1 ? static_cast<size_t>(event.msOrder) - 1 : 1;
    if (count > 0 && event.supplementalActivation == kOn) {
        ++count;
    }
    return count;
}

bool MsOrderKnown(int8_t order) {
    return (order >= 1 && order <= kLargestMsOrder) || order == kPrecursorIonOrder || order == kNeutralLossOrder;
}

// "[181.653-182.582, 507.779-508.708]"
bool AppendMassRanges(const std::vector<MassRange>& ranges, uint32_t massPrecision, std::string& text) {
    text += '[';
    for (size_t i = 0; i < ranges.size(); ++i) {
        if (i > 0) {
            text += ", ";
        }
        if (!AppendNumber(ranges[i].low, massPrecision, text)) {
            return false;
        }
        text += '-';
        if (!AppendNumber(ranges[i].high, massPrecision, text)) {
            return false;
        }
    }
    text += ']';
    return true;
}

// The filter text as it is built: each token is started with Next, which
// puts the blank between it and the one before.
class TokenText {
public:
    std::string& Next() {
        if (!text_.empty()) {
            text_ += ' ';
        }
        return text_;
    }
    void Add(const char* token) { Next() += token; }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
};

}  // namespace

Status BuildFilterText(const ScanEvent& event, uint32_t massPrecision, std::string* text) {
    const char* analyzer = AnalyzerName(event.analyzer);
    if (analyzer == nullptr || event.polarity > 1 || event.dataType > 1 ||
        event.ionization >= kIonizationNames.size() || event.scanType >= kScanTypeNames.size() ||
        kScanTypeNames[event.scanType] == nullptr || !MsOrderKnown(event.msOrder)) {
        return kUnsupported;
    }
    TokenText tokens;
    if (*analyzer != '\0') {
        tokens.Add(analyzer);
    }
    tokens.Add(event.polarity == 1 ? "+" : "-");
    tokens.Add(event.dataType == 1 ? "p" : "c");
    tokens.Add(kIonizationNames[event.ionization]);
    if (event.sourceFragmentation == kSourceFragmentationOn && !AppendSourceFragmentation(event, tokens.Next())) {
        return kUnsupported;
    }
    if (event.scanRate == kOn) {
        tokens.Add("r");
    }
    if (event.dependent == kOn) {
        tokens.Add("d");
    }
    if (event.wideband == kOn) {
        tokens.Add("w");
    }
    if (event.supplementalActivation == kOn) {
        tokens.Add("sa");
    }
    tokens.Add(kScanTypeNames[event.scanType]);
    if (event.scanType != kScanTypeQ1 && event.scanType != kScanTypeQ3) {
        AppendMsOrder(event.msOrder, tokens.Next());
    }
    const size_t listed = event.msOrder == 1 ? 0 : ListedReactionCount(event);
    if (event.reactions.size() < listed) {
        return kDamaged;
    }
    for (size_t i = 0; i < listed; ++i) {
        if (!AppendReaction(event.reactions[i], massPrecision, tokens.Next())) {
            return kUnsupported;
        }
    }
    if (!AppendMassRanges(event.massRanges, massPrecision, tokens.Next())) {
        return kUnsupported;
    }
    *text = tokens.Take();
    return kOk;
}

}  // namespace rawfile::native
