#pragma once

// A stand-in for the RAW reader control that answers from scripted files and
// records every call brisel makes, in order, as a short text:
//   "open <path>", "controller <type> <number>", "first", "last", "date",
//   "filter <scan>", "rt <scan>",
//   "masslist <scan> <filter> <cutoffType> <cutoffValue> <maxPeaks> <centroid>",
//   and any other dispatch id as "id <n>".
// Arguments of the wrong number or kind make the call fail in the dispatch
// machinery (DISP_E_BADPARAMCOUNT / DISP_E_TYPEMISMATCH) and are recorded as
// "bad <n>".

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/com.h"

namespace brisel_test {

struct ScriptedScan {
    std::string filter;
    double retentionTime = 0.0;
    std::vector<double> pairs;  // m/z, intensity, m/z, intensity ...
    // The point count reported; -1: pairs.size() / 2.
    int32_t reportedPointCount = -1;
    // The scan number the mass-list call hands back; 0: the one asked for.
    int32_t deliveredScan = 0;
    int32_t massListResult = 1;
    int32_t retentionTimeResult = 1;
    // Filter fetches of this scan, counted from 1, that fail with the given result.
    std::map<int, int32_t> failingFilterFetches;
};

struct ScriptedFile {
    int32_t openResult = 1;
    int32_t controllerResult = 1;
    int32_t firstResult = 1;
    int32_t lastResult = 1;
    int32_t dateResult = 1;
    int32_t firstScan = 1;
    int32_t lastScan = 0;
    double creationDate = 0.0;
    std::map<int32_t, ScriptedScan> scans;
};

// The scripted files by path and the record of calls, shared by every object
// the registered class makes.
struct Script {
    std::map<std::string, ScriptedFile> files;
    // Dispatch ids whose calls fail in the dispatch machinery.
    std::map<int32_t, platform::HRESULT> brokenDispatchIds;
    std::vector<std::string> calls;
};

// Registers the recording control under the component's class id.
void RegisterRecordingComponent(std::shared_ptr<Script> script);

// A failed call still writes these into its out values, so a caller that
// trusts them is caught.
inline constexpr int32_t kJunkScanNumber = 777;
inline constexpr double kJunkDate = 45000.5;

}  // namespace brisel_test
