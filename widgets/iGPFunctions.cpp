#include "widgets/iGPFunctions.h"

#include <cmath>
#include <limits>

#include "platform/os/gdi/Gdi.h"
#include "platform/os/user/User.h"
#include "platform/runtime/MathUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Printers.h"
#include "widgets/iMath.h"

// ============================================================================ text flags ======

UINT TextFlagsToDrawText(int32_t Flags) {
  static const UINT kMap[16] = {0,
                                DT_CENTER,
                                DT_RIGHT,
                                0,
                                DT_VCENTER,
                                DT_BOTTOM,
                                DT_WORDBREAK,
                                DT_SINGLELINE,
                                DT_EXPANDTABS,
                                DT_NOCLIP,
                                0,
                                DT_CALCRECT,
                                DT_END_ELLIPSIS,
                                DT_PATH_ELLIPSIS,
                                DT_WORD_ELLIPSIS,
                                DT_MODIFYSTRING};
  UINT out = 0;
  for (int bit = 0; bit < 16; ++bit)
    if (Flags & (1 << bit)) out |= kMap[bit];
  if (!(Flags & itfPrefix)) out |= DT_NOPREFIX;
  return out;
}

// ============================================================================ colours =========

namespace {
int32_t iGPDimChannel(int32_t c, int32_t n) {
  const int64_t v = n >= 1 ? c / n : int64_t(c) * -int64_t(n);
  return int32_t(std::clamp<int64_t>(v, 0, 255));
}
TColor iGPRGB(int32_t r, int32_t g, int32_t b) { return TColor(r | (g << 8) | (b << 16)); }
}  // namespace

TColor DimColor(TColor Color, int32_t N) {
  return iGPRGB(iGPDimChannel(ColorRed(Color), N), iGPDimChannel(ColorGreen(Color), N),
                iGPDimChannel(ColorBlue(Color), N));
}
uint8_t ColorRed(TColor Color) { return uint8_t(uint32_t(Color) & 0xFF); }
uint8_t ColorGreen(TColor Color) { return uint8_t((uint32_t(Color) >> 8) & 0xFF); }
uint8_t ColorBlue(TColor Color) { return uint8_t((uint32_t(Color) >> 16) & 0xFF); }

// ============================================================================ text ============

int32_t DrawTextFlags(TCanvas* Canvas, const AnsiString& Text, TRect& Rect, int32_t Flags) {
  Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
  return DrawText(Canvas->GetHandle(), Text.c_str(), int(Text.size()), &Rect, TextFlagsToDrawText(Flags));
}

void DrawRotatedText(TCanvas* Canvas, const AnsiString& Text, const TRect& Rect, TRect& Extent,
                     int32_t Angle) {
  const TPoint c{(Rect.Left + Rect.Right) / 2, (Rect.Top + Rect.Bottom) / 2};
  const TSize size = Canvas->TextExtent(Text);
  const int32_t w = size.cx, h = size.cy;
  if (Angle == 0) {
    TRect r = Rect;
    DrawTextFlags(Canvas, Text, r, Text.find('\r') != AnsiString::npos ? 530 : 658);
    Extent = {c.X - w / 2, c.Y - h / 2, c.X + w / 2, c.Y + h / 2};
    return;
  }
  if (Angle < 1 || Angle > 3) return;
  TFont saved;
  saved.Assign(Canvas->GetFont());
  Canvas->GetFont()->SetOrientation(Angle * 900);
  TPoint origin;
  if (Angle == 1) {
    origin = {c.X - h / 2, c.Y + w / 2};
    Extent = {c.X - h / 2, c.Y - w / 2, c.X - h / 2 + h, c.Y - w / 2 + w};
  } else if (Angle == 2) {
    origin = {c.X + w / 2, c.Y + h / 2};
    Extent = {c.X - w / 2, c.Y - h / 2, c.X - w / 2 + w, c.Y - h / 2 + h};
  } else {
    origin = {c.X + h - h / 2, c.Y - w / 2};
    Extent = {c.X - h / 2, c.Y - w / 2, c.X - h / 2 + h, c.Y - w / 2 + w};
  }
  TRect r{origin.X, origin.Y, origin.X, origin.Y};
  DrawTextFlags(Canvas, Text, r, 649);
  Canvas->GetFont()->Assign(&saved);
}

