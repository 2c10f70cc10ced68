#include "support/small_file_system.h"

#include <algorithm>
#include <sstream>

#include "support/temp_dir.h"

namespace testing_support {

namespace {

// The shell script run in the namespace: $1 size, $2 mount point, $3 the
// number of files to copy, then those files, the program and its arguments.
// The program's status is the script's; its output goes where the
// program's would, the listing after a marker line on standard output.
constexpr const char* kScript = R"(
size="$1"; at="$2"; count="$3"; shift 3
mount -t tmpfs -o "size=${size}k" tmpfs "$at" || exit 125
while [ "$count" -gt 0 ]; do cp "$1" "$at/" || exit 125; shift; count=$((count - 1)); done
"$@"
status=$?
echo "--- files left"
find "$at" -type f -printf '%P %s\n' | sort
exit $status
)";

constexpr const char* kListingMarker = "--- files left\n";

}  // namespace

bool SmallFileSystemAvailable() {
    TempDir dir;
    const ProgramResult probe =
        RunProgram("/usr/bin/unshare",
                   {"-r", "-m", "/bin/sh", "-c", "mount -t tmpfs -o size=64k tmpfs \"$0\"", dir.path().string()});
    return probe.status == 0;
}

SmallFileSystemRun RunInSmallFileSystem(int kilobytes, const std::string& mountPoint,
                                        const std::vector<std::string>& copies, const std::string& program,
                                        const std::vector<std::string>& args) {
    std::vector<std::string> command = {"-r",
                                        "-m",
                                        "/bin/sh",
                                        "-c",
                                        kScript,
                                        "sh",
                                        std::to_string(kilobytes),
                                        mountPoint,
                                        std::to_string(copies.size())};
    command.insert(command.end(), copies.begin(), copies.end());
    command.push_back(program);
    command.insert(command.end(), args.begin(), args.end());
    SmallFileSystemRun run;
    run.result = RunProgram("/usr/bin/unshare", command);
    const size_t marker = run.result.out.rfind(kListingMarker);
    if (marker != std::string::npos) {
        std::istringstream listing(run.result.out.substr(marker + std::string(kListingMarker).size()));
        for (std::string line; std::getline(listing, line);) run.files.push_back(line);
        run.result.out.erase(marker);
    }
    return run;
}

}  // namespace testing_support
