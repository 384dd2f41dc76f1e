// The framework's clipboard over the system clipboard.
#include "platform/ui/Clipbrd.h"

#include <cstring>

#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"

const TClassInfo& TClipboard::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TClipboard, TPersistent>("TClipboard");
  return info;
}

TClipboard::~TClipboard() {
  if (openCount_ > 0) CloseClipboard();
}

void TClipboard::Open() {
  if (openCount_ == 0) {
    if (!OpenClipboard(nullptr)) throw EClipboardException("Cannot open clipboard");
    emptied_ = false;
  }
  ++openCount_;
}

void TClipboard::Close() {
  if (openCount_ == 0) return;
  if (--openCount_ == 0) CloseClipboard();
}

void TClipboard::Clear() {
  Open();
  EmptyClipboard();
  Close();
}

// Setting data replaces what the clipboard held, once per outermost Open.
void TClipboard::Adding() {
  if (!emptied_) {
    EmptyClipboard();
    emptied_ = true;
  }
}

bool TClipboard::HasFormat(UINT Format) { return IsClipboardFormatAvailable(Format) != FALSE; }

int32_t TClipboard::GetFormatCount() {
  Open();
  int32_t n = 0;
  for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) ++n;
  Close();
  return n;
}

UINT TClipboard::GetFormats(int32_t Index) {
  Open();
  UINT f = EnumClipboardFormats(0);
  for (int32_t i = 0; f && i < Index; ++i) f = EnumClipboardFormats(f);
  Close();
  return Index < 0 ? 0 : f;
}

HANDLE TClipboard::GetAsHandle(UINT Format) {
  Open();
  HANDLE h = GetClipboardData(Format);
  Close();
  return h;
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Value) {
  Open();
  Adding();
  SetClipboardData(Format, Value);
  Close();
}

void TClipboard::SetBuffer(UINT Format, const void* Buffer, size_t Size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, Size ? Size : 1);
  if (!h) throw EOutOfMemory("Out of memory");
  if (Size) {
    std::memcpy(GlobalLock(h), Buffer, Size);
    GlobalUnlock(h);
  }
  SetAsHandle(Format, h);
}

std::string TClipboard::GetBuffer(UINT Format) {
  std::string bytes;
  Open();
  if (HANDLE h = GetClipboardData(Format))
    if (const void* p = GlobalLock(h)) {
      bytes.assign(static_cast<const char*>(p), GlobalSize(h));
      GlobalUnlock(h);
    }
  Close();
  return bytes;
}

AnsiString TClipboard::GetAsText() {
  std::string bytes = GetBuffer(CF_TEXT);
  return bytes.substr(0, bytes.find('\0'));
}

void TClipboard::SetAsText(const AnsiString& Value) { SetBuffer(CF_TEXT, Value.c_str(), Value.size() + 1); }

WideString TClipboard::GetAsWideText() {
  std::string bytes = GetBuffer(CF_UNICODETEXT);
  WideString text(bytes.size() / 2, u'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * 2);
  return text.substr(0, text.find(u'\0'));
}

void TClipboard::SetAsWideText(const WideString& Value) {
  SetBuffer(CF_UNICODETEXT, Value.c_str(), (Value.size() + 1) * sizeof(char16_t));
}

void TClipboard::Assign(TPersistent* Source) {
  TGraphic* graphic = nullptr;
  if (auto* picture = dynamic_cast<TPicture*>(Source))
    graphic = picture->GetGraphic();
  else
    graphic = dynamic_cast<TGraphic*>(Source);
  if (!graphic && Source) {
    TPersistent::Assign(Source);
    return;
  }
  Open();
  try {
    Adding();
    if (graphic && !graphic->GetEmpty()) {
      UINT format = 0;
      void* data = nullptr;
      HPALETTE palette = nullptr;
      graphic->SaveToClipboardFormat(format, data, palette);
      if (data) SetClipboardData(format, data);
      if (palette) SetClipboardData(CF_PALETTE, palette);
    }
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

void TClipboard::AssignTo(TPersistent* Dest) {
  Open();
  try {
    if (auto* picture = dynamic_cast<TPicture*>(Dest)) {
      picture->SetGraphic(nullptr);
      for (UINT format : {UINT(CF_ENHMETAFILE), UINT(CF_BITMAP), UINT(TJPEGImage::ClipboardFormat)})
        if (HANDLE h = TPicture::SupportsClipboardFormat(format) ? GetClipboardData(format) : nullptr) {
          picture->LoadFromClipboardFormat(format, h, nullptr);
          break;
        }
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
      if (HANDLE h = GetClipboardData(CF_BITMAP))
        bitmap->LoadFromClipboardFormat(CF_BITMAP, h, nullptr);
      else
        bitmap->Assign(nullptr);
    } else if (auto* metafile = dynamic_cast<TMetafile*>(Dest)) {
      if (HANDLE h = GetClipboardData(CF_ENHMETAFILE))
        metafile->LoadFromClipboardFormat(CF_ENHMETAFILE, h, nullptr);
      else
        metafile->Clear();
    } else {
      Close();
      TPersistent::AssignTo(Dest);
      return;
    }
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

namespace {
TClipboard* clipbrdGlobal = nullptr;
struct ClipbrdGlobalOwner {
  ~ClipbrdGlobalOwner() { delete clipbrdGlobal; }
} clipbrdGlobalOwner;
}  // namespace

TClipboard* Clipboard() {
  if (!clipbrdGlobal) clipbrdGlobal = new TClipboard;
  return clipbrdGlobal;
}

TClipboard* SetClipboard(TClipboard* NewClipboard) {
  TClipboard* old = clipbrdGlobal;
  clipbrdGlobal = NewClipboard;
  return old;
}
