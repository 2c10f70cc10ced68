#pragma once

// The texts of brisel's message boxes.

namespace messages {

inline constexpr const char* kErrorCaption = "Error";

inline constexpr const char* kOpenFailedCaption = "XCalibur in this system is not installed correctly";
inline constexpr const char* kOpenFailedText =
    "For Thermo RAW format, program requires access to library files supplied as part of the instrument "
    "data system. Please reinstall Thermo Scientific Xcalibur to continue. ";

inline constexpr const char* kControllerFailed = "Error setting current controller";
inline constexpr const char* kFirstScanFailed = "Error getting first scan number";
inline constexpr const char* kLastScanFailed = "Error getting last scan number";
inline constexpr const char* kCreationDateFailed = "Error getting creation date";
// Raised for every failed per-scan query (filter text or retention time).
inline constexpr const char* kScanQueryFailed = "Error getting retention time";

inline constexpr const char* kSaveFailed = "Error: failed to save file.\nThe mass list data has not be saved.";

inline constexpr const char* kIllegalCaption = "Illegal";
inline constexpr const char* kIllegalText = "Don't run this program directly.";
inline constexpr const char* kFileNotFound = "Can't find the file ";

}  // namespace messages
