// The hosted-control reader: the component's control, created in the
// driver's hidden window, called by dispatch id. Its result 1 means success.
#include "spexor/reader/raw_extractor.h"

#include "common/xrawfile.h"
#include "platform/com.h"
#include "platform/fatal_error.h"
#include "platform/process.h"
#include "spexor/console/console_lines.h"
#include "spexor/reader/cxrawfile.h"
#include "spexor/reader/mass_list_answer.h"
#include "spexor/reader/reader_messages.h"
#include "spexor/reader/system_string.h"
#include "spexor/reader/trailer_value.h"

using namespace platform;

namespace {
bool ControlSucceeded(int32_t result) { return result == xrawfile::kControlSuccess; }
}  // namespace

RawExtractor::RawExtractor(CWnd* parent) {
    console::Report("Morvane tries to use MSFileReader ");
    control = std::make_unique<CXRawfile>();
    // The control object stays even when its creation fails, so that a call
    // made on an unavailable reader ends in a dispatch failure, not a crash.
    available = control->Create(parent);
}

RawExtractor::RawExtractor() = default;

RawExtractor::~RawExtractor() {
    if (control) {
        control->DestroyWindow();
        control.reset();
    }
}

bool RawExtractor::IsAvailable() { return available; }

void RawExtractor::Open(const std::string& path) {
    ForgetFilter();
    if (!ControlSucceeded(control->Open(path))) {
        ReportOpenFailure(path);
        Pause();
        throw FatalError();
    }
    if (!ControlSucceeded(control->SetCurrentController(0, 1))) {
        ReportControllerFailure();
        control->Close();
        throw FatalError();
    }
}

void RawExtractor::Close() {
    ForgetFilter();
    control->Close();
}

int RawExtractor::GetFirstScan() {
    int32_t scan = 0;
    if (!ControlSucceeded(control->GetFirstSpectrumNumber(&scan))) RaiseFirstScanFailure();
    return scan;
}

int RawExtractor::GetLastScan() {
    int32_t scan = 0;
    if (!ControlSucceeded(control->GetLastSpectrumNumber(&scan))) RaiseLastScanFailure();
    return scan;
}

bool RawExtractor::RecallFilter(int scan, std::string& filter) const {
    if (filterScan_ != scan) return false;
    filter = filter_;
    return true;
}

void RawExtractor::RememberFilter(int scan, const std::string& filter) {
    filterScan_ = scan;
    filter_ = filter;
}

void RawExtractor::GetFilter(int scan, std::string& filter) {
    if (RecallFilter(scan, filter)) return;
    BSTR text = nullptr;
    if (ControlSucceeded(control->GetFilterForScanNum(scan, &text))) {
        filter = TakeSystemString(text);
        RememberFilter(scan, filter);
    } else {
        SysFreeString(text);
        ReportFilterFailure(scan);
    }
}

double RawExtractor::GetRetentionTime(int scan) {
    double minutes = 0.0;
    if (!ControlSucceeded(control->RTFromScanNum(scan, &minutes))) {
        ReportRetentionTimeFailure(scan);
        return 0.0;
    }
    return minutes * 60.0;
}

void RawExtractor::GetMassList(MassList& list, const std::string& scanFilter) {
    int32_t scan = list.scan;
    VARIANT points;
    VARIANT flags;
    VariantInit(&points);
    VariantInit(&flags);
    const int32_t result = control->GetMassListFromScanNum(&scan, scanFilter, 0, 0, 0, 0, &points, &flags, &list.count);
    TakeMassListAnswer(list, ControlSucceeded(result), scan, points, flags);
}

double RawExtractor::GetTrailerDouble(int scan, const std::string& label) {
    VARIANT value;
    VariantInit(&value);
    const int32_t result = control->GetTrailerExtraValueForScanNum(scan, label, &value);
    return TakeTrailerDouble(ControlSucceeded(result), value, label, scan);
}

int RawExtractor::GetTrailerInt(int scan, const std::string& label) {
    VARIANT value;
    VariantInit(&value);
    const int32_t result = control->GetTrailerExtraValueForScanNum(scan, label, &value);
    return TakeTrailerInt(ControlSucceeded(result), value, label, scan);
}

bool RawExtractor::GetCreationDate(double& date) { return ControlSucceeded(control->GetCreationDate(&date)); }

void RawExtractor::GetInstrument(InstrumentIdentity& instrument) {
    BSTR text = nullptr;
    instrument.name = TakeAnswerText(ControlSucceeded(control->GetInstName(&text)), text);
    instrument.model = TakeAnswerText(ControlSucceeded(control->GetInstModel(&text)), text);
    instrument.serialNumber = TakeAnswerText(ControlSucceeded(control->GetInstSerialNumber(&text)), text);
}

bool RawExtractor::GetScanHeader(int scan, ScanHeader& header) {
    ScanHeaderAnswer answer;
    return ControlSucceeded(control->GetScanHeaderInfoForScanNum(
        scan, &answer.packets, &header.startTime, &header.lowMass, &header.highMass, &header.totalIonCurrent,
        &header.basePeakMz, &header.basePeakIntensity, &answer.channels, &answer.uniformTime, &answer.frequency));
}

bool RawExtractor::FindTrailerValue(int scan, const std::string& label, VARIANT& value) {
    return ControlSucceeded(control->GetTrailerExtraValueForScanNum(scan, label, &value));
}
