#pragma once
#include <string>

// Shows the text in a modal box with one OK button, captioned with the application's title.
void ShowPlainMessage(const std::string& text);
