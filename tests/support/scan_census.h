#pragma once

// What the native RAW reader answers for every scan of a real RAW file: the
// facts from which the program tests work out what the programs must write.
// Header-only, for the test programs that link the reader (rawfile); the
// reader's own answers are checked against Thermo's library by the
// reference-dump test, so the program tests may take them as given, but
// every scan the reader cannot answer is listed as a gap, which those tests
// report as a failure of their own.

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "rawfile/native/native_backend.h"
#include "rawfile/trailer_value.h"
#include "support/real_files.h"

namespace testing_support {

struct ScanFacts {
    int32_t scan = 0;
    std::string filter;  // empty when it cannot be read
    int32_t msOrder = 0;
    bool msOrderRead = false;
    uint64_t points = 0;  // 0 when the mass list cannot be read
    bool massListRead = false;
    int32_t chargeState = 0;  // "Charge State:"; 0 when the scan has none
};

struct FileCensus {
    std::string name;  // the RAW file's name in the data folder
    rawfile::Status openStatus = rawfile::kFailed;
    int32_t first = 1;
    int32_t last = 0;
    double creationDate = 0;
    std::vector<ScanFacts> scans;  // first to last
    // What the reader could not answer, one text per kind of failure, naming
    // the file, how many scans and the first few scans with their status.
    std::vector<std::string> gaps;

    bool opened() const { return openStatus == rawfile::kOk; }
};

namespace census_detail {

// Collects the scans one kind of failure hits.
class GapList {
public:
    explicit GapList(std::string what) : what_(std::move(what)) {}

    void Add(int32_t scan, rawfile::Status status) {
        if (++count_ <= 5)
            first_ += (count_ > 1 ? ", " : "") + std::to_string(scan) + " (status " + std::to_string(status) + ")";
    }

    void AppendTo(const std::string& file, std::vector<std::string>* gaps) const {
        if (count_ == 0) return;
        gaps->push_back(file + ": " + what_ + " cannot be read for " + std::to_string(count_) + " scan(s); scan " +
                        first_ + (count_ > 5 ? ", ..." : ""));
    }

private:
    std::string what_;
    int count_ = 0;
    std::string first_;
};

// The whole-number value of a trailer answer; 0 for any other kind.
inline int32_t IntegerValue(const rawfile::TrailerValue& value) {
    return std::visit(
        [](const auto& held) -> int32_t {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_integral_v<Held> && !std::is_same_v<Held, bool>) {
                return static_cast<int32_t>(held);
            } else {
                return 0;
            }
        },
        value);
}

}  // namespace census_detail

// Opens the data folder's RAW file `name` with the native reader and asks
// it, for every scan, the filter text, MS order, mass list and charge state.
inline FileCensus TakeCensus(const std::string& name) {
    FileCensus census;
    census.name = name;
    const std::unique_ptr<rawfile::RawBackend> backend =
        rawfile::OpenNativeBackend((DataDir() / name).string(), &census.openStatus);
    if (backend == nullptr) {
        if (name != kUnopenableFile) {
            census.gaps.push_back(name + ": the native reader cannot open it (status " +
                                  std::to_string(census.openStatus) + ")");
        }
        return census;
    }
    if (name == kUnopenableFile) census.gaps.push_back(name + ": opens, though it is damaged beyond opening");
    if (backend->SetCurrentController(0, 1) != rawfile::kOk || backend->GetFirstScan(&census.first) != rawfile::kOk ||
        backend->GetLastScan(&census.last) != rawfile::kOk ||
        backend->GetCreationDate(&census.creationDate) != rawfile::kOk) {
        census.gaps.push_back(name + ": the controller, scan range or creation date cannot be read");
        return census;
    }
    census_detail::GapList filters("the filter text");
    census_detail::GapList orders("the MS order");
    census_detail::GapList massLists("the mass list");
    census_detail::GapList charges("the charge state");
    for (int64_t number = census.first; number <= census.last; ++number) {
        ScanFacts facts;
        facts.scan = static_cast<int32_t>(number);
        if (const rawfile::Status status = backend->GetFilterText(facts.scan, &facts.filter); status != rawfile::kOk) {
            facts.filter.clear();
            filters.Add(facts.scan, status);
        }
        const rawfile::Status orderStatus = backend->GetMsOrder(facts.scan, &facts.msOrder);
        facts.msOrderRead = orderStatus == rawfile::kOk;
        if (!facts.msOrderRead) orders.Add(facts.scan, orderStatus);
        std::vector<double> pairs;
        const rawfile::Status listStatus = backend->GetMassList(facts.scan, &pairs);
        facts.massListRead = listStatus == rawfile::kOk;
        if (facts.massListRead) {
            facts.points = pairs.size() / 2;
        } else {
            massLists.Add(facts.scan, listStatus);
        }
        rawfile::TrailerValue charge;
        const rawfile::Status chargeStatus = backend->GetTrailerValue(facts.scan, "Charge State:", &charge);
        if (chargeStatus == rawfile::kOk) {
            facts.chargeState = census_detail::IntegerValue(charge);
        } else if (chargeStatus != rawfile::kNoSuchLabel) {
            charges.Add(facts.scan, chargeStatus);
        }
        census.scans.push_back(std::move(facts));
    }
    for (const census_detail::GapList* list : {&filters, &orders, &massLists, &charges}) {
        list->AppendTo(name, &census.gaps);
    }
    backend->Close();
    return census;
}

// The scans brisel writes into its MS1 file: every scan whose MS order is
// not 2 and whose mass list has points.
inline std::set<int> NonMs2ScansWithPoints(const FileCensus& census) {
    std::set<int> scans;
    for (const ScanFacts& scan : census.scans) {
        if (scan.msOrderRead && scan.msOrder != 2 && scan.points > 0) scans.insert(scan.scan);
    }
    return scans;
}

// The first few scans of a set, for a failure message: "3, 7, 12, ..." or "none".
inline std::string FirstScans(const std::set<int>& scans) {
    std::string text;
    int shown = 0;
    for (int scan : scans) {
        if (shown++ == 8) return text + ", ...";
        text += (text.empty() ? "" : ", ") + std::to_string(scan);
    }
    return text.empty() ? "none" : text;
}

// The scans of `all` that are not in `some`.
inline std::set<int> Without(const std::set<int>& all, const std::set<int>& some) {
    std::set<int> rest;
    std::set_difference(all.begin(), all.end(), some.begin(), some.end(), std::inserter(rest, rest.end()));
    return rest;
}

}  // namespace testing_support
