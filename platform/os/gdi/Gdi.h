// The drawing interface of the operating-system layer: device contexts over 32-bit BGRA surfaces,
// pens, brushes, fonts, bitmaps, regions, raster and text, with the names and rules of the
// original interface.  Failing calls answer the documented failure value; absurd sizes and
// corrupt files raise EOutOfResources or EInvalidGraphic.
//
// Thread contract: a device context and the objects selected into it are used by one thread at a
// time (the UI thread); creating and deleting objects is safe from any thread.
//
// Sections: device contexts / objects / regions / clipping / coordinates / lines and shapes /
// blits and DIBs / text / system look / rectangles / icons / metafiles / screenshots.
#pragma once

#include "platform/os/gdi/GdiTypes.h"
#include "platform/os/gdi/Surface.h"

// ============================================================================ device contexts ==

// A memory DC holding the stock 1x1 bitmap; nullptr (or any DC) as the model.
HDC CreateCompatibleDC(HDC hdc);
// "DISPLAY" gives a DC of the 96-dpi screen without a surface (measuring only).
HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
BOOL DeleteDC(HDC hdc);
DWORD GetObjectType(HGDIOBJ h);
int SaveDC(HDC hdc);
// A negative level counts back from the top (-1: the last SaveDC).
BOOL RestoreDC(HDC hdc, int savedDC);
int GetDeviceCaps(HDC hdc, int index);
BOOL GdiFlush();

int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
UINT SetTextAlign(HDC hdc, UINT align);
UINT GetTextAlign(HDC hdc);
int SetROP2(HDC hdc, int rop2);
int GetROP2(HDC hdc);
int SetPolyFillMode(HDC hdc, int mode);
int GetPolyFillMode(HDC hdc);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);
BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old);
BOOL GetBrushOrgEx(HDC hdc, LPPOINT pt);
int SetArcDirection(HDC hdc, int dir);
int GetArcDirection(HDC hdc);
int SetTextCharacterExtra(HDC hdc, int extra);
int GetTextCharacterExtra(HDC hdc);
// Spreads breakExtra pixels over the next breakCount break characters (blanks) of text output.
BOOL SetTextJustification(HDC hdc, int breakExtra, int breakCount);
COLORREF SetDCBrushColor(HDC hdc, COLORREF color);
COLORREF SetDCPenColor(HDC hdc, COLORREF color);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pt);

// ============================================================================ objects ==========

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
// Deleting an object still selected into a DC is deferred until it is deselected (the handle is
// dead at once); stock objects are never deleted.
BOOL DeleteObject(HGDIOBJ h);
int GetObjectA(HGDIOBJ h, int size, void* out);
int GetObjectW(HGDIOBJ h, int size, void* out);
inline int GetObject(HGDIOBJ h, int size, void* out) { return GetObjectA(h, size, out); }
HGDIOBJ GetStockObject(int index);
BOOL UnrealizeObject(HGDIOBJ h);

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* lp);
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);

HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
// An 8x8 (or larger, tiled) pattern; monochrome bitmaps take the DC's text and background colours.
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);
HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage);

HFONT CreateFontIndirectA(const LOGFONTA* lf);
HFONT CreateFontIndirectW(const LOGFONTW* lf);
inline HFONT CreateFontIndirect(const LOGFONT* lf) { return CreateFontIndirectA(lf); }
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR face);
inline HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                        DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                        DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR face) {
  return CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                     outPrecision, clipPrecision, quality, pitchAndFamily, face);
}
using FONTENUMPROCA = int (*)(const LOGFONTA* lf, const TEXTMETRICA* tm, DWORD fontType, LPARAM lParam);
// Screen DCs list the installed families once each; printer and metafile DCs list none.
int EnumFontFamiliesA(HDC hdc, LPCSTR family, FONTENUMPROCA proc, LPARAM lParam);

// Bitmaps are 32-bit BGRA surfaces whatever the depth asked for; GetObject reports the depth
// given at creation.  1-bit bits are expanded (set bits white, clear bits black).
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
// 32-bit BI_RGB with a negative (top-down) height only; any other layout answers nullptr.  The
// pixels start zeroed; pixel (x, y) is at bits + y * width + x.
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** bits, void* section,
                         DWORD offset);
HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* bmi, UINT usage);
constexpr DWORD CBM_INIT = 4;

HPALETTE CreatePalette(const LOGPALETTE* lp);
HPALETTE SelectPalette(HDC hdc, HPALETTE pal, BOOL forceBackground);
UINT RealizePalette(HDC hdc);
UINT GetPaletteEntries(HPALETTE pal, UINT start, UINT count, PALETTEENTRY* entries);
UINT GetSystemPaletteEntries(HDC hdc, UINT start, UINT count, PALETTEENTRY* entries);
UINT GetNearestPaletteIndex(HPALETTE pal, COLORREF color);

// ============================================================================ regions ==========

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rc);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse, int heightEllipse);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rc);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polyCount, int fillMode);
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* rc);
int GetRgnBox(HRGN rgn, LPRECT rc);
BOOL EqualRgn(HRGN a, HRGN b);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
// Size needed when data is nullptr or too small; otherwise fills RGNDATA (rectangles in y-x bands).
DWORD GetRegionData(HRGN rgn, DWORD count, RGNDATA* data);
HRGN ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data);
BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush);
BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int width, int height);
BOOL PaintRgn(HDC hdc, HRGN rgn);
BOOL InvertRgn(HDC hdc, HRGN rgn);

// ============================================================================ clipping =========

// The region is copied; nullptr removes the application clip.  Region coordinates are device
// coordinates of the DC, as in the original interface.
int SelectClipRgn(HDC hdc, HRGN rgn);
int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode);
int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
// An inverted rectangle is empty: everything is clipped away.
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC hdc, int dx, int dy);
// In logical coordinates: the visible part of the DC.
int GetClipBox(HDC hdc, LPRECT rc);
// 1 and a copy of the application clip in rgn, 0 when there is none, -1 on error.
int GetClipRgn(HDC hdc, HRGN rgn);
BOOL PtVisible(HDC hdc, int x, int y);
BOOL RectVisible(HDC hdc, const RECT* rc);

// ============================================================================ coordinates ======

int SetMapMode(HDC hdc, int mode);
int GetMapMode(HDC hdc);
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old);
BOOL GetWindowOrgEx(HDC hdc, LPPOINT pt);
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old);
BOOL GetViewportOrgEx(HDC hdc, LPPOINT pt);
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT old);
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old);
BOOL SetWindowExtEx(HDC hdc, int x, int y, LPSIZE old);
BOOL GetWindowExtEx(HDC hdc, LPSIZE size);
BOOL SetViewportExtEx(HDC hdc, int x, int y, LPSIZE old);
BOOL GetViewportExtEx(HDC hdc, LPSIZE size);
BOOL DPtoLP(HDC hdc, LPPOINT points, int count);
BOOL LPtoDP(HDC hdc, LPPOINT points, int count);

// ============================================================================ lines and shapes =

// Lines leave out their end pixel; rectangles and ellipses leave out their right and bottom edges.
BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old);
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polyline(HDC hdc, const POINT* points, int count);
BOOL PolylineTo(HDC hdc, const POINT* points, DWORD count);
BOOL PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, DWORD polyCount);
BOOL Polygon(HDC hdc, const POINT* points, int count);
BOOL PolyPolygon(HDC hdc, const POINT* points, const INT* counts, int polyCount);
BOOL PolyBezier(HDC hdc, const POINT* points, DWORD count);
BOOL PolyBezierTo(HDC hdc, const POINT* points, DWORD count);
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
// Arcs run counter-clockwise from the radial through (xs, ys) to the radial through (xe, ye).
BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
BOOL Pie(HDC hdc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
BOOL Chord(HDC hdc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC hdc, int x, int y);
int FillRect(HDC hdc, const RECT* rc, HBRUSH brush);
int FrameRect(HDC hdc, const RECT* rc, HBRUSH brush);
BOOL InvertRect(HDC hdc, const RECT* rc);
// A dotted frame combined by XOR: drawing it twice restores the pixels.
BOOL DrawFocusRect(HDC hdc, const RECT* rc);
BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type);
BOOL FloodFill(HDC hdc, int x, int y, COLORREF color);

// ============================================================================ blits and DIBs ===

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                DWORD rop);
BOOL MaskBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, HBITMAP mask, int xMask,
             int yMask, DWORD rop);
