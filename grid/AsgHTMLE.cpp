// The cell markup renderer and its text routines.
//
// Sections: text routines / drawing aids / renderer (state, tags, one line, the call).
#include "grid/AsgHTMLE.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "grid/PictureContainer.h"
#include "platform/os/gdi/VisualStyles.h"
#include "platform/os/shell/ShellAPI.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Strings.h"

// ============================================================================ text routines ===

namespace {

struct TMarkupColorName {
  const char* Name;
  uint32_t Value;
};

constexpr TMarkupColorName kMarkupColors[] = {
    {"clred", 0x0000FF},
    {"clblack", 0x000000},
    {"clblue", 0xFF0000},
    {"clgreen", 0x008000},
    {"claqua", 0xFFFF00},
    {"clyellow", 0x00FFFF},
    {"clfuchsia", 0xFF00FF},
    {"clwhite", 0xFFFFFF},
    {"clsilver", 0xC0C0C0},
    {"clgray", 0x808080},
    {"clolive", 0x008080},
    {"clnavy", 0x800000},
    {"clpurple", 0x800080},
    {"clteal", 0x808000},
    {"clmaroon", 0x000080},
    {"cllime", 0x00FF00},
    {"clbackground", 0xFF000001},
    {"clactivecaption", 0xFF000002},
    {"clinactivecaption", 0xFF000003},
    {"clmenu", 0xFF000004},
    {"clwindow", 0xFF000005},
    {"clwindowframe", 0xFF000006},
    {"clmenutext", 0xFF000007},
    {"clwindowtext", 0xFF000008},
    {"clcaptiontext", 0xFF000009},
    {"clactiveborder", 0xFF00000A},
    {"clinactiveborder", 0xFF00000B},
    {"clappworkspace", 0xFF00000C},
    {"clhighlight", 0xFF00000D},
    {"clhighlighttext", 0xFF00000E},
    {"clbtnface", 0xFF00000F},
    {"clbtnshadow", 0xFF000010},
    {"clgraytext", 0xFF000011},
    {"clbtntext", 0xFF000012},
    {"clinactivecaptiontext", 0xFF000013},
    {"clbtnhighlight", 0xFF000014},
    {"cl3ddkshadow", 0xFF000015},
    {"cl3dlight", 0xFF000016},
    {"clinfotext", 0xFF000017},
    {"clinfobk", 0xFF000018},
};
static_assert(std::size(kMarkupColors) == 40);

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The text between the first double quote after From (0-based) and the next one.
bool QuotedAfter(const AnsiString& Text, size_t From, AnsiString& Value) {
  if (From == AnsiString::npos || From > Text.size()) return false;
  const size_t open = Text.find('"', From);
  if (open == AnsiString::npos) return false;
  const size_t close = Text.find('"', open + 1);
  if (close == AnsiString::npos) return false;
  Value = Text.substr(open + 1, close - open - 1);
  return true;
}

// Every occurrence of Old (ASCII case ignored when NoCase) replaced, left to right.
AnsiString ReplaceAll(const AnsiString& Text, const AnsiString& Old, const AnsiString& New, bool NoCase) {
  const AnsiString hay = NoCase ? UpperCase(Text) : Text, needle = NoCase ? UpperCase(Old) : Old;
  AnsiString out;
  out.reserve(Text.size());
  size_t at = 0;
  for (size_t hit; (hit = hay.find(needle, at)) != AnsiString::npos; at = hit + needle.size()) {
    out.append(Text, at, hit - at);
    out += New;
  }
  out.append(Text, at, AnsiString::npos);
  return out;
}

}  // namespace

TColor ColorNameToColor(const AnsiString& Name) {
  for (const TMarkupColorName& c : kMarkupColors)
    if (Name == c.Name) return TColor(c.Value);
  return TColor(0);
}

int32_t HexPairToInt(const AnsiString& Text) {
  if (Text.size() < 2) return 0;
  const int hi = HexDigit(Text[0]), lo = HexDigit(Text[1]);
  return (hi < 0 ? 0 : hi) * 16 + (lo < 0 ? 0 : lo);
}

TColor HexToColor(const AnsiString& Text) {
  const int32_t r = HexPairToInt(Copy(Text, 2, 2)), g = HexPairToInt(Copy(Text, 4, 2)),
                b = HexPairToInt(Copy(Text, 6, 2));
  return TColor(r + g * 256 + b * 65536);
}

AnsiString MarkupToText(const AnsiString& Text) {
  AnsiString s = ReplaceAll(ReplaceAll(Text, "<BR>", "\r\n", true), "<HR>", "\r\n", true);
  AnsiString out;
  out.reserve(s.size());
  size_t at = 0;
  for (;;) {
    const size_t lt = s.find('<', at);
    if (lt == AnsiString::npos) break;
    out.append(s, at, lt - at);
    const size_t gt = s.find('>', lt);
    if (gt == AnsiString::npos) {
      out.append(s, lt, AnsiString::npos);
      return out;
    }
    at = gt + 1;
  }
  out.append(s, at, AnsiString::npos);
  return out;
}

void ParseControlTag(const AnsiString& Tag, AnsiString& Type, AnsiString& ID, AnsiString& Width,
                     AnsiString& Value) {
  const AnsiString upper = UpperCase(Tag);
  auto attr = [&](const char* Name) {
    AnsiString v;
    const size_t at = upper.find(Name);
    if (at != AnsiString::npos) QuotedAfter(Tag, at, v);
    return v;
  };
  Type = UpperCase(attr("TYPE="));
  Width = attr("WIDTH=");
  ID = attr("ID=");
  Value = UnescapeAngles(attr("VALUE="));
}

bool SetControlValue(AnsiString& Text, const AnsiString& ID, const AnsiString& NewValue) {
  const AnsiString value = EscapeAngles(NewValue), upper = UpperCase(Text);
  for (size_t at = 0; (at = upper.find("<CONTROL ", at)) != AnsiString::npos; ++at) {
    const size_t gt = Text.find('>', at);
    const size_t end = gt == AnsiString::npos ? Text.size() : gt + 1;
    AnsiString type, id, width, old;
    ParseControlTag(Text.substr(at, end - at), type, id, width, old);
    if (id != ID) continue;
    Text = Text.substr(0, at) + "<CONTROL ID=\"" + ID + "\" VALUE=\"" + value + "\" WIDTH=\"" + width +
           "\" TYPE=\"" + type + "\">" + Text.substr(end);
    return true;
  }
  return false;
}

