// Conversion throughput of spexor on a large RAW fixture (50,000 scans, about
// a million points): spectra per second, output megabytes per second and
// peak memory of the spexor process for MGF-only, MS2-only and all-kinds
// runs; peak memory again on a fixture a fifth the size, to show it does not
// grow with the number of scans. Then the MGF writer alone, in process:
// peak lines per second, against simply writing the same bytes. Last, the
// extraction run in a child process over a reader that makes its scans up as
// it goes: throughput and peak memory of the output side alone, for growing
// numbers of scans.
//
//   bench_output [scans [folder]]   (default 50000 scans; with a folder, the
//                                    fixtures are written there and kept)

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "child_run.h"
#include "spexor/output/extraction_run.h"
#include "spexor/output/format_writer.h"
#include "spexor/output/output_file.h"
#include "spexor/output/raw_file_job.h"
#include "spexor/reader/raw_extractor.h"

namespace fs = std::filesystem;

namespace {

// One MS1 profile scan then nine MS2 scans per cycle; every fifth cycle
// turns its last MS2 scan into an MS3 scan.
struct Ms2Kind {
    const char* analyzer;
    const char* activation;
};
const Ms2Kind kCycle[9] = {{"FTMS", "hcd"}, {"FTMS", "hcd"}, {"ITMS", "cid"}, {"ITMS", "cid"}, {"FTMS", "etd"},
                           {"FTMS", "hcd"}, {"FTMS", "cid"}, {"ITMS", "etd"}, {"ITMS", "hcd"}};

struct FixtureSize {
    int ms1 = 0, ms2 = 0, ms3 = 0;
    long points = 0;
};

// Deterministic pseudo-random numbers.
struct Random {
    unsigned long long state = 88172645463325252ull;
    double Next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<double>(state % 1000000) / 1000000.0;
    }
};

void WriteMs1(std::FILE* out, Random& random, FixtureSize& size) {
    std::fputs("filter FTMS + p NSI Full ms [350.00-1800.00]\ntrailer R4 Ion Injection Time (ms):=12.5\npoints", out);
    for (int peak = 0; peak < 6; ++peak) {
        const double centre = 400.0 + 200.0 * peak + 50.0 * random.Next();
        const double height = 1e5 + 1e6 * random.Next();
        for (int k = -4; k <= 5; ++k) {
            const double intensity = k == -4 || k == 5 ? 0.0 : height / (1.0 + k * k);
            std::fprintf(out, " %.5f %.1f", centre + 0.002 * k, intensity);
            ++size.points;
        }
    }
    std::fputc('\n', out);
}

void WriteMsn(std::FILE* out, Random& random, FixtureSize& size, const Ms2Kind& kind, int scan, bool ms3) {
    const double precursor = 400.0 + 800.0 * random.Next();
    if (ms3)
        std::fprintf(out, "filter FTMS + c NSI sps d Full ms3 %.4f@cid35.00 %.4f@hcd65.00 [100.00-1000.00]\n",
                     precursor, precursor * 0.7);
    else
        std::fprintf(out, "filter %s + c NSI d Full ms2 %.4f@%s30.00 [110.00-2000.00]\n", kind.analyzer, precursor,
                     kind.activation);
    std::fprintf(out, "trailer I2 Charge State:=%d\n", scan % 3 == 0 ? 0 : 2 + scan % 2);
    std::fprintf(out, "trailer R8 Monoisotopic M/Z:=%.6f\n", scan % 4 == 0 ? 0.0 : precursor - 0.0021);
    std::fputs("trailer R4 Ion Injection Time (ms):=35.25\npoints", out);
    const int count = 12 + static_cast<int>(random.Next() * 12);
    double mz = 110.0;
    for (int i = 0; i < count; ++i) {
        mz += 1.0 + 80.0 * random.Next();
        std::fprintf(out, " %.5f %.1f", mz, 100.0 + 1e5 * random.Next());
    }
    size.points += count;
    std::fputc('\n', out);
}