int32_t MultiLineTextWidth(TCanvas* Canvas, const AnsiString& Text) {
  int32_t widest = 0;
  size_t start = 0;
  while (start <= Text.size()) {
    size_t end = Text.find_first_of("\r\n", start);
    if (end == AnsiString::npos) end = Text.size();
    if (end > start) widest = std::max(widest, Canvas->TextWidth(Text.substr(start, end - start)));
    if (end >= Text.size()) break;
    start = end + ((Text[end] == '\r' && end + 1 < Text.size() && Text[end + 1] == '\n') ? 2 : 1);
  }
  return widest;
}

int32_t MultiLineTextHeight(TCanvas* Canvas, const AnsiString& Text) {
  TRect r{0, 0, 0, 0};
  return DrawTextFlags(Canvas, Text, r, 2560);
}

int32_t WrappedTextHeight(TCanvas* Canvas, const AnsiString& Text, int32_t Width) {
  TRect r{0, -800, Width, -100};
  return DrawTextFlags(Canvas, Text, r, 73);
}

// ============================================================================ frames and lines =

namespace {
void iGPPolyline2(TCanvas* Canvas, TColor Color, TPoint a, TPoint b, TPoint c) {
  Canvas->GetPen()->SetColor(Color);
  const TPoint pts[3] = {a, b, c};
  Canvas->Polyline(pts, 3);
}
void iGPFourPolylines(TCanvas* Canvas, const TRect& R, TColor outerTL, TColor outerBR, TColor innerTL,
                      TColor innerBR) {
  Canvas->GetPen()->SetStyle(psSolid);
  iGPPolyline2(Canvas, outerTL, {R.Left, R.Bottom - 1}, {R.Left, R.Top}, {R.Right - 1, R.Top});
  iGPPolyline2(Canvas, outerBR, {R.Left, R.Bottom}, {R.Right, R.Bottom}, {R.Right, R.Top});
  iGPPolyline2(Canvas, innerTL, {R.Left + 1, R.Bottom - 2}, {R.Left + 1, R.Top + 1},
               {R.Right - 2, R.Top + 1});
  iGPPolyline2(Canvas, innerBR, {R.Left + 1, R.Bottom - 1}, {R.Right - 1, R.Bottom - 1},
               {R.Right - 1, R.Top + 1});
}
void iGPLine(TCanvas* Canvas, TColor Color, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Canvas->GetPen()->SetColor(Color);
  Canvas->MoveTo(x1, y1);
  Canvas->LineTo(x2, y2);
}
}  // namespace

void DrawBevelFrame(TCanvas* Canvas, const TRect& Rect, int32_t Kind) {
  TRect r = Rect;
  switch (Kind) {
    case 0:
      Canvas->RequiredState({csHandleValid});
      DrawEdge(Canvas->GetHandle(), &r, EDGE_SUNKEN, BF_RECT);
      break;
    case 1:
      Canvas->RequiredState({csHandleValid});
      DrawEdge(Canvas->GetHandle(), &r, EDGE_RAISED, BF_RECT);
      break;
    case 2: {
      Canvas->GetPen()->SetStyle(psSolid);
      Canvas->GetPen()->SetColor(clBtnShadow);
      const TPoint pts[4] = {
          {r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}};
      Canvas->Polygon(pts, 4);
      break;
    }
    default:
      break;
  }
}

void DrawRaisedFrame(TCanvas* Canvas, const TRect& Rect) {
  iGPFourPolylines(Canvas, Rect, clBtnShadow, clBlack, clBtnHighlight, clBtnShadow);
}

void DrawSunkenFrame(TCanvas* Canvas, const TRect& Rect) {
  iGPFourPolylines(Canvas, Rect, clBtnShadow, clBtnHighlight, clBlack, clBtnShadow);
}

