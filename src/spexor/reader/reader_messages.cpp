#include "spexor/reader/reader_messages.h"

#include <cstdio>

#include "platform/fatal_error.h"
#include "spexor/console/console_lines.h"
#include "spexor/reader/open_failure.h"

namespace {

void WriteError(const std::string& text) { console::ReportException(text); }

std::string HexCode(platform::HRESULT code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(code));
    return text;
}

}  // namespace

void ReportOpenFailure(const std::string& path, const std::string& reason) {
    WriteError("Failed to open file " + path + ", check if your file is corrupt!");
    if (!reason.empty()) WriteError("Reason: " + reason);
}

void ReportControllerFailure() { WriteError("Failed to set current controller!"); }

void RaiseFirstScanFailure() {
    WriteError("Failed to load first scan number! ");
    throw OpenFailure();
}

void RaiseLastScanFailure() {
    WriteError(": Failed to load last scan number! ");
    throw OpenFailure();
}

// The per-scan failures may come for every scan of a file: each is one
// message, whatever the scan.
void ReportFilterFailure(int scan) {
    console::ReportRepeatableException("Error getting filter for scan number",
                                       "Error getting filter for scan number " + std::to_string(scan) + "!");
}

void ReportMassListFailure(int scan) {
    console::ReportRepeatableException("Error getting mass list data for scan",
                                       "Error getting mass list data for scan." + std::to_string(scan));
}

void ReportRetentionTimeFailure(int scan) {
    console::ReportRepeatableException("Error getting retention time for scan number",
                                       "Error getting retention time for scan number " + std::to_string(scan) + "! ");
}

void ReportTrailerDoubleFailure(const std::string& label, int scan) {
    const std::string message = "Error getting trailer extra value " + label + " for scan number";
    console::ReportRepeatableException(message, message + " " + std::to_string(scan) + "!");
}

void ReportTrailerIntFailure(const std::string& label, int scan) {
    const std::string message = "Error getting " + label + " for scan number";
    console::ReportRepeatableException(message, message + " " + std::to_string(scan) + "! ");
}

void RaiseDispatchFailure(std::string_view operation, int32_t dispatchId, platform::HRESULT code) {
    WriteError("Cannot call " + std::string(operation) + " (dispatch id " + std::to_string(dispatchId) +
               ") of the MSFileReader control, error code " + HexCode(code) + "!");
    throw platform::FatalError();
}

void RaiseComponentError(std::string_view operation, platform::HRESULT code) {
    WriteError("MSFileReader component error in " + std::string(operation) + ", error code " + HexCode(code) + "!");
    throw platform::FatalError();
}
