#pragma once

// The hidden dialog that hosts the RAW reader control and converts one RAW
// file after another into MS1 files, using the same control for all of them.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "brisel/dx_rawfile.h"
#include "common/peak.h"
#include "platform/com.h"
#include "platform/window.h"

class CBriselDlg : public platform::HostWindow {
public:
    CBriselDlg();
    ~CBriselDlg() override;
    CBriselDlg(const CBriselDlg&) = delete;
    CBriselDlg& operator=(const CBriselDlg&) = delete;

    // Creates the dialog window, hidden; OnInitDialog creates the control in it.
    void Create();
    bool OnInitDialog();
    // Destroys the control, then the dialog window.
    void DestroyDialog();

    // Converts the file named by m_strRawPath into the MS1 file beside it.
    void ConvertRawFile();
    // Handles scan n; false ends the scan loop.
    bool ConvertScan(int32_t n);
    // Fills m_dRetentionTime and m_strInstrumentType; false on failure.
    bool ReadScanInfo(int32_t n);
    // Decides centroid or profile for scan n; picks the peaks of a profile scan.
    void PreparePeaks(int32_t n);
    void WriteHeader();
    // Writes the record of scan n and unlocks the mass-list data.
    void WriteScanRecord(int32_t n);

    // Conversion state, overwritten by each file and each scan.
    int32_t m_nResult = 0;             // result of the last component call; 1 = success
    platform::VARIANT m_varMassList;   // the scan's points: doubles, m/z then intensity
    platform::VARIANT m_varPeakFlags;  // peak flags of the scan; never read
    int32_t m_nPointCount = 0;         // number of points in the mass list
    std::string m_strRawPath;          // the RAW file, as given on the command line
    int32_t m_nFirstScan = 0;
    int32_t m_nLastScan = 0;
    double m_dtCreation = 0.0;  // automation date
    std::string m_strCreationDate;
    double m_dRetentionTime = 0.0;          // minutes
    platform::BSTR m_bstrFilter = nullptr;  // filter text of the current scan
    CDXRawfile m_rawfile;                   // the hosted control; lives and dies with the dialog
    std::string m_strInstrumentType;
    std::string m_strMs1Path;
    std::string m_strLogPath;
    std::FILE* m_pFile = nullptr;  // the open MS1 file
    const char* m_pszMzFormat = "%.5f";
    const char* m_pszIntensityFormat = "%.1f";
    bool m_bPicked = true;                         // true: write m_pickedPeaks; false: the points as delivered
    const double* m_pMassListData = nullptr;       // the mass-list data while it is locked
    std::vector<Peak> m_pickedPeaks;               // picked peaks of the last profile scan
    platform::SAFEARRAY* m_psaMassList = nullptr;  // the array whose data is locked

private:
    // The open-failure box's text, with the file and the reason the
    // component gives for it when it gives one.
    std::string OpenFailureText();
    void ReadScanRange();
    void ReadCreationDate();
    // Fetches the points of scan n and locks them for reading. False, with
    // the variants cleared, when the fetch fails (logged) or gives no points
    // of scan n.
    bool FetchMassList(int32_t n);
    // Releases the filter text held and fetches the one of scan n.
    int32_t FetchFilter(int32_t n);
    std::string_view FilterText() const;
    // Locks the delivered points for reading; false when there are none to read.
    bool LockMassList();
    void UnlockMassList();
    // Unlocks the data and empties both variants, releasing what they hold.
    void ClearMassList();
    void PickProfilePeaks();
    void WritePeakLines();
};
