// The cell markup: a small HTML-like language in cell, hint and footer texts, laid out line by line
// and drawn (or only measured, or hit-tested) by DrawMarkup; and the routines around it that work on
// markup text without drawing it (plain text, control tags, colours, escapes) plus the small
// drawing aids the renderer uses (shell icons, stretched bitmaps, rotated fonts).
//
// Thread contract: UI thread only.
//
// Sections: text routines / drawing aids / renderer.
#pragma once

#include "platform/os/user/UserTypes.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"

class THTMLPictureCache;
class TPictureContainer;

// ============================================================================ text routines ===

// The 16 fixed colours ("clred" ...) and 24 system colours ("clbtnface" ...) by exact name; any
// other name is black.
TColor ColorNameToColor(const AnsiString& Name);
// "#RRGGBB" as the colour value 0x00BBGGRR.
TColor HexToColor(const AnsiString& Text);
// Two upper-case hexadecimal digits; a shorter text gives 0.
int32_t HexPairToInt(const AnsiString& Text);
// The text without tags; "<BR>" and "<HR>" (any case) become line breaks.
AnsiString MarkupToText(const AnsiString& Text);
// The TYPE (upper-cased), ID, WIDTH and VALUE (angle escapes decoded) of a "<CONTROL " tag.
void ParseControlTag(const AnsiString& Tag, AnsiString& Type, AnsiString& ID, AnsiString& Width,
                     AnsiString& Value);
// Rewrites the first control with this ID to hold NewValue; false (text unchanged) when none has.
bool SetControlValue(AnsiString& Text, const AnsiString& ID, const AnsiString& NewValue);
AnsiString EscapeAngles(const AnsiString& Text);
AnsiString UnescapeAngles(const AnsiString& Text);
bool ReplaceFirstNoCase(const AnsiString& Old, const AnsiString& New, AnsiString& Text);
// 1-based; 0 when absent.
int32_t PosNoCase(const AnsiString& Sub, const AnsiString& Text);
// The first "<#" becomes "#" and the first ">" after it goes.
AnsiString StripHashTag(const AnsiString& Text);
// Line feeds go; each carriage return becomes "<BR>" with Markup, else goes too.
AnsiString LineBreaksToMarkup(const AnsiString& Text, bool Markup);

// ============================================================================ drawing aids ====

// A shell icon of the small or large system image list at (X, Y); Name is a path or an icon
// index.  Size becomes the list's icon size (0 x 0 here: this system has no such list).
void DrawSystemIcon(TCanvas* Canvas, int32_t X, int32_t Y, TSize& Size, double Factor, bool Print, bool Draw,
                    bool Large, const AnsiString& Name);
void StretchBitmap(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap);
bool IsDirectory(const AnsiString& Path);
// Selects a copy of the canvas font turned by Angle degrees; RestoreRotatedFont goes back.
void SelectRotatedFont(TCanvas* Canvas, int32_t Angle);
void RestoreRotatedFont(TCanvas* Canvas);
// Whether the system draws controls with visual styles when they are active; asked once.
bool CheckXPVersion();

// ============================================================================ renderer ========

// Lays Text out in Rect line by line and draws it (unless MeasureOnly; HitTestOnly only tests),
// reporting what lies under (X, Y): True on anchor text, an image inside an anchor, or a control.
bool DrawMarkup(TCanvas* Canvas, const AnsiString& Text, const TRect& Rect, TCustomImageList* Images,
                int32_t X, int32_t Y, int32_t FocusLink, int32_t HoverLink, int32_t ShadowOffset,
                bool HitTestOnly, bool MeasureOnly, bool Print, bool Selected, bool BlinkOn, bool HoverOnly,
                bool WordWrap, bool Down, double ResFactor, TColor URLColor, TColor HoverColor,
                TColor HoverFontColor, TColor ShadowColor, AnsiString& AnchorVal, AnsiString& StripVal,
                AnsiString& FocusAnchor, int32_t& XSize, int32_t& YSize, int32_t& HyperLinks,
                int32_t& MouseLink, TRect& HoverRect, TRect& CtrlRect, AnsiString& CtrlID,
                AnsiString& CtrlVal, AnsiString& CtrlType, THTMLPictureCache* PictureCache,
                TPictureContainer* PictureContainer, HWND Handle);
