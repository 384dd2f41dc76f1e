// The framework's graphics classes over the drawing layer: colours, fonts, pens, brushes, the
// canvas, and the pictures (bitmaps, icons, metafiles, JPEG and PNG images).
//
// Thread contract: graphics objects belong to the UI thread; a canvas may be locked (Lock /
// Unlock) by a thread that draws on it.
//
// Sections: colours / fonts, pens and brushes / canvas / graphics and pictures / bitmap / icon /
// metafile / JPEG and PNG images / drawing helpers.
#pragma once

#include <memory>
#include <vector>

#include "platform/os/gdi/Gdi.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/SyncObjs.h"

// ============================================================================ colours =========

// 0x00BBGGRR, or a system colour 0xFF000000 + index (negative as a signed value).
using TColor = int32_t;

constexpr TColor SysColor(int index) { return TColor(int32_t(0xFF000000u | uint32_t(index))); }

constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR), clBackground = SysColor(COLOR_BACKGROUND),
                 clActiveCaption = SysColor(COLOR_ACTIVECAPTION),
                 clInactiveCaption = SysColor(COLOR_INACTIVECAPTION), clMenu = SysColor(COLOR_MENU),
                 clWindow = SysColor(COLOR_WINDOW), clWindowFrame = SysColor(COLOR_WINDOWFRAME),
                 clMenuText = SysColor(COLOR_MENUTEXT), clWindowText = SysColor(COLOR_WINDOWTEXT),
                 clCaptionText = SysColor(COLOR_CAPTIONTEXT), clActiveBorder = SysColor(COLOR_ACTIVEBORDER),
                 clInactiveBorder = SysColor(COLOR_INACTIVEBORDER),
                 clAppWorkSpace = SysColor(COLOR_APPWORKSPACE), clHighlight = SysColor(COLOR_HIGHLIGHT),
                 clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT), clBtnFace = SysColor(COLOR_BTNFACE),
                 clBtnShadow = SysColor(COLOR_BTNSHADOW), clGrayText = SysColor(COLOR_GRAYTEXT),
                 clBtnText = SysColor(COLOR_BTNTEXT),
                 clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT),
                 clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SysColor(COLOR_3DDKSHADOW),
                 cl3DLight = SysColor(COLOR_3DLIGHT), clInfoText = SysColor(COLOR_INFOTEXT),
                 clInfoBk = SysColor(COLOR_INFOBK), clHotLight = SysColor(COLOR_HOTLIGHT),
                 clGradientActiveCaption = SysColor(COLOR_GRADIENTACTIVECAPTION),
                 clGradientInactiveCaption = SysColor(COLOR_GRADIENTINACTIVECAPTION),
                 clMenuHighlight = SysColor(COLOR_MENUHILIGHT), clMenuBar = SysColor(COLOR_MENUBAR);

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clLtGray = 0xC0C0C0,
                 clDkGray = 0x808080, clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6,
                 clCream = 0xF0FBFF, clMedGray = 0xA4A0A0, clNone = 0x1FFFFFFF, clDefault = 0x20000000,
                 clTransparent = clNone;

// System colours resolve through their lowest byte; palette-relative values (0x02xxxxxx) count
// as plain RGB.
TColor ColorToRGB(TColor color);
// "clBtnFace", or "$00BBGGRR" for colours without a name.
AnsiString ColorToString(TColor color);
// A colour name or an integer ("$FF0000", "-16777201"); EConvertError otherwise.
TColor StringToColor(const AnsiString& s);
bool ColorToIdent(TColor color, AnsiString& ident);
bool IdentToColor(const AnsiString& ident, TColor& color);
// Every named colour in the framework's order, handed to proc by name.
void GetColorValues(const std::function<void(const AnsiString&)>& proc);
// The type description that writes colour properties by name.
const TTypeInfo& ColorTypeInfo();
// TFontCharset with the character-set names.
const TTypeInfo& CharsetTypeInfo();

