#include "rawfile/native_json.h"

#include <zlib.h>

#include <charconv>

namespace native_test {

const JsonValue* JsonValue::Find(std::string_view name) const {
    for (const auto& [key, value] : members) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

const JsonValue& JsonValue::operator[](std::string_view name) const {
    static const JsonValue kNull;
    const JsonValue* found = Find(name);
    return found != nullptr ? *found : kNull;
}

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    bool ParseDocument(JsonValue* value) {
        if (!ParseValue(value)) {
            return false;
        }
        SkipBlanks();
        return at_ == text_.size() || Fail("text after the value");
    }

    const std::string& error() const { return error_; }

private:
    bool Fail(const std::string& what) {
        if (error_.empty()) {
            error_ = what + " at offset " + std::to_string(at_);
        }
        return false;
    }

    void SkipBlanks() {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t')) {
            ++at_;
        }
    }

    bool Consume(char c) {
        SkipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool ConsumeWord(std::string_view word) {
        if (text_.substr(at_, word.size()) == word) {
            at_ += word.size();
            return true;
        }
        return Fail("unknown word");
    }

    bool StartsNumber() {
        SkipBlanks();
        return at_ < text_.size() && (text_[at_] == '-' || (text_[at_] >= '0' && text_[at_] <= '9'));
    }

    bool ParseValue(JsonValue* value) {
        SkipBlanks();
        if (at_ >= text_.size()) {
            return Fail("unexpected end");
        }
        switch (text_[at_]) {
            case '{': return ParseObject(value);
            case '[': return ParseArray(value);
            case '"': value->kind = JsonValue::Kind::String; return ParseString(&value->text);
            case 't':
                value->kind = JsonValue::Kind::Bool;
                value->boolean = true;
                return ConsumeWord("true");
            case 'f':
                value->kind = JsonValue::Kind::Bool;
                value->boolean = false;
                return ConsumeWord("false");
            case 'n': value->kind = JsonValue::Kind::Null; return ConsumeWord("null");
            default: return ParseNumber(value);
        }
    }

    bool ParseNumber(JsonValue* value) {
        const size_t start = at_;
        while (at_ < text_.size() && std::string_view("+-0123456789.eE").find(text_[at_]) != std::string_view::npos) {
            ++at_;
        }
        const std::string_view token = text_.substr(start, at_ - start);
        const auto result = std::from_chars(token.data(), token.data() + token.size(), value->number);
        if (token.empty() || result.ec != std::errc() || result.ptr != token.data() + token.size()) {
            return Fail("bad number");
        }
        value->kind = JsonValue::Kind::Number;
        value->numberIsInteger = token.find_first_of(".eE") == std::string_view::npos;
        return true;
    }

    static void AppendUtf8(std::string* out, uint32_t code) {
        if (code < 0x80) {
            out->push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out->push_back(static_cast<char>(0xC0 | (code >> 6)));
            out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out->push_back(static_cast<char>(0xE0 | (code >> 12)));
            out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out->push_back(static_cast<char>(0xF0 | (code >> 18)));
            out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }

    bool ParseHex4(uint32_t* code) {
        if (at_ + 4 > text_.size()) {
            return Fail("short \\u escape");
        }
        const auto result = std::from_chars(text_.data() + at_, text_.data() + at_ + 4, *code, 16);
        if (result.ptr != text_.data() + at_ + 4) {
            return Fail("bad \\u escape");
        }
        at_ += 4;
        return true;
    }

    bool ParseEscape(std::string* out) {
        if (at_ >= text_.size()) {
            return Fail("unexpected end in escape");
        }
        const char c = text_[at_++];
        switch (c) {
            case '"':
            case '\\':
            case '/': out->push_back(c); return true;
            case 'b': out->push_back('\b'); return true;
            case 'f': out->push_back('\f'); return true;
            case 'n': out->push_back('\n'); return true;
            case 'r': out->push_back('\r'); return true;
            case 't': out->push_back('\t'); return true;
            case 'u': {
                uint32_t code = 0;
                if (!ParseHex4(&code)) {
                    return false;
                }
                if (code >= 0xD800 && code < 0xDC00 && text_.substr(at_, 2) == "\\u") {
                    at_ += 2;
                    uint32_t low = 0;
                    if (!ParseHex4(&low)) {
                        return false;
                    }
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendUtf8(out, code);
                return true;
            }
            default: return Fail("bad escape");
        }
    }

    bool ParseString(std::string* out) {
        ++at_;  // opening quote
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') {
                return true;
            }
            if (c == '\\') {
                if (!ParseEscape(out)) {
                    return false;
                }
            } else {
                out->push_back(c);
            }
        }
        return Fail("unterminated string");
    }

    bool ParseArray(JsonValue* value) {
        ++at_;
        value->kind = JsonValue::Kind::Array;
        if (Consume(']')) {
            return true;
        }
        bool onlyNumbers = StartsNumber();
        do {
            JsonValue item;
            if (!ParseValue(&item)) {
                return false;
            }
            if (onlyNumbers && item.kind == JsonValue::Kind::Number) {
                value->numbers.push_back(item.number);
                continue;
            }
            if (onlyNumbers) {  // a mixed array after all: keep every element as a value
                for (double number : value->numbers) {
                    JsonValue earlier;
                    earlier.kind = JsonValue::Kind::Number;
                    earlier.number = number;
                    value->items.push_back(earlier);
                }
                value->numbers.clear();
                onlyNumbers = false;
            }
            value->items.push_back(std::move(item));
        } while (Consume(','));
        return Consume(']') || Fail("expected ] or ,");
    }

    bool ParseObject(JsonValue* value) {
        ++at_;
        value->kind = JsonValue::Kind::Object;
        if (Consume('}')) {
            return true;
        }
        do {
            SkipBlanks();
            if (at_ >= text_.size() || text_[at_] != '"') {
                return Fail("expected a member name");
            }
            std::string name;
            if (!ParseString(&name)) {
                return false;
            }
            if (!Consume(':')) {
                return Fail("expected :");
            }
            JsonValue member;
            if (!ParseValue(&member)) {
                return false;
            }
            value->members.emplace_back(std::move(name), std::move(member));
        } while (Consume(','));
        return Consume('}') || Fail("expected } or ,");
    }

    std::string_view text_;
    size_t at_ = 0;
    std::string error_;
};

}  // namespace

bool ParseJson(std::string_view text, JsonValue* value, std::string* error) {
    Parser parser(text);
    *value = JsonValue();
    if (parser.ParseDocument(value)) {
        return true;
    }
    *error = parser.error();
    return false;
}

bool ReadGzipFile(const std::string& path, std::string* content) {
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    content->clear();
    char buffer[1 << 16];
    int got = 0;
    while ((got = gzread(file, buffer, sizeof buffer)) > 0) {
        content->append(buffer, static_cast<size_t>(got));
    }
    const bool ok = got == 0;
    gzclose(file);
    return ok;
}

}  // namespace native_test
