// Drawing and general routines of the widgets and the plot: colour channels and dimming, 3-D
// frames and lines, text drawing with the library's own text-flag word, rotated and measured
// text, gradients, a shaded circle, rectangle and point helpers, time-span conversions, key state,
// window-style helpers, paper sizes, and the nice-number search behind automatic scales.
// They keep no state.
#pragma once

#include "platform/runtime/DateTime.h"
#include "platform/ui/Controls.h"
#include "widgets/iTypes.h"

// ---- the library's text-flag word (a 16-bit set; see DrawTextFlags) ----------------------------
constexpr int32_t itfLeft = 0x0001, itfCenter = 0x0002, itfRight = 0x0004, itfTop = 0x0008,
                  itfVCenter = 0x0010, itfBottom = 0x0020, itfWordBreak = 0x0040, itfSingleLine = 0x0080,
                  itfExpandTabs = 0x0100, itfNoClip = 0x0200, itfPrefix = 0x0400, itfCalcRect = 0x0800,
                  itfEndEllipsis = 0x1000, itfPathEllipsis = 0x2000, itfWordEllipsis = 0x4000,
                  itfModifyString = 0x8000;
// The platform's DrawText flags for a text-flag word: no prefix processing unless itfPrefix.
UINT TextFlagsToDrawText(int32_t Flags);

// ---- colours --------------------------------------------------------------------------------------
// Each of red, green and blue divided by N (N >= 1) or multiplied by -N (N < 1), clamped to 0..255.
TColor DimColor(TColor Color, int32_t N);
uint8_t ColorRed(TColor Color);
uint8_t ColorGreen(TColor Color);
uint8_t ColorBlue(TColor Color);

// ---- text ------------------------------------------------------------------------------------------
// DrawText with the mapped flags; returns the height DrawText answers.
int32_t DrawTextFlags(TCanvas* Canvas, const AnsiString& Text, TRect& Rect, int32_t Flags);
// Text centred in Rect, turned by Angle quarter turns counter-clockwise (0..3); Extent receives
// the box it occupies.
void DrawRotatedText(TCanvas* Canvas, const AnsiString& Text, const TRect& Rect, TRect& Extent,
                     int32_t Angle);
int32_t MultiLineTextWidth(TCanvas* Canvas, const AnsiString& Text);
int32_t MultiLineTextHeight(TCanvas* Canvas, const AnsiString& Text);
int32_t WrappedTextHeight(TCanvas* Canvas, const AnsiString& Text, int32_t Width);

// ---- frames, lines, fills -------------------------------------------------------------------------
// Kind 0 sunken edge, 1 raised edge, 2 a shadow-coloured outline filled with the current brush.
void DrawBevelFrame(TCanvas* Canvas, const TRect& Rect, int32_t Kind);
void DrawRaisedFrame(TCanvas* Canvas, const TRect& Rect);
void DrawSunkenFrame(TCanvas* Canvas, const TRect& Rect);
// Style 0 one line, 1 raised (white above / left), 2 sunken.
void DrawBevelLine(TCanvas* Canvas, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t Style);
void DrawFocusFrame(TCanvas* Canvas, const TRect& Rect);
void DrawFocusRectangle(TCanvas* Canvas, const TRect& Rect, TColor Color);
// A rectangle too small for any step is filled with StartColor.
void DrawGradient(TCanvas* Canvas, const TRect& Rect, TiFillDirection Direction, TColor StartColor,
                  TColor StopColor);
void DrawShadedCircle(TCanvas* Canvas, TPoint Center, int32_t Radius, bool Sunken);
TPoint PolarPointTrunc(double AngleDegrees, double Radius, double CenterX, double CenterY);

// ---- geometry --------------------------------------------------------------------------------------
TRect NormalizedRect(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
TRect OrientedRect(bool Reverse, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
TPoint OrientedPoint(bool Reverse, int32_t A, int32_t B);
TPoint XYPoint(bool Reverse, int32_t A, int32_t B);
TDoublePoint DoublePoint(double X, double Y);
void SwapIntegers(int32_t& A, int32_t& B);

// ---- time spans (results beyond 32 bits or negative give the cap: 2147483647, minutes 10000) ----
int32_t DateTimeToMilliseconds(TDateTime Span);
int32_t DateTimeToSeconds(TDateTime Span);
int32_t DateTimeToMinutes(TDateTime Span);
int32_t DateTimeToHours(TDateTime Span);

// ---- keys and windows -----------------------------------------------------------------------------
bool ShiftKeyDown();
bool CtrlKeyDown();
void FocusControlWindow(TWinControl* Control);
void SetControlParentChain(TWinControl* Control);
void SetControlParentFlag(HWND Window, bool On);
// The first owner that is a form; else the last window control met up the owner chain.
TWinControl* OwnerForm(TComponent* Component);
class TPageControl;
// Activates page Index when Index < PageCount (a negative one leaves no page active).
void SetActivePageIndex(TPageControl* PageControl, int32_t Index);
// The active page's index; -1 when no page is active.
int32_t GetActivePageIndex(TPageControl* PageControl);

// ---- paper ---------------------------------------------------------------------------------------------
double MillimetersToInches(double X);
void PaperSizeInches(int32_t PaperCode, double& Width, double& Height);
// The current printer's paper in inches, exchanged in landscape.  Without a device mode, even after
// selecting the printer again, raises "Could not initialize printer DeviceMode Structure".
void PrinterPaperSize(double& Width, double& Height);

// ---- scale search ----------------------------------------------------------------------------------
int32_t NiceTickCount(int32_t DesiredTicks, int32_t MaxTicks, double Span);
bool AutoScaleFitAutoRange(int32_t TickCount, double Span, double Min, double Max, double& NewMin,
                           double& NewMax);
bool AutoScaleFitFixedRange(int32_t TickCount, double Span, double Min, double Max, double& NewMin,
                            double& NewMax);
void AutoScaleAutoMinMax(int32_t DesiredTicks, int32_t MaxTicks, double Min, double Max, double& NewMin,
                         double& NewMax, int32_t& TickCount);
void AutoScaleFixedMinMax(int32_t DesiredTicks, int32_t MaxTicks, double Min, double Max, double& InnerMin,
                          double& InnerMax, int32_t& TickCount);
int32_t DecimalPlacesForSpan(int32_t Precision, TiPrecisionStyle Style, double Min, double Max);

// ---- property lists (the property text file's lines: path, " = ", value) -------------------------
class TStrings;
class TWriter;
// Appends Object's stored published properties that have a setter, sub-objects opened with a
// dotted path; paths held in ExcludeList (ignoring case) are left out.  Line breaks inside string
// values are written as blanks so that a value never becomes another line.
void WritePropertiesToList(TObject* Object, const AnsiString& Prefix, TStrings* List, TStrings* ExcludeList);
// Sets Object's properties from the lines of List, consuming the lines it uses.  A value that
// does not convert, does not fit its property or is refused by the setter leaves that property
// as it was; reading goes on with the others and the first failure is raised at the end.
void ReadPropertiesFromList(TObject* Object, const AnsiString& Prefix, TStrings* List);
bool ExtractNameValue(const AnsiString& Name, AnsiString& Value, TStrings* List);
void SplitNameValue(const AnsiString& Text, char Separator, AnsiString& Name, AnsiString& Value);
TObject* ObjectPropertyValue(TObject* Object, const AnsiString& PropertyName);
// Writes every stored published property with getter and setter to a definition writer, then
// the object's defined properties; failures are swallowed.
void WritePublishedProperties(TWriter* Writer, TPersistent* Object);
