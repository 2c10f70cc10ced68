#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com.h"

// The console lines both scan readers print when a component call fails, and
// the fatal endings: those write their line, then raise platform::FatalError
// (OpenFailure for the scan range).
// Every line goes to standard error, whole and flushed.

// The open failure, and on a line of its own the reason the component gave
// (none when it gave none).
void ReportOpenFailure(const std::string& path, const std::string& reason);
void ReportControllerFailure();
[[noreturn]] void RaiseFirstScanFailure();
[[noreturn]] void RaiseLastScanFailure();
void ReportFilterFailure(int scan);
void ReportMassListFailure(int scan);
void ReportRetentionTimeFailure(int scan);
void ReportTrailerDoubleFailure(const std::string& label, int scan);
void ReportTrailerIntFailure(const std::string& label, int scan);

// The control's dispatch call itself could not be made (no control, unknown
// dispatch id, rejected arguments): the run cannot go on.
[[noreturn]] void RaiseDispatchFailure(std::string_view operation, int32_t dispatchId, platform::HRESULT code);

// The component's reader interface answered with a negative status.
[[noreturn]] void RaiseComponentError(std::string_view operation, platform::HRESULT code);
