// A stand-in for the archiver: it appends to the file named by TOLVO_ACE_LOG its own path, the
// command line it received and the arguments as the runtime split them, then ends.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    char log[MAX_PATH] = "", self[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("TOLVO_ACE_LOG", log, sizeof log))
        return 1;
    GetModuleFileNameA(nullptr, self, sizeof self);
    FILE* file = std::fopen(log, "ab");
    if (!file)
        return 1;
    std::fprintf(file, "path=%s\ncommand=%s\nargc=%d\n", self, GetCommandLineA(), argc);
    for (int i = 1; i < argc; i++)
        std::fprintf(file, "arg%d=%s\n", i, argv[i]);
    std::fclose(file);
    return 0;
}