void DrawBevelLine(TCanvas* Canvas, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t Style) {
  if (Style < 0 || Style > 2) return;
  if (X1 == X2) {
    if (Y1 > Y2) std::swap(Y1, Y2);
    if (Style == 0) {
      Canvas->MoveTo(X1, Y1);
      Canvas->LineTo(X2, Y2);
      return;
    }
    const TColor a = Style == 1 ? clWhite : clBlack, b = clWhite, c = Style == 1 ? clBlack : clWhite;
    iGPLine(Canvas, a, X1 - 1, Y1, X1 - 1, Y2);
    iGPLine(Canvas, b, X1, Y1, X1, Y2);
    iGPLine(Canvas, c, X1 + 1, Y1, X1 + 1, Y2);
    return;
  }
  if (X1 > X2) std::swap(X1, X2), std::swap(Y1, Y2);
  if (Style == 0) {
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
    return;
  }
  iGPLine(Canvas, Style == 1 ? clWhite : clBlack, X1, Y1, X2, Y2);
  iGPLine(Canvas, Style == 1 ? clBlack : clWhite, X1, Y1 + 1, X2, Y2 + 1);
}

void DrawFocusFrame(TCanvas* Canvas, const TRect& Rect) { Canvas->DrawFocusRect(Rect); }

void DrawFocusRectangle(TCanvas* Canvas, const TRect& Rect, TColor Color) {
  Canvas->GetPen()->SetColor(Color);
  Canvas->GetBrush()->SetColor(Color);
  DrawFocusFrame(Canvas, Rect);
}

// ============================================================================ gradient ========

namespace {
TColor iGPBlend(int32_t k, int32_t f, TColor from, TColor to) {
  // The colour at step k of f: k/f of the way from "from" to "to", per channel.
  const double t = double(k) / f, s = double(f - k) / f;
  auto ch = [&](uint8_t a, uint8_t b) { return int32_t(Round(t * b + s * a)); };
  return iGPRGB(ch(ColorRed(from), ColorRed(to)), ch(ColorGreen(from), ColorGreen(to)),
                ch(ColorBlue(from), ColorBlue(to)));
}
}  // namespace

void DrawGradient(TCanvas* Canvas, const TRect& Rect, TiFillDirection Direction, TColor StartColor,
                  TColor StopColor) {
  StartColor = ColorToRGB(StartColor);
  StopColor = ColorToRGB(StopColor);
  Canvas->GetBrush()->SetStyle(bsClear);
  const int32_t m = std::max(Rect.Right, Rect.Bottom);
  int32_t f = 0, penWidth = 1;
  switch (Direction) {
    case ifdTopBottom:
    case ifdBottomTop:
      f = Rect.Height() - 1;
      break;
    case ifdLeftRight:
    case ifdRightLeft:
      f = Rect.Width() - 1;
      break;
    case ifdTopLeftBottomRight:
    case ifdBottomRightTopLeft:
    case ifdBottomLeftTopRight:
    case ifdTopRightBottomLeft:
      f = 2 * m - 2;
      break;
    case ifdRectangleOut:
    case ifdRectangleIn:
      f = (m - 1) / 3;
      penWidth = 2;
      break;
    case ifdCircleOut:
    case ifdCircleIn:
      f = (m - 1) / 8;
      penWidth = 16;
      break;
  }
  // Too small for even one step: a plain fill instead of a division by zero.
  if (f <= 0) {
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(StartColor);
    Canvas->FillRect(Rect);
    return;
  }
  const bool odd = (int32_t(Direction) & 1) != 0;
  const TColor from = odd ? StopColor : StartColor, to = odd ? StartColor : StopColor;
  TPen* pen = Canvas->GetPen();
  pen->SetStyle(psSolid);
  pen->SetWidth(penWidth);
  const double cx = (Rect.Right - 1) / 2.0, cy = (Rect.Bottom - 1) / 2.0;
  for (int32_t k = 0; k <= f; ++k) {
    pen->SetColor(iGPBlend(k, f, from, to));
    const double q = 2.0 * k / f;
    switch (Direction) {
      case ifdTopBottom:
      case ifdBottomTop:
        Canvas->MoveTo(Rect.Left, Rect.Top + k);
        Canvas->LineTo(Rect.Right, Rect.Top + k);
        break;
      case ifdLeftRight:
      case ifdRightLeft:
        Canvas->MoveTo(Rect.Left + k, Rect.Top);
        Canvas->LineTo(Rect.Left + k, Rect.Bottom);
        break;
      case ifdTopLeftBottomRight:
      case ifdBottomRightTopLeft:
        Canvas->MoveTo(int32_t(Round(q * (Rect.Right - 1))) - 1, 0);
        Canvas->LineTo(-1, int32_t(Round(q * (Rect.Bottom - 1))));
        break;
      case ifdBottomLeftTopRight:
      case ifdTopRightBottomLeft:
        Canvas->MoveTo(0, (Rect.Bottom - 1) - int32_t(Round(q * (Rect.Bottom - 1))));
        Canvas->LineTo(int32_t(Round(q * (Rect.Right - 1))), Rect.Bottom - 1);
        break;
      case ifdRectangleOut:
      case ifdRectangleIn:
      case ifdCircleOut:
      case ifdCircleIn: {
        const bool circle = Direction == ifdCircleOut || Direction == ifdCircleIn;
        const double scale = (circle ? 1.414 : 1.0) * k / f;
        const double hx = scale * cx, hy = scale * cy;
        const int32_t l = int32_t(Round(cx - hx)), t = int32_t(Round(cy - hy)), r = int32_t(Round(cx + hx)),
                      b = int32_t(Round(cy + hy));
        if (circle)
          Canvas->Ellipse(l, t, r, b);
        else
          Canvas->Rectangle(l, t, r, b);
        break;
      }
    }
  }
  pen->SetWidth(1);
  if (Direction == ifdRectangleOut || Direction == ifdRectangleIn)
    Canvas->SetPixel(int32_t(Round(cx)), int32_t(Round(cy)),
                     Direction == ifdRectangleOut ? StartColor : StopColor);
}

