// A stand-in for the archiver: it appends to the file named by TOLVO_ACE_LOG its own path, the
// command line it received, the arguments as the runtime split them and the directory it runs
// in, then ends. The record is written in one piece and closed by the line "end".
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    char log[MAX_PATH] = "", self[MAX_PATH] = "", directory[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("TOLVO_ACE_LOG", log, sizeof log))
        return 1;
    GetModuleFileNameA(nullptr, self, sizeof self);
    GetCurrentDirectoryA(sizeof directory, directory);
    std::string record = std::string("path=") + self + "\ncommand=" + GetCommandLineA() +
                         "\nargc=" + std::to_string(argc) + "\n";
    for (int i = 1; i < argc; i++)
        record += "arg" + std::to_string(i) + "=" + argv[i] + "\n";
    record += std::string("cwd=") + directory + "\nend\n";
    FILE* file = std::fopen(log, "ab");
    if (!file)
        return 1;
    std::fwrite(record.data(), 1, record.size(), file);
    std::fclose(file);
    return 0;
}
