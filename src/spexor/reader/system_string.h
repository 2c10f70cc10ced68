#pragma once

#include <string>

#include "platform/com.h"

// A system string made from a text for one component call and released when
// the call is done.
class SystemString {
public:
    explicit SystemString(const std::string& text) : value_(platform::SysAllocString(text)) {}
    ~SystemString() { platform::SysFreeString(value_); }
    SystemString(const SystemString&) = delete;
    SystemString& operator=(const SystemString&) = delete;

    platform::BSTR get() const { return value_; }

private:
    platform::BSTR value_;
};

// Takes a system string the component handed over: its text up to the first
// NUL (an absent string is empty), releasing it in every case.
inline std::string TakeSystemString(platform::BSTR& text) {
    std::string copy = text != nullptr ? std::string(text) : std::string();
    platform::SysFreeString(text);
    text = nullptr;
    return copy;
}

// The text of a string the component answered with, or the empty text when
// the call failed; the string is released in both cases.
inline std::string TakeAnswerText(bool callSucceeded, platform::BSTR& text) {
    std::string copy = TakeSystemString(text);
    return callSucceeded ? copy : std::string();
}
