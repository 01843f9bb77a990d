// A stand-in for the desktop's mail and web handlers: it appends the command line it was started
// with, one line per start, to the file named by TOLVO_URL_LOG, then ends.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char log[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("TOLVO_URL_LOG", log, sizeof log))
        return 1;
    FILE* file = std::fopen(log, "ab");
    if (!file)
        return 1;
    std::fprintf(file, "%s\n", GetCommandLineA());
    std::fclose(file);
    return 0;
}