// Source pixels whose colour equals key (low 24 bits) are not drawn.
BOOL TransparentBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                    UINT key);
BOOL AlphaBlend(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                BLENDFUNCTION blend);
int StretchDIBits(HDC hdc, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc, int hSrc,
                  const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop);
int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage);
// Rows of the bitmap as 1, 4, 8, 24 or 32-bit DIB data; bits nullptr fills in the header only.
int GetDIBits(HDC hdc, HBITMAP bitmap, UINT startScan, UINT lines, void* bits, BITMAPINFO* bmi, UINT usage);
int SetDIBits(HDC hdc, HBITMAP bitmap, UINT startScan, UINT lines, const void* bits, const BITMAPINFO* bmi,
              UINT usage);
LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
BOOL GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size);

// ============================================================================ text =============

// Single-byte text is code page 1252.
BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count);
BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count);
inline BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int count) {
  return TextOutA(hdc, x, y, text, count);
}
BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCSTR text, UINT count, const INT* dx);
BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCWSTR text, UINT count,
                 const INT* dx);
inline BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCSTR text, UINT count,
                       const INT* dx) {
  return ExtTextOutA(hdc, x, y, options, rc, text, count, dx);
}
BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size);
BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size);
inline BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int count, LPSIZE size) {
  return GetTextExtentPoint32A(hdc, text, count, size);
}
// How many characters fit in maxExtent (fit may be nullptr) and the extent after each one.
BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, INT* fit, INT* dx, LPSIZE size);
BOOL GetTextExtentExPointA(HDC hdc, LPCSTR text, int count, int maxExtent, INT* fit, INT* dx, LPSIZE size);
BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* tm);
BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* tm);
inline BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm) { return GetTextMetricsA(hdc, tm); }
int GetTextFaceA(HDC hdc, int count, char* face);
BOOL GetCharWidth32A(HDC hdc, UINT first, UINT last, INT* widths);

// Returns the text height; with DT_VCENTER or DT_BOTTOM the offset from rc->top to the bottom of
// the text.  DT_MODIFYSTRING never writes into the caller's text (its size is unknown).
int DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rc, UINT format);
int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rc, UINT format);
inline int DrawText(HDC hdc, LPCSTR text, int count, LPRECT rc, UINT format) {
  return DrawTextA(hdc, text, count, rc, format);
}
int DrawTextExA(HDC hdc, LPCSTR text, int count, LPRECT rc, UINT format, DRAWTEXTPARAMS* params);
int DrawTextExW(HDC hdc, LPCWSTR text, int count, LPRECT rc, UINT format, DRAWTEXTPARAMS* params);

// ============================================================================ system look ======

// One fixed classic scheme (see SysLook.cpp for the table); an index outside it answers 0.
DWORD GetSysColor(int index);
// A stock solid brush of the system colour; never deleted.
HBRUSH GetSysColorBrush(int index);
BOOL SetSysColors(int count, const INT* indices, const COLORREF* values);
int GetSystemMetrics(int index);
// Overrides one metric (the display driver sets the screen size; tests may change others).
void SetSystemMetric(int index, int value);

// Classic three-dimensional edges in the system colours.
BOOL DrawEdge(HDC hdc, LPRECT rc, UINT edge, UINT flags);
// Our own classic painter: faces in the system colours, glyphs in pure black.
BOOL DrawFrameControl(HDC hdc, LPRECT rc, UINT type, UINT state);

// ============================================================================ rectangles =======

BOOL SetRect(LPRECT rc, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT rc);
BOOL CopyRect(LPRECT dest, const RECT* src);
BOOL InflateRect(LPRECT rc, int dx, int dy);
BOOL OffsetRect(LPRECT rc, int dx, int dy);
// FALSE and an empty result when the rectangles do not overlap.
BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b);
BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b);
BOOL SubtractRect(LPRECT dest, const RECT* a, const RECT* b);
BOOL IsRectEmpty(const RECT* rc);
BOOL PtInRect(const RECT* rc, POINT pt);
BOOL EqualRect(const RECT* a, const RECT* b);

// ============================================================================ icons ============

