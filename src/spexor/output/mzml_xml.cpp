#include "spexor/output/mzml_xml.h"

#include <charconv>

namespace {

constexpr std::size_t kMaxNumberChars = 32;

void PutTermStart(OutputFile& out, const CvTerm& term) {
    out.Put("<cvParam cvRef=\"MS\" accession=\"");
    out.Put(term.accession);
    out.Put("\" name=\"");
    out.Put(term.name);
    out.Put("\" value=\"");
}

void PutUnit(OutputFile& out, const CvUnit* unit) {
    if (unit == nullptr) return;
    out.Put("\" unitCvRef=\"");
    out.Put(unit->cvRef);
    out.Put("\" unitAccession=\"");
    out.Put(unit->term.accession);
    out.Put("\" unitName=\"");
    out.Put(unit->term.name);
}

}  // namespace

void PutEscaped(OutputFile& out, std::string_view text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view reference;
        switch (text[i]) {
            case '&': reference = "&amp;"; break;
            case '<': reference = "&lt;"; break;
            case '>': reference = "&gt;"; break;
            case '"': reference = "&quot;"; break;
            case '\'': reference = "&apos;"; break;
            default: continue;
        }
        out.Put(text.substr(start, i - start));
        out.Put(reference);
        start = i + 1;
    }
    out.Put(text.substr(start));
}

void PutDouble(OutputFile& out, double value) {
    char* at = out.Reserve(kMaxNumberChars);
    out.Commit(std::to_chars(at, at + kMaxNumberChars, value).ptr);
}

void PutInteger(OutputFile& out, int64_t value) {
    char* at = out.Reserve(kMaxNumberChars);
    out.Commit(std::to_chars(at, at + kMaxNumberChars, value).ptr);
}

void PutCvParam(OutputFile& out, const CvTerm& term, std::string_view value, const CvUnit* unit) {
    PutTermStart(out, term);
    PutEscaped(out, value);
    PutUnit(out, unit);
    out.Put("\"/>\n");
}

void PutCvParam(OutputFile& out, const CvTerm& term, double value, const CvUnit* unit) {
    PutTermStart(out, term);
    PutDouble(out, value);
    PutUnit(out, unit);
    out.Put("\"/>\n");
}

void PutUserParam(OutputFile& out, std::string_view name, std::string_view value) {
    out.Put("<userParam name=\"");
    PutEscaped(out, name);
    out.Put("\" value=\"");
    PutEscaped(out, value);
    out.Put("\"/>\n");
}

void PutNativeId(OutputFile& out, int32_t scan) {
    out.Put("controllerType=0 controllerNumber=1 scan=");
    PutInteger(out, scan);
}
