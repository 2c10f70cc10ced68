#include "rawfile/native/filter_text.h"

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
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

// The text of the analyzer token; empty (no token) for "undefined".
std::optional<std::string> AnalyzerToken(uint8_t analyzer) {
    if (analyzer < kAnalyzerNames.size()) {
        return std::string(kAnalyzerNames[analyzer]);
    }
    if (analyzer == kAnalyzerUndefined) {
        return std::string();
    }
    return std::nullopt;
}

std::optional<std::string> ActivationName(uint32_t code) {
    if (code < kActivationNames.size() && kActivationNames[code] != nullptr) {
        return std::string(kActivationNames[code]);
    }
    return std::nullopt;
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

std::optional<std::string> FormatNumber(double value, uint32_t decimals) {
    thread_local RecentNumbers recent;
    if (const std::string* known = recent.Find(value, decimals)) return *known;
    std::string text;
    if (decimals > static_cast<uint32_t>(kMostDecimals) || !FormatFixed(value, static_cast<int>(decimals), &text)) {
        return std::nullopt;
    }
    recent.Keep(value, decimals, text);
    return text;
}

// "810.79@cid35.00"; "526.258" for a reaction of activation "any".
std::optional<std::string> ReactionToken(const Reaction& reaction, uint32_t massPrecision) {
    const auto mass = FormatNumber(reaction.precursorMz, massPrecision);
    if (!mass) {
        return std::nullopt;
    }
    if (reaction.ActivationCode() == kActivationAny) {
        return *mass;
    }
    const auto activation = ActivationName(reaction.ActivationCode());
    if (!activation) {
        return std::nullopt;
    }
    if (!reaction.EnergyValid()) {
        return *mass + "@" + *activation;
    }
    const auto energy = FormatNumber(reaction.collisionEnergy, kEnergyDecimals);
    if (!energy) {
        return std::nullopt;
    }
    return *mass + "@" + *activation + *energy;
}

// "sid=15.00", the in-source CID energy; "sid" when none is stored.
std::optional<std::string> SourceFragmentationToken(const ScanEvent& event) {
    if (event.sourceFragmentationEnergies.empty()) {
        return std::string("sid");
    }
    const auto energy = FormatNumber(event.sourceFragmentationEnergies.front(), kEnergyDecimals);
    if (!energy) {
        return std::nullopt;
    }
    return "sid=" + *energy;
}

// "ms", "ms2" ...; "pr" and "cnl" for precursor-ion and neutral-loss scans.
std::string MsOrderToken(int8_t order) {
    if (order == kPrecursorIonOrder) {
        return "pr";
    }
    if (order == kNeutralLossOrder) {
        return "cnl";
    }
    return order == 1 ? std::string("ms") : "ms" + std::to_string(order);
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
std::optional<std::string> MassRangesToken(const std::vector<MassRange>& ranges, uint32_t massPrecision) {
    std::string token = "[";
    for (size_t i = 0; i < ranges.size(); ++i) {
        const auto low = FormatNumber(ranges[i].low, massPrecision);
        const auto high = FormatNumber(ranges[i].high, massPrecision);
        if (!low || !high) {
            return std::nullopt;
        }
        if (i > 0) {
            token += ", ";
        }
        token += *low + "-" + *high;
    }
    return token + "]";
}

class TokenList {
public:
    void Add(const std::string& token) {
        if (!text_.empty()) {
            text_ += ' ';
        }
        text_ += token;
    }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
};

}  // namespace

Status BuildFilterText(const ScanEvent& event, uint32_t massPrecision, std::string* text) {
    TokenList tokens;
    const auto analyzer = AnalyzerToken(event.analyzer);
    if (!analyzer || event.polarity > 1 || event.dataType > 1 || event.ionization >= kIonizationNames.size() ||
        event.scanType >= kScanTypeNames.size() || kScanTypeNames[event.scanType] == nullptr ||
        !MsOrderKnown(event.msOrder)) {
        return kUnsupported;
    }
    if (!analyzer->empty()) {
        tokens.Add(*analyzer);
    }
    tokens.Add(event.polarity == 1 ? "+" : "-");
    tokens.Add(event.dataType == 1 ? "p" : "c");
    tokens.Add(kIonizationNames[event.ionization]);
    if (event.sourceFragmentation == kSourceFragmentationOn) {
        const auto sid = SourceFragmentationToken(event);
        if (!sid) {
            return kUnsupported;
        }
        tokens.Add(*sid);
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
        tokens.Add(MsOrderToken(event.msOrder));
    }
    const size_t listed = event.msOrder == 1 ? 0 : ListedReactionCount(event);
    if (event.reactions.size() < listed) {
        return kDamaged;
    }
    for (size_t i = 0; i < listed; ++i) {
        const auto reaction = ReactionToken(event.reactions[i], massPrecision);
        if (!reaction) {
            return kUnsupported;
        }
        tokens.Add(*reaction);
    }
    const auto ranges = MassRangesToken(event.massRanges, massPrecision);
    if (!ranges) {
        return kUnsupported;
    }
    tokens.Add(*ranges);
    *text = tokens.Take();
    return kOk;
}

}  // namespace rawfile::native
