#pragma once

class CBriselDlg;

// Converts each RAW path of the process command line in turn on `dialog`.
// Without a path it only says the program is not to be run directly; at the
// first path that does not exist it says so and stops.
void RunCommandLine(CBriselDlg& dialog);
