#pragma once

// The box brisel raises for a failed component query: no owner, caption
// "Error", OK button, no icon.
void ShowErrorBox(const char* text);