AnsiString EscapeAngles(const AnsiString& Text) {
  return ReplaceAll(ReplaceAll(Text, "<", "&lt;", false), ">", "&gt;", false);
}

AnsiString UnescapeAngles(const AnsiString& Text) {
  return ReplaceAll(ReplaceAll(Text, "&lt;", "<", true), "&gt;", ">", true);
}

int32_t PosNoCase(const AnsiString& Sub, const AnsiString& Text) {
  return Pos(UpperCase(Sub), UpperCase(Text));
}

bool ReplaceFirstNoCase(const AnsiString& Old, const AnsiString& New, AnsiString& Text) {
  const int32_t at = PosNoCase(Old, Text);
  if (at == 0) return false;
  Text = Text.substr(0, size_t(at - 1)) + New + Text.substr(size_t(at - 1) + Old.size());
  return true;
}

AnsiString StripHashTag(const AnsiString& Text) {
  const size_t at = Text.find("<#");
  if (at == AnsiString::npos) return Text;
  AnsiString s = Text;
  s.erase(at, 1);
  const size_t gt = s.find('>', at);
  if (gt != AnsiString::npos) s.erase(gt, 1);
  return s;
}

AnsiString LineBreaksToMarkup(const AnsiString& Text, bool Markup) {
  AnsiString out;
  out.reserve(Text.size());
  for (char c : Text) {
    if (c == '\n') continue;
    if (c == '\r') {
      if (Markup) out += "<BR>";
      continue;
    }
    out += c;
  }
  return out;
}

// ============================================================================ drawing aids ====

void DrawSystemIcon(TCanvas* Canvas, int32_t X, int32_t Y, TSize& Size, double Factor, bool Print, bool Draw,
                    bool Large, const AnsiString& Name) {
  SHFILEINFOA info{};
  int32_t index = 0;
  if (!TryStrToInt(Name, index)) {
    const bool exists = FileExists(Name) || DirectoryExists(Name);
    SHGetFileInfoA(Name.c_str(), exists ? 0 : FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                   SHGFI_SYSICONINDEX | (Large ? SHGFI_LARGEICON : SHGFI_SMALLICON) |
                       (exists ? 0 : SHGFI_USEFILEATTRIBUTES));
  }
  // This system keeps no system image list: nothing to size or draw.
  Size = TSize{0, 0};
  (void)Canvas, (void)X, (void)Y, (void)Factor, (void)Print, (void)Draw;
}

void StretchBitmap(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap) {
  if (!Canvas || !Bitmap || Bitmap->Empty()) return;
  Canvas->StretchDraw(Rect, Bitmap);
}

bool IsDirectory(const AnsiString& Path) { return DirectoryExists(Path); }

namespace {
// The orientation each canvas had before its rotated font was selected.
std::map<TCanvas*, std::vector<int32_t>>& RotatedFonts() {
  static std::map<TCanvas*, std::vector<int32_t>> kept;
  return kept;
}
}  // namespace

void SelectRotatedFont(TCanvas* Canvas, int32_t Angle) {
  RotatedFonts()[Canvas].push_back(Canvas->GetFont()->GetOrientation());
  Canvas->GetFont()->SetOrientation(Angle * 10);
}

void RestoreRotatedFont(TCanvas* Canvas) {
  auto it = RotatedFonts().find(Canvas);
  if (it == RotatedFonts().end()) return;
  Canvas->GetFont()->SetOrientation(it->second.back());
  it->second.pop_back();
  if (it->second.empty()) RotatedFonts().erase(it);
}

bool CheckXPVersion() {
  // The platform reports a version that draws controls with visual styles whenever they are on.
  static const bool xp = true;
  return xp;
}

// ============================================================================ renderer ========

namespace {

enum TMarkupAlign : uint8_t { maLeft, maRight, maCenter };

// Point sizes beyond this are clamped: a hostile size must not make the font layer build giant
// glyphs.
constexpr int32_t kMaxMarkupPointSize = 400;
constexpr int32_t kMinMarkupPointSize = 1;

// Everything that carries from one line to the next within a call.
struct TMarkupState {
  AnsiString FontName;
  int32_t FontSize = 8;
  TColor FontColor = clBlack;
  TFontStyles Style;
  int32_t Orientation = 0;
  std::vector<int32_t> SavedOrientations;
  TColor Background = clNone;
  TColor AnchorSavedBack = clNone, AnchorSavedFore = clNone;
  TColor FontSavedBack = clNone;
  TColor HighSavedBack = clNone, HighSavedFore = clNone;
  TColor ParaSavedBack = clNone, ParaBack = clNone;
  int32_t ListLevel = 0;
  int32_t Anchors = 0, Images = 0;
  bool Sub = false, Sup = false, Shadow = false, Error = false, Hidden = false;
  TMarkupAlign Align = maLeft;
  int32_t Indent = 0;
  bool AnchorOpen = false, AnchorHovered = false;
  AnsiString AnchorValue;
  int32_t AnchorX = 0, AnchorTop = 0;
  bool AnchorHit = false;
};

// What pass 1 finds out about one line.
struct TMarkupLine {
  size_t Begin = 0, End = 0;
  int32_t W = 0, H = 0, R = 0, S = 0, Q = 0;
};

class TMarkupRenderer {
 public:
  TCanvas* C = nullptr;
  TRect Rect{};
  TCustomImageList* Images = nullptr;
  int32_t X = 0, Y = 0, FocusLink = -1, HoverLink = 0, ShadowOffset = 1;
  bool HitTestOnly = false, MeasureOnly = false, Print = false, Selected = false, BlinkOn = true,
       HoverOnly = false, WordWrap = true, Down = false;
  double ResFactor = 1.0;
  TColor URLColor = clBlue, HoverColor = clNone, HoverFontColor = clNone, ShadowColor = clGray;
  THTMLPictureCache* Cache = nullptr;
  TPictureContainer* Container = nullptr;
  HWND Handle = nullptr;

