#pragma once

// Runs code the way a program's main runs it: a platform::FatalError that
// travels up ends the process with the error's exit status, after the
// message it carries is written to standard error. For death tests:
//   EXPECT_EXIT(AS_MAIN(reader.Open(path)), testing::ExitedWithCode(255), ...);

#include <cstdio>
#include <cstdlib>

#include "platform/console.h"
#include "platform/fatal_error.h"

namespace testing_support {

[[noreturn]] inline void EndAsMain(const platform::FatalError& error) {
    if (error.CarriesMessage()) platform::WriteLine(platform::Stream::Err, error.what());
    std::fflush(nullptr);
    std::_Exit(error.ExitStatus());
}

}  // namespace testing_support

#define AS_MAIN(...)                                       \
    do {                                                   \
        try {                                              \
            __VA_ARGS__;                                   \
        } catch (const platform::FatalError& fatalError) { \
            testing_support::EndAsMain(fatalError);        \
        }                                                  \
    } while (0)