// ============================================================================ fonts, pens and brushes

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, 4>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};
template <>
const EnumNames& EnumNamesOf<TFontStyle>();
template <>
const EnumNames& EnumNamesOf<TFontPitch>();
template <>
const EnumNames& EnumNamesOf<TPenStyle>();
template <>
const EnumNames& EnumNamesOf<TPenMode>();
template <>
const EnumNames& EnumNamesOf<TBrushStyle>();

// Base of fonts, pens and brushes: a value with a change notification.
class TGraphicsObject : public TPersistent {
  PL_CLASS(TGraphicsObject)
 public:
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
};

class TBitmap;

class TFont : public TGraphicsObject {
  PL_CLASS(TFont)
 public:
  TFont();
  ~TFont() override;
  void Assign(TPersistent* Source) override;

  // The logical font, made when first asked for; setting it takes the handle over and reads its
  // description (escapement included).
  HFONT GetHandle();
  void SetHandle(HFONT Value);
  AnsiString GetName() const;
  void SetName(const AnsiString& Value);
  // Points: Height = -Round(Size * PixelsPerInch / 72).
  int32_t GetSize() const;
  void SetSize(int32_t Value);
  int32_t GetHeight() const { return lf_.lfHeight; }
  void SetHeight(int32_t Value);
  TColor GetColor() const { return color_; }
  void SetColor(TColor Value);
  TFontStyles GetStyle() const;
  void SetStyle(TFontStyles Value);
  TFontCharset GetCharset() const { return lf_.lfCharSet; }
  void SetCharset(TFontCharset Value);
  TFontPitch GetPitch() const;
  void SetPitch(TFontPitch Value);
  // Escapement in tenths of a degree.
  int32_t GetOrientation() const { return lf_.lfEscapement; }
  void SetOrientation(int32_t Value);
  int32_t PixelsPerInch = 96;
  // The description the handle is made from.
  const LOGFONT& LogFont() const { return lf_; }

 protected:
  void Changed() override;

 private:
  LOGFONT lf_;
  TColor color_ = clWindowText;
  HFONT handle_ = nullptr;
};

class TPen : public TGraphicsObject {
  PL_CLASS(TPen)
 public:
  TPen();
  ~TPen() override;
  void Assign(TPersistent* Source) override;
  HPEN GetHandle();
  void SetHandle(HPEN Value);
  TColor GetColor() const { return color_; }
  void SetColor(TColor Value);
  // 0 and 1 are the thinnest (one pixel) pen.
  int32_t GetWidth() const { return width_; }
  void SetWidth(int32_t Value);
  TPenStyle GetStyle() const { return style_; }
  void SetStyle(TPenStyle Value);
  TPenMode GetMode() const { return mode_; }
  void SetMode(TPenMode Value);

 protected:
  void Changed() override;

 private:
  TColor color_ = clBlack;
  int32_t width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
  HPEN handle_ = nullptr;
  bool owned_ = true;
};

class TBrush : public TGraphicsObject {
  PL_CLASS(TBrush)
 public:
  TBrush();
  ~TBrush() override;
  void Assign(TPersistent* Source) override;
  HBRUSH GetHandle();
  void SetHandle(HBRUSH Value);
  TColor GetColor() const { return color_; }
  void SetColor(TColor Value);
  TBrushStyle GetStyle() const { return style_; }
  void SetStyle(TBrushStyle Value);
  // An 8 x 8 pattern aligned to the DC's origin; the brush does not own it.
  TBitmap* GetBitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* Value);

 protected:
  void Changed() override;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TBitmap* bitmap_ = nullptr;
  HBRUSH handle_ = nullptr;
  bool owned_ = true;
};

// ============================================================================ canvas ==========

enum TCanvasState { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasStates = TSet<TCanvasState, 4>;
enum TFillStyle { fsSurface, fsBorder };
using TCopyMode = int32_t;
constexpr TCopyMode cmBlackness = BLACKNESS, cmDstInvert = DSTINVERT, cmMergeCopy = MERGECOPY,
                    cmMergePaint = MERGEPAINT, cmNotSrcCopy = NOTSRCCOPY, cmNotSrcErase = NOTSRCERASE,
                    cmPatCopy = PATCOPY, cmPatInvert = PATINVERT, cmPatPaint = PATPAINT, cmSrcAnd = SRCAND,
                    cmSrcCopy = SRCCOPY, cmSrcErase = SRCERASE, cmSrcInvert = SRCINVERT,
                    cmSrcPaint = SRCPAINT, cmWhiteness = WHITENESS;

class TGraphic;

// Drawing on a device context with the framework's pen, brush and font objects.  The handle can
// be pointed at any DC at any time; the canvas selects its objects into it when it draws.
class TCanvas : public TPersistent {
  PL_CLASS(TCanvas)
 public:
  TCanvas();
  ~TCanvas() override;

