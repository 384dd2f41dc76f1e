// The framework's clipboard: text, pictures and any registered format over the system clipboard
// (in process; plain text also reaches the desktop's).  Open and Close nest.  UI thread only.
#pragma once

#include "platform/os/user/User.h"
#include "platform/ui/Graphics.h"

class TClipboard : public TPersistent {
  PL_CLASS(TClipboard)
 public:
  TClipboard() = default;
  ~TClipboard() override;

  // Raises EClipboardException when another owner holds the clipboard open.
  void Open();
  void Close();
  void Clear();
  bool HasFormat(UINT Format);
  int32_t GetFormatCount();
  UINT GetFormats(int32_t Index);

  // The plain text; empty when the clipboard holds none.
  AnsiString GetAsText();
  void SetAsText(const AnsiString& Value);
  WideString GetAsWideText();
  void SetAsWideText(const WideString& Value);

  // The clipboard's own handle of a format (nullptr when absent); the clipboard keeps it.
  HANDLE GetAsHandle(UINT Format);
  // Empties the clipboard and gives it Value, which it then owns.
  void SetAsHandle(UINT Format, HANDLE Value);
  // Empties the clipboard and puts a copy of the bytes under Format.
  void SetBuffer(UINT Format, const void* Buffer, size_t Size);
  // The bytes of a global-memory format; empty when absent.
  std::string GetBuffer(UINT Format);

  // Copies a picture, graphic, bitmap or metafile to the clipboard.
  void Assign(TPersistent* Source) override;
  // Pastes into a picture, bitmap or metafile; a format that is not there empties Dest.
  void AssignTo(TPersistent* Dest) override;

 private:
  void Adding();
  int32_t openCount_ = 0;
  bool emptied_ = false;
};

PL_EXCEPTION(EClipboardException, Exception);

// The application's clipboard, made on first use.
TClipboard* Clipboard();
// Replaces it (tests); returns the one before, which the caller frees.
TClipboard* SetClipboard(TClipboard* NewClipboard);