HICON CreateIconIndirect(const ICONINFO* info);
BOOL GetIconInfo(HICON icon, ICONINFO* info);
BOOL DestroyIcon(HICON icon);
HICON CopyIcon(HICON icon);
// The built-in application icon for IDI_APPLICATION (and the other IDI_ names); never destroyed.
HICON LoadIconA(void* instance, LPCSTR name);
inline HICON LoadIcon(void* instance, LPCSTR name) { return LoadIconA(instance, name); }
#define PL_MAKEINTRESOURCE(i) (reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(uint16_t(i))))
inline const LPCSTR IDI_APPLICATION = PL_MAKEINTRESOURCE(32512);
inline const LPCSTR IDI_HAND = PL_MAKEINTRESOURCE(32513);
inline const LPCSTR IDI_QUESTION = PL_MAKEINTRESOURCE(32514);
inline const LPCSTR IDI_EXCLAMATION = PL_MAKEINTRESOURCE(32515);
inline const LPCSTR IDI_ASTERISK = PL_MAKEINTRESOURCE(32516);
inline const LPCSTR IDI_WINLOGO = PL_MAKEINTRESOURCE(32517);
inline const LPCSTR IDI_WARNING = IDI_EXCLAMATION;
inline const LPCSTR IDI_ERROR = IDI_HAND;
inline const LPCSTR IDI_INFORMATION = IDI_ASTERISK;
// Copies an icon or bitmap at another size (LR_COPYDELETEORG deletes the original).
void* CopyImage(void* image, UINT type, int cx, int cy, UINT flags);
BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flicker, UINT flags);
BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);

// ============================================================================ metafiles ========

// A recording DC; reference nullptr is the screen.  frame is in 0.01 mm (nullptr: the bounds of
// what is drawn).  The description is "creator\0title\0\0" (single-byte, stored as UTF-16).
HDC CreateEnhMetaFileA(HDC reference, LPCSTR fileName, const RECT* frame, LPCSTR description);
// The description is passed with its length because it holds embedded NULs.
HDC CreateEnhMetaFileDesc(HDC reference, const AnsiString& fileName, const RECT* frame,
                          const AnsiString& description);
HENHMETAFILE CloseEnhMetaFile(HDC hdc);
BOOL DeleteEnhMetaFile(HENHMETAFILE emf);
HENHMETAFILE CopyEnhMetaFileA(HENHMETAFILE emf, LPCSTR fileName);
// Reads an EMF file; nullptr when it cannot be read; EInvalidGraphic when its records are corrupt.
HENHMETAFILE GetEnhMetaFileA(LPCSTR fileName);
// From bytes in memory; EInvalidGraphic when they are not a sound metafile.
HENHMETAFILE SetEnhMetaFileBits(UINT size, const BYTE* data);
UINT GetEnhMetaFileBits(HENHMETAFILE emf, UINT size, BYTE* data);
UINT GetEnhMetaFileHeader(HENHMETAFILE emf, UINT size, ENHMETAHEADER* header);
// The description in UTF-16 units (both terminators included); count 0 asks for the length.
UINT GetEnhMetaFileDescriptionW(HENHMETAFILE emf, UINT count, WCHAR* text);
// Replays the records scaled so that the picture frame fills rc.
BOOL PlayEnhMetaFile(HDC hdc, HENHMETAFILE emf, const RECT* rc);
struct HANDLETABLE {
  HGDIOBJ objectHandle[1];
};
using ENHMFENUMPROC = int (*)(HDC hdc, HANDLETABLE* table, const ENHMETARECORD* record, int objects,
                              LPARAM data);
// Calls proc for every record in order (hdc may be nullptr: nothing is played); stops when proc
// answers 0.
BOOL EnumEnhMetaFile(HDC hdc, HENHMETAFILE emf, ENHMFENUMPROC proc, void* data, const RECT* rc);
BOOL PlayEnhMetaFileRecord(HDC hdc, HANDLETABLE* table, const ENHMETARECORD* record, UINT objects);
BOOL GdiComment(HDC hdc, UINT size, const BYTE* data);

// ============================================================================ screenshots ======

// The DC's whole surface (a memory DC: its selected bitmap) as a PNG file; FALSE when the DC has
// no surface or the file cannot be written.
BOOL SaveDCToPng(HDC hdc, const AnsiString& fileName);
BOOL SaveBitmapToPng(HBITMAP bitmap, const AnsiString& fileName);