  AnsiString AnchorVal, StripVal, FocusAnchor, CtrlID, CtrlVal, CtrlType;
  int32_t XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = -1;
  TRect HoverRect{}, CtrlRect{};

  bool Run(const AnsiString& Source);

 private:
  // Pass 1 (Draw false) consumes one line from At; pass 2 (Draw true) walks Line again from StartX.
  void DoLine(const AnsiString& T, TMarkupLine& L, bool Draw, int32_t StartX, int32_t Top);
  // The tag T[Lt..Gt]; false when it ends the line before it (pass 1 only).
  bool Tag(const AnsiString& T, size_t Lt, size_t Gt, TMarkupLine& L, bool Draw, int32_t& Cx, int32_t Top,
           int32_t LineLeft, bool& LineEnd, bool& ItemSeen);
  void ApplyFont();
  int32_t GhHeight() {
    ApplyFont();
    return C->TextHeight("gh");
  }
  TSize Measure(const AnsiString& Seg);
  void DrawSeg(const AnsiString& Seg, int32_t Left, int32_t Bottom, int32_t W);
  THTMLPicture* FindPicture(const AnsiString& Src);
  TColor ParseColor(const AnsiString& Value) const {
    return !Value.empty() && Value[0] == '#' ? HexToColor(Value) : ColorNameToColor(LowerCase(Value));
  }
  static AnsiString Attr(const AnsiString& Upper, const AnsiString& Tag, const char* Name) {
    AnsiString v;
    const size_t at = Upper.find(Name);
    if (at != AnsiString::npos) QuotedAfter(Tag, at + std::char_traits<char>::length(Name), v);
    return v;
  }
  void FocusFrame(int32_t L, int32_t T, int32_t R, int32_t B) {
    if (R <= L || B <= T) return;
    C->DrawFocusRect(TRect{L - 1, T, R + 1, B});
  }
  bool Drawing() const { return !HitTestOnly; }

  TMarkupState st_;
  TMarkupState entry_;
  UINT format_ = 0;
  bool hit_ = false;
  // The next "<" at or after the current position (npos: none), so long texts are scanned once.
  size_t nextLt_ = 0;
};

void TMarkupRenderer::ApplyFont() {
  TFont* f = C->GetFont();
  if (f->GetName() != st_.FontName) f->SetName(st_.FontName);
  if (f->GetSize() != st_.FontSize) f->SetSize(st_.FontSize);
  if (f->GetStyle() != st_.Style) f->SetStyle(st_.Style);
  if (f->GetColor() != st_.FontColor) f->SetColor(st_.FontColor);
  if (f->GetOrientation() != st_.Orientation) f->SetOrientation(st_.Orientation);
}

TSize TMarkupRenderer::Measure(const AnsiString& Seg) {
  ApplyFont();
  C->RequiredState({csHandleValid, csFontValid});
  RECT r{0, 0, 0, 0};
  DrawTextA(C->GetHandle(), Seg.c_str(), int(Seg.size()), &r, (format_ & ~DT_END_ELLIPSIS) | DT_CALCRECT);
  return TSize{r.Right - r.Left, r.Bottom - r.Top};
}

void TMarkupRenderer::DrawSeg(const AnsiString& Whole, int32_t Left, int32_t Bottom, int32_t W) {
  // Characters past the rectangle's right edge never show (each is at least a pixel wide, two
  // for a doubled "&"): leave them out so that a huge word costs no more than the visible part.
  const size_t visible = size_t(std::max(0, Rect.Right - Left)) * 2 + 64;
  const AnsiString& Seg = Whole.size() > visible ? Whole.substr(0, visible) : Whole;
  ApplyFont();
  C->RequiredState({csHandleValid, csFontValid});
  HDC dc = C->GetHandle();
  const int32_t right = WordWrap ? std::max(Left + W, Rect.Right) : Rect.Right;
  const int32_t top = Bottom - std::max(C->TextHeight("gh"), Measure(Seg).cy);
  if (st_.Shadow) {
    const TColor fore = st_.FontColor;
    st_.FontColor = ShadowColor;
    ApplyFont();
    SetBkMode(dc, TRANSPARENT);
    RECT s{Left + ShadowOffset, top + ShadowOffset, right + ShadowOffset, Bottom + ShadowOffset};
    DrawTextA(dc, Seg.c_str(), int(Seg.size()), &s, format_);
    st_.FontColor = fore;
    ApplyFont();
  }
  if (st_.Background != clNone) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, COLORREF(ColorToRGB(st_.Background)));
  } else {
    SetBkMode(dc, TRANSPARENT);
  }
  RECT r{Left, top, right, Bottom};
  DrawTextA(dc, Seg.c_str(), int(Seg.size()), &r, format_);
  SetBkMode(dc, TRANSPARENT);
  if (st_.Error) {
    // A red zig-zag under the segment, one pixel above and below the text bottom in turn.
    TPen* pen = C->GetPen();
    const TColor oldColor = pen->GetColor();
    const int32_t oldWidth = pen->GetWidth();
    pen->SetColor(TColor(0x0000FF));
    pen->SetWidth(1);
    int32_t x = Left + (Left & 1);
    bool up = true;
    C->MoveTo(x, Bottom - 1);
    for (x += 2; x <= Left + W; x += 2) {
      up = !up;
      C->LineTo(x, up ? Bottom - 1 : Bottom + 1);
    }
    pen->SetColor(oldColor);
    pen->SetWidth(oldWidth);
  }
}

THTMLPicture* TMarkupRenderer::FindPicture(const AnsiString& Src) {
  if (Src.find("://") != AnsiString::npos) {
    if (!Cache) return nullptr;
    THTMLPicture* p = Cache->FindPicture(Src);
    if (!p) {
      p = Cache->AddPicture();
      p->SetAsynch(false);
      p->LoadFromLocation(Src);
    }
    return p->Empty() ? nullptr : p;
  }
  if (Src.find(':') != AnsiString::npos || !Container) return nullptr;
  THTMLPicture* p = Container->FindPicture(Src);
  return p && !p->Empty() ? p : nullptr;
}