FixtureSize WriteFixture(const fs::path& path, int scans) {
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (!out) {
        std::perror("fixture");
        std::exit(1);
    }
    std::fputs("rawfixture 1\ncreated 46365.5\n", out);
    Random random;
    FixtureSize size;
    for (int scan = 1; scan <= scans; ++scan) {
        const int position = (scan - 1) % 10;
        std::fprintf(out, "scan %d\nrt %.6f\n", scan, scan * 0.0021);
        if (position == 0) {
            WriteMs1(out, random, size);
            ++size.ms1;
            continue;
        }
        const bool ms3 = position == 9 && ((scan - 1) / 10) % 5 == 4;
        WriteMsn(out, random, size, kCycle[position - 1], scan, ms3);
        ++(ms3 ? size.ms3 : size.ms2);
    }
    std::fclose(out);
    return size;
}

ChildRun RunSpexor(const std::vector<std::string>& args) { return RunMeasured(SPEXOR_BIN, args, true); }

double FolderMegabytes(const fs::path& folder) {
    double bytes = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        bytes += static_cast<double>(entry.file_size());
    return bytes / 1e6;
}

struct Config {
    const char* name;
    std::vector<std::string> options;
    int Spectra(const FixtureSize& size) const {
        if (options.size() > 1) return size.ms1 + size.ms2 + size.ms3;
        return options[0] == "-ms3" ? size.ms3 : size.ms2;
    }
};

void BenchConversions(const fs::path& dir, const fs::path& large, const FixtureSize& size, const fs::path& small) {
    // The MS3-only run converts the 2% MS3 scans and only classifies the
    // rest: close to the cost of reading the fixture alone.
    const std::vector<Config> configs = {
        {"MS3 only", {"-ms3"}},
        {"MGF only", {"-mgf"}},
        {"MS2 only", {"-ms2"}},
        {"all kinds", {"-ms1", "-ms2", "-ms3", "-mgf", "-ksd"}},
    };
    std::printf("%-10s %8s %8s %12s %12s %10s %10s %14s\n", "run", "wall s", "CPU s", "spectra/s", "out MB/s", "out MB",
                "peak RSS", "RSS (1/5 size)");
    for (const Config& config : configs) {
        const fs::path out = dir / "out";
        std::vector<std::string> args = config.options;
        args.insert(args.end(), {"-o", out.string(), large.string()});
        const ChildRun run = RunSpexor(args);
        const double megabytes = FolderMegabytes(out);
        fs::remove_all(out);
        args.back() = small.string();
        const ChildRun smallRun = RunSpexor(args);
        fs::remove_all(out);
        if (run.status != 0 || smallRun.status != 0) {
            std::printf("spexor failed (status %d, on the small fixture %d)\n", run.status, smallRun.status);
        }
        std::printf("%-10s %8.2f %8.2f %12.0f %12.1f %10.1f %7.1f MB %11.1f MB\n", config.name, run.wallSeconds,
                    run.cpuSeconds, config.Spectra(size) / run.cpuSeconds, megabytes / run.cpuSeconds, megabytes,
                    static_cast<double>(run.peakKilobytes) / 1024.0,
                    static_cast<double>(smallRun.peakKilobytes) / 1024.0);
    }
    std::printf(
        "spectra/s and MB/s are per CPU second of the whole spexor process, which also parses the\n"
        "text fixture and holds it in memory (the MS3-only row is about that cost alone); peak RSS is\n"
        "the process's maximum resident set, on this fixture and on one a fifth its size.\n\n");
}

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Records shaped like the fixture's MS2 scans.
std::vector<SpectrumRecord> MakeRecords(int count) {
    Random random;
    std::vector<SpectrumRecord> records(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        SpectrumRecord& record = records[static_cast<std::size_t>(i)];
        record.scanNumber = i + 1;
        record.peakCount = 12 + static_cast<int>(random.Next() * 12);
        record.peaks.reset(new Peak[static_cast<std::size_t>(record.peakCount)]);
        double mz = 110.0;
        for (int p = 0; p < record.peakCount; ++p) {
            mz += 1.0 + 80.0 * random.Next();
            record.peaks[p] = {mz + random.Next() * 1e-5, 100.0 + 1e5 * random.Next()};
        }
        record.retentionTime = i * 0.126;
        record.activationCenter = 400.0 + 800.0 * random.Next();
        record.monoisotopicMz = record.activationCenter - 0.0021;
        record.instrumentType = "FTMS";
        record.activationType = "HCD";
        record.precursorScan = i;
        record.chargeMin = 2;
        record.chargeMax = i % 3 == 0 ? 3 : 2;
    }
    return records;
}