  HDC GetHandle();
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return handle_ != nullptr; }
  // A per-canvas critical section, counted.
  void Lock();
  void Unlock();
  bool TryLock();
  int32_t GetLockCount() const { return lockCount_; }

  TFont* GetFont() const { return font_.get(); }
  void SetFont(TFont* Value) { font_->Assign(Value); }
  TPen* GetPen() const { return pen_.get(); }
  void SetPen(TPen* Value) { pen_->Assign(Value); }
  TBrush* GetBrush() const { return brush_.get(); }
  void SetBrush(TBrush* Value) { brush_->Assign(Value); }
  TPoint GetPenPos();
  void SetPenPos(TPoint Value);
  TCopyMode GetCopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode Value) { copyMode_ = Value; }
  // The visible part of the canvas in its own coordinates.
  TRect GetClipRect();
  TColor GetPixel(int32_t X, int32_t Y);
  void SetPixel(int32_t X, int32_t Y, TColor Value);
  // ETO_ options of TextOut and TextRect.
  int32_t TextFlags = 0;
  TNotifyEvent OnChange, OnChanging;

  void Arc(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t X3, int32_t Y3, int32_t X4, int32_t Y4);
  void Chord(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t X3, int32_t Y3, int32_t X4, int32_t Y4);
  void Pie(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t X3, int32_t Y3, int32_t X4, int32_t Y4);
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  void Draw(int32_t X, int32_t Y, TGraphic* Graphic);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  void DrawFocusRect(const TRect& Rect);
  void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
  void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void FillRect(const TRect& Rect);
  void FrameRect(const TRect& Rect);
  void FloodFill(int32_t X, int32_t Y, TColor Color, TFillStyle FillStyle);
  void LineTo(int32_t X, int32_t Y);
  void MoveTo(int32_t X, int32_t Y);
  void Polygon(const TPoint* Points, int32_t Count);
  void Polygon(const std::vector<TPoint>& Points) { Polygon(Points.data(), int32_t(Points.size())); }
  void Polyline(const TPoint* Points, int32_t Count);
  void Polyline(const std::vector<TPoint>& Points) { Polyline(Points.data(), int32_t(Points.size())); }
  void PolyBezier(const TPoint* Points, int32_t Count);
  void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void RoundRect(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t X3, int32_t Y3);
  void Refresh();
  TSize TextExtent(const AnsiString& Text);
  int32_t TextHeight(const AnsiString& Text) { return TextExtent(Text).cy; }
  int32_t TextWidth(const AnsiString& Text) { return TextExtent(Text).cx; }
  // Text at (X, Y); the pen position moves to its end.
  void TextOut(int32_t X, int32_t Y, const AnsiString& Text);
  // Text at (X, Y) clipped to Rect, which a non-clear brush fills first.
  void TextRect(const TRect& Rect, int32_t X, int32_t Y, const AnsiString& Text);
  // The source rectangle with pixels of Color replaced by the brush (transparent copies).
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);

  // Makes sure the DC exists and holds the current objects (pictures drawing themselves use it).
  void RequiredState(TCanvasStates Required);
  // Fire OnChanging and OnChange around each drawing operation.
  virtual void Changing();
  virtual void Changed();

 protected:
  // Called when drawing needs a DC and none is set (control canvases make theirs here).
  virtual void CreateHandle() {}
  // Called before every use of the DC (a bitmap's canvas brings its pixels up to date).
  virtual void BeforeUse() {}
  void DeselectHandles();
  TCanvasStates state_;

 private:
  void FontChanged(TObject*);
  void PenChanged(TObject*);
  void BrushChanged(TObject*);
  HDC handle_ = nullptr;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TPen> pen_;
  std::unique_ptr<TBrush> brush_;
  TCopyMode copyMode_ = cmSrcCopy;
  TPoint penPos_{};
  TCriticalSection lock_;
  int32_t lockCount_ = 0;
};