// ============================================================================ shaded circle ===

TPoint PolarPointTrunc(double AngleDegrees, double Radius, double CenterX, double CenterY) {
  const long double a = DegToRad(AngleDegrees);
  return {int32_t(Trunc(CenterX + Radius * std::cos(a))), int32_t(Trunc(CenterY - Radius * std::sin(a)))};
}

void DrawShadedCircle(TCanvas* Canvas, TPoint Center, int32_t Radius, bool Sunken) {
  if (Radius == 0) return;
  const TColor light = clWhite;
  const TColor dark = TColor(int32_t(ColorToRGB(clBtnFace)) - 0x505050);
  Canvas->GetBrush()->SetStyle(bsClear);
  Canvas->GetPen()->SetStyle(psSolid);
  const double reach = Radius / std::sqrt(2.0) + 2;
  double x = -double(Trunc(reach)), y = double(Trunc(reach));
  while (reach > x) {
    const double d = std::sqrt(x * x + y * y);
    const double px = x, py = y;
    x += 0.5;
    y -= 0.5;
    if (d > Radius) continue;
    const double b = std::sqrt(double(Radius) * Radius - d * d);
    const TPoint p = PolarPointTrunc(-45, b, px, py);
    const TPoint q{-p.Y, -p.X};
    const double f = (Radius + px) / Radius / 2;
    const TColor a = Sunken ? light : dark, c = Sunken ? dark : light;
    auto ch = [&](uint8_t u, uint8_t v) { return int32_t(Round(f * u + (1 - f) * v)) & 0xFF; };
    const TColor color = TColor(iGPRGB(ch(ColorRed(a), ColorRed(c)), ch(ColorGreen(a), ColorGreen(c)),
                                       ch(ColorBlue(a), ColorBlue(c))) |
                                0x02000000);
    Canvas->GetPen()->SetColor(color);
    Canvas->MoveTo(Center.X + p.X - 1, Center.Y - p.Y - 1);
    Canvas->LineTo(Center.X + q.X - 1, Center.Y - q.Y - 1);
  }
}

// ============================================================================ geometry ========

TRect NormalizedRect(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  return {std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)};
}
TRect OrientedRect(bool Reverse, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  return Reverse ? NormalizedRect(Y1, X1, Y2, X2) : NormalizedRect(X1, Y1, X2, Y2);
}
TPoint OrientedPoint(bool Reverse, int32_t A, int32_t B) { return Reverse ? TPoint{B, A} : TPoint{A, B}; }
TPoint XYPoint(bool Reverse, int32_t A, int32_t B) { return OrientedPoint(Reverse, A, B); }
TDoublePoint DoublePoint(double X, double Y) { return {X, Y}; }
void SwapIntegers(int32_t& A, int32_t& B) { std::swap(A, B); }

// ============================================================================ time spans ======

