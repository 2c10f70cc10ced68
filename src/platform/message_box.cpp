#include "platform/message_box.h"

#include <utility>

#include "platform/console.h"

namespace platform {

namespace {

std::string& StoredApplicationName() {
    static std::string name;
    return name;
}

MessageBoxObserver& StoredObserver() {
    static MessageBoxObserver observer;
    return observer;
}

}  // namespace

int MessageBox(const CWnd* owner, std::string_view text, std::string_view caption, unsigned type) {
    std::string line;
    line.reserve(caption.size() + 2 + text.size());
    line.append(caption).append(": ").append(text);
    WriteLine(Stream::Err, line);
    if (StoredObserver()) StoredObserver()(MessageBoxCall{owner, std::string(text), std::string(caption), type});
    return IDOK;
}

int AfxMessageBox(std::string_view text, unsigned type) { return MessageBox(nullptr, text, ApplicationName(), type); }

void SetApplicationName(std::string name) { StoredApplicationName() = std::move(name); }

const std::string& ApplicationName() { return StoredApplicationName(); }

MessageBoxObserver SetMessageBoxObserver(MessageBoxObserver observer) {
    return std::exchange(StoredObserver(), std::move(observer));
}

}  // namespace platform
