#pragma once

// Modal message boxes for a program without a console window. There is no
// screen to show them on, so each box writes its caption and text to
// standard error and is answered with OK at once.

#include <functional>
#include <string>
#include <string_view>

namespace platform {

class CWnd;

// Button and icon choices (the values of the Windows flags).
inline constexpr unsigned MB_OK = 0x00000000u;
inline constexpr unsigned MB_ICONWARNING = 0x00000030u;
inline constexpr unsigned MB_ICONEXCLAMATION = MB_ICONWARNING;

// The answer of a box with an OK button.
inline constexpr int IDOK = 1;

// One box as it was raised.
struct MessageBoxCall {
    const CWnd* owner = nullptr;  // null: a box without owner
    std::string text;
    std::string caption;
    unsigned type = MB_OK;
};

// Shows a box: writes "<caption>: <text>" as one line to standard error and
// answers IDOK.
int MessageBox(const CWnd* owner, std::string_view text, std::string_view caption, unsigned type);

// A box whose caption is the application name.
int AfxMessageBox(std::string_view text, unsigned type);

// The application name that captions AfxMessageBox boxes.
void SetApplicationName(std::string name);
const std::string& ApplicationName();

// Sees every box after it is written (tests record the boxes with it).
// Returns the observer it replaces; an empty function removes it.
using MessageBoxObserver = std::function<void(const MessageBoxCall&)>;
MessageBoxObserver SetMessageBoxObserver(MessageBoxObserver observer);

}  // namespace platform