namespace {
// Days, hours, minutes, seconds and milliseconds weighted by the unit's size, in 64 bits; a
// result that is negative or beyond 32 bits gives Cap.
int32_t iGPSpanIn(TDateTime span, int64_t perDay, int64_t perHour, int64_t perMin, int64_t perSec,
                  int64_t perMs, int32_t cap) {
  if (!std::isfinite(span) || std::fabs(span) > 1e8) return cap;
  WORD h, m, s, ms;
  DecodeTime(span, h, m, s, ms);
  const int64_t v = int64_t(Trunc(span)) * perDay + h * perHour + m * perMin + s * perSec + ms * perMs;
  if (v < 0 || v > std::numeric_limits<int32_t>::max()) return cap;
  return int32_t(v);
}
}  // namespace

int32_t DateTimeToMilliseconds(TDateTime Span) {
  return iGPSpanIn(Span, 86400000, 3600000, 60000, 1000, 1, 2147483647);
}
int32_t DateTimeToSeconds(TDateTime Span) { return iGPSpanIn(Span, 86400, 3600, 60, 1, 0, 2147483647); }
int32_t DateTimeToMinutes(TDateTime Span) { return iGPSpanIn(Span, 1440, 60, 1, 0, 0, 10000); }
int32_t DateTimeToHours(TDateTime Span) { return iGPSpanIn(Span, 24, 1, 0, 0, 0, 2147483647); }

// ============================================================================ keys and windows =

bool ShiftKeyDown() { return GetKeyState(VK_SHIFT) < 0; }
bool CtrlKeyDown() { return GetKeyState(VK_CONTROL) < 0; }

void FocusControlWindow(TWinControl* Control) {
  if (Control) SetFocus(Control->GetHandle());
}

void SetControlParentFlag(HWND Window, bool On) {
  if (!Window) return;
  LONG_PTR ex = GetWindowLongPtr(Window, GWL_EXSTYLE);
  ex = On ? (ex | LONG_PTR(WS_EX_CONTROLPARENT)) : (ex & ~LONG_PTR(WS_EX_CONTROLPARENT));
  SetWindowLongPtr(Window, GWL_EXSTYLE, ex);
}

void SetControlParentChain(TWinControl* Control) {
  for (TWinControl* c = Control; c; c = c->GetParent())
    if (c->HandleAllocated()) SetControlParentFlag(c->GetHandle(), true);
}

TWinControl* OwnerForm(TComponent* Component) {
  TWinControl* lastWindowed = nullptr;
  for (TComponent* o = Component ? Component->GetOwner() : nullptr; o; o = o->GetOwner()) {
    if (auto* form = dynamic_cast<TCustomForm*>(o)) return form;
    if (auto* w = dynamic_cast<TWinControl*>(o)) lastWindowed = w;
  }
  return lastWindowed;
}

void SetActivePageIndex(TPageControl* PageControl, int32_t Index) {
  if (PageControl && Index < PageControl->PageCount()) PageControl->SetActivePageIndex(Index);
}

int32_t GetActivePageIndex(TPageControl* PageControl) {
  return PageControl ? PageControl->GetActivePageIndex() : -1;
}

// ============================================================================ paper ===========

double MillimetersToInches(double X) { return X / 10 / 2.54; }

void PaperSizeInches(int32_t PaperCode, double& Width, double& Height) {
  switch (PaperCode) {
    case 5:
      Width = 8.5, Height = 14;
      break;
    case 8:
      Width = MillimetersToInches(297), Height = MillimetersToInches(420);
      break;
    case 9:
      Width = MillimetersToInches(210), Height = MillimetersToInches(297);
      break;
    case 11:
      Width = MillimetersToInches(148), Height = MillimetersToInches(210);
      break;
    default:
      Width = 8.5, Height = 11;
      break;
  }
}

namespace {
// The selected printer's device mode, or none when the printer cannot give one.
HGLOBAL iGPPrinterDeviceMode(TPrinter* printer) {
  char device[80], driver[80], port[80];
  HGLOBAL mode = nullptr;
  try {
    printer->GetPrinter(device, driver, port, mode);
  } catch (const EPrinter&) {
    return nullptr;
  }
  return mode && GlobalSize(mode) >= sizeof(DEVMODEA) ? mode : nullptr;
}
}  // namespace

