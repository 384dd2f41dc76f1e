// The clipboard: in process, any number of formats, owned data freed by the clipboard; plain
// text also goes to and comes from the desktop's clipboard when the display driver has one.
#include <algorithm>
#include <cstring>

#include "platform/os/user/Internal.h"
#include "platform/runtime/Strings.h"

using namespace user_internal;

namespace {

struct TEntry {
  UINT Format = 0;
  HANDLE Data = nullptr;
};

struct TClipboard {
  std::recursive_mutex Lock;
  bool Open = false;
  HWND OpenBy = nullptr;
  HWND Owner = nullptr;
  bool Changed = false;
  std::vector<TEntry> Entries;
  // The desktop text we last gave or took, so that our own text is not read back as new.
  std::string DesktopText;
} g_clip;

void FreeData(UINT format, HANDLE data) {
  if (!data) return;
  switch (format) {
    case CF_BITMAP:
    case CF_PALETTE:
      DeleteObject(data);
      break;
    case CF_ENHMETAFILE:
      DeleteEnhMetaFile(static_cast<HENHMETAFILE>(data));
      break;
    default:
      GlobalFree(data);
      break;
  }
}

void Clear() {
  for (TEntry& e : g_clip.Entries) FreeData(e.Format, e.Data);
  g_clip.Entries.clear();
}

TEntry* Find(UINT format) {
  for (TEntry& e : g_clip.Entries)
    if (e.Format == format) return &e;
  return nullptr;
}

HGLOBAL BlockOf(const void* bytes, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!h) return nullptr;
  if (void* p = GlobalLock(h)) {
    std::memcpy(p, bytes, size);
    GlobalUnlock(h);
  }
  return h;
}

// The text of a global block up to its terminator (or its end).
template <class C>
std::basic_string<C> TextOf(HANDLE data) {
  std::basic_string<C> text;
  auto* p = static_cast<const C*>(GlobalLock(data));
  if (!p) return text;
  size_t n = GlobalSize(data) / sizeof(C);
  for (size_t i = 0; i < n && p[i]; ++i) text.push_back(p[i]);
  GlobalUnlock(data);
  return text;
}

HGLOBAL WideBlock(const WideString& text) {
  return BlockOf(text.c_str(), (text.size() + 1) * sizeof(char16_t));
}
HGLOBAL AnsiBlock(const AnsiString& text) { return BlockOf(text.c_str(), text.size() + 1); }

// Plain text in either form, or nothing.
bool CurrentText(WideString& text) {
  if (TEntry* e = Find(CF_UNICODETEXT); e && e->Data) {
    text = TextOf<char16_t>(e->Data);
    return true;
  }
  if (TEntry* e = Find(CF_TEXT); e && e->Data) {
    text = AnsiToWide(TextOf<char>(e->Data));
    return true;
  }
  return false;
}

// Text copied on the desktop since we last looked replaces what we hold.
void TakeDesktopText() {
  TDisplayDriver* d = GetDisplayDriver();
  std::string utf8;
  if (!d || !d->ReadClipboardText(utf8) || utf8 == g_clip.DesktopText) return;
  g_clip.DesktopText = utf8;
  Clear();
  g_clip.Owner = nullptr;
  if (!utf8.empty()) g_clip.Entries.push_back({CF_UNICODETEXT, WideBlock(Utf8ToWide(utf8))});
}

bool IsText(UINT format) { return format == CF_TEXT || format == CF_UNICODETEXT || format == CF_OEMTEXT; }

// A bitmap as a packed DIB (32 bits, bottom-up) and back: the two picture forms stand in for
// each other.
HGLOBAL PackedDibOf(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return nullptr;
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = bm.bmWidth;
  bmi.bmiHeader.biHeight = bm.bmHeight;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  size_t bits = size_t(bm.bmWidth) * size_t(bm.bmHeight) * 4;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + bits);
  auto* p = h ? static_cast<uint8_t*>(GlobalLock(h)) : nullptr;
  if (!p) return h ? GlobalFree(h) : nullptr;
  std::memcpy(p, &bmi.bmiHeader, sizeof(BITMAPINFOHEADER));
  HDC dc = CreateCompatibleDC(nullptr);
  int lines = GetDIBits(dc, bitmap, 0, UINT(bm.bmHeight), p + sizeof(BITMAPINFOHEADER), &bmi, DIB_RGB_COLORS);
  DeleteDC(dc);
  GlobalUnlock(h);
  return lines > 0 ? h : GlobalFree(h);
}

HBITMAP BitmapOfPackedDib(HANDLE data) {
  size_t size = GlobalSize(data);
  auto* p = static_cast<const uint8_t*>(GlobalLock(data));
  if (!p) return nullptr;
  HBITMAP bitmap = nullptr;
  BITMAPINFOHEADER h{};
  if (size >= sizeof h) {
    std::memcpy(&h, p, sizeof h);
    int64_t rows = h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight;
    int64_t stride = ((int64_t(h.biWidth) * h.biBitCount + 31) / 32) * 4;
    size_t colors = h.biBitCount <= 8 ? size_t(h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount)) * 4 : 0;
    if (h.biSize >= sizeof h && h.biSize <= size && h.biWidth > 0 && rows > 0 && h.biCompression == BI_RGB &&
        stride > 0 && rows * stride <= int64_t(size - h.biSize) - int64_t(colors)) {
      HDC dc = CreateCompatibleDC(nullptr);
      bitmap = CreateDIBitmap(dc, &h, CBM_INIT, p + h.biSize + colors, reinterpret_cast<const BITMAPINFO*>(p),
                              DIB_RGB_COLORS);
      DeleteDC(dc);
    }
  }
  GlobalUnlock(data);
  return bitmap;
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  std::lock_guard<std::recursive_mutex> lock(g_clip.Lock);
  if (g_clip.Open) return FALSE;
  g_clip.Open = true;
  g_clip.OpenBy = owner;
  g_clip.Changed = false;
  TakeDesktopText();
  return TRUE;
}

