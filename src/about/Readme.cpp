#include "Readme.h"

#include "framework/Exceptions.h"

#include <exception>

void LoadReadme(TMemoStrings& lines, const std::string& programFolder) {
    const std::string name = "readme.txt";
    try {
        lines.LoadTextFile(name);
    } catch (const EFOpenError&) {
        std::exception_ptr notInCurrentDirectory = std::current_exception();
        try {
            lines.LoadTextFile(programFolder + name);
        } catch (const EFOpenError&) {
            std::rethrow_exception(notInCurrentDirectory);
        }
    }
}
