#pragma once
#include "framework/Component.h"

#include <string>
#include <windows.h>

// The options of the open dialog, in their declared order (bit n is option n).
enum TOpenOption : unsigned {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
    ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
    ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
    ofOldStyleDialog, ofNoDereferenceLinks
};
constexpr unsigned OptionBit(TOpenOption option) { return 1u << option; }

// The platform's file-open dialog as a component: its settings are read at every run, and
// the user's choice is kept in FileName.
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
    const char* ClassName() const override { return "TOpenDialog"; }

    // Shows the dialog task-modally; true when the user confirmed a file, which FileName then
    // holds. On cancel (or when the platform dialog fails) FileName stays as it was.
    bool RunDialog();

    std::string Filter;
    unsigned Options = 0;
    int FilterIndex = 1;
    std::string InitialDir;
    std::string Title;
    std::string FileName;
};

// The platform's filter text: each "|" becomes a NUL and the text ends in two NULs; an empty
// filter stays empty. A "|" that is the trail byte of a double-byte character is kept.
std::string ConvertFilter(const std::string& filter, UINT codePage);

// Makes the dialog class known to window descriptions (once).
void RegisterOpenDialog();
