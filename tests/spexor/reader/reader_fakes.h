#pragma once

// Wrappers around our component that record each call to a file, so that
// the calls a death test's child made can be read back.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/xrawfile.h"
#include "platform/com.h"

// One line per recorded call, written through at once.
class CallLog {
public:
    explicit CallLog(const std::filesystem::path& file);
    ~CallLog();
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;

    void Add(const std::string& entry);
    // Everything recorded so far, by this process or a child.
    std::string Text() const;

private:
    std::filesystem::path file_;
    std::FILE* stream_;
};

// Registers under the component's class id a control that passes every
// dispatch call to our component and records its dispatch id. Point counts
// of mass lists are answered `extraPoints` too high.
void RegisterRecordingControl(CallLog* log, int32_t extraPoints = 0);

// Registers under the component's class id and both ProgIDs an object whose
// reader interface (every version) passes each call to our component and
// records the operation's name. Point counts of mass lists are answered
// `extraPoints` too high.
void RegisterRecordingInterface(CallLog* log, int32_t extraPoints = 0);