void PrinterPaperSize(double& Width, double& Height) {
  TPrinter* printer = Printer();
  HGLOBAL mode = iGPPrinterDeviceMode(printer);
  if (!mode) {
    try {
      printer->SetPrinterIndex(printer->GetPrinterIndex());
    } catch (const EPrinter&) {
    }
    mode = iGPPrinterDeviceMode(printer);
  }
  auto* dm = mode ? static_cast<DEVMODEA*>(GlobalLock(mode)) : nullptr;
  if (!dm) throw Exception("Could not initialize printer DeviceMode Structure");
  const int32_t paper = dm->dmPaperSize;
  const bool landscape = dm->dmOrientation == DMORIENT_LANDSCAPE;
  GlobalUnlock(mode);
  PaperSizeInches(paper, Width, Height);
  if (landscape) std::swap(Width, Height);
}

// ============================================================================ scale search ====

int32_t NiceTickCount(int32_t DesiredTicks, int32_t MaxTicks, double Span) {
  int32_t best = 99999, answer = 0;
  for (int32_t c = 2; c <= MaxTicks; ++c) {
    const double step = Span / (c - 1);
    if (!(step > 0) || !std::isfinite(step)) break;
    const int64_t e = Trunc(Log10(step));
    const int64_t m = Round(step / Power(10.0L, static_cast<long double>(e)) * 1000);
    switch (m) {
      case 100:
      case 200:
      case 250:
      case 500:
      case 750:
      case 1000:
      case 2000:
      case 2500:
      case 5000:
      case 7500: {
        const int32_t d = std::abs(DesiredTicks - c);
        if (d <= best) best = d, answer = c;
        break;
      }
      default:
        break;
    }
  }
  return answer == 0 ? MaxTicks + 1 : answer;
}

namespace {
// Steps walk at most this far; beyond it the range is far from zero in step units and the fit
// fails instead of looping (or never ending once the step is lost in the value's precision).
constexpr int32_t kScaleWalkLimit = 100000;

template <class Cond>
bool iGPWalk(double& v, double step, Cond cond) {
  for (int32_t i = 0; cond(v); ++i) {
    if (i >= kScaleWalkLimit) return false;
    v += step;
  }
  return true;
}
}  // namespace

bool AutoScaleFitAutoRange(int32_t TickCount, double Span, double Min, double Max, double& NewMin,
                           double& NewMax) {
  if (TickCount < 2) return false;
  const double step = Span / (TickCount - 1);
  if (!(step > 0)) return false;
  if (Min < 0 && Max > 0) {
    NewMin = Span;
    if (!iGPWalk(NewMin, -step, [&](double v) { return v > Min; })) return false;
    NewMax = NewMin + Span;
  } else if (Max > 0 && Min >= 0) {
    NewMax = 0;
    if (!iGPWalk(NewMax, step, [&](double v) { return v < Max; })) return false;
    NewMin = NewMax - Span;
    for (int32_t i = 0; NewMin < 0; ++i) {
      if (i >= kScaleWalkLimit) return false;
      NewMin += step, NewMax += step;
    }
  } else {
    NewMin = 0;
    if (!iGPWalk(NewMin, -step, [&](double v) { return v > Min; })) return false;
    NewMax = NewMin + Span;
    if (NewMax > 0) NewMin -= step, NewMax -= step;
  }
  return NewMax >= Max && NewMin <= Min;
}

bool AutoScaleFitFixedRange(int32_t TickCount, double Span, double Min, double Max, double& NewMin,
                            double& NewMax) {
  if (TickCount < 2) return false;
  const double step = Span / (TickCount - 1);
  if (!(step > 0)) return false;
  if (Min < 0 && Max > 0) {
    NewMin = Span;
    if (!iGPWalk(NewMin, -step, [&](double v) { return v >= Min; })) return false;
    NewMin += step;
    NewMax = NewMin + Span;
  } else if (Min >= 0) {
    NewMin = 0;
    if (!iGPWalk(NewMin, step, [&](double v) { return v < Min; })) return false;
    NewMax = NewMin + Span;
  } else {
    NewMax = 0;
    if (!iGPWalk(NewMax, -step, [&](double v) { return v > Max; })) return false;
    NewMin = NewMax - Span;
  }
  return NewMax <= Max && NewMin >= Min && NewMax + step > Max;
}

namespace {
double iGPScaleUnit(double span) {
  double unit = static_cast<double>(Power(10.0L, static_cast<long double>(Trunc(Log10(span)))));
  if (span < 1) unit /= 10;
  return unit;
}
}  // namespace

