#pragma once

#include <string>

#include "common/xrawfile.h"

// Finding the component's reader interface through the class registry.

// Makes an object of the class named by `progId` (or by a class id in
// braces), puts it into its running state and asks it for the interface of
// `version` (1 to 5). Null when any step fails; every reference taken on the
// way but the answer is released.
xrawfile::IXRawfile* MakeInterfaceVersion(const std::string& progId, int version);

// The reader interface, version 1, with one reference owned by the caller.
// Tries "MSFileReader.XRawfile.1" in versions 5 down to 2 and asks the first
// object made for version 1; when no newer version is made, makes version 1
// directly. Only when a newer object does not answer for version 1 is
// "XRawfile.XRawfile.1" tried the same way. When nothing is found, prints the
// two construction lines and ends the run.
xrawfile::IXRawfile* ConnectToComponent();
