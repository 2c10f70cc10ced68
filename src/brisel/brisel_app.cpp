#include "brisel/brisel_app.h"

#include <filesystem>
#include <vector>

#include "brisel/brisel_dlg.h"
#include "brisel/run_command_line.h"
#include "platform/command_line.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace {
constexpr const char* kDefaultApplicationName = "brisel";
}  // namespace

std::string ApplicationNameOf(const std::string& programPath) {
    std::string name = std::filesystem::path(programPath).stem().string();
    return name.empty() ? kDefaultApplicationName : name;
}

bool CBriselApp::InitInstance() {
    const std::vector<std::string> arguments = platform::ProcessArguments();
    platform::SetApplicationName(ApplicationNameOf(arguments.empty() ? std::string() : arguments.front()));
    platform::AfxEnableControlContainer();

    CBriselDlg dialog;
    m_pMainWnd = &dialog;
    dialog.Create();
    RunCommandLine(dialog);
    dialog.DestroyDialog();
    m_pMainWnd = nullptr;
    return false;
}
