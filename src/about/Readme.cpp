#include "Readme.h"

#include "framework/Exceptions.h"
#include "framework/Machine.h"

#include <exception>

void LoadReadme(TMemoStrings& lines, const std::string& programFolder) {
    const std::string name = "readme.txt";
    try {
        lines.LoadTextFile(name);
    } catch (const EFOpenError&) {
        // A readme that is here but cannot be opened (held by another program, refused) is
        // the one the user means: its error stands. A folder of that name is no readme.
        DWORD attributes = Machine().FileAttributes(name);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            throw;
        std::exception_ptr notInCurrentDirectory = std::current_exception();
        try {
            lines.LoadTextFile(programFolder + name);
        } catch (const EFOpenError&) {
            std::rethrow_exception(notInCurrentDirectory);
        }
    }
}
