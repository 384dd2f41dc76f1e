// Object linking in process.
#include "platform/os/ole/Ole.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "platform/os/gdi/Icons.h"
#include "platform/os/gdi/ImageFiles.h"

namespace {

// ============================================================================ data objects =====

class OleFormatEnum : public TInterfacedBase<IEnumFORMATETC> {
 public:
  OleFormatEnum(std::vector<FORMATETC> formats, size_t at) : formats_(std::move(formats)), at_(at) {}
  HRESULT Next(ULONG count, FORMATETC* out, ULONG* fetched) override {
    ULONG n = 0;
    while (n < count && at_ < formats_.size()) out[n++] = formats_[at_++];
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    at_ = std::min(formats_.size(), at_ + count);
    return at_ < formats_.size() ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    at_ = 0;
    return S_OK;
  }
  HRESULT Clone(IEnumFORMATETC** out) override {
    if (!out) return E_POINTER;
    *out = new OleFormatEnum(formats_, at_);
    (*out)->AddRef();
    return S_OK;
  }

 private:
  std::vector<FORMATETC> formats_;
  size_t at_;
};

// ============================================================================ drag and drop ====

int oleInitCount = 0;
std::map<HWND, IDropTarget*> oleTargets;

IDropTarget* OleTargetAt(POINT screen, HWND& found) {
  for (HWND w = WindowFromPoint(screen); w; w = GetParent(w)) {
    auto it = oleTargets.find(w);
    if (it != oleTargets.end() && IsWindow(w)) {
      found = w;
      return it->second;
    }
  }
  found = nullptr;
  return nullptr;
}

DWORD OleKeyState() {
  DWORD keys = 0;
  if (GetKeyState(VK_LBUTTON) < 0) keys |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) keys |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) keys |= MK_MBUTTON;
  if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
  if (GetKeyState(VK_MENU) < 0) keys |= MK_ALT;
  return keys;
}

// ============================================================================ streams ==========

