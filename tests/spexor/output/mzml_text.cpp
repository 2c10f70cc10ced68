#include "mzml_text.h"

#include <nettle/base64.h>
#include <zlib.h>

#include <cstring>
#include <regex>

#include "spexor/output/sha1_digest.h"

namespace mzml_test {

namespace {

std::vector<unsigned char> Base64Decode(std::string_view text) {
    std::vector<unsigned char> bytes(BASE64_DECODE_LENGTH(text.size()));
    base64_decode_ctx context;
    base64_decode_init(&context);
    size_t size = bytes.size();
    if (!base64_decode_update(&context, &size, bytes.data(), text.size(), text.data()) ||
        !base64_decode_final(&context)) {
        return {};
    }
    bytes.resize(size);
    return bytes;
}

// One <binaryDataArray>: its values, or none when it does not decode.
std::optional<std::vector<double>> DecodeArray(std::string_view array, std::size_t count) {
    std::vector<double> values(count);
    const std::size_t open = array.find("<binary>");
    if (open == std::string_view::npos) {
        if (array.find("<binary/>") == std::string_view::npos || count != 0) return std::nullopt;
        return values;
    }
    const std::size_t close = array.find("</binary>", open);
    std::vector<unsigned char> bytes = Base64Decode(array.substr(open + 8, close - open - 8));
    if (array.find("MS:1000574") != std::string_view::npos) {
        uLongf size = static_cast<uLongf>(count * sizeof(double));
        std::vector<unsigned char> unpacked(size);
        if (uncompress(unpacked.data(), &size, bytes.data(), static_cast<uLong>(bytes.size())) != Z_OK) {
            return std::nullopt;
        }
        unpacked.resize(size);
        bytes = std::move(unpacked);
    }
    if (bytes.size() != count * sizeof(double)) return std::nullopt;
    if (count > 0) std::memcpy(values.data(), bytes.data(), bytes.size());
    return values;
}

}  // namespace

std::optional<std::string> Attribute(std::string_view element, std::string_view name) {
    const std::string key = " " + std::string(name) + "=\"";
    const std::size_t at = element.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    const std::size_t start = at + key.size();
    return std::string(element.substr(start, element.find('"', start) - start));
}

std::optional<std::string> CvValue(std::string_view element, std::string_view accession) {
    const std::size_t at = element.find("accession=\"" + std::string(accession) + "\"");
    if (at == std::string_view::npos) return std::nullopt;
    const std::size_t start = element.rfind('<', at);
    return Attribute(element.substr(start, element.find("/>", at) - start), "value");
}

std::vector<IndexEntry> IndexOf(const std::string& file, const std::string& indexName) {
    std::vector<IndexEntry> entries;
    const std::size_t start = file.find("<index name=\"" + indexName + "\">");
    if (start == std::string::npos) return entries;
    const std::size_t end = file.find("</index>", start);
    const std::regex offset("<offset idRef=\"([^\"]*)\">(\\d+)</offset>");
    for (std::sregex_iterator it(file.begin() + static_cast<std::ptrdiff_t>(start),
                                 file.begin() + static_cast<std::ptrdiff_t>(end), offset);
         it != std::sregex_iterator(); ++it) {
        entries.push_back({(*it)[1], std::stoull((*it)[2])});
    }
    return entries;
}

std::vector<SpectrumText> SpectraOf(const std::string& file) {
    std::vector<SpectrumText> spectra;
    std::size_t at = 0;
    while ((at = file.find("<spectrum ", at)) != std::string::npos) {
        const std::size_t end = file.find("</spectrum>", at);
        SpectrumText spectrum;
        spectrum.text = std::string_view(file).substr(at, end - at);
        const std::string id = Attribute(spectrum.text, "id").value_or("");
        spectrum.scan = std::stoi(id.substr(id.rfind('=') + 1));
        const std::size_t count = std::stoull(Attribute(spectrum.text, "defaultArrayLength").value_or("0"));
        const std::size_t mzArray = spectrum.text.find("<binaryDataArray ");
        const std::size_t intensityArray = spectrum.text.find("<binaryDataArray ", mzArray + 1);
        if (mzArray != std::string_view::npos && intensityArray != std::string_view::npos) {
            const auto mz = DecodeArray(spectrum.text.substr(mzArray, intensityArray - mzArray), count);
            const auto intensity = DecodeArray(spectrum.text.substr(intensityArray), count);
            if (mz && intensity) {
                spectrum.mz = *mz;
                spectrum.intensity = *intensity;
                spectrum.decoded = true;
            }
        }
        spectra.push_back(std::move(spectrum));
        at = end;
    }
    return spectra;
}

std::string ExpectedChecksum(const std::string& file) {
    const std::string tag = "<fileChecksum>";
    const std::size_t at = file.rfind(tag);
    if (at == std::string::npos) return std::string();
    Sha1Digest digest;
    digest.Add(std::string_view(file).substr(0, at + tag.size()));
    return digest.HexDigest();
}

}  // namespace mzml_test