// ============================================================================ graphics and pictures

// A picture that can draw itself on a canvas and live in streams and files.
class TGraphic : public TPersistent {
  PL_CLASS(TGraphic)
 public:
  TGraphic() = default;
  virtual bool GetEmpty() = 0;
  bool Empty() { return GetEmpty(); }
  virtual int32_t GetWidth() = 0;
  virtual void SetWidth(int32_t Value) = 0;
  virtual int32_t GetHeight() = 0;
  virtual void SetHeight(int32_t Value) = 0;
  int32_t Width() { return GetWidth(); }
  int32_t Height() { return GetHeight(); }
  virtual bool GetTransparent() { return transparent_; }
  virtual void SetTransparent(bool Value);
  bool GetModified() const { return modified_; }
  void SetModified(bool Value);
  virtual HPALETTE GetPalette() { return nullptr; }
  virtual void SetPalette(HPALETTE) {}

  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  virtual void LoadFromFile(const AnsiString& FileName);
  virtual void SaveToFile(const AnsiString& FileName);
  // Clipboard data handles (bitmaps, metafiles, global memory blocks); the default refuses.
  virtual void LoadFromClipboardFormat(UINT Format, void* Data, HPALETTE Palette);
  virtual void SaveToClipboardFormat(UINT& Format, void*& Data, HPALETTE& Palette);
  // Draws the picture scaled into Rect.
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;

  TNotifyEvent OnChange;

  // The stored form inside window definitions ("Data" of a picture).
  virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
  virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }

 protected:
  virtual void Changed(TObject* Sender);
  void DefineProperties(TFiler* Filer) override;

 private:
  void ReadDataProc(TStream* Stream) { ReadData(Stream); }
  void WriteDataProc(TStream* Stream) { WriteData(Stream); }
  bool transparent_ = false;
  bool modified_ = false;
};

using TGraphicClass = TGraphic* (*)();
template <class T>
TGraphic* NewGraphic() {
  return new T();
}

// Holds one graphic of any class; a file's extension chooses the class.
class TPicture : public TPersistent {
  PL_CLASS(TPicture)
 public:
  TPicture();
  ~TPicture() override;
  void Assign(TPersistent* Source) override;
  TGraphic* GetGraphic() const { return graphic_.get(); }
  // Copies Value (nullptr empties the picture).
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap; a picture holding another class is emptied and given a bitmap.
  TBitmap* GetBitmap();
  void SetBitmap(TBitmap* Value);
  int32_t GetWidth() const;
  int32_t GetHeight() const;
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName);
  void LoadFromClipboardFormat(UINT Format, void* Data, HPALETTE Palette);
  void SaveToClipboardFormat(UINT& Format, void*& Data, HPALETTE& Palette);
  static bool SupportsClipboardFormat(UINT Format);
  static void RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description,
                                 TGraphicClass Class);
  static void RegisterClipboardFormat(UINT Format, TGraphicClass Class);
  TNotifyEvent OnChange;

 protected:
  void DefineProperties(TFiler* Filer) override;
  virtual void Changed(TObject* Sender);

 private:
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);
  void Adopt(TGraphic* graphic);
  std::unique_ptr<TGraphic> graphic_;
};

// ============================================================================ bitmap ==========

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };
enum TBitmapHandleType { bmDIB, bmDDB };
template <>
const EnumNames& EnumNamesOf<TPixelFormat>();

// A picture in memory with a canvas.  Its pixels are a 32-bit surface; other pixel formats keep
// rows of their own depth for ScanLine and convert when the canvas or a copy needs them.
class TBitmap : public TGraphic {
  PL_CLASS(TBitmap)
 public:
  TBitmap();
  ~TBitmap() override;
  void Assign(TPersistent* Source) override;

