#pragma once

// brisel's application object: the whole run happens in InitInstance.

#include <string>

class CBriselDlg;

class CBriselApp {
public:
    // Creates the hidden dialog with its control, converts every RAW path of
    // the process command line and destroys the dialog. Returns false: the
    // program then ends, always with exit code 0.
    bool InitInstance();

    // The hidden dialog while InitInstance runs.
    CBriselDlg* m_pMainWnd = nullptr;
};

// The program's file name without extension, which captions the boxes that
// bring no caption of their own.
std::string ApplicationNameOf(const std::string& programPath);
