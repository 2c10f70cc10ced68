#include "brisel/error_box.h"

#include "brisel/messages.h"
#include "platform/message_box.h"

void ShowErrorBox(const char* text) { platform::MessageBox(nullptr, text, messages::kErrorCaption, platform::MB_OK); }
