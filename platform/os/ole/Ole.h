// Object linking in process: data objects and formats, drag and drop between windows of this
// program (a modal loop following the mouse), streams on global memory, the picture loader, and
// automation servers (none exist here).  UI thread only.
#pragma once

#include "platform/os/gdi/Gdi.h"
#include "platform/os/user/User.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Interfaces.h"

// ============================================================================ constants ========

constexpr DWORD DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4,
                DROPEFFECT_SCROLL = 0x80000000u;
constexpr HRESULT DRAGDROP_S_DROP = 0x00040100, DRAGDROP_S_CANCEL = 0x00040101,
                  DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
constexpr HRESULT DRAGDROP_E_NOTREGISTERED = HRESULT(0x80040100u),
                  DRAGDROP_E_ALREADYREGISTERED = HRESULT(0x80040101u),
                  DRAGDROP_E_INVALIDHWND = HRESULT(0x80040102u);
constexpr HRESULT DV_E_FORMATETC = HRESULT(0x80040064u), DV_E_TYMED = HRESULT(0x80040069u),
                  OLE_E_ADVISENOTSUPPORTED = HRESULT(0x80040003u),
                  CTL_E_INVALIDPICTURE = HRESULT(0x800A01E1u), REGDB_E_CLASSNOTREG = HRESULT(0x80040154u),
                  CO_E_CLASSSTRING = HRESULT(0x800401F3u), STG_E_INVALIDFUNCTION = HRESULT(0x80030001u);
constexpr DWORD DVASPECT_CONTENT = 1;
constexpr DWORD TYMED_NULL = 0, TYMED_HGLOBAL = 1, TYMED_ISTREAM = 4, TYMED_GDI = 16, TYMED_ENHMF = 64;
constexpr DWORD DATADIR_GET = 1, DATADIR_SET = 2;
// Key states of the drag loop: the MK_ mouse-message flags plus the Alt key.
constexpr DWORD MK_ALT = 0x20;

// ============================================================================ data objects =====

using CLIPFORMAT = WORD;
struct DVTARGETDEVICE;
struct FORMATETC {
  CLIPFORMAT cfFormat = 0;
  DVTARGETDEVICE* ptd = nullptr;
  DWORD dwAspect = DVASPECT_CONTENT;
  LONG lindex = -1;
  DWORD tymed = TYMED_HGLOBAL;
};
struct STGMEDIUM {
  DWORD tymed = TYMED_NULL;
  union {
    HBITMAP hBitmap;
    HENHMETAFILE hEnhMetaFile;
    HGLOBAL hGlobal;
    IUnknown* pstm;
  };
  IUnknown* pUnkForRelease = nullptr;
  STGMEDIUM() : hGlobal(nullptr) {}
};
// Frees the medium's data (or releases pUnkForRelease, which then owns it).
void ReleaseStgMedium(STGMEDIUM* medium);
struct POINTL {
  LONG x = 0, y = 0;
};
struct IAdviseSink;
struct IEnumSTATDATA;

class IEnumFORMATETC : public IUnknown {
 public:
  static constexpr IID kIID{0x00000103, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  virtual HRESULT Next(ULONG count, FORMATETC* out, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumFORMATETC** out) = 0;
};

class IDataObject : public IUnknown {
 public:
  static constexpr IID kIID{0x0000010E, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  virtual HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) = 0;
  virtual HRESULT GetDataHere(FORMATETC* format, STGMEDIUM* medium) = 0;
  virtual HRESULT QueryGetData(FORMATETC* format) = 0;
  virtual HRESULT GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) = 0;
  virtual HRESULT SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) = 0;
  virtual HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) = 0;
  virtual HRESULT DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) = 0;
  virtual HRESULT DUnadvise(DWORD connection) = 0;
  virtual HRESULT EnumDAdvise(IEnumSTATDATA** out) = 0;
};

