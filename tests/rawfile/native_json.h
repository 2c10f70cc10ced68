#pragma once

// A small JSON reader for the reference dumps of the real RAW files
// (gzip-compressed JSON made with Thermo's own reader library). Numbers keep
// their double value exactly as strtod gives it; arrays made only of numbers
// are kept as a plain vector of doubles.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace native_test {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    bool numberIsInteger = false;  // written without '.', 'e' or 'E'
    std::string text;
    std::vector<double> numbers;   // an array whose elements are all numbers
    std::vector<JsonValue> items;  // any other array
    std::vector<std::pair<std::string, JsonValue>> members;

    bool IsNull() const { return kind == Kind::Null; }
    // The member `name` of an object, or null when absent.
    const JsonValue* Find(std::string_view name) const;
    // The member `name`; a static null value when absent.
    const JsonValue& operator[](std::string_view name) const;
};

// Parses a whole JSON text. On a syntax error returns false and sets *error.
bool ParseJson(std::string_view text, JsonValue* value, std::string* error);

// Reads and decompresses a gzip file. False when it cannot be read.
bool ReadGzipFile(const std::string& path, std::string* content);

}  // namespace native_test
