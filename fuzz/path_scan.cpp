// The path scanning of the directory tree: drive and share prefixes, character steps,
// separators, joins and the text steps of resolving a path to move to. The first byte chooses
// the code page; the rest holds, separated by zero bytes, the path, the directory it is
// relative to, the current directory of its root and a name to join.
#include "FileCtrl/PathScan.h"
#include "FuzzSupport.h"

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Character steps stay inside the text, and the separators found are the ones counted.
void CheckScanning(const std::string& path, UINT codePage) {
    int separators = 0;
    size_t last = std::string::npos;
    for (size_t i = 0; i < path.size();) {
        size_t next = NextChar(path, i, codePage);
        FUZZ_CHECK(next > i && next <= path.size());
        if (path[i] == '\\') {
            FUZZ_CHECK(FindChar(path, '\\', i, codePage) == i);
            separators++;
        }
        if (path[i] == '\\' || path[i] == ':')
            last = i;
        i = next;
    }
    FUZZ_CHECK(PathDepth(path, codePage) == separators);
    FUZZ_CHECK(FindLastOf(path, "\\:", codePage) == last);
    FUZZ_CHECK(FindChar(path, '\\', path.size(), codePage) == std::string::npos);
}

// The path without its drive or share prefix; "\" when that leaves nothing.
std::string PathOnDrive(const std::string& path, UINT codePage) {
    std::string rest = path.substr(DrivePart(path, codePage).size());
    return rest.empty() ? "\\" : rest;
}

void CheckDrive(const std::string& path, UINT codePage) {
    std::string drive = DrivePart(path, codePage);
    FUZZ_CHECK(StartsWith(path, drive));
    if (!drive.empty() && drive.back() != ':')
        FUZZ_CHECK(StartsWith(drive, "\\\\"));
    std::string onDrive = PathOnDrive(path, codePage);
    FUZZ_CHECK(!onDrive.empty());
    FUZZ_CHECK(drive + onDrive == path || (onDrive == "\\" && drive == path));
}

void CheckJoin(const std::string& directory, const std::string& name, UINT codePage) {
    std::string joined = JoinPath(directory, name, codePage);
    FUZZ_CHECK(StartsWith(joined, directory) && EndsWith(joined, name));
    FUZZ_CHECK(joined.size() - directory.size() - name.size() <= 1);
    FUZZ_CHECK(PathDepth(joined, codePage) >= PathDepth(directory, codePage));
}

// The text steps of resolving a path, with the answers the platform would give between them.
void CheckTarget(const std::string& text, const std::string& relativeTo,
                 const std::string& rootCurrent, UINT codePage) {
    TTargetText target = SplitTarget(text, relativeTo, codePage);
    std::string ownRoot = DrivePart(text, codePage);
    FUZZ_CHECK(target.Root == (ownRoot.empty() ? DrivePart(relativeTo, codePage) : ownRoot));
    FUZZ_CHECK(!target.Drive || target.Drive == target.Root[0]);
    FUZZ_CHECK(FindLastOf(target.Name, "\\:", codePage) == std::string::npos);
    std::string rest = text.substr(ownRoot.size());
    FUZZ_CHECK(EndsWith(rest, target.Name));
    if (target.Directory.empty()) {
        FUZZ_CHECK(rest == target.Name);
        target.Directory = PathOnDrive(rootCurrent, codePage);
    } else {
        size_t separator = rest.size() - target.Name.size() - 1;
        FUZZ_CHECK(rest[separator] == '\\' || rest[separator] == ':');
        FUZZ_CHECK(separator == 0 ? target.Directory == "\\"
                                  : target.Directory == rest.substr(0, separator));
    }
    FUZZ_CHECK(!target.Directory.empty());
    if (!target.Name.empty()) {
        std::string entered = EnteredDirectory(target.Directory, target.Name);
        FUZZ_CHECK(EndsWith(entered, "\\" + target.Name));
        FUZZ_CHECK(entered.size() > target.Name.size() + 1 || target.Directory.size() == 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    UINT codePage = CodePageOf(data[0]);
    std::vector<std::string> fields = Fields(data, size);
    fields.resize(4);
    const std::string &path = fields[0], &relativeTo = fields[1], &rootCurrent = fields[2],
                      &name = fields[3];
    CheckScanning(path, codePage);
    CheckDrive(path, codePage);
    CheckJoin(path, name, codePage);
    CheckTarget(path, relativeTo, rootCurrent, codePage);
    return 0;
}
