#include "brisel/brisel_dlg.h"

#include "common/xrawfile.h"

CBriselDlg::CBriselDlg() = default;

CBriselDlg::~CBriselDlg() {
    if (m_pFile != nullptr) std::fclose(m_pFile);
    ClearMassList();
    platform::SysFreeString(m_bstrFilter);
}

void CBriselDlg::Create() { OnInitDialog(); }

bool CBriselDlg::OnInitDialog() {
    // Whether the control could be made is not examined here: without it
    // every call fails and each file stops at its open step.
    m_rawfile.Create(this);
    return true;
}

void CBriselDlg::DestroyDialog() {
    m_rawfile.DestroyWindow();
    DestroyWindow();
}

int32_t CBriselDlg::FetchFilter(int32_t n) {
    platform::SysFreeString(m_bstrFilter);
    m_bstrFilter = nullptr;
    return m_rawfile.GetFilterForScanNum(n, &m_bstrFilter);
}

std::string_view CBriselDlg::FilterText() const {
    if (m_bstrFilter == nullptr) return {};
    return {m_bstrFilter, platform::SysStringLen(m_bstrFilter)};
}

bool CBriselDlg::LockMassList() {
    const platform::VARIANT& list = m_varMassList;
    if (list.vt != (platform::VT_ARRAY | platform::VT_R8) || list.parray == nullptr) return false;
    if (platform::SafeArrayElementType(list.parray) != platform::VT_R8) return false;
    void* data = nullptr;
    if (platform::Failed(platform::SafeArrayAccessData(list.parray, &data))) return false;
    m_psaMassList = list.parray;
    m_pMassListData = static_cast<const double*>(data);
    // Never read past the array, whatever count came with it.
    const uint32_t pairs = platform::SafeArrayElementCount(m_psaMassList) / 2;
    if (static_cast<uint32_t>(m_nPointCount) > pairs) m_nPointCount = static_cast<int32_t>(pairs);
    if (m_nPointCount > 0) return true;
    UnlockMassList();
    return false;
}

void CBriselDlg::UnlockMassList() {
    if (m_psaMassList == nullptr) return;
    platform::SafeArrayUnaccessData(m_psaMassList);
    m_psaMassList = nullptr;
    m_pMassListData = nullptr;
}

void CBriselDlg::ClearMassList() {
    UnlockMassList();
    platform::VariantClear(&m_varMassList);
    platform::VariantClear(&m_varPeakFlags);
}