  bool GetEmpty() override;
  int32_t GetWidth() override { return width_; }
  void SetWidth(int32_t Value) override { SetSize(Value, height_); }
  int32_t GetHeight() override { return height_; }
  void SetHeight(int32_t Value) override { SetSize(width_, Value); }
  // Keeps the overlapping pixels; new ones are black.  Absurd sizes raise EOutOfResources.
  void SetSize(int32_t AWidth, int32_t AHeight);
  TCanvas* GetCanvas();
  HBITMAP GetHandle();
  // Takes the bitmap over (its size and pixels become this bitmap's).
  void SetHandle(HBITMAP Value);
  HBITMAP ReleaseHandle();
  TBitmapHandleType HandleType = bmDIB;
  TPixelFormat GetPixelFormat() const { return format_; }
  void SetPixelFormat(TPixelFormat Value);
  HPALETTE GetPalette() override;
  void SetPalette(HPALETTE Value) override;
  bool GetMonochrome() const { return format_ == pf1bit; }
  void SetMonochrome(bool Value);
  // The top row is 0; rows are laid out as DIB rows of the pixel format (pfDevice and pf32bit:
  // the 32-bit pixels themselves).
  void* ScanLine(int32_t Row);
  TColor GetTransparentColor();
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode = tmAuto;
  void Mask(TColor TransparentColor);
  void Dormant() {}
  void FreeImage() {}

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // A bitmap resource (RT_BITMAP) by name or number; EResNotFound when there is none.
  void LoadFromResourceName(void* Instance, const AnsiString& ResName);
  void LoadFromResourceID(void* Instance, int32_t ResID);
  void LoadFromClipboardFormat(UINT Format, void* Data, HPALETTE Palette) override;
  void SaveToClipboardFormat(UINT& Format, void*& Data, HPALETTE& Palette) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

  // The 32-bit pixels, brought up to date (nullptr while empty).
  TSurface* Surface();

 protected:
  void Changed(TObject* Sender) override;

 private:
  class TBitmapCanvas;
  void MakeSurface(int32_t w, int32_t h);
  void SyncToSurface();
  void SyncFromSurface();
  size_t RowBytes() const;
  int Bpp() const;
  void LoadImage(const struct TRasterImage& img);
  void CanvasChanged(TObject*);
  HBITMAP bitmap_ = nullptr;
  int32_t width_ = 0, height_ = 0;
  TPixelFormat format_ = pfDevice;
  std::vector<RGBQUAD> palette_;
  HPALETTE paletteHandle_ = nullptr;
  std::vector<uint8_t> native_;  // rows of the pixel format (formats other than 32-bit)
  bool nativeDirty_ = false;     // ScanLine was handed out: the rows may be newer
  uint64_t nativeGen_ = 0;       // surface generation the rows were made from
  TColor transparentColor_ = clDefault;
  std::unique_ptr<TCanvas> canvas_;
};

// ============================================================================ icon ============

class TIcon : public TGraphic {
  PL_CLASS(TIcon)
 public:
  TIcon() = default;
  ~TIcon() override;
  void Assign(TPersistent* Source) override;
  bool GetEmpty() override { return handle_ == nullptr; }
  int32_t GetWidth() override;
  void SetWidth(int32_t) override;
  int32_t GetHeight() override;
  void SetHeight(int32_t) override;
  bool GetTransparent() override { return true; }
  HICON GetHandle() const { return handle_; }
  // Takes the icon over.
  void SetHandle(HICON Value);
  HICON ReleaseHandle();
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 private:
  HICON handle_ = nullptr;
  std::vector<uint8_t> file_;  // the file it was read from, written back unchanged
};

// ============================================================================ metafile ========

