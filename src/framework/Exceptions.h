#pragma once
#include <exception>
#include <string>
#include <windows.h>

#include "TextUtils.h"

// Errors are exceptions that carry the text the user is shown.
class Exception : public std::exception {
  public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    virtual const char* ClassName() const { return "Exception"; }

    std::string Message;
};

#define TOLVO_EXCEPTION(Name, Base)                                                                \
    class Name : public Base {                                                                     \
      public:                                                                                      \
        using Base::Base;                                                                          \
        const char* ClassName() const override { return #Name; }                                   \
    }

// The silent exception: it ends what is being done and shows nothing.
TOLVO_EXCEPTION(EAbort, Exception);
// A window description that cannot be read: bad text, unknown class, property or handler.
TOLVO_EXCEPTION(EReadError, Exception);
// A resource the program asked for is missing from the executable.
TOLVO_EXCEPTION(EResNotFound, Exception);
// An operation that is not valid in the object's present state.
TOLVO_EXCEPTION(EInvalidOperation, Exception);
// An input/output error of the platform, carrying its code: the message comes from the table
// every input/output error uses ("File not found", ..., "I/O error %d").
class EInOutError : public Exception {
  public:
    explicit EInOutError(DWORD code);
    const char* ClassName() const override { return "EInOutError"; }
    DWORD ErrorCode;
};
// An index outside a list: "List index out of bounds (%d)".
TOLVO_EXCEPTION(EListError, Exception);
// A file that cannot be opened.
TOLVO_EXCEPTION(EFOpenError, Exception);
// The platform refused a drawing object (bitmap, context): "Out of system resources".
TOLVO_EXCEPTION(EOutOfResources, Exception);
// A platform call failed; the message is the platform's own.
TOLVO_EXCEPTION(EOSError, Exception);

// Raises EOutOfResources, the error of every drawing object or menu the platform refuses.
[[noreturn]] void RaiseOutOfResources();

// The platform's own text for an error code, without its closing full stop and line break (the
// error box adds the full stop), the subject in place of its "%1" ("%1 is not a valid
// application"); the code itself when the platform has no text for it.
std::string SystemErrorMessage(DWORD code, const std::string& subject = "");

// Raises EOSError with the platform's text for the last error of the calling thread.
[[noreturn]] void RaiseLastOSError(const char* what);
