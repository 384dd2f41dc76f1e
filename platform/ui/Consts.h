// The framework's resource strings that windows show: button-kind captions and the edit
// commands of the string table (ids 65136..65167, loaded with LoadString).
#pragma once

#include "platform/runtime/Types.h"

inline constexpr const char* SOKButton = "OK";
inline constexpr const char* SCancelButton = "Cancel";
inline constexpr const char* SHelpButton = "&Help";
inline constexpr const char* SYesButton = "&Yes";
inline constexpr const char* SNoButton = "&No";
inline constexpr const char* SCloseButton = "&Close";
inline constexpr const char* SAbortButton = "Abort";
inline constexpr const char* SRetryButton = "&Retry";
inline constexpr const char* SIgnoreButton = "&Ignore";
inline constexpr const char* SAllButton = "&All";

constexpr UINT SEditSelectAll = 65136, SEditUndo = 65163, SEditCopy = 65164, SEditCut = 65165,
               SEditPaste = 65166, SEditDelete = 65167;
// The text of one of the ids above ("" for another); the same texts LoadString gives.
AnsiString FrameworkString(UINT id);