void AutoScaleAutoMinMax(int32_t DesiredTicks, int32_t MaxTicks, double Min, double Max, double& NewMin,
                         double& NewMax, int32_t& TickCount) {
  NewMin = Min, NewMax = Max;
  if (Min == Max || !std::isfinite(Max - Min)) {
    TickCount = 2;
    return;
  }
  const double span = std::fabs(Max - Min);
  TickCount = DesiredTicks;
  const double unit = iGPScaleUnit(span);
  for (int32_t i = 2; i <= 40; ++i) {
    const double candidate = unit * 0.5 * i;
    if (span > candidate) continue;
    const int32_t m = NiceTickCount(DesiredTicks, MaxTicks, candidate);
    TickCount = m;
    if (m <= MaxTicks && AutoScaleFitAutoRange(m, candidate, Min, Max, NewMin, NewMax)) return;
  }
}

void AutoScaleFixedMinMax(int32_t DesiredTicks, int32_t MaxTicks, double Min, double Max, double& InnerMin,
                          double& InnerMax, int32_t& TickCount) {
  InnerMin = Min, InnerMax = Max;
  if (Min == Max || !std::isfinite(Max - Min)) {
    TickCount = 2;
    return;
  }
  const double span = std::fabs(Max - Min);
  TickCount = DesiredTicks;
  const double unit = iGPScaleUnit(span);
  for (int32_t n = 100; n >= 2; --n) {
    const double candidate = 0.1 * unit * n;
    if (!(span >= candidate)) continue;
    for (int32_t t = MaxTicks; t >= 2; --t) {
      const int32_t m = NiceTickCount(DesiredTicks, t, candidate);
      TickCount = m;
      if (t >= m && AutoScaleFitFixedRange(m, candidate, Min, Max, InnerMin, InnerMax)) return;
    }
  }
}

int32_t DecimalPlacesForSpan(int32_t Precision, TiPrecisionStyle Style, double Min, double Max) {
  if (Style == ipsFixedDecimalPoints) return Precision;
  if (Style != ipsSignificantDigits || Precision <= 0) return 0;
  const double span = std::fabs(Max - Min);
  int64_t n = 0;
  if (span != 0 && std::isfinite(span)) n = Precision - (Trunc(Log10(span)) + 1);
  if (span < 1) n += 1;
  return int32_t(std::clamp<int64_t>(n, 0, 1000));
}

// ============================================================================ property lists ==

#include "platform/runtime/Filer.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"