bool TMarkupRenderer::Tag(const AnsiString& T, size_t Lt, size_t Gt, TMarkupLine& L, bool Draw, int32_t& Cx,
                          int32_t Top, int32_t LineLeft, bool& LineEnd, bool& ItemSeen) {
  const AnsiString tag = T.substr(Lt, Gt - Lt + 1);
  const AnsiString up = UpperCase(tag);
  const bool closing = up.size() > 2 && up[1] == '/';
  const size_t n = closing ? 2 : 1;
  const char a = up.size() > n ? up[n] : '\0', b = up.size() > n + 1 ? up[n + 1] : '\0';
  const bool draws = Draw && Drawing();
  const int32_t lineBottom = Top + L.H + L.R + L.S;
  const int32_t textBottom = lineBottom - L.S;
  const int32_t avail = Rect.Right - Rect.Left;
  if (closing) {
    switch (a) {
      case 'A':
        if (!st_.AnchorOpen) break;
        if (Draw && (!HoverOnly || st_.AnchorHovered)) {
          st_.Style.Exclude(fsUnderline);
          if (HoverColor != clNone) st_.Background = st_.AnchorSavedBack;
          if (HoverFontColor != clNone) st_.FontColor = st_.AnchorSavedFore;
        }
        if (!Selected) st_.FontColor = entry_.FontColor;
        if (Draw && st_.AnchorHit) {
          HoverRect = TRect{st_.AnchorX, st_.AnchorTop, Cx, lineBottom};
          MouseLink = st_.Anchors;
        }
        if (draws && st_.Anchors == FocusLink + 1) {
          const int32_t gh = GhHeight();
          FocusFrame(st_.AnchorX, lineBottom - L.Q - gh, Cx, lineBottom - L.Q);
        }
        st_.AnchorOpen = false, st_.AnchorHit = false, st_.AnchorHovered = false;
        break;
      case 'B':
        if (b == '>')
          st_.Style.Exclude(fsBold);
        else
          st_.FontColor = entry_.FontColor;
        break;
      case 'E':
        st_.Error = false;
        break;
      case 'F':
        st_.FontName = entry_.FontName, st_.FontSize = entry_.FontSize;
        if (Draw && !Selected) st_.FontColor = entry_.FontColor, st_.Background = st_.FontSavedBack;
        break;
      case 'H':
        if (Draw) st_.FontColor = st_.HighSavedFore, st_.Background = st_.HighSavedBack;
        break;
      case 'I':
        st_.Style.Exclude(fsItalic);
        break;
      case 'P':
        LineEnd = true;
        if (Draw) st_.Background = st_.ParaSavedBack;
        st_.ParaBack = clNone;
        break;
      case 'R':
        if (!st_.SavedOrientations.empty()) {
          st_.Orientation = st_.SavedOrientations.back();
          st_.SavedOrientations.pop_back();
        }
        break;
      case 'S':
        if (b == 'U')
          st_.Sub = st_.Sup = false;
        else if (b == 'H')
          st_.Shadow = false;
        else
          st_.Style.Exclude(fsStrikeOut);
        break;
      case 'U':
        if (b == '>')
          st_.Style.Exclude(fsUnderline);
        else if (st_.ListLevel > 0)
          --st_.ListLevel;
        else
          st_.Style.Exclude(fsUnderline);
        break;
      case 'Z':
        st_.Hidden = false;
        break;
      default:
        break;
    }
    return true;
  }
  switch (a) {
    case 'A': {
      ++st_.Anchors;
      st_.AnchorOpen = true;
      st_.AnchorValue.clear();
      QuotedAfter(tag, 0, st_.AnchorValue);
      st_.AnchorHovered = st_.Anchors == HoverLink;
      st_.AnchorHit = false;
      if (Draw && (!HoverOnly || st_.AnchorHovered)) {
        st_.Style.Include(fsUnderline);
        if (HoverColor != clNone) st_.AnchorSavedBack = st_.Background, st_.Background = HoverColor;
        if (HoverFontColor != clNone) st_.AnchorSavedFore = st_.FontColor, st_.FontColor = HoverFontColor;
      }
      if (!Selected && !(HoverFontColor != clNone && HoverOnly && st_.AnchorHovered))
        st_.FontColor = URLColor;
      st_.AnchorX = Cx, st_.AnchorTop = Top;
      break;
    }
    case 'B':
      if (b == '>') {
        st_.Style.Include(fsBold);
      } else if (b == 'R') {
        LineEnd = true;
        if (!Draw) StripVal += '\r';
      } else if (b == 'L') {
        if (!BlinkOn) st_.FontColor = entry_.Background;
      } else if (b == 'O' && Draw) {
        const AnsiString bg = Attr(up, up, "BACKGROUND");
        if (!bg.empty() && draws) {
          if (THTMLPicture* p = FindPicture(bg)) {
            const int32_t pw = p->Width(), ph = p->Height();
            if (pw > 0 && ph > 0) {
              HDC dc = C->GetHandle();
              const int saved = SaveDC(dc);
              IntersectClipRect(dc, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
              for (int32_t y = Rect.Top; y < Rect.Bottom; y += ph)
                for (int32_t x = Rect.Left; x < Rect.Right; x += pw) p->Draw(C, TRect{x, y, x + pw, y + ph});
              RestoreDC(dc, saved);
            }
          }
        }
        AnsiString color;
        const size_t at = up.find("BGCOLOR");
        if (at != AnsiString::npos && QuotedAfter(up, at, color)) {
          TColor c = clNone;
          if (color.find('#') != AnsiString::npos)
            c = HexToColor(color.substr(color.find('#')));
          else if (color.find("CL") != AnsiString::npos)
            c = ColorNameToColor(LowerCase(color));
          if (c != clNone) {
            if (draws) {
              C->GetBrush()->SetColor(c);
              C->GetBrush()->SetStyle(bsSolid);
              C->FillRect(Rect);
            }
            entry_.Background = c;
          }
        }
      }
      break;
    case 'C': {
      if (up.rfind("<CONTROL", 0) != 0) break;
      AnsiString type, id, width, value;
      ParseControlTag(tag, type, id, width, value);
      int32_t w = 0;
      if (!TryStrToInt(width, w) || w <= 0) break;
      w = std::min(w, 65535);
      const int32_t gh = GhHeight();
      int32_t h = type == "EDIT"                         ? gh + 6
                  : type == "COMBO"                      ? 25
                  : (type == "CHECK" || type == "RADIO") ? 16
                  : type == "BUTTON"                     ? 24
                                                         : 0;
      if (type == "CHECK" || type == "RADIO") w = 16;
      if (!Draw) {
        // A control at the start of a line is always taken, so that every line consumes text.
        if (L.W > 0 && L.W + w > avail) return false;
        L.W += w;
        L.H = std::max(L.H, h);
        Cx += w;
        break;
      }
      const int32_t left = Cx, bottom = textBottom;
      const bool over = X > left - 2 && X < left - 2 + w && Y > bottom - h - 2 && Y < bottom - 2;
      if (X >= left && X < left + w && Y > Top && Y < Top + h) {
        AnchorVal = "ctrl";
        CtrlRect = TRect{left, Top, left + w, Top + h};
        CtrlVal = value, CtrlID = id, CtrlType = type;
        hit_ = true;
      }
      if (draws) {
        HDC dc = C->GetHandle();
        const bool styled = CheckXPVersion() && IsAppThemed() && IsThemeActive();
        auto theme = [&](const wchar_t* cls, int part, int state, RECT r) {
          HTHEME th = OpenThemeData(Handle, reinterpret_cast<LPCWSTR>(cls));
          if (!th) return false;
          DrawThemeBackground(th, dc, part, state, &r, nullptr);
          CloseThemeData(th);
          return true;
        };
        TPen* pen = C->GetPen();
        pen->SetColor(TColor(0x808080));
        pen->SetWidth(1);
        C->GetBrush()->SetStyle(bsClear);
        const int32_t H = L.H;
        auto text = [&](RECT r, UINT fmt) {
          ApplyFont();
          C->RequiredState({csHandleValid, csFontValid});
          SetBkMode(dc, TRANSPARENT);
          DrawTextA(dc, value.c_str(), int(value.size()), &r, fmt | DT_SINGLELINE | DT_NOPREFIX);
        };
        if (type == "EDIT" || type == "COMBO") {
          C->Rectangle(left, bottom - H + 3, left + w, bottom + 1);
          if (type == "EDIT") {
            text(RECT{left + 2, bottom - H + 4, left + w, bottom}, DT_VCENTER);
          } else {
            text(RECT{left + 2, bottom - H + 6, left + w - 17, bottom}, DT_VCENTER);
            RECT br{left + w - 19, bottom - H + 6, left + w - 3, bottom - 2};
            if (!(styled && theme(L"combobox", 1, over ? 2 : 1, br)))
              DrawFrameControl(dc, &br, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
          }
        } else if (type == "CHECK" || type == "RADIO") {
          const bool check = type == "CHECK";
          const bool on = UpperCase(value) == "TRUE";
          RECT br = check ? RECT{left + 2, bottom - 15, left + 15, bottom}
                          : RECT{left + 2, bottom - 14, left + 14, bottom};
          const int state = (on ? 4 : 0) + (over ? (Down ? 3 : 2) : 1);
          if (!(styled && theme(L"button", check ? 3 : 2, state, br)))
            DrawFrameControl(
                dc, &br, DFC_BUTTON,
                (check ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO) | DFCS_FLAT | (on ? DFCS_CHECKED : 0));
        } else if (type == "BUTTON") {
          RECT br{left + 2, bottom - 20, left + w - 2, bottom};
          if (!(styled && theme(L"button", 1, Down ? 3 : over ? 2 : 1, br)))
            DrawFrameControl(dc, &br, DFC_BUTTON, DFCS_BUTTONPUSH | (over && Down ? DFCS_PUSHED : 0));
          text(RECT{br.Left + 2, br.Top + 2, br.Right - 2, br.Bottom - 2}, DT_CENTER | DT_VCENTER);
        }
        C->GetBrush()->SetStyle(bsSolid);
      }
      Cx += w;
      break;
    }
    case 'E':
      st_.Error = true;
      break;
    case 'F': {
      AnsiString v;
      if (!(v = Attr(up, up, "FACE")).empty()) st_.FontName = v;
      const size_t colorAt = up.find(" COLOR");
      if (colorAt != AnsiString::npos && !Selected && QuotedAfter(up, colorAt, v))
        st_.FontColor = ParseColor(v);
      const size_t bgAt = up.find("BGCOLOR");
      if (bgAt != AnsiString::npos && Draw && !Selected && QuotedAfter(up, bgAt, v)) {
        st_.FontSavedBack = st_.Background;
        st_.Background = ParseColor(v);
      }
      const size_t sizeAt = up.find("SIZE");
      if (sizeAt != AnsiString::npos) {
        size_t at = up.find('=', sizeAt);
        if (at != AnsiString::npos) {
          ++at;
          while (at < up.size() && (up[at] == '"' || up[at] == ' ')) ++at;
          int64_t size = 0;
          size_t digits = 0;
          for (; at < up.size() && up[at] >= '0' && up[at] <= '9' && digits < 9; ++at, ++digits)
            size = size * 10 + (up[at] - '0');
          if (digits > 0) {
            static constexpr int32_t kSizes[] = {8, 10, 12, 14, 16};
            const int32_t pt = size >= 1 && size <= 5 ? kSizes[size - 1]
                                                      : int32_t(std::min<int64_t>(size, kMaxMarkupPointSize));
            st_.FontSize = std::clamp(pt, kMinMarkupPointSize, kMaxMarkupPointSize);
          }
        }
      }
      break;
    }
    case 'H':
      if (b == 'I') {
        if (Draw) {
          st_.HighSavedFore = st_.FontColor, st_.HighSavedBack = st_.Background;
          st_.Background = clHighlight, st_.FontColor = clHighlightText;
        }
      } else if (b == 'R') {
        LineEnd = true;
        if (draws) {
          TPen* pen = C->GetPen();
          pen->SetColor(clBlack);
          pen->SetWidth(1);
          C->MoveTo(Rect.Left, lineBottom + 1);
          C->LineTo(Rect.Right, lineBottom + 1);
        }
      }
      break;
    case 'I':
      if (b == '>') {
        st_.Style.Include(fsItalic);
      } else if (b == 'N') {
        AnsiString v;
        const size_t x = up.find('X');
        int32_t px = 0;
        if (x != AnsiString::npos && QuotedAfter(up, x, v) && TryStrToInt(v, px)) {
          const int32_t target = LineLeft + std::clamp(px, 0, 65535);
          if (target > Cx) {
            if (!Draw) L.W += target - Cx;
            Cx = target;
          }
        }
      } else if (b == 'M') {
        ++st_.Images;
        AnsiString src = Attr(up, up, "SRC");
        const AnsiString alt = Attr(up, up, "ALT");
        int32_t iw = 0, ih = 0;
        THTMLPicture* pic = nullptr;
        int32_t index = -1;
        bool shell = false, large = false;
        const int32_t dpiX = GetDeviceCaps(C->GetHandle(), LOGPIXELSX),
                      dpiY = GetDeviceCaps(C->GetHandle(), LOGPIXELSY);
        if (src.rfind("IDX:", 0) == 0) {
          if (Images && TryStrToInt(src.substr(4), index) && index >= 0 && index < Images->Count()) {
            iw = MulDiv(Images->GetWidth(), dpiX, 96), ih = MulDiv(Images->GetHeight(), dpiY, 96);
            if (Print)
              iw = int32_t(Round(Images->GetWidth() * ResFactor)),
              ih = int32_t(Round(Images->GetHeight() * ResFactor));
          } else {
            index = -1;
          }
        } else if (src.rfind("SSYS:", 0) == 0 || src.rfind("LSYS:", 0) == 0) {
          shell = true, large = src[0] == 'L';
          TSize s{};
          DrawSystemIcon(C, Cx, Top, s, ResFactor, Print, false, large, src.substr(5));
          iw = MulDiv(s.cx, dpiX, 96), ih = MulDiv(s.cy, dpiY, 96);
        } else if ((pic = FindPicture(src)) != nullptr) {
          int32_t w = 0, h = 0;
          TryStrToInt(Attr(up, up, "WIDTH"), w);
          TryStrToInt(Attr(up, up, "HEIGHT"), h);
          if (w > 0 && h > 0)
            iw = std::min(w, 65535), ih = std::min(h, 65535);
          else
            iw = MulDiv(pic->Width(), dpiX, 96), ih = MulDiv(pic->Height(), dpiY, 96);
        }
        if (iw <= 0 || ih <= 0) break;
        if (!Draw) {
          if (L.W > 0 && L.W + iw > avail) {
            --st_.Images;
            return false;
          }
          L.W += iw;
          L.H = std::max(L.H, ih);
          const int32_t gh = GhHeight();
          if (up.find("\"TOP") != AnsiString::npos) L.Q = L.H - gh;
          if (up.find("\"MIDDLE") != AnsiString::npos) L.Q = (L.H - gh) / 2;
          Cx += iw;
          break;
        }
        const bool over = X >= Cx && X < Cx + iw && Y >= Top && Y < Top + ih;
        if (over && st_.AnchorOpen) {
          AnchorVal = st_.AnchorValue;
          hit_ = true;
        }
        // The hot picture of the image under the point.
        if (over && pic && !alt.empty())
          if (THTMLPicture* hot = FindPicture(alt)) pic = hot;
        if (draws) {
          if (index >= 0) {
            if (Print) {
              TBitmap bmp;
              Images->GetBitmap(index, &bmp);
              C->StretchDraw(TRect{Cx, Top, Cx + iw, Top + ih}, &bmp);
            } else {
              Images->Draw(C, Cx, Top, index);
            }
          } else if (shell) {
            TSize s{};
            DrawSystemIcon(C, Cx, Top, s, ResFactor, Print, true, large, src.substr(5));
          } else if (pic) {
            if (pic->FrameCount() > 1) {
              C->GetBrush()->SetColor(entry_.Background == clNone ? clWhite : entry_.Background);
              C->GetBrush()->SetStyle(bsSolid);
              C->FillRect(TRect{Cx, Top, Cx + iw, Top + ih});
              pic->Draw(C, TRect{Cx + pic->FrameXPos(), Top + pic->FrameYPos(), Cx + iw, Top + ih});
            } else {
              pic->SetStretch(true);
              pic->Draw(C, TRect{Cx, Top, Cx + iw, Top + ih});
              pic->SetStretch(false);
            }
          }
        }
        Cx += iw;
      }
      break;
    case 'L': {
      if (!Draw && ItemSeen) return false;
      ItemSeen = true;
      const int32_t level = std::min(st_.ListLevel, 64);
      if (draws && level > 0) {
        const TFontStyles keepStyle = st_.Style;
        const AnsiString keepName = st_.FontName;
        if (level % 2) st_.FontName = "Symbol";
        st_.Style = TFontStyles{};
        const AnsiString bullet = level % 2 ? AnsiString(1, char(0xB7)) : AnsiString("o");
        const TSize bs = Measure(bullet);
        DrawSeg(bullet, Cx + 12 * (level - 1), textBottom - L.Q, bs.cx);
        st_.FontName = keepName, st_.Style = keepStyle;
      }
      if (!Draw) L.W += 12 * level;
      Cx += 12 * level;
      break;
    }
    case 'P': {
      AnsiString v;
      if (!(v = Attr(up, up, "ALIGN")).empty()) {
        if (v.find("RIGHT") != AnsiString::npos) st_.Align = maRight;
        if (v.find("LEFT") != AnsiString::npos) st_.Align = maLeft;
        if (v.find("CENTER") != AnsiString::npos) st_.Align = maCenter;
      }
      int32_t indent = 0;
      if (TryStrToInt(Attr(up, up, "INDENT"), indent)) st_.Indent = std::clamp(indent, 0, 65535);
      const size_t bgAt = up.find("BGCOLOR");
      if (bgAt != AnsiString::npos && QuotedAfter(up, bgAt, v)) {
        st_.ParaBack = ParseColor(v);
        if (draws) {
          st_.ParaSavedBack = st_.Background;
          C->GetBrush()->SetColor(st_.ParaBack);
          C->GetBrush()->SetStyle(bsSolid);
          C->FillRect(TRect{Rect.Left, Top, Rect.Right, Top + L.H});
        }
      }
      break;
    }
    case 'R': {
      const size_t at = up.find('A', 1);
      AnsiString v;
      int32_t angle = 0;
      if (at != AnsiString::npos && QuotedAfter(up, at, v) && TryStrToInt(v, angle)) {
        st_.SavedOrientations.push_back(st_.Orientation);
        if (st_.SavedOrientations.size() > 64) st_.SavedOrientations.erase(st_.SavedOrientations.begin());
        st_.Orientation = (angle % 360) * 10;
      }
      break;
    }
    case 'S':
      if (b == '>')
        st_.Style.Include(fsStrikeOut);
      else if (b == 'H')
        st_.Shadow = true;
      else if (up == "<SUB>")
        st_.Sub = true;
      else if (up == "<SUP>")
        st_.Sup = true;
      break;
    case 'U':
      if (b == '>')
        st_.Style.Include(fsUnderline);
      else
        ++st_.ListLevel;
      break;
    case 'Z':
      st_.Hidden = true;
      break;
    default:
      break;
  }
  return true;
}

void TMarkupRenderer::DoLine(const AnsiString& T, TMarkupLine& L, bool Draw, int32_t StartX, int32_t Top) {
  const size_t stop = Draw ? L.End : T.size();
  size_t at = L.Begin;
  // Pass 1 keeps the position found on earlier lines; pass 2 looks only within its own line.
  auto findLt = [&](size_t from) {
    const void* p = std::memchr(T.data() + from, '<', stop - from);
    return p ? size_t(static_cast<const char*>(p) - T.data()) : AnsiString::npos;
  };
  size_t nextLt = Draw ? findLt(at) : nextLt_;
  if (nextLt != AnsiString::npos && nextLt < at) nextLt = findLt(at);
  int32_t cx = StartX;
  const int32_t avail = Rect.Right - Rect.Left;
  int32_t spaceW = 0;
  bool lineEnd = false, itemSeen = false, cut = false;
  bool endsWithSpace = false;
  if (Draw && st_.ParaBack != clNone && Drawing()) {
    C->GetBrush()->SetColor(st_.ParaBack);
    C->GetBrush()->SetStyle(bsSolid);
    C->FillRect(TRect{Rect.Left, Top, Rect.Right, Top + L.H});
  }
  const int32_t textBottom = Top + L.H + L.R;
  while (at < stop && !lineEnd) {
    if (T[at] == '<') {
      if (at + 2 >= T.size()) {
        at = T.size();
        break;
      }
      const size_t gt = T.find('>', at);
      if (gt == AnsiString::npos) {
        at = T.size();
        break;
      }
      if (!Tag(T, at, gt, L, Draw, cx, Top, StartX, lineEnd, itemSeen)) break;
      at = gt + 1;
      continue;
    }
    if (nextLt != AnsiString::npos && nextLt < at) nextLt = findLt(at);
    size_t next = nextLt;
    if (next == AnsiString::npos || next > stop) next = stop;
    if (WordWrap) {
      const size_t sp = T.find(' ', at);
      if (sp != AnsiString::npos && sp < next) next = sp + 1;
    }
    AnsiString seg = T.substr(at, next - at);
    if (seg.find('&') != AnsiString::npos)
      seg = ReplaceAll(ReplaceAll(ReplaceAll(seg, "&nbsp;", " ", false), "&lt;", "<", false), "&gt;", ">",
                       false);
    if (st_.Hidden || cut) {
      if (!Draw && st_.Hidden) StripVal += seg;
      at = next;
      continue;
    }
    const TSize sz = Measure(seg);
    if (!Draw) {
      const bool fits = L.W + sz.cx <= avail || sz.cx >= avail || !endsWithSpace;
      if (!fits && WordWrap) break;
      const int32_t t = sz.cy;
      L.H = std::max(L.H, t);
      if (st_.Sub) L.S = std::max(L.S, t / 4);
      if (st_.Sup) L.R = std::max(L.R, t / 4);
      StripVal += seg;
      if (!fits && !WordWrap) cut = true;
      L.W += sz.cx;
      spaceW = seg.back() == ' ' ? Measure(" ").cx : 0;
      endsWithSpace = seg.back() == ' ';
      cx += sz.cx;
      at = next;
      continue;
    }
    // Drawing pass.
    if (st_.AnchorOpen && Y >= Top && Y < Top + L.H + L.R + L.S && X >= cx && X < cx + sz.cx) {
      AnchorVal = st_.AnchorValue;
      st_.AnchorHit = true;
      const int32_t gh = GhHeight();
      const int32_t lineBottom = Top + L.H + L.R + L.S;
      if (Y > lineBottom - L.Q - gh && Y < lineBottom - L.Q) hit_ = true;
    }
    int32_t bottom = textBottom - L.Q;
    if (st_.Sup) bottom -= L.R;
    if (st_.Sub) bottom += L.S;
    if (Drawing()) DrawSeg(seg, cx, bottom, sz.cx);
    if (st_.AnchorOpen && st_.Anchors == FocusLink + 1) FocusAnchor = st_.AnchorValue;
    if (!WordWrap && cx + sz.cx > Rect.Right) cut = true;
    cx += sz.cx;
    at = next;
  }
  if (!Draw) {
    nextLt_ = nextLt;
    L.End = at;
    L.W = std::max(0, L.W - spaceW);
    XSize = std::max(XSize, L.W);
  } else if (st_.AnchorOpen && st_.Anchors == FocusLink + 1 && Drawing()) {
    const int32_t left = st_.AnchorTop == Top ? st_.AnchorX : Rect.Left + 1;
    FocusFrame(left, Top, cx, Top + L.H + L.R + L.S);
  }
}

bool TMarkupRenderer::Run(const AnsiString& Source) {
  TFont* font = C->GetFont();
  TFont savedFont;
  savedFont.Assign(font);
  const TColor savedBrush = C->GetBrush()->GetColor();
  const TBrushStyle savedStyle = C->GetBrush()->GetStyle();
  st_.FontName = font->GetName();
  st_.FontSize = std::clamp(font->GetSize(), kMinMarkupPointSize, kMaxMarkupPointSize);
  st_.FontColor = font->GetColor();
  st_.Style = font->GetStyle();
  st_.Orientation = font->GetOrientation();
  st_.Background = clNone;
  entry_ = st_;
  entry_.Background = savedBrush;
  C->RequiredState({csHandleValid, csFontValid, csBrushValid});
  HDC dc = C->GetHandle();
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  format_ = DT_SINGLELINE | DT_BOTTOM | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_LEFT | DT_NOCLIP;
  if (!WordWrap) format_ = (format_ & ~DT_NOCLIP) | DT_END_ELLIPSIS;

  // Entities to single characters of the code page ("&amp;" to "&&": drawn as one "&").
  AnsiString text;
  if (Source.find('&') != AnsiString::npos) {
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&quot;", "\""},   {"&sect;", "\xA7"}, {"&permil;", "\x89"}, {"&reg;", "\xAE"},
        {"&copy;", "\xA9"}, {"&para;", "\xB6"}, {"&trade;", "\x99"},  {"&euro;", "\x80"}};
    AnsiString s = Source;
    text.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
      if (s[i] == '&') {
        if (s.compare(i, 5, "&amp;") == 0) {
          // The second "&" may start another entity, as repeated replacing would find it.
          text += '&';
          s[i + 4] = '&';
          i += 4;
          continue;
        }
        bool done = false;
        for (const auto& [name, ch] : kEntities) {
          const size_t n = std::char_traits<char>::length(name);
          if (s.compare(i, n, name) == 0) {
            text += ch;
            i += n;
            done = true;
            break;
          }
        }
        if (done) continue;
      }
      text += s[i++];
    }
  } else {
    text = Source;
  }
  text = LineBreaksToMarkup(StripHashTag(text), true);

  int32_t top = Rect.Top;
  size_t at = 0;
  nextLt_ = text.find('<');
  bool any = false;
  while (at < text.size()) {
    TMarkupLine L;
    L.Begin = at;
    L.H = GhHeight();
    const TMarkupState before = st_;
    DoLine(text, L, false, 0, top);
    if (L.End <= at) {
      // Nothing could be taken: the rest cannot be laid out.
      break;
    }
    any = true;
    at = L.End;
    HyperLinks = st_.Anchors;
    if (!MeasureOnly) {
      const TMarkupState after = st_;
      const int32_t left = Rect.Left + 1;
      int32_t x = left;
      if (after.Align == maRight && Rect.Right - L.W > left) x = Rect.Right - L.W;
      if (after.Align == maCenter && Rect.Right - left - L.W > 0) x = left + (Rect.Right - left - L.W) / 2;
      x += after.Indent;
      st_ = before;
      st_.Align = after.Align, st_.Indent = after.Indent;
      DoLine(text, L, true, x, top);
    }
    top += L.H + L.R + L.S;
    YSize += L.H + L.R + L.S;
    if (!MeasureOnly && top + GhHeight() > Rect.Bottom) break;
  }
  if (!any || YSize == 0) {
    ApplyFont();
    YSize = std::max(YSize, C->TextHeight("gh"));
  }
  SetBkMode(dc, oldMode);
  font->Assign(&savedFont);
  C->GetBrush()->SetColor(savedBrush);
  C->GetBrush()->SetStyle(savedStyle);
  return hit_;
}

}  // namespace

