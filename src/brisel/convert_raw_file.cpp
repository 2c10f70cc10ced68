#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include "brisel/brisel_dlg.h"
#include "brisel/creation_date.h"
#include "brisel/error_box.h"
#include "brisel/messages.h"
#include "brisel/output_paths.h"
#include "common/xrawfile.h"
#include "platform/file_entry.h"
#include "platform/message_box.h"
#include "platform/staged_file.h"

namespace {

constexpr int32_t kMassSpectrometerController = 0;
constexpr int32_t kFirstControllerOfType = 1;

}  // namespace

std::string CBriselDlg::OpenFailureText() {
    platform::BSTR reason = nullptr;
    std::string text = messages::kOpenFailedText;
    if (m_rawfile.GetErrorMessage(&reason) == xrawfile::kControlSuccess && reason != nullptr && reason[0] != '\0') {
        text.append("\n").append(m_strRawPath).append(": ").append(reason);
    }
    platform::SysFreeString(reason);
    return text;
}

void CBriselDlg::ConvertRawFile() {
    m_nResult = m_rawfile.Open(m_strRawPath);
    if (m_nResult != xrawfile::kControlSuccess) {
        platform::MessageBox(nullptr, OpenFailureText(), messages::kOpenFailedCaption,
                             platform::MB_OK | platform::MB_ICONWARNING);
        return;
    }
    m_nResult = m_rawfile.SetCurrentController(kMassSpectrometerController, kFirstControllerOfType);
    if (m_nResult != xrawfile::kControlSuccess) ShowErrorBox(messages::kControllerFailed);

    ClearMassList();
    m_nPointCount = 0;
    ReadScanRange();
    ReadCreationDate();

    m_strMs1Path = Ms1PathFor(m_strRawPath);
    m_strLogPath = LogPathFor(m_strMs1Path);
    // An MS1 file already there is never overwritten; nor is a folder or
    // even a dangling link of that name.
    if (platform::LookUpEntry(m_strMs1Path) != platform::EntryKind::missing) return;

    m_bPicked = true;
    m_pszMzFormat = "%.5f";
    m_pszIntensityFormat = "%.1f";
    // Written under a temporary name and named MS1 only when whole: a
    // program waiting for the MS1 file never reads one half-written.
    const std::string writingPath = platform::TemporaryNameFor(m_strMs1Path);
    m_pFile = std::fopen(writingPath.c_str(), "w+");
    if (m_pFile == nullptr) {
        platform::AfxMessageBox(messages::kSaveFailed, platform::MB_OK | platform::MB_ICONEXCLAMATION);
        return;
    }
    WriteHeader();
    // A 64-bit counter, so a range ending at the largest scan number ends.
    for (int64_t n = m_nFirstScan; n <= m_nLastScan; ++n) {
        if (!ConvertScan(static_cast<int32_t>(n))) break;
    }
    const bool written = std::ferror(m_pFile) == 0;
    const bool closed = std::fclose(m_pFile) == 0;
    m_pFile = nullptr;
    if (!written || !closed) {
        // A full disk or a vanished folder: no cut-off file may stay behind
        // looking like a converted one.
        std::remove(writingPath.c_str());
        platform::AfxMessageBox(messages::kSaveFailed, platform::MB_OK | platform::MB_ICONEXCLAMATION);
        return;
    }
    // An MS1 file that appeared meanwhile is not overwritten either.
    int error = 0;
    if (platform::MoveWithoutReplacing(writingPath, m_strMs1Path, error)) return;
    std::remove(writingPath.c_str());
    if (error != EEXIST) platform::AfxMessageBox(messages::kSaveFailed, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

// A failed query leaves 0 for the scan number, whatever the call wrote.
void CBriselDlg::ReadScanRange() {
    m_nFirstScan = 0;
    m_nResult = m_rawfile.GetFirstSpectrumNumber(&m_nFirstScan);
    if (m_nResult != xrawfile::kControlSuccess) {
        m_nFirstScan = 0;
        ShowErrorBox(messages::kFirstScanFailed);
    }
    m_nLastScan = 0;
    m_nResult = m_rawfile.GetLastSpectrumNumber(&m_nLastScan);
    if (m_nResult != xrawfile::kControlSuccess) {
        m_nLastScan = 0;
        ShowErrorBox(messages::kLastScanFailed);
    }
}

void CBriselDlg::ReadCreationDate() {
    m_dtCreation = 0.0;
    m_nResult = m_rawfile.GetCreationDate(&m_dtCreation);
    if (m_nResult != xrawfile::kControlSuccess) {
        m_strCreationDate = kInvalidDateTime;
        ShowErrorBox(messages::kCreationDateFailed);
        return;
    }
    m_strCreationDate = FormatCreationDate(m_dtCreation);
}
