// Every operation a fixture can make fail, through both forms of the
// component: no code gives control 0 / status 1, a code is answered as it
// is by both, a negative code is the interface form's component error.

#include <gtest/gtest.h>

#include <functional>

#include "component_forms.h"
#include "fixture_text.h"
#include "rawfile/backend.h"
#include "support/temp_dir.h"

namespace {

using namespace platform;
using rawfile_tests::ComponentForms;
using rawfile_tests::WriteFixture;
using testing_support::TempDir;

const char* kLabel = "Charge State:";

struct Operation {
    std::string name;  // as written after "fail"
    std::function<HRESULT(xrawfile::IXRawfile*)> viaInterface;
    std::function<int32_t(ComponentForms&)> viaControl;
};

std::vector<Operation> Operations() {
    static int32_t number = 0;
    static double real = 0;
    return {
        {"controller", [](auto* r) { return r->SetCurrentController(0, 1); },
         [](auto& c) {
             return c.Call(xrawfile::kDispSetCurrentController, {DispArg::I4(0), DispArg::I4(1)});
         }},
        {"first", [](auto* r) { return r->GetFirstSpectrumNumber(&number); },
         [](auto& c) { return c.Call(xrawfile::kDispGetFirstSpectrumNumber, {DispArg::PI4(&number)}); }},
        {"last", [](auto* r) { return r->GetLastSpectrumNumber(&number); },
         [](auto& c) { return c.Call(xrawfile::kDispGetLastSpectrumNumber, {DispArg::PI4(&number)}); }},
        {"date", [](auto* r) { return r->GetCreationDate(&real); },
         [](auto& c) { return c.Call(xrawfile::kDispGetCreationDate, {DispArg::PDate(&real)}); }},
        {"close", [](auto* r) { return r->Close(); }, [](auto& c) { return c.Call(xrawfile::kDispClose, {}); }},
        {"rt", [](auto* r) { return r->RTFromScanNum(2, &real); },
         [](auto& c) {
             return c.Call(xrawfile::kDispRTFromScanNum, {DispArg::I4(2), DispArg::PR8(&real)});
         }},
        {"filter",
         [](auto* r) {
             BSTR text = nullptr;
             HRESULT status = r->GetFilterForScanNum(2, &text);
             SysFreeString(text);
             return status;
         },
         [](auto& c) {
             BSTR text = nullptr;
             int32_t result = c.Call(xrawfile::kDispGetFilterForScanNum, {DispArg::I4(2), DispArg::PBstr(&text)});
             SysFreeString(text);
             return result;
         }},
        {"masslist",
         [](auto* r) {
             int32_t scan = 2, size = 0;
             VARIANT list, flags;
             HRESULT status = r->GetMassListFromScanNum(&scan, "ms", 0, 0, 0, 0, nullptr, &list, &flags, &size);
             VariantClear(&list);
             VariantClear(&flags);
             return status;
         },
         [](auto& c) {
             int32_t scan = 2, size = 0;
             VARIANT list, flags;
             int32_t result =
                 c.Call(xrawfile::kDispGetMassListFromScanNum,
                        {DispArg::PI4(&scan), DispArg::Bstr("ms"), DispArg::I4(0), DispArg::I4(0), DispArg::I4(0),
                         DispArg::I4(0), DispArg::PVariant(&list), DispArg::PVariant(&flags), DispArg::PI4(&size)});
             VariantClear(&list);
             VariantClear(&flags);
             return result;
         }},
        {"trailer",
         [](auto* r) {
             VARIANT value;
             HRESULT status = r->GetTrailerExtraValueForScanNum(2, kLabel, &value);
             VariantClear(&value);
             return status;
         },
         [](auto& c) {
             VARIANT value;
             int32_t result = c.Call(xrawfile::kDispGetTrailerExtraValueForScanNum,
                                     {DispArg::I4(2), DispArg::Bstr(kLabel), DispArg::PVariant(&value)});
             VariantClear(&value);
             return result;
         }},
    };
}

// A two-scan file with one more statement; `scanLevel` puts it in scan 2's block.
std::string FileWith(const std::string& statement, bool scanLevel) {
    std::string body = scanLevel ? "" : statement + "\n";
    body += "scan 1\nfilter FTMS + p NSI Full ms\np 100 1\n";
    body += "scan 2\nfilter ITMS + c NSI d Full ms2 445.12@cid35.00\nrt 0.5\np 200 2\n";
    body += "trailer I2 Charge State:=2\ntrailer R8 Monoisotopic M/Z:=445.12\n";
    if (scanLevel) body += statement + "\n";
    return body;
}

struct Answers {
    HRESULT status;
    int32_t result;
};

Answers AskBothForms(const Operation& operation, const std::string& path) {
    ComponentForms forms;
    EXPECT_EQ(forms.rawfile()->Open(path.c_str()), S_OK);
    HRESULT status = operation.viaInterface(forms.rawfile());
    EXPECT_EQ(forms.Call(xrawfile::kDispOpen, {DispArg::Bstr(path.c_str())}), 1);
    int32_t result = operation.viaControl(forms);
    return {status, result};
}

void ExpectAnswers(const Operation& operation, const std::string& statement, bool scanLevel, Answers expected) {
    TempDir dir;
    LiveResources before = CurrentLiveResources();
    Answers answers = AskBothForms(operation, WriteFixture(dir, FileWith(statement, scanLevel)));
    EXPECT_EQ(answers.status, expected.status) << "'" << statement << "' interface form";
    EXPECT_EQ(answers.result, expected.result) << "'" << statement << "' control form";
    LiveResources after = CurrentLiveResources();
    EXPECT_EQ(after.strings, before.strings);
    EXPECT_EQ(after.arrays, before.arrays);
    EXPECT_EQ(after.objects, before.objects);
}

TEST(ScriptedFailure, EveryOperationFailsAsScriptedInBothForms) {
    for (const Operation& operation : Operations()) {
        ExpectAnswers(operation, "# no failure", false, {S_OK, 1});
        bool scanLevel = operation.name == "rt" || operation.name == "filter" || operation.name == "masslist" ||
                         operation.name == "trailer";
        for (bool level : scanLevel ? std::vector<bool>{false, true} : std::vector<bool>{false}) {
            ExpectAnswers(operation, "fail " + operation.name, level, {1, 0});
            ExpectAnswers(operation, "fail " + operation.name + " 1", level, {1, 0});
            ExpectAnswers(operation, "fail " + operation.name + " 7", level, {7, 7});
            ExpectAnswers(operation, "fail " + operation.name + " -5", level, {-5, -5});
            ExpectAnswers(operation, "fail " + operation.name + " -2147467259", level, {E_FAIL, E_FAIL});
        }
    }
}

TEST(ScriptedFailure, OneTrailerLabelFailsAlone) {
    const Operation trailer = Operations().back();
    ExpectAnswers(trailer, "fail trailer:Charge State: 12", true, {12, 12});
    ExpectAnswers(trailer, "fail trailer:Charge State:", false, {1, 0});
    ExpectAnswers(trailer, "fail trailer:Monoisotopic M/Z: -3", true, {S_OK, 1});
}

TEST(ScriptedFailure, OpenFailsInBothForms) {
    TempDir dir;
    struct Case {
        std::string statement;
        Answers expected;
    };
    for (const Case& c : {Case{"fail open", {1, 0}}, Case{"fail open 9", {9, 9}}, Case{"fail open -1", {-1, -1}}}) {
        std::string path = WriteFixture(dir, FileWith(c.statement, false));
        ComponentForms forms;
        EXPECT_EQ(forms.rawfile()->Open(path.c_str()), c.expected.status) << c.statement;
        EXPECT_EQ(forms.Call(xrawfile::kDispOpen, {DispArg::Bstr(path.c_str())}), c.expected.result) << c.statement;
        // Nothing is open afterwards.
        int32_t first = 0;
        EXPECT_EQ(forms.rawfile()->GetFirstSpectrumNumber(&first), rawfile::kNotOpen);
        EXPECT_EQ(forms.Call(xrawfile::kDispGetFirstSpectrumNumber, {DispArg::PI4(&first)}), rawfile::kNotOpen);
    }
}

TEST(ScriptedFailure, ScansOwnScriptWinsOverTheFilesOne) {
    TempDir dir;
    std::string path = WriteFixture(dir,
                                    "fail rt 20\n"
                                    "fail trailer 21\n"
                                    "fail trailer:Charge State: 22\n"
                                    "scan 1\n"
                                    "trailer I2 Charge State:=1\n"
                                    "trailer I2 Other:=1\n"
                                    "scan 2\n"
                                    "fail rt 30\n"
                                    "fail trailer 31\n"
                                    "trailer I2 Charge State:=1\n"
                                    "scan 3\n"
                                    "fail trailer:Charge State: 40\n"
                                    "fail trailer 41\n"
                                    "trailer I2 Charge State:=1\n");
    ComponentForms forms;
    ASSERT_EQ(forms.rawfile()->Open(path.c_str()), S_OK);
    double minutes = 0;
    EXPECT_EQ(forms.rawfile()->RTFromScanNum(1, &minutes), 20);
    EXPECT_EQ(forms.rawfile()->RTFromScanNum(2, &minutes), 30);
    VARIANT value;
    auto trailer = [&](int32_t scan, const char* label) {
        return forms.rawfile()->GetTrailerExtraValueForScanNum(scan, label, &value);
    };
    EXPECT_EQ(trailer(1, "Charge State:"), 22);
    EXPECT_EQ(trailer(1, "Other:"), 21);
    EXPECT_EQ(trailer(2, "Charge State:"), 31);
    EXPECT_EQ(trailer(3, "Charge State:"), 40);
    EXPECT_EQ(trailer(3, "Other:"), 41);
}

TEST(ScriptedFailure, FailedCloseStillClosesTheFile) {
    TempDir dir;
    std::string path = WriteFixture(dir, "fail close 6\nscan 1\n");
    ComponentForms forms;
    ASSERT_EQ(forms.rawfile()->Open(path.c_str()), S_OK);
    EXPECT_EQ(forms.rawfile()->Close(), 6);
    EXPECT_EQ(forms.rawfile()->Close(), rawfile::kNotOpen);
    EXPECT_EQ(forms.Call(xrawfile::kDispClose, {}), rawfile::kNotOpen);
}

}  // namespace
