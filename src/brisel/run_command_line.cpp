#include "brisel/run_command_line.h"

#include <filesystem>
#include <string>
#include <vector>

#include "brisel/brisel_dlg.h"
#include "brisel/messages.h"
#include "platform/command_line.h"
#include "platform/message_box.h"

namespace {

bool PathExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

void RunCommandLine(CBriselDlg& dialog) {
    const std::vector<std::string> commandLine = platform::ProcessArguments();
    if (commandLine.size() <= 1) {
        platform::MessageBox(nullptr, messages::kIllegalText, messages::kIllegalCaption, platform::MB_OK);
        return;
    }
    for (size_t i = 1; i < commandLine.size(); ++i) {
        const std::string& path = commandLine[i];
        if (!PathExists(path)) {
            platform::MessageBox(&dialog, messages::kFileNotFound + path, platform::ApplicationName(), platform::MB_OK);
            return;
        }
        dialog.m_strRawPath = path;
        dialog.ConvertRawFile();
    }
}
