// Times the RAW component on a large fixture: 50,000 scans holding a million
// points in all, opened through the reader interface, then every scan's
// filter text, retention time, trailer value and mass list fetched the way
// the converters do.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/xrawfile.h"
#include "large_fixture.h"
#include "platform/com.h"
#include "rawfile/component.h"
#include "stopwatch.h"

int main() {
    const std::string path = WriteLargeFixture("fixture_component_bench.raw");
    std::printf("fixture: %d scans, %d points, %.1f MB\n", kLargeFixtureScans,
                kLargeFixtureScans * kLargeFixturePointsPerScan,
                static_cast<double>(std::filesystem::file_size(path)) / 1e6);

    platform::IUnknown* object = rawfile::CreateComponent();
    void* answer = nullptr;
    object->QueryInterface(xrawfile::kInterfaceIds[1], &answer);
    object->Release();
    auto* raw = static_cast<xrawfile::IXRawfile*>(answer);

    Stopwatch opening;
    if (raw->Open(path.c_str()) != platform::S_OK) {
        std::printf("open failed\n");
        return 1;
    }
    std::printf("open (parse): %s\n", opening.Elapsed().c_str());

    Stopwatch reading;
    int64_t points = 0;
    for (int32_t scan = 1; scan <= kLargeFixtureScans; ++scan) {
        platform::BSTR filter = nullptr;
        raw->GetFilterForScanNum(scan, &filter);
        bool ms2 = std::string(filter).find("ms2") != std::string::npos;
        platform::SysFreeString(filter);
        double minutes = 0;
        raw->RTFromScanNum(scan, &minutes);
        platform::VARIANT value;
        raw->GetTrailerExtraValueForScanNum(scan, "Charge State:", &value);
        platform::VariantClear(&value);
        int32_t asked = scan, size = 0;
        platform::VARIANT list, flags;
        raw->GetMassListFromScanNum(&asked, ms2 ? "ms2" : "ms", 0, 0, 0, 0, nullptr, &list, &flags, &size);
        points += size;
        platform::VariantClear(&list);
        platform::VariantClear(&flags);
    }
    std::printf("all scans read: %s (%lld points)\n", reading.Elapsed().c_str(), static_cast<long long>(points));
    raw->Close();
    raw->Release();
    std::filesystem::remove(path);
    platform::LiveResources live = platform::CurrentLiveResources();
    std::printf("left alive: %lld strings, %lld arrays, %lld objects\n", static_cast<long long>(live.strings),
                static_cast<long long>(live.arrays), static_cast<long long>(live.objects));
    return 0;
}
