#include "rawfile/native/sequencer_row.h"

namespace rawfile::native {

namespace {

constexpr uint64_t kInjectionDataSize = 64;
constexpr int kBasicTexts = 13;  // ids, comment, user texts, methods, file name, path
constexpr int kVialTexts = 3;    // followed by one 32-bit word
constexpr int kLaterTexts = 15;  // from version 60 on
constexpr uint32_t kFirstVersionWithLaterTexts = 60;

constexpr uint64_t kAutosamplerWordsSize = 24;

void SkipTexts(ByteReader& file, int count) {
    for (int i = 0; i < count && file.ok(); ++i) {
        file.SkipPString();
    }
}

}  // namespace

bool SkipSequencerRow(ByteReader& file, uint32_t version) {
    file.Skip(kInjectionDataSize);
    SkipTexts(file, kBasicTexts);
    SkipTexts(file, kVialTexts);
    file.Skip(4);
    if (version >= kFirstVersionWithLaterTexts) {
        SkipTexts(file, kLaterTexts);
    }
    return file.ok();
}

bool SkipAutosamplerInfo(ByteReader& file) {
    file.Skip(kAutosamplerWordsSize);
    file.SkipPString();
    return file.ok();
}

}  // namespace rawfile::native