// An enumerator over a fixed list of formats (what data objects hand out from EnumFormatEtc).
HRESULT CreateFormatEnumerator(UINT count, const FORMATETC* formats, IEnumFORMATETC** out);

// ============================================================================ drag and drop ====

class IDropSource : public IUnknown {
 public:
  static constexpr IID kIID{0x00000121, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  // S_OK to go on, DRAGDROP_S_DROP or DRAGDROP_S_CANCEL.
  virtual HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) = 0;
  virtual HRESULT GiveFeedback(DWORD effect) = 0;
};

class IDropTarget : public IUnknown {
 public:
  static constexpr IID kIID{0x00000122, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  virtual HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) = 0;
  virtual HRESULT DragOver(DWORD keyState, POINTL pt, DWORD* effect) = 0;
  virtual HRESULT DragLeave() = 0;
  virtual HRESULT Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) = 0;
};

// S_OK the first time, S_FALSE when already initialised on this thread.
HRESULT OleInitialize(void* reserved);
void OleUninitialize();
// The window takes drops through target (held with AddRef until revoked or the window dies).
HRESULT RegisterDragDrop(HWND hwnd, IDropTarget* target);
HRESULT RevokeDragDrop(HWND hwnd);
// Runs the drag: follows the mouse (points in screen coordinates) over windows registered as
// targets, asking source whether to go on, until it drops or cancels.  Answers DRAGDROP_S_DROP
// with the target's effect (limited to okEffects) or DRAGDROP_S_CANCEL with DROPEFFECT_NONE.
HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect);

// ============================================================================ streams and pictures

class IStream : public IUnknown {
 public:
  static constexpr IID kIID{0x0000000C, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  virtual HRESULT Read(void* buffer, ULONG count, ULONG* read) = 0;
  virtual HRESULT Write(const void* buffer, ULONG count, ULONG* written) = 0;
  // origin: 0 set, 1 current, 2 end.
  virtual HRESULT Seek(int64_t move, DWORD origin, uint64_t* position) = 0;
  virtual uint64_t Size() = 0;
};
// A stream over a global memory block (nullptr: a new empty one); the stream frees the block on
// its last Release when deleteOnRelease.
HRESULT CreateStreamOnHGlobal(HGLOBAL block, BOOL deleteOnRelease, IStream** out);

using OLE_XSIZE_HIMETRIC = LONG;
using OLE_YSIZE_HIMETRIC = LONG;
constexpr short PICTYPE_BITMAP = 1, PICTYPE_ICON = 3;
class IPicture : public IUnknown {
 public:
  static constexpr IID kIID{0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
  virtual HRESULT get_Handle(HGDIOBJ* handle) = 0;
  virtual HRESULT get_Type(short* type) = 0;
  virtual HRESULT get_Width(OLE_XSIZE_HIMETRIC* width) = 0;
  virtual HRESULT get_Height(OLE_YSIZE_HIMETRIC* height) = 0;
  // Draws the source part (HIMETRIC, ySrc from the bottom, cySrc negative for top-down) into
  // the destination rectangle.
  virtual HRESULT Render(HDC hdc, LONG x, LONG y, LONG cx, LONG cy, OLE_XSIZE_HIMETRIC xSrc,
                         OLE_YSIZE_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc,
                         const RECT* bounds) = 0;
};
// BMP, ICO, JPEG, PNG and GIF (its first image) pictures (at 96 dpi: 2540 HIMETRIC per 96 pixels); anything else
// answers CTL_E_INVALIDPICTURE.
HRESULT OleLoadPicture(IStream* stream, LONG size, BOOL runnable, REFIID iid, void** out);

// ============================================================================ automation =======

PL_EXCEPTION(EOleError, Exception);
class EOleSysError : public EOleError {
 public:
  EOleSysError(const AnsiString& message, HRESULT errorCode) : EOleError(message), ErrorCode(errorCode) {}
  HRESULT ErrorCode;
};
// No automation server exists on this system: always raises EOleSysError.
IUnknown* CreateOleObject(const AnsiString& className);
