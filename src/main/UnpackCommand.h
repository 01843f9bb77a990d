#pragma once
#include <functional>
#include <string>
#include <vector>

// The archiver's command line: "ace32.exe x -v ", the archive, one blank, the destination.
// An argument holding a blank or a tab is quoted so that it reaches the archiver whole.
std::string BuildUnpackCommand(const std::string& archive, const std::string& destination);

// The argument as the platform's command-line rules read back one argument: unchanged without
// blanks and tabs or when the user already enclosed it in double quotes; otherwise enclosed in
// double quotes, an inner quote written \" and the backslashes before a quote doubled.
std::string QuoteArgument(const std::string& argument);

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
// the program's current directory, without waiting. Reports nothing when it cannot.
void StartArchiver(const std::string& commandLine);
