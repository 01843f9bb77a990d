#include "OpenDialog.h"

#include "framework/AppLink.h"
#include "framework/DescReader.h"
#include "framework/Picture.h"
#include "framework/TaskWindowLock.h"

#include <commdlg.h>

std::string ConvertFilter(const std::string& filter, UINT codePage) {
    if (filter.empty())
        return filter;
    std::string converted = filter + '\0';
    for (size_t i = 0; i < converted.size(); i++) {
        if (IsDBCSLeadByteEx(codePage, BYTE(converted[i])))
            i++;
        else if (converted[i] == '|')
            converted[i] = '\0';
    }
    return converted;
}

static const DWORD OptionFlags[] = {
    OFN_READONLY,         OFN_OVERWRITEPROMPT, OFN_HIDEREADONLY,   OFN_NOCHANGEDIR,
    OFN_SHOWHELP,         OFN_NOVALIDATE,      OFN_ALLOWMULTISELECT, OFN_EXTENSIONDIFFERENT,
    OFN_PATHMUSTEXIST,    OFN_FILEMUSTEXIST,   OFN_CREATEPROMPT,   OFN_SHAREAWARE,
    OFN_NOREADONLYRETURN, OFN_NOTESTFILECREATE, OFN_NONETWORKBUTTON, OFN_NOLONGNAMES,
    OFN_EXPLORER,         OFN_NODEREFERENCELINKS,
};

bool TOpenDialog::RunDialog() {
    std::string filter = ConvertFilter(Filter, GetACP());
    std::string file(262, '\0');
    file.replace(0, std::min<size_t>(FileName.size(), 260), FileName, 0, 260);
    OPENFILENAMEA request{};
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.hInstance = MainInstance();
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = DWORD(FilterIndex);
    request.lpstrFile = file.data();
    request.nMaxFile = 260;
    request.lpstrInitialDir = InitialDir.c_str();
    request.lpstrTitle = Title.c_str();
    DWORD flags = 0;
    for (unsigned option = 0; option <= ofNoDereferenceLinks; option++)
        if (Options & (1u << option))
            flags |= OptionFlags[option];
    // The old style is asked for by leaving out the explorer flag.
    request.Flags = flags ^ OFN_EXPLORER;
    request.hwndOwner = AppLink() ? AppLink()->OwnerWindow() : nullptr;

    HWND active = GetActiveWindow();
    TTaskWindowLock lock;
    lock.Apply();
    BOOL confirmed = GetOpenFileNameA(&request);
    lock.Release();
    if (active && IsWindow(active))
        SetActiveWindow(active);
    if (!confirmed)
        return false;
    FileName = file.c_str();
    Options = (Options & ~(OptionBit(ofExtensionDifferent) | OptionBit(ofReadOnly))) |
              ((request.Flags & OFN_EXTENSIONDIFFERENT) ? OptionBit(ofExtensionDifferent) : 0) |
              ((request.Flags & OFN_READONLY) ? OptionBit(ofReadOnly) : 0);
    FilterIndex = int(request.nFilterIndex);
    return true;
}

void RegisterOpenDialog() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    using P = const TDescProperty&;
    using R = TDescReader&;
    RegisterComponentClass<TOpenDialog>("TOpenDialog", "TComponent")
        .Property<TOpenDialog>("Filter", [](TOpenDialog& d, P p, R r) { d.Filter = r.String(p); })
        .Property<TOpenDialog>("Options", [](TOpenDialog& d, P p, R r) {
            d.Options = r.Set(p, {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly",
                                  "ofNoChangeDir", "ofShowHelp", "ofNoValidate",
                                  "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",
                                  "ofFileMustExist", "ofCreatePrompt", "ofShareAware",
                                  "ofNoReadOnlyReturn", "ofNoTestFileCreate",
                                  "ofNoNetworkButton", "ofNoLongNames", "ofOldStyleDialog",
                                  "ofNoDereferenceLinks"});
        });
}
