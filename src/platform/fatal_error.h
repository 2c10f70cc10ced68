#pragma once

// A failure that ends the run at once. It travels up to the program's main,
// which returns the exit status; objects on the way are destroyed as the
// stack unwinds, so buffered output still reaches its files. Either its
// message was written before it was raised (a plain FatalError) or it carries
// the text that main writes to standard error.

#include <stdexcept>
#include <string>

#include "platform/process.h"

namespace platform {

class FatalError : public std::runtime_error {
public:
    // The message has been written already.
    FatalError() : std::runtime_error(std::string()) {}
    // `message` is written to standard error, as one line, by main.
    explicit FatalError(const std::string& message) : std::runtime_error(message) {}

    bool CarriesMessage() const { return what()[0] != '\0'; }
    int ExitStatus() const { return ProcessExitStatus(kFatalExitStatus); }
};

}  // namespace platform
