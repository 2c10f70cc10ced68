#include <cstdio>
#include <string>

#include "brisel/brisel_dlg.h"
#include "brisel/peak_line.h"

namespace {
// "1234.56789 123456.7" and its line feed.
constexpr size_t kTypicalPeakLineLength = 24;
}  // namespace

void CBriselDlg::WriteHeader() {
    std::fprintf(m_pFile, "H\tCreationDate\t%s\n", m_strCreationDate.c_str());
    std::fputs("H\tExtractor\tKelvor\n", m_pFile);
    std::fputs("H\tExtractorVersion\t1.0\n", m_pFile);
    std::fputs("H\tDataType\tCentroid\n", m_pFile);
    std::fprintf(m_pFile, "H\tFirstScan\t%d\n", m_nFirstScan);
    std::fprintf(m_pFile, "H\tLastScan\t%d\n", m_nLastScan);
}

void CBriselDlg::WriteScanRecord(int32_t n) {
    std::fprintf(m_pFile, "S\t%06d\t%06d\n", n, n);
    std::fprintf(m_pFile, "I\tRetTime\t%f\n", m_dRetentionTime);
    std::fputs("I\tIonInjectionTime\t0\n", m_pFile);
    std::fputs("I\tInstrumentType\t", m_pFile);
    std::fwrite(m_strInstrumentType.data(), 1, m_strInstrumentType.size(), m_pFile);
    std::fputc('\n', m_pFile);
    WritePeakLines();
    UnlockMassList();
}

void CBriselDlg::WritePeakLines() {
    const PeakLineFormat format(m_pszMzFormat, m_pszIntensityFormat);
    std::string lines;
    if (m_bPicked) {
        lines.reserve(m_pickedPeaks.size() * kTypicalPeakLineLength);
        for (const Peak& peak : m_pickedPeaks) format.Append(lines, peak.mz, peak.intensity);
    } else {
        lines.reserve(static_cast<size_t>(m_nPointCount) * kTypicalPeakLineLength);
        for (int32_t i = 0; i < m_nPointCount; ++i) {
            format.Append(lines, m_pMassListData[2 * i], m_pMassListData[2 * i + 1]);
        }
    }
    std::fwrite(lines.data(), 1, lines.size(), m_pFile);
}