BOOL CloseClipboard() {
  std::lock_guard<std::recursive_mutex> lock(g_clip.Lock);
  if (!g_clip.Open) return FALSE;
  g_clip.Open = false;
  WideString text;
  if (g_clip.Changed && CurrentText(text))
    if (TDisplayDriver* d = GetDisplayDriver()) {
      g_clip.DesktopText = WideToUtf8(text);
      d->WriteClipboardText(g_clip.DesktopText);
    }
  return TRUE;
}

BOOL EmptyClipboard() {
  std::lock_guard<std::recursive_mutex> lock(g_clip.Lock);
  if (!g_clip.Open) return FALSE;
  HWND previous = g_clip.Owner;
  Clear();
  g_clip.Owner = g_clip.OpenBy;
  g_clip.Changed = true;
  if (previous && previous != g_clip.Owner && IsWindow(previous))
    SendMessageA(previous, WM_DESTROYCLIPBOARD, 0, 0);
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  std::lock_guard<std::recursive_mutex> lock(g_clip.Lock);
  if (!g_clip.Open || format == 0) return nullptr;
  // One form of plain text stands: the other is derived from it on request.
  if (IsText(format))
    for (UINT f : {CF_TEXT, CF_UNICODETEXT, CF_OEMTEXT})
      if (TEntry* e = Find(f)) {
        FreeData(e->Format, e->Data);
        e->Data = nullptr;
        e->Format = 0;
      }
  if (TEntry* e = Find(format)) {
    if (e->Data != data) FreeData(format, e->Data);
    e->Data = data;
  } else {
    g_clip.Entries.push_back({format, data});
  }
  g_clip.Entries.erase(std::remove_if(g_clip.Entries.begin(), g_clip.Entries.end(),
                                      [](const TEntry& e) { return e.Format == 0; }),
                       g_clip.Entries.end());
  g_clip.Changed = true;
  return data;
}

HANDLE GetClipboardData(UINT format) {
  std::lock_guard<std::recursive_mutex> lock(g_clip.Lock);
  if (!g_clip.Open) return nullptr;
  if (TEntry* e = Find(format)) return e->Data;
  HANDLE picture = nullptr;
  if (format == CF_DIB) {
    if (TEntry* e = Find(CF_BITMAP)) picture = PackedDibOf(static_cast<HBITMAP>(e->Data));
  } else if (format == CF_BITMAP) {
    if (TEntry* e = Find(CF_DIB)) picture = BitmapOfPackedDib(e->Data);
  }
  if (picture) {
    g_clip.Entries.push_back({format, picture});
    return picture;
  }
  WideString text;
  if (!IsText(format) || !CurrentText(text)) return nullptr;
  HGLOBAL h = format == CF_UNICODETEXT ? WideBlock(text) : AnsiBlock(WideToAnsi(text));
  g_clip.Entries.push_back({format, h});
  return h;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  std::lock_guard<std::recursive_mutex> lock(g_clip.Lock);
  if (!g_clip.Open) TakeDesktopText();
  if (Find(format)) return TRUE;
  if ((format == CF_DIB && Find(CF_BITMAP)) || (format == CF_BITMAP && Find(CF_DIB))) return TRUE;
  WideString text;
  return IsText(format) && CurrentText(text);
}

UINT EnumClipboardFormats(UINT format) {
  std::lock_guard<std::recursive_mutex> lock(g_clip.Lock);
  if (!g_clip.Open) return 0;
  std::vector<UINT> all;
  for (const TEntry& e : g_clip.Entries) all.push_back(e.Format);
  WideString text;
  if (CurrentText(text))
    for (UINT f : {CF_UNICODETEXT, CF_TEXT})
      if (std::find(all.begin(), all.end(), f) == all.end()) all.push_back(f);
  if (format == 0) return all.empty() ? 0 : all.front();
  auto it = std::find(all.begin(), all.end(), format);
  return (it == all.end() || it + 1 == all.end()) ? 0 : *(it + 1);
}

int CountClipboardFormats() {
  std::lock_guard<std::recursive_mutex> lock(g_clip.Lock);
  return int(g_clip.Entries.size());
}

UINT RegisterClipboardFormatA(LPCSTR name) { return RegisterAtom(name); }

int GetClipboardFormatNameA(UINT format, char* name, int maxCount) {
  AnsiString n = AtomName(format);
  if (n.empty() || !name || maxCount <= 0) return 0;
  int len = std::min<int>(int(n.size()), maxCount - 1);
  std::memcpy(name, n.data(), size_t(len));
  name[len] = 0;
  return len;
}

HWND GetClipboardOwner() {
  std::lock_guard<std::recursive_mutex> lock(g_clip.Lock);
  return g_clip.Owner;
}