// An enhanced metafile; Width and Height are in pixels of the screen.
class TMetafile : public TGraphic {
  PL_CLASS(TMetafile)
 public:
  TMetafile() = default;
  ~TMetafile() override;
  void Assign(TPersistent* Source) override;
  bool GetEmpty() override { return handle_ == nullptr; }
  int32_t GetWidth() override;
  void SetWidth(int32_t Value) override;
  int32_t GetHeight() override;
  void SetHeight(int32_t Value) override;
  bool Enhanced = true;
  HENHMETAFILE GetHandle() const { return handle_; }
  // Takes the metafile over.
  void SetHandle(HENHMETAFILE Value);
  HENHMETAFILE ReleaseHandle();
  AnsiString GetCreatedBy();
  AnsiString GetDescription();
  void Clear();
  // EMF bytes; anything else raises EInvalidGraphic.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromClipboardFormat(UINT Format, void* Data, HPALETTE Palette) override;
  void SaveToClipboardFormat(UINT& Format, void*& Data, HPALETTE& Palette) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 private:
  HENHMETAFILE handle_ = nullptr;
  int32_t width_ = 0, height_ = 0;
};

// A canvas recording into a metafile; destroying it completes the metafile.
class TMetafileCanvas : public TCanvas {
  PL_CLASS(TMetafileCanvas)
 public:
  // ReferenceDevice nullptr is the screen.
  TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice);
  TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice, const AnsiString& CreatedBy,
                  const AnsiString& Description);
  static TMetafileCanvas* CreateWithComment(TMetafile* AMetafile, HDC ReferenceDevice,
                                            const AnsiString& CreatedBy, const AnsiString& Description) {
    return new TMetafileCanvas(AMetafile, ReferenceDevice, CreatedBy, Description);
  }
  ~TMetafileCanvas() override;

 private:
  TMetafile* metafile_;
};

// ============================================================================ JPEG and PNG images

enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum TJPEGPixelFormat { jf24Bit, jf8Bit };

// A JPEG picture: its compressed bytes, decoded on demand; Assign(TBitmap) then Compress makes
// new bytes with the settings below.
class TJPEGImage : public TGraphic {
  PL_CLASS(TJPEGImage)
 public:
  TJPEGImage() = default;
  ~TJPEGImage() override;
  void Assign(TPersistent* Source) override;
  bool GetEmpty() override { return data_.empty() && !bitmap_; }
  int32_t GetWidth() override;
  void SetWidth(int32_t) override {}
  int32_t GetHeight() override;
  void SetHeight(int32_t) override {}
  // 1 .. 100.
  int32_t CompressionQuality = 90;
  TJPEGPerformance Performance = jpBestQuality;
  TJPEGPixelFormat PixelFormat = jf24Bit;
  bool ProgressiveEncoding = false;
  bool Grayscale = false;
  void Compress();
  void DIBNeeded();
  void JPEGNeeded();
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // Registered as a clipboard format of its own: a global memory block of the file's bytes.
  void SaveToClipboardFormat(UINT& Format, void*& Data, HPALETTE& Palette) override;
  void LoadFromClipboardFormat(UINT Format, void* Data, HPALETTE Palette) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  TBitmap* Bitmap();  // the decoded picture
  static constexpr UINT ClipboardFormat = 87;

 private:
  std::vector<uint8_t> data_;
  std::unique_ptr<TBitmap> bitmap_;
};

// A PNG picture (libpng); Assign(TBitmap) takes the pixels, saving encodes them.
class TPngImage : public TGraphic {
  PL_CLASS(TPngImage)
 public:
  TPngImage() = default;
  ~TPngImage() override;
  void Assign(TPersistent* Source) override;
  bool GetEmpty() override { return !bitmap_ || bitmap_->Empty(); }
  int32_t GetWidth() override { return bitmap_ ? bitmap_->GetWidth() : 0; }
  void SetWidth(int32_t) override {}
  int32_t GetHeight() override { return bitmap_ ? bitmap_->GetHeight() : 0; }
  void SetHeight(int32_t) override {}
  // 0 .. 9.
  int32_t CompressionLevel = 7;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  TBitmap* Bitmap();

 private:
  std::unique_ptr<TBitmap> bitmap_;
  bool alpha_ = false;
};

// ============================================================================ drawing helpers =

// A three-dimensional frame Width pixels wide; Rect shrinks by Width on each side.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int32_t Width);
// The standard button face with a bevel of BevelWidth, pressed or not; answers the face inside.
TRect DrawButtonFace(TCanvas* Canvas, const TRect& Client, int32_t BevelWidth, bool IsDown, bool IsFocused);