namespace {
AnsiString iGPPath(const AnsiString& prefix, const AnsiString& name) {
  return Trim(prefix).empty() ? name : prefix + "." + name;
}

bool iGPWritable(TObject* object, const TPropInfo* p) { return p->HasSetter() && IsStoredProp(object, p); }

AnsiString iGPOneLine(AnsiString s) {
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

bool iGPListHolds(TStrings* list, const AnsiString& path) {
  if (!list) return false;
  for (int32_t i = 0; i < list->Count(); ++i)
    if (SameText(list->Strings(i), path)) return true;
  return false;
}

// Nesting of sub-objects is bounded so that a cycle of object properties cannot recurse for ever.
constexpr int32_t kiGPMaxPropertyDepth = 16;

void iGPWrite(TObject* object, const AnsiString& prefix, TStrings* list, TStrings* exclude, int32_t depth) {
  if (depth > kiGPMaxPropertyDepth) return;
  for (const TPropInfo* p : GetPropList(object, tkProperties)) {
    if (!iGPWritable(object, p)) continue;
    const AnsiString path = iGPPath(prefix, p->Name);
    if (iGPListHolds(exclude, path)) continue;
    switch (p->Kind()) {
      case tkInteger:
      case tkChar:
      case tkWChar:
      case tkEnumeration:
      case tkSet:
        list->Add(path + " = " + IntToStr(GetOrdProp(object, p)));
        break;
      case tkFloat:
        list->Add(path + " = " + FloatToStr(GetFloatProp(object, p)));
        break;
      case tkString:
      case tkLString:
        list->Add(path + " = " + iGPOneLine(GetStrProp(object, p)));
        break;
      case tkClass:
        if (auto* sub = dynamic_cast<TPersistent*>(GetObjectProp(object, p)))
          iGPWrite(sub, path, list, exclude, depth + 1);
        break;
      default:
        break;
    }
  }
}

// The value's decimal separator made the locale's: the first "," becomes "." or the other way.
AnsiString iGPLocalDecimal(AnsiString v) {
  const char sep = FloatToStr(1.1L)[1];
  const char other = sep == '.' ? ',' : '.';
  const size_t at = v.find(other);
  if (at != AnsiString::npos) v[at] = sep;
  return v;
}

void iGPCheckOrdinal(const TPropInfo* p, int64_t v) {
  const TTypeInfo* t = p->PropType;
  bool ok = true;
  if (p->Kind() == tkEnumeration) {
    if (const EnumNames* e = t->Enum()) ok = v >= e->MinValue && v <= e->MaxValue();
  } else if (p->Kind() == tkSet) {
    const TTypeInfo* c = t->CompType();
    const EnumNames* e = c ? c->Enum() : nullptr;
    if (e) ok = v >= 0 && (e->MaxValue() >= 62 || v < (int64_t(1) << (e->MaxValue() + 1)));
  } else if (t->MaxValue > t->MinValue) {
    ok = v >= t->MinValue && v <= t->MaxValue;
  }
  if (!ok) throw EConvertError("'" + IntToStr(v) + "' is not a valid value of " + p->Name);
}

void iGPRead(TObject* object, const AnsiString& prefix, TStrings* list, int32_t depth,
             AnsiString& firstError) {
  if (depth > kiGPMaxPropertyDepth) return;
  for (const TPropInfo* p : GetPropList(object, tkProperties)) {
    if (!iGPWritable(object, p)) continue;
    const AnsiString path = iGPPath(prefix, p->Name);
    if (p->Kind() == tkClass) {
      if (auto* sub = dynamic_cast<TPersistent*>(GetObjectProp(object, p)))
        iGPRead(sub, path, list, depth + 1, firstError);
      continue;
    }
    AnsiString value;
    if (!ExtractNameValue(path, value, list)) continue;
    try {
      switch (p->Kind()) {
        case tkInteger:
        case tkChar:
        case tkWChar:
        case tkEnumeration:
        case tkSet: {
          const int64_t v = StrToInt64(value);
          iGPCheckOrdinal(p, v);
          SetOrdProp(object, p, v);
          break;
        }
        case tkFloat:
          SetFloatProp(object, p, StrToFloat(iGPLocalDecimal(value)));
          break;
        case tkString:
        case tkLString:
          SetStrProp(object, p, value);
          break;
        default:
          break;
      }
    } catch (const Exception& e) {
      if (firstError.empty()) firstError = e.Message;
    }
  }
}
}  // namespace

void WritePropertiesToList(TObject* Object, const AnsiString& Prefix, TStrings* List, TStrings* ExcludeList) {
  iGPWrite(Object, Prefix, List, ExcludeList, 0);
}

void ReadPropertiesFromList(TObject* Object, const AnsiString& Prefix, TStrings* List) {
  AnsiString firstError;
  iGPRead(Object, Prefix, List, 0, firstError);
  if (!firstError.empty()) throw EConvertError(firstError);
}

void SplitNameValue(const AnsiString& Text, char Separator, AnsiString& Name, AnsiString& Value) {
  const size_t at = Text.find(Separator);
  if (at == AnsiString::npos) {
    Name.clear();
    Value.clear();
    return;
  }
  Name = Trim(Text.substr(0, at));
  Value = Trim(Text.substr(at + 1));
}

bool ExtractNameValue(const AnsiString& Name, AnsiString& Value, TStrings* List) {
  for (int32_t i = 0; i < List->Count(); ++i) {
    AnsiString n, v;
    SplitNameValue(List->Strings(i), '=', n, v);
    if (!n.empty() && SameText(n, Name)) {
      Value = v;
      List->Delete(i);
      return true;
    }
  }
  return false;
}

TObject* ObjectPropertyValue(TObject* Object, const AnsiString& PropertyName) {
  const TPropInfo* p = Object ? GetPropInfo(Object->ClassType(), PropertyName) : nullptr;
  if (!p || p->Kind() != tkClass || !p->HasGetter()) return nullptr;
  return GetObjectProp(Object, p);
}

void WritePublishedProperties(TWriter* Writer, TPersistent* Object) {
  try {
    Writer->WriteProperties(Object);
  } catch (...) {
  }
}
