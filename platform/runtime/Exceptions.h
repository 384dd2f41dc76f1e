// The exception hierarchy: the framework's kinds, rooted in Exception with its Message.
#pragma once

#include <exception>
#include <functional>
#include <utility>

#include "platform/runtime/Types.h"

class Exception : public std::exception {
 public:
  explicit Exception(AnsiString message) : Message(std::move(message)) {}
  ~Exception() override = default;
  const char* what() const noexcept override { return Message.c_str(); }

  AnsiString Message;
  int32_t HelpContext = 0;
};

#define PL_EXCEPTION(Name, Base)                                    \
  class Name : public Base {                                        \
   public:                                                          \
    explicit Name(AnsiString message) : Base(std::move(message)) {} \
  }

PL_EXCEPTION(EAbort, Exception);
PL_EXCEPTION(EConvertError, Exception);
PL_EXCEPTION(EListError, Exception);
PL_EXCEPTION(EStringListError, EListError);
PL_EXCEPTION(EInvalidCast, Exception);
PL_EXCEPTION(EInvalidOperation, Exception);
PL_EXCEPTION(EInvalidPointer, Exception);
PL_EXCEPTION(EOutOfMemory, Exception);
PL_EXCEPTION(EOutOfResources, Exception);
PL_EXCEPTION(EAssertionFailed, Exception);
PL_EXCEPTION(EVariantError, Exception);
PL_EXCEPTION(EVariantTypeCastError, EVariantError);
PL_EXCEPTION(EOSError, Exception);
PL_EXCEPTION(EThread, Exception);
PL_EXCEPTION(ERegistryException, Exception);
PL_EXCEPTION(EIniFileException, Exception);
PL_EXCEPTION(EDatabaseError, Exception);
PL_EXCEPTION(EInvalidGraphic, Exception);
PL_EXCEPTION(EInvalidGraphicOperation, Exception);
PL_EXCEPTION(EPrinter, Exception);
PL_EXCEPTION(EComponentError, Exception);
PL_EXCEPTION(EPropertyError, Exception);
// Arithmetic: C++ never raises these by itself, the runtime's checked helpers do.
PL_EXCEPTION(EIntError, Exception);
PL_EXCEPTION(EDivByZero, EIntError);
PL_EXCEPTION(ERangeError, EIntError);
PL_EXCEPTION(EIntOverflow, EIntError);
PL_EXCEPTION(EMathError, Exception);
PL_EXCEPTION(EZeroDivide, EMathError);
PL_EXCEPTION(EInvalidOp, EMathError);
PL_EXCEPTION(EOverflow, EMathError);
PL_EXCEPTION(EUnderflow, EMathError);
// Streams, files and stored definitions.
PL_EXCEPTION(EStreamError, Exception);
PL_EXCEPTION(EFCreateError, EStreamError);
PL_EXCEPTION(EFOpenError, EStreamError);
PL_EXCEPTION(EFilerError, EStreamError);
PL_EXCEPTION(EReadError, EFilerError);
PL_EXCEPTION(EWriteError, EFilerError);
PL_EXCEPTION(EClassNotFound, EFilerError);
PL_EXCEPTION(EMethodNotFound, EFilerError);
PL_EXCEPTION(EInvalidImage, EFilerError);
PL_EXCEPTION(EResNotFound, Exception);

// Text-file and other input/output errors carry the operating system's error number.
class EInOutError : public Exception {
 public:
  EInOutError(AnsiString message, int32_t errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
  int32_t ErrorCode;
};

// ---- the application's exception handler
// Exceptions that no caller can take (raised by the handlers an event thread delivers, or by a
// component's after-loading step) go to one process-wide handler.  TApplication installs its own
// (Application.HandleException: the message box); until then the message goes to standard error.
class TObject;
using TExceptionHandler = std::function<void(TObject* Sender, std::exception_ptr E)>;

// Installs handler (empty: the default) and returns the one it replaces.
TExceptionHandler SetApplicationExceptionHandler(TExceptionHandler handler);

// Passes E to the handler; meant for the main thread.  Never raises: what the handler itself
// raises is dropped.  Made during a call that a worker waits for (Synchronize), the report
// follows once that call has returned, so that the handler's box never holds the worker.
void ApplicationHandleException(TObject* Sender, std::exception_ptr E = std::current_exception());
