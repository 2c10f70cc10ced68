// The interface reader: the component's reader interface (version 1), found
// through the class registry. Status 0 is success, a positive status a
// failure handled like the control's, a negative status a component error
// that ends the run.
#include "spexor/reader/new_raw_extractor.h"

#include "platform/com.h"
#include "platform/fatal_error.h"
#include "spexor/reader/component_connection.h"
#include "spexor/reader/mass_list_answer.h"
#include "spexor/reader/reader_messages.h"
#include "spexor/reader/system_string.h"
#include "spexor/reader/trailer_value.h"

using namespace platform;

namespace {

// Ends the run on a component error; otherwise tells whether the call succeeded.
bool StatusSucceeded(const char* operation, HRESULT status) {
    if (status < 0) RaiseComponentError(operation, status);
    return status == S_OK;
}

}  // namespace

NewRawExtractor::NewRawExtractor() {
    CoInitialize();
    rawfile = ConnectToComponent();
}

NewRawExtractor::~NewRawExtractor() {
    if (rawfile != nullptr) rawfile->Release();
    rawfile = nullptr;
}

void NewRawExtractor::Open(const std::string& path) {
    ForgetFilter();
    const SystemString text(path);
    if (!StatusSucceeded("Open", rawfile->Open(text.get()))) {
        ReportOpenFailure(path);
        throw platform::FatalError();
    }
    if (!StatusSucceeded("SetCurrentController", rawfile->SetCurrentController(0, 1))) {
        ReportControllerFailure();
        throw platform::FatalError();
    }
}

void NewRawExtractor::Close() {
    ForgetFilter();
    if (rawfile == nullptr) return;
    StatusSucceeded("Close", rawfile->Close());
    rawfile->Release();
    rawfile = nullptr;
}

int NewRawExtractor::GetFirstScan() {
    int32_t scan = 0;
    if (!StatusSucceeded("GetFirstSpectrumNumber", rawfile->GetFirstSpectrumNumber(&scan))) {
        RaiseFirstScanFailure();
    }
    return scan;
}

int NewRawExtractor::GetLastScan() {
    int32_t scan = 0;
    if (!StatusSucceeded("GetLastSpectrumNumber", rawfile->GetLastSpectrumNumber(&scan))) {
        RaiseLastScanFailure();
    }
    return scan;
}

void NewRawExtractor::GetFilter(int scan, std::string& filter) {
    if (RecallFilter(scan, filter)) return;
    BSTR text = nullptr;
    if (StatusSucceeded("GetFilterForScanNum", rawfile->GetFilterForScanNum(scan, &text))) {
        filter = TakeSystemString(text);
        RememberFilter(scan, filter);
    } else {
        SysFreeString(text);
        ReportFilterFailure(scan);
    }
}

double NewRawExtractor::GetRetentionTime(int scan) {
    double minutes = 0.0;
    if (!StatusSucceeded("RTFromScanNum", rawfile->RTFromScanNum(scan, &minutes))) {
        ReportRetentionTimeFailure(scan);
        return 0.0;
    }
    return minutes * 60.0;
}

void NewRawExtractor::GetMassList(MassList& list, const std::string& scanFilter) {
    int32_t scan = list.scan;
    VARIANT points;
    VARIANT flags;
    VariantInit(&points);
    VariantInit(&flags);
    const SystemString filter(scanFilter);
    const HRESULT status =
        rawfile->GetMassListFromScanNum(&scan, filter.get(), 0, 0, 0, 0, nullptr, &points, &flags, &list.count);
    TakeMassListAnswer(list, StatusSucceeded("GetMassListFromScanNum", status), scan, points, flags);
}

double NewRawExtractor::GetTrailerDouble(int scan, const std::string& label) {
    VARIANT value;
    VariantInit(&value);
    const SystemString text(label);
    const HRESULT status = rawfile->GetTrailerExtraValueForScanNum(scan, text.get(), &value);
    return TakeTrailerDouble(StatusSucceeded("GetTrailerExtraValueForScanNum", status), value, label, scan);
}

int NewRawExtractor::GetTrailerInt(int scan, const std::string& label) {
    VARIANT value;
    VariantInit(&value);
    const SystemString text(label);
    const HRESULT status = rawfile->GetTrailerExtraValueForScanNum(scan, text.get(), &value);
    return TakeTrailerInt(StatusSucceeded("GetTrailerExtraValueForScanNum", status), value, label, scan);
}

bool NewRawExtractor::GetCreationDate(double& date) {
    return StatusSucceeded("GetCreationDate", rawfile->GetCreationDate(&date));
}

void NewRawExtractor::GetInstrument(InstrumentIdentity& instrument) {
    BSTR text = nullptr;
    instrument.name = TakeAnswerText(StatusSucceeded("GetInstName", rawfile->GetInstName(&text)), text);
    instrument.model = TakeAnswerText(StatusSucceeded("GetInstModel", rawfile->GetInstModel(&text)), text);
    instrument.serialNumber =
        TakeAnswerText(StatusSucceeded("GetInstSerialNumber", rawfile->GetInstSerialNumber(&text)), text);
}

bool NewRawExtractor::GetScanHeader(int scan, ScanHeader& header) {
    ScanHeaderAnswer answer;
    const HRESULT status = rawfile->GetScanHeaderInfoForScanNum(
        scan, &answer.packets, &header.startTime, &header.lowMass, &header.highMass, &header.totalIonCurrent,
        &header.basePeakMz, &header.basePeakIntensity, &answer.channels, &answer.uniformTime, &answer.frequency);
    return StatusSucceeded("GetScanHeaderInfoForScanNum", status);
}

bool NewRawExtractor::FindTrailerValue(int scan, const std::string& label, VARIANT& value) {
    const SystemString text(label);
    return StatusSucceeded("GetTrailerExtraValueForScanNum",
                           rawfile->GetTrailerExtraValueForScanNum(scan, text.get(), &value));
}