void BenchMgfWriter(const fs::path& dir, int recordCount) {
    const std::vector<SpectrumRecord> records = MakeRecords(recordCount);
    long peakLines = 0;
    for (const SpectrumRecord& record : records)
        peakLines += record.peakCount * (record.chargeMax - record.chargeMin + 1);
    const fs::path mgf = dir / "writer.mgf";
    constexpr int kRepeats = 5;
    double best = 1e9;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        const double start = CpuSeconds();
        std::string reason;
        std::unique_ptr<OutputFile> file = OutputFile::Create(mgf.string(), reason);
        RunFacts run;
        run.baseName = "run";
        const std::unique_ptr<FormatWriter> writer =
            MakeFormatWriter(OutputFormat::MGF, ConversionSettings{}, *file, run);
        for (const SpectrumRecord& record : records) writer->WriteSpectrum(record);
        file->Close();
        best = std::min(best, CpuSeconds() - start);
    }
    const double megabytes = static_cast<double>(fs::file_size(mgf)) / 1e6;

    // The same bytes written without formatting, through the same buffer size.
    std::vector<char> bytes(fs::file_size(mgf));
    {
        const int in = open(mgf.c_str(), O_RDONLY);
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = read(in, bytes.data() + got, bytes.size() - got);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        close(in);
    }
    double bestCopy = 1e9;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        const double start = CpuSeconds();
        const int out = open((dir / "copy.mgf").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (std::size_t at = 0; at < bytes.size(); at += OutputFile::kBufferSize) {
            const std::size_t size = std::min(OutputFile::kBufferSize, bytes.size() - at);
            if (write(out, bytes.data() + at, size) < 0) break;
        }
        close(out);
        bestCopy = std::min(bestCopy, CpuSeconds() - start);
    }
    std::printf("MGF writer in process: %d records, %ld peak lines, %.1f MB\n", recordCount, peakLines, megabytes);
    std::printf("  formatting and writing: %.3f s CPU = %.2f M peak lines/s, %.0f MB/s\n", best,
                static_cast<double>(peakLines) / best / 1e6, megabytes / best);
    std::printf("  writing the same bytes: %.3f s CPU = %.0f MB/s (formatting costs %.1fx the bare write)\n", bestCopy,
                megabytes / bestCopy, best / bestCopy);
}

