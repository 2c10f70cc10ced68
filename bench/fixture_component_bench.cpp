// Times the RAW component on a large fixture: 50,000 scans holding a million
// points in all, opened through the reader interface, then every scan's
// filter text, retention time, trailer value and mass list fetched the way
// the converters do.

#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/xrawfile.h"
#include "platform/com.h"
#include "rawfile/component.h"

namespace {

constexpr int kScans = 50000;
constexpr int kPointsPerScan = 20;

std::string WriteLargeFixture() {
    std::filesystem::path path = std::filesystem::temp_directory_path() / "fixture_component_bench.raw";
    std::ofstream out(path, std::ios::binary);
    out << "rawfixture 1\ncreated 45000.5\n";
    char number[64];
    for (int scan = 1; scan <= kScans; ++scan) {
        bool ms2 = scan % 4 != 1;
        out << "scan " << scan << "\n";
        out << (ms2 ? "filter ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1000.00]\n"
                    : "filter FTMS + p NSI Full ms [350.00-1800.00]\n");
        std::snprintf(number, sizeof number, "rt %.6f\n", scan * 0.002);
        out << number;
        out << "trailer I2 Charge State:=" << (scan % 3 + 1) << "\n";
        out << "trailer R4 Ion Injection Time (ms):=12.5\n";
        out << "points";
        for (int point = 0; point < kPointsPerScan; ++point) {
            std::snprintf(number, sizeof number, " %.5f %.1f", 100.0 + point * 7.25 + scan * 1e-5, 1000.0 + point);
            out << number;
        }
        out << "\n";
    }
    return path.string();
}

struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    // "<wall> s wall, <cpu> s CPU": the CPU time is what counts on a busy machine.
    std::string Elapsed() const {
        char text[96];
        std::snprintf(text, sizeof text, "%.3f s wall, %.3f s CPU",
                      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
                      static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC);
        return text;
    }
};

}  // namespace

int main() {
    std::string path = WriteLargeFixture();
    std::printf("fixture: %d scans, %d points, %.1f MB\n", kScans, kScans * kPointsPerScan,
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
    for (int32_t scan = 1; scan <= kScans; ++scan) {
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
