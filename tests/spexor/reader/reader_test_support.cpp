#include "reader_test_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "rawfile/component.h"
#include "spexor/reader/new_raw_extractor.h"

std::string ReaderKindName(ReaderKind kind) { return kind == ReaderKind::Control ? "Control" : "Interface"; }

std::unique_ptr<RawExtractor> MakeReader(ReaderKind kind, platform::CWnd* host) {
    if (kind == ReaderKind::Interface) return std::make_unique<NewRawExtractor>();
    return std::make_unique<RawExtractor>(host);
}

RegistryGuard::RegistryGuard() {
    rawfile::RegisterComponent();
    platform::AfxEnableControlContainer(true);
}

ReaderSession::ReaderSession(ReaderKind kind, const std::string& fixture)
    : path(dir.Write("run.raw", fixture)), reader(MakeReader(kind, &host)) {}

ReaderSession::~ReaderSession() { reader.reset(); }

std::string Exactly(std::string_view text) {
    std::string pattern = "^";
    for (char c : text) {
        if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
        pattern += c;
    }
    return pattern + "$";
}

void RedirectStdout(const std::filesystem::path& file) {
    if (std::freopen(file.c_str(), "w", stdout) == nullptr) std::abort();
}

void TerminalStdinWithOneLine() {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) std::abort();
    int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    if (slave < 0 || dup2(slave, STDIN_FILENO) < 0) std::abort();
    if (write(master, "\n", 1) != 1) std::abort();
}
