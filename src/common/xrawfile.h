#pragma once

#include <cstdint>

#include "platform/com.h"

// The RAW-file reader component as both programs see it: its class id,
// ProgIDs and interface ids, the dispatch ids of its control form, and its
// reader interface (version 1), whose calls return a status: 0 success, a
// positive value failure, a negative value a component error.
namespace xrawfile {

inline constexpr const char* kClassId = "{B5562CF7-56EC-11D2-8102-00104B304896}";
inline constexpr const char* kProgIdMsFileReader = "MSFileReader.XRawfile.1";
inline constexpr const char* kProgIdXRawfile = "XRawfile.XRawfile.1";

// Interface ids by version, index 1 to 5 (index 0 unused).
inline constexpr const char* kInterfaceIds[6] = {
    "",
    "{11B488A0-69B1-41FC-A660-FE8DF2A31F5B}",
    "{55A25FF7-F437-471F-909A-D7F2B5930805}",
    "{19A00B1E-1559-42B1-9A46-08A5E599EDEE}",
    "{E7CF6760-11CD-4260-B5B0-FCE2AD97547B}",
    "{06F53853-E43C-4F30-9E5F-D1B3668F0C3C}",
};

// Dispatch ids of the control form. Every control method returns a 32-bit
// integer, 1 meaning success.
enum DispatchId : int32_t {
    kDispOpen = 1,                             // (BSTR path)
    kDispClose = 2,                            // ()
    kDispGetCreationDate = 6,                  // (DATE* date)
    kDispSetCurrentController = 34,            // (I4 type, I4 number)
    kDispGetFirstSpectrumNumber = 49,          // (I4* scan)
    kDispGetLastSpectrumNumber = 50,           // (I4* scan)
    kDispRTFromScanNum = 70,                   // (I4 scan, R8* minutes)
    kDispGetFilterForScanNum = 71,             // (I4 scan, BSTR* filter)
    kDispGetMassListFromScanNum = 73,          // (I4* scan, BSTR filter, I4 cutoffType, I4 cutoffValue,
                                               //  I4 maxPeaks, I4 centroid, VARIANT* list, VARIANT* flags, I4* size)
    kDispGetTrailerExtraValueForScanNum = 90,  // (I4 scan, BSTR label, VARIANT* value)
    kDispGetInstName = 22,                     // (BSTR* name)
    kDispGetInstModel = 23,                    // (BSTR* model)
    kDispGetInstSerialNumber = 24,             // (BSTR* serialNumber)
    kDispGetScanHeaderInfoForScanNum = 80,     // (I4 scan, I4* packets, R8* startTime, R8* lowMass, R8* highMass,
                                               //  R8* tic, R8* basePeakMass, R8* basePeakIntensity, I4* channels,
                                               //  I4* uniformTime, R8* frequency)
};

inline constexpr int32_t kControlSuccess = 1;

// The reader interface, version 1 (the COM form). Every later version
// extends it, so an object that answers version n also answers version 1.
// Out strings and variants pass their ownership to the caller; a string or
// variant the caller's slot still holds is released by the call first.
class IXRawfile : public platform::IUnknown {
public:
    virtual platform::HRESULT Open(const char* path) = 0;
    virtual platform::HRESULT Close() = 0;
    virtual platform::HRESULT GetCreationDate(double* date) = 0;
    virtual platform::HRESULT SetCurrentController(int32_t type, int32_t number) = 0;
    virtual platform::HRESULT GetFirstSpectrumNumber(int32_t* scan) = 0;
    virtual platform::HRESULT GetLastSpectrumNumber(int32_t* scan) = 0;
    virtual platform::HRESULT RTFromScanNum(int32_t scan, double* minutes) = 0;
    virtual platform::HRESULT GetFilterForScanNum(int32_t scan, platform::BSTR* filter) = 0;
    // `peakWidth` may be null (no centroid peak width).
    virtual platform::HRESULT GetMassListFromScanNum(int32_t* scan, const char* filter, int32_t cutoffType,
                                                     int32_t cutoffValue, int32_t maxPeaks, int32_t centroid,
                                                     double* peakWidth, platform::VARIANT* massList,
                                                     platform::VARIANT* peakFlags, int32_t* size) = 0;
    virtual platform::HRESULT GetTrailerExtraValueForScanNum(int32_t scan, const char* label,
                                                             platform::VARIANT* value) = 0;
    virtual platform::HRESULT GetInstName(platform::BSTR* name) = 0;
    virtual platform::HRESULT GetInstModel(platform::BSTR* model) = 0;
    virtual platform::HRESULT GetInstSerialNumber(platform::BSTR* serialNumber) = 0;
    virtual platform::HRESULT GetScanHeaderInfoForScanNum(int32_t scan, int32_t* packets, double* startTime,
                                                          double* lowMass, double* highMass, double* tic,
                                                          double* basePeakMass, double* basePeakIntensity,
                                                          int32_t* channels, int32_t* uniformTime,
                                                          double* frequency) = 0;
};

}  // namespace xrawfile