// A reader that makes up the same run as the fixture, scan by scan, holding
// nothing: what the extraction run costs without a RAW file behind it.
class SyntheticReader : public RawExtractor {
public:
    explicit SyntheticReader(int scans) : scans_(scans) {}
    void Open(const std::string&) override {}
    void Close() override {}
    int GetFirstScan() override { return 1; }
    int GetLastScan() override { return scans_; }
    bool IsScanKind(int scan, int kind) override {
        const int level = Level(scan);
        return kind == 0 ? level == 1 : kind <= 3 ? level == 2 : level == 3;
    }
    bool IsCentroidScan(int scan) override { return Level(scan) != 1; }
    void GetMassList(MassList& list, const std::string&) override {
        Random random;
        random.state += static_cast<unsigned long long>(list.scan) * 7919u;
        if (Level(list.scan) == 1) {
            list.count = 60;
            list.peaks.reset(new Peak[60]);
            for (int i = 0; i < 60; ++i) {
                const int k = i % 10 - 4;
                list.peaks[i] = {400.0 + 200.0 * (i / 10) + 0.002 * k, k == -4 || k == 5 ? 0.0 : 1e6 / (1.0 + k * k)};
            }
            return;
        }
        list.count = 12 + static_cast<int>(random.Next() * 12);
        list.peaks.reset(new Peak[static_cast<std::size_t>(list.count)]);
        double mz = 110.0;
        for (int i = 0; i < list.count; ++i) {
            mz += 1.0 + 80.0 * random.Next();
            list.peaks[i] = {mz, 100.0 + 1e5 * random.Next()};
        }
    }
    void GetAnalyzer(std::string& analyzer, int scan) override {
        analyzer = Level(scan) == 2 ? kCycle[(scan - 1) % 10 - 1].analyzer : "FTMS";
    }
    void GetActivation(std::string& activation, int scan) override {
        activation = Level(scan) == 2 ? kCycle[(scan - 1) % 10 - 1].activation : "hcd";
    }
    std::pair<int, int> GetChargeRange(std::pair<int, int>& range, int scan) override {
        const int charge = scan % 3 == 0 ? 0 : 2 + scan % 2;
        range = {charge, charge};
        return range;
    }
    double GetRetentionTime(int scan) override { return scan * 0.126; }
    double GetIonInjectionTime(int) override { return 35.25; }
    double GetPrecursorMz(int scan) override { return 400.0 + (scan * 37 % 800); }
    double GetMonoisotopicMz(int scan) override { return scan % 4 == 0 ? 0.0 : GetPrecursorMz(scan) - 0.0021; }

private:
    int Level(int scan) const {
        const int position = (scan - 1) % 10;
        if (position == 0) return 1;
        return position == 9 && ((scan - 1) / 10) % 5 == 4 ? 3 : 2;
    }
    int scans_;
};

void BenchExtractionRun(const fs::path& dir) {
    std::printf("\nExtraction run over a generated reader, all kinds, split (child process):\n");
    std::printf("%10s %8s %12s %12s %10s\n", "scans", "CPU s", "spectra/s", "out MB/s", "peak RSS");
    for (int scans : {10000, 50000, 250000}) {
        const fs::path out = dir / "generated";
        fs::create_directories(out);
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            SyntheticReader reader(scans);
            RawFileJob job;
            job.settings.outputKinds = {true, true, true, true, true};
            job.settings.outputDirectory = out.string() + "/";
            job.rawPath = (dir / "generated.raw").string();
            job.reader = &reader;
            RunExtraction(job);
            _exit(0);
        }
        const ChildRun run = WaitForChild(pid, start);
        const double megabytes = FolderMegabytes(out);
        fs::remove_all(out);
        std::printf("%10d %8.2f %12.0f %12.1f %7.1f MB\n", scans, run.cpuSeconds, scans / run.cpuSeconds,
                    megabytes / run.cpuSeconds, static_cast<double>(run.peakKilobytes) / 1024.0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int scans = argc > 1 ? std::atoi(argv[1]) : 50000;
    char pattern[] = "/tmp/bench_output-XXXXXX";
    const bool keep = argc > 2;
    if (!keep && !mkdtemp(pattern)) return 1;
    const fs::path dir = keep ? fs::path(argv[2]) : fs::path(pattern);
    fs::create_directories(dir);
    const fs::path large = dir / "large.raw";
    const fs::path small = dir / "small.raw";
    const FixtureSize size = WriteFixture(large, scans);
    WriteFixture(small, scans / 5);
    std::printf("fixture: %d scans (%d MS1 profile, %d MS2, %d MS3), %ld points, %.1f MB of text\n\n", scans, size.ms1,
                size.ms2, size.ms3, size.points, static_cast<double>(fs::file_size(large)) / 1e6);
    BenchConversions(dir, large, size, small);
    BenchMgfWriter(dir, size.ms2);
    BenchExtractionRun(dir);
    if (!keep) fs::remove_all(dir);
    return 0;
}