class OleGlobalStream : public TInterfacedBase<IStream> {
 public:
  OleGlobalStream(HGLOBAL block, bool owns) : block_(block), owns_(owns) {}
  ~OleGlobalStream() override {
    if (owns_) GlobalFree(block_);
  }
  HRESULT Read(void* buffer, ULONG count, ULONG* read) override {
    uint64_t size = GlobalSize(block_);
    ULONG n = pos_ >= size ? 0 : ULONG(std::min<uint64_t>(count, size - pos_));
    if (n) {
      std::memcpy(buffer, static_cast<const char*>(GlobalLock(block_)) + pos_, n);
      GlobalUnlock(block_);
    }
    pos_ += n;
    if (read) *read = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT Write(const void*, ULONG, ULONG* written) override {
    if (written) *written = 0;
    return STG_E_INVALIDFUNCTION;  // the readers here only read
  }
  HRESULT Seek(int64_t move, DWORD origin, uint64_t* position) override {
    int64_t base = origin == 0 ? 0 : origin == 1 ? int64_t(pos_) : int64_t(GlobalSize(block_));
    if (origin > 2 || base + move < 0) return STG_E_INVALIDFUNCTION;
    pos_ = uint64_t(base + move);
    if (position) *position = pos_;
    return S_OK;
  }
  uint64_t Size() override { return GlobalSize(block_); }

 private:
  HGLOBAL block_;
  bool owns_;
  uint64_t pos_ = 0;
};

// ============================================================================ pictures =========

class OlePicture : public TInterfacedBase<IPicture> {
 public:
  OlePicture(HGDIOBJ handle, short type, int width, int height)
      : handle_(handle), type_(type), width_(width), height_(height) {}
  ~OlePicture() override {
    if (type_ == PICTYPE_ICON)
      DestroyIcon(static_cast<HICON>(handle_));
    else
      DeleteObject(handle_);
  }
  HRESULT get_Handle(HGDIOBJ* handle) override {
    if (!handle) return E_POINTER;
    *handle = handle_;
    return S_OK;
  }
  HRESULT get_Type(short* type) override {
    if (!type) return E_POINTER;
    *type = type_;
    return S_OK;
  }
  HRESULT get_Width(OLE_XSIZE_HIMETRIC* w) override {
    if (!w) return E_POINTER;
    *w = LONG((int64_t(width_) * 2540 + 48) / 96);
    return S_OK;
  }
  HRESULT get_Height(OLE_YSIZE_HIMETRIC* h) override {
    if (!h) return E_POINTER;
    *h = LONG((int64_t(height_) * 2540 + 48) / 96);
    return S_OK;
  }
  HRESULT Render(HDC hdc, LONG x, LONG y, LONG cx, LONG cy, OLE_XSIZE_HIMETRIC xSrc, OLE_YSIZE_HIMETRIC ySrc,
                 OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, const RECT*) override {
    if (!hdc) return E_INVALIDARG;
    if (type_ == PICTYPE_ICON)
      return DrawIconEx(hdc, x, y, static_cast<HICON>(handle_), cx, cy, 0, nullptr, DI_NORMAL) ? S_OK
                                                                                               : E_FAIL;
    auto px = [](LONG himetric) {
      return int((int64_t(himetric) * 96 + (himetric < 0 ? -1270 : 1270)) / 2540);
    };
    // HIMETRIC runs upwards from the picture's bottom: the source spans ySrc to ySrc + cySrc, so
    // the usual (0, height, width, -height) is the whole picture.
    int sx = px(xSrc), sw = px(cxSrc);
    const int from = height_ - px(ySrc), to = height_ - px(ySrc + cySrc);
    int sy = std::min(from, to), sh = std::abs(to - from);
    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(mem, handle_);
    BOOL ok = StretchBlt(hdc, x, y, cx, cy, mem, sx, sy, sw, sh, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    return ok ? S_OK : E_FAIL;
  }

 private:
  HGDIOBJ handle_;
  short type_;
  int width_, height_;
};

}  // namespace

void ReleaseStgMedium(STGMEDIUM* m) {
  if (!m) return;
  if (m->pUnkForRelease) {
    m->pUnkForRelease->Release();
  } else {
    switch (m->tymed) {
      case TYMED_HGLOBAL:
        GlobalFree(m->hGlobal);
        break;
      case TYMED_GDI:
        DeleteObject(m->hBitmap);
        break;
      case TYMED_ENHMF:
        DeleteEnhMetaFile(m->hEnhMetaFile);
        break;
      case TYMED_ISTREAM:
        if (m->pstm) m->pstm->Release();
        break;
      default:
        break;
    }
  }
  *m = STGMEDIUM();
}

HRESULT CreateFormatEnumerator(UINT count, const FORMATETC* formats, IEnumFORMATETC** out) {
  if (!out || (count && !formats)) return E_POINTER;
  *out = new OleFormatEnum(std::vector<FORMATETC>(formats, formats + count), 0);
  (*out)->AddRef();
  return S_OK;
}

HRESULT OleInitialize(void*) { return oleInitCount++ == 0 ? S_OK : S_FALSE; }

void OleUninitialize() {
  if (oleInitCount > 0 && --oleInitCount == 0) {
    for (auto& [w, t] : oleTargets) t->Release();
    oleTargets.clear();
  }
}

HRESULT RegisterDragDrop(HWND hwnd, IDropTarget* target) {
  if (!target) return E_INVALIDARG;
  if (!IsWindow(hwnd)) return DRAGDROP_E_INVALIDHWND;
  auto it = oleTargets.find(hwnd);
  if (it != oleTargets.end()) {
    if (IsWindow(hwnd)) return DRAGDROP_E_ALREADYREGISTERED;
  }
  target->AddRef();
  oleTargets[hwnd] = target;
  return S_OK;
}

HRESULT RevokeDragDrop(HWND hwnd) {
  auto it = oleTargets.find(hwnd);
  if (it == oleTargets.end()) return DRAGDROP_E_NOTREGISTERED;
  IDropTarget* t = it->second;
  oleTargets.erase(it);
  t->Release();
  return S_OK;
}

HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect) {
  if (!data || !source || !effect) return E_INVALIDARG;
  data->AddRef();
  source->AddRef();
  // The drag starts where the message that started it happened (input may be queued beyond it).
  DWORD at = GetMessagePos();
  POINT pt{int16_t(at & 0xFFFF), int16_t(at >> 16)};
  DWORD keys = OleKeyState();
  if (!(keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
    keys |= MK_LBUTTON;  // a drag starts with a button down
  bool escape = false;
  HWND targetWnd = nullptr;
  IDropTarget* target = nullptr;
  DWORD current = DROPEFFECT_NONE;
  HRESULT result = DRAGDROP_S_CANCEL;
  // A window destroyed during the drag takes its registration with it.
  auto alive = [&] {
    if (target && (!IsWindow(targetWnd) || !oleTargets.count(targetWnd)))
      target = nullptr, targetWnd = nullptr;
    return target != nullptr;
  };
  for (;;) {
    HRESULT q = source->QueryContinueDrag(escape, keys);
    if (q == DRAGDROP_S_DROP || q == DRAGDROP_S_CANCEL) {
      if (alive()) {
        if (q == DRAGDROP_S_DROP && current != DROPEFFECT_NONE) {
          DWORD e = okEffects;
          if (SUCCEEDED(target->Drop(data, keys, POINTL{pt.X, pt.Y}, &e)) && (e & okEffects)) {
            current = e & okEffects;
            result = DRAGDROP_S_DROP;
          } else {
            current = DROPEFFECT_NONE;
          }
        } else {
          target->DragLeave();
        }
      }
      if (result != DRAGDROP_S_DROP) current = DROPEFFECT_NONE;
      break;
    }
    // Which target is under the pointer now.
    HWND w = nullptr;
    IDropTarget* now = OleTargetAt(pt, w);
    alive();
    DWORD e = okEffects;
    if (w != targetWnd) {
      if (target) target->DragLeave();
      target = now, targetWnd = w;
      if (target && FAILED(target->DragEnter(data, keys, POINTL{pt.X, pt.Y}, &e))) e = DROPEFFECT_NONE;
    } else if (target) {
      if (FAILED(target->DragOver(keys, POINTL{pt.X, pt.Y}, &e))) e = DROPEFFECT_NONE;
    }
    current = target ? (e & (okEffects | DROPEFFECT_SCROLL)) & ~DROPEFFECT_SCROLL : DROPEFFECT_NONE;
    source->GiveFeedback(current);
    // Input drives the loop; everything else (paint, timers) is dispatched as usual.
    MSG m;
    if (!GetMessageA(&m, nullptr, 0, 0)) {
      PostQuitMessage(int(m.wParam));
      escape = true;
      continue;
    }
    if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) {
      pt = m.pt;
      keys = DWORD(m.wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL)) |
             (GetKeyState(VK_MENU) < 0 ? MK_ALT : 0);
    } else if (m.message == WM_KEYDOWN || m.message == WM_KEYUP || m.message == WM_SYSKEYDOWN ||
               m.message == WM_SYSKEYUP) {
      if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) escape = true;
      keys = (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) |
             (OleKeyState() & (MK_SHIFT | MK_CONTROL | MK_ALT));
    } else {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
  *effect = current;
  source->Release();
  data->Release();
  return result;
}

HRESULT CreateStreamOnHGlobal(HGLOBAL block, BOOL deleteOnRelease, IStream** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!block) {
    block = GlobalAlloc(GMEM_MOVEABLE, 0);
    if (!block) return E_OUTOFMEMORY;
    deleteOnRelease = TRUE;
  }
  *out = new OleGlobalStream(block, deleteOnRelease);
  (*out)->AddRef();
  return S_OK;
}

