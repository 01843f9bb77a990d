#include "Exceptions.h"

#include <windows.h>

void RaiseOutOfResources() { throw EOutOfResources("Out of system resources"); }

std::string SystemErrorMessage(DWORD code, const std::string& subject) {
    char buffer[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   buffer, sizeof buffer, nullptr);
    std::string text = buffer;
    text.erase(text.find_last_not_of("\r\n .") + 1);
    for (size_t at = text.find("%1"); at != std::string::npos;
         at = text.find("%1", at + subject.size()))
        text.replace(at, 2, subject);
    return text.empty() ? Format("%lu", code) : text;
}

void RaiseLastOSError(const char* what) {
    DWORD code = GetLastError();
    throw EOSError(
        Format("%s failed: %s (code %lu)", what, SystemErrorMessage(code).c_str(), code));
}

static std::string InOutErrorMessage(DWORD code) {
    switch (code) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    case 100:
        return "Read beyond end of file";
    case 101:
        return "Disk full";
    case 106:
        return "Invalid numeric input";
    }
    return Format("I/O error %lu", code);
}

EInOutError::EInOutError(DWORD code) : Exception(InOutErrorMessage(code)), ErrorCode(code) {}