bool DrawMarkup(TCanvas* Canvas, const AnsiString& Text, const TRect& Rect, TCustomImageList* Images,
                int32_t X, int32_t Y, int32_t FocusLink, int32_t HoverLink, int32_t ShadowOffset,
                bool HitTestOnly, bool MeasureOnly, bool Print, bool Selected, bool BlinkOn, bool HoverOnly,
                bool WordWrap, bool Down, double ResFactor, TColor URLColor, TColor HoverColor,
                TColor HoverFontColor, TColor ShadowColor, AnsiString& AnchorVal, AnsiString& StripVal,
                AnsiString& FocusAnchor, int32_t& XSize, int32_t& YSize, int32_t& HyperLinks,
                int32_t& MouseLink, TRect& HoverRect, TRect& CtrlRect, AnsiString& CtrlID,
                AnsiString& CtrlVal, AnsiString& CtrlType, THTMLPictureCache* PictureCache,
                TPictureContainer* PictureContainer, HWND Handle) {
  TMarkupRenderer r;
  r.C = Canvas, r.Rect = Rect, r.Images = Images, r.X = X, r.Y = Y, r.FocusLink = FocusLink,
  r.HoverLink = HoverLink, r.ShadowOffset = ShadowOffset, r.HitTestOnly = HitTestOnly,
  r.MeasureOnly = MeasureOnly, r.Print = Print, r.Selected = Selected, r.BlinkOn = BlinkOn,
  r.HoverOnly = HoverOnly, r.WordWrap = WordWrap, r.Down = Down, r.ResFactor = ResFactor,
  r.URLColor = URLColor, r.HoverColor = HoverColor, r.HoverFontColor = HoverFontColor,
  r.ShadowColor = ShadowColor, r.Cache = PictureCache, r.Container = PictureContainer, r.Handle = Handle;
  const bool result = Canvas ? r.Run(Text) : false;
  AnchorVal = r.AnchorVal, StripVal = r.StripVal, FocusAnchor = r.FocusAnchor, XSize = r.XSize,
  YSize = r.YSize, HyperLinks = r.HyperLinks, MouseLink = r.MouseLink, HoverRect = r.HoverRect,
  CtrlRect = r.CtrlRect, CtrlID = r.CtrlID, CtrlVal = r.CtrlVal, CtrlType = r.CtrlType;
  return result;
}