HRESULT OleLoadPicture(IStream* stream, LONG size, BOOL, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!stream || size < 0) return E_INVALIDARG;
  uint64_t available = stream->Size();
  uint64_t here = 0;
  stream->Seek(0, 1, &here);
  uint64_t n = size > 0 ? std::min<uint64_t>(uint64_t(size), available - std::min(here, available))
                        : available - std::min(here, available);
  std::vector<uint8_t> bytes(n);
  ULONG got = 0;
  if (n && FAILED(stream->Read(bytes.data(), ULONG(n), &got))) return CTL_E_INVALIDPICTURE;
  bytes.resize(got);
  OlePicture* picture = nullptr;
  try {
    auto starts = [&](std::initializer_list<uint8_t> magic) {
      return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
    };
    if (starts({0, 0, 1, 0})) {
      HICON icon = CreateIconFromIcoFile(bytes.data(), bytes.size(), 32);
      if (!icon) return CTL_E_INVALIDPICTURE;
      TSurface* s = GetIconSurface(icon);
      picture = new OlePicture(icon, PICTYPE_ICON, s ? s->Width : 32, s ? s->Height : 32);
    } else {
      TRasterImage img;
      if (starts({'B', 'M'}))
        img = ReadBmp(bytes.data(), bytes.size());
      else if (starts({0xFF, 0xD8}))
        img = ReadJpeg(bytes.data(), bytes.size());
      else if (starts({0x89, 'P', 'N', 'G'}))
        img = ReadPng(bytes.data(), bytes.size());
      else if (starts({'G', 'I', 'F', '8'}))
        img = ReadGif(bytes.data(), bytes.size());
      else
        return CTL_E_INVALIDPICTURE;
      HBITMAP bitmap = CreateBitmap(img.Width, img.Height, 1, 32, img.Pixels.data());
      if (!bitmap) return CTL_E_INVALIDPICTURE;
      picture = new OlePicture(bitmap, PICTYPE_BITMAP, img.Width, img.Height);
    }
  } catch (const Exception&) {
    return CTL_E_INVALIDPICTURE;
  }
  picture->AddRef();
  HRESULT hr = picture->QueryInterface(iid, out);
  picture->Release();
  return hr;
}

IUnknown* CreateOleObject(const AnsiString& className) {
  throw EOleSysError("Cannot create the object \"" + className +
                         "\": no automation server is installed on this system (class not registered)",
                     REGDB_E_CLASSNOTREG);
}
