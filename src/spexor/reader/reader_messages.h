#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com.h"

// The console lines both scan readers print when a component call fails, and
// the fatal endings. Every line goes to standard error, whole and flushed.

void ReportOpenFailure(const std::string& path);
void ReportControllerFailure();
[[noreturn]] void ExitOnFirstScanFailure();
[[noreturn]] void ExitOnLastScanFailure();
void ReportFilterFailure(int scan);
void ReportMassListFailure(int scan);
void ReportRetentionTimeFailure(int scan);
void ReportTrailerDoubleFailure(const std::string& label, int scan);
void ReportTrailerIntFailure(const std::string& label, int scan);

// Ends the run with status -1 (flushing registered output first).
[[noreturn]] void ExitRun();

// The control's dispatch call itself could not be made (no control, unknown
// dispatch id, rejected arguments): the run cannot go on.
[[noreturn]] void ExitOnDispatchFailure(std::string_view operation, int32_t dispatchId, platform::HRESULT code);

// The component's reader interface answered with a negative status.
[[noreturn]] void ExitOnComponentError(std::string_view operation, platform::HRESULT code);
