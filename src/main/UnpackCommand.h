#pragma once
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

// The archiver's command line: "ace32.exe x -v ", the archive, one blank, the destination.
// An argument holding a blank, a tab or a double quote is quoted so that it reaches the archiver
// whole and unchanged.
std::string BuildUnpackCommand(const std::string& archive, const std::string& destination);

// The argument as the platform's command-line rules read back one argument: unchanged without
// blanks, tabs and double quotes, or when the user already enclosed it in double quotes
// (ArgumentAsReceived); otherwise enclosed in double quotes, an inner quote written \" and the
// backslashes before a quote doubled.
std::string QuoteArgument(const std::string& argument);

// What the archiver receives for an argument: the text between the user's own enclosing double
// quotes ("C:\MY OUT"), else the text itself. Enclosing quotes count only where they make
// exactly one argument of the text between them: no quote inside, no backslash before the last.
std::string ArgumentAsReceived(const std::string& argument);

// True when the path's last component is one of the platform's reserved device names (CON,
// NUL, COM1, ...), whatever its case, extension or trailing blanks: no folder can be made there.
bool NamesDevice(const std::string& path, UINT codePage);

// True when the path names an existing directory (relative paths against the current one).
bool IsExistingDirectory(const std::string& path);

// Where the archiver may be taken from, in this order. The current directory of the moment is
// not among them: it follows every folder the user browses.
struct TArchiverSearch {
    std::string ProgramFolder;
    std::string StartupDirectory;
    std::vector<std::string> SystemFolders;
    std::string PathVariable; // folders separated by ";"; only absolute ones are searched
};

// The full path of the first "ace32.exe" that isFile accepts, or an empty text.
std::string FindArchiver(const TArchiverSearch& search,
                         const std::function<bool(const std::string&)>& isFile);

// The folders this program searches: its own, the start-up directory, the system folders and
// the search path.
TArchiverSearch ArchiverSearch();

// The current directory as it was when the program was loaded, before anything could move it.
const std::string& StartupDirectory();

// Starts the archiver found by ArchiverSearch with the command line, in a normal window and in
// the program's current directory, without waiting. Raises the error the user is shown when
// there is none anywhere or the platform refuses to start the one found.
void StartArchiver(const std::string& commandLine);
