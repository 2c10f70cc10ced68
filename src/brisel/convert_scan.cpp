#include <cstdio>
#include <cstring>

#include "brisel/brisel_dlg.h"
#include "brisel/edge_shift.h"
#include "brisel/error_box.h"
#include "brisel/filter_text.h"
#include "brisel/mass_list_log.h"
#include "brisel/messages.h"
#include "common/peak_picking.h"
#include "common/xrawfile.h"
#include "platform/message_box.h"

namespace {

// The mass-list request: every scan passes the filter "ms"; no intensity
// cut-off, no peak limit, and the points as stored (profile stays profile).
constexpr const char* kAnyScanFilter = "ms";
constexpr int32_t kNoCutoff = 0;
constexpr int32_t kNoCutoffValue = 0;
constexpr int32_t kNoPeakLimit = 0;
constexpr int32_t kPointsAsStored = 0;

}  // namespace

bool CBriselDlg::ConvertScan(int32_t n) {
    m_nResult = FetchFilter(n);
    if (m_nResult != xrawfile::kControlSuccess) {
        ShowErrorBox(messages::kScanQueryFailed);
        char code[16];
        std::snprintf(code, sizeof code, "%d", m_nResult);
        platform::MessageBox(this, code, code, platform::MB_OK);
        return false;
    }
    if (IsMs2Filter(FilterText())) return true;

    if (!FetchMassList(n)) return true;
    if (!ReadScanInfo(n)) {
        ClearMassList();
        return false;
    }
    PreparePeaks(n);
    WriteScanRecord(n);
    ClearMassList();
    return true;
}

bool CBriselDlg::FetchMassList(int32_t n) {
    ClearMassList();
    m_nPointCount = 0;
    int32_t deliveredScan = n;
    m_nResult =
        m_rawfile.GetMassListFromScanNum(&deliveredScan, kAnyScanFilter, kNoCutoff, kNoCutoffValue, kNoPeakLimit,
                                         kPointsAsStored, &m_varMassList, &m_varPeakFlags, &m_nPointCount);
    if (m_nResult != xrawfile::kControlSuccess) {
        AppendMassListFailure(m_strLogPath, deliveredScan, m_nResult, n);
        ClearMassList();
        return false;
    }
    // An empty list, or the points of another scan, give no record.
    if (m_nPointCount <= 0 || deliveredScan != n || !LockMassList()) {
        ClearMassList();
        return false;
    }
    return true;
}

bool CBriselDlg::ReadScanInfo(int32_t n) {
    m_dRetentionTime = 0.0;
    m_nResult = m_rawfile.RTFromScanNum(n, &m_dRetentionTime);
    if (m_nResult != xrawfile::kControlSuccess) {
        ShowErrorBox(messages::kScanQueryFailed);
        return false;
    }
    m_nResult = FetchFilter(n);
    if (m_nResult != xrawfile::kControlSuccess) {
        ShowErrorBox(messages::kScanQueryFailed);
        return false;
    }
    m_strInstrumentType = InstrumentTypeOf(FilterText());
    return true;
}

void CBriselDlg::PreparePeaks(int32_t n) {
    m_nResult = FetchFilter(n);
    if (m_nResult != xrawfile::kControlSuccess) {
        ShowErrorBox(messages::kScanQueryFailed);
        // Without the filter text the data kind is unknown: the scan is
        // written as delivered, never with another scan's picked peaks.
        m_bPicked = false;
        return;
    }
    if (IsCentroidFilter(FilterText())) {
        m_bPicked = false;
        return;
    }
    m_bPicked = true;
    PickProfilePeaks();
}

void CBriselDlg::PickProfilePeaks() {
    m_pickedPeaks.clear();
    std::vector<Peak> points(static_cast<size_t>(m_nPointCount));
    std::memcpy(static_cast<void*>(points.data()), m_pMassListData, points.size() * sizeof(Peak));
    m_pickedPeaks.resize(points.size());
    int32_t picked = 0;
    PickPeaks(m_pickedPeaks.data(), picked, points.data(), m_nPointCount, edgeShift);
    m_pickedPeaks.resize(static_cast<size_t>(picked));
}
