#pragma once
#include <string>

// Shows the text in a modal box with one OK button, captioned with the application's title.
void ShowPlainMessage(const std::string& text);

// The platform's message box over the application's windows: the hidden application window
// owns it, the other windows are locked while it is up, and the window that was active before
// is active again afterwards. Only the low 16 bits of flags reach the platform.
int AppMessageBox(const std::string& text, const std::string& caption, unsigned flags);
