// Small routines shared by the advanced grid's units.
#include "grid/AdvUtil.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/MathUtils.h"

#include "platform/runtime/DateTime.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/Strings.h"

int32_t ApplySizeLimits(int32_t Value, int32_t Min, int32_t Max) {
  if (Min == Max) return Value;
  if (Value < Min && Min > 0) return Min;
  if (Value > Max && Max > 0) return Max;
  return Value;
}

TColor HalveColor(TColor Color) {
  COLORREF c = COLORREF(ColorToRGB(Color));
  return TColor(RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2));
}

namespace {
int32_t PosOf(const AnsiString& sub, const AnsiString& s) {
  size_t p = s.find(sub);
  return p == AnsiString::npos ? 0 : int32_t(p) + 1;
}
}  // namespace

int32_t UpperPos(const AnsiString& SubStr, const AnsiString& S) { return PosOf(SubStr, UpperCase(S)); }

int32_t CharPosition(char Ch, const AnsiString& S) { return PosOf(AnsiString(1, Ch), S); }

bool CellInGridRect(const TGridRect& Rect, int32_t Col, int32_t Row) {
  return Col >= Rect.Left && Col <= Rect.Right && Row >= Rect.Top && Row <= Rect.Bottom;
}

int32_t MaxOf(int32_t A, int32_t B) { return std::max(A, B); }
int32_t MinOf(int32_t A, int32_t B) { return std::min(A, B); }

char FirstCharInSet(const AnsiString& Set, const AnsiString& S) {
  for (char c : S)
    if (Set.find(c) != AnsiString::npos) return c;
  return '\0';
}

bool ParseCellReference(const AnsiString& Text, TPoint& Cell) {
  AnsiString s = UpperCase(Text);
  if (s.size() <= 3 || s[0] != 'R') return false;
  size_t c = s.find('C');
  if (c == AnsiString::npos) return false;
  int32_t row, col;
  if (!TryStrToInt(s.substr(1, c - 1), row) || !TryStrToInt(s.substr(c + 1), col)) return false;
  Cell = {col, row};
  return true;
}

bool IsLinkText(const AnsiString& S) {
  return S.find("://") != AnsiString::npos || S.find("mailto:") != AnsiString::npos;
}

void StripLinkScheme(AnsiString& S) {
  size_t p = S.find("://");
  if (p != AnsiString::npos) {
    S.erase(0, p + 3);
    return;
  }
  p = S.find("mailto:");
  if (p != AnsiString::npos) S.erase(0, p + 7);
}

TCellTextKind CellTextKind(const AnsiString& Text, bool HTMLEnabled) {
  AnsiString s = Text + " ";
  if (s.size() < 2) return ctkPlain;
  if (s[0] == '=') return ctkFormula;
  if (s.compare(0, 2, "|\\") == 0) return ctkWide;
  if (s.compare(0, 2, "{\\") == 0) return ctkRich;
  if (HTMLEnabled && (s.find("</") != AnsiString::npos || s.find("<B") != AnsiString::npos ||
                      s.find("<I") != AnsiString::npos))
    return ctkMarkup;
  return ctkPlain;
}

AnsiString ExtractNumber(const AnsiString& S) {
  AnsiString s = Trim(S);
  if (s.empty()) return "";
  const char dec = FormatSettings.DecimalSeparator, thou = FormatSettings.ThousandSeparator;
  bool negative = false;
  if (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
    negative = true;
    s = s.substr(1, s.size() - 2);
  }
  auto numeric = [&](char c) { return (c >= '0' && c <= '9') || c == thou || c == dec; };
  while (s.size() >= 2 && !numeric(s[0])) {
    if (s[0] == '-') negative = true;
    s.erase(0, 1);
  }
  AnsiString n;
  for (char c : s) {
    if (c == thou && c != dec) continue;
    if (c == dec) {
      n += '.';
      continue;
    }
    if ((c >= '0' && c <= '9') || c == '-' || c == '.') {
      n += c;
      continue;
    }
    break;
  }
  if (negative && (n.empty() || n[0] != '-')) n = "-" + n;
  return n;
}

int32_t NumberKind(const AnsiString& S) {
  if (S.empty()) return 2;
  const char dec = FormatSettings.DecimalSeparator, thou = FormatSettings.ThousandSeparator;
  int32_t minus = 0, decs = 0;
  bool integer = true, floating = true;
  int32_t lastThou = 0;
  for (size_t i = 0; i < S.size(); ++i) {
    char c = S[i];
    int32_t pos = int32_t(i) + 1;
    if (c == '-') {
      ++minus;
      continue;
    }
    if (c >= '0' && c <= '9') continue;
    integer = false;
    if (c == dec) {
      ++decs;
    } else if (c == thou) {
      // Each group separator at least 3 places after the previous one; the first not leading.
      if (pos < 2 || (lastThou > 0 && pos - lastThou < 3)) floating = false;
      lastThou = pos;
    } else {
      floating = false;
    }
  }
  if (minus > 1 || decs > 1) return 2;
  if (integer) return 0;
  return floating ? 1 : 2;
}

AnsiString ExpandLineBreaks(const AnsiString& S) { return StringReplace(S, "\\n", "\r", {rfReplaceAll}); }

void FillChars(AnsiString& S, char Ch) { std::fill(S.begin(), S.end(), Ch); }

AnsiString CollapseRuns(char Ch, const AnsiString& S) {
  AnsiString r;
  for (char c : S)
    if (!(c == Ch && !r.empty() && r.back() == Ch)) r += c;
  return r;
}

void LFToCRLF(AnsiString& S) {
  if (S.find('\n') == AnsiString::npos) return;
  AnsiString r;
  for (char c : S) {
    if (c == '\n') r += '\r';
    r += c;
  }
  S = r;
}

AnsiString TakeLine(AnsiString& S, bool Multi) {
  size_t cr = S.find('\r');
  if (!Multi || cr == AnsiString::npos) {
    AnsiString line = S.substr(0, cr);
    S.clear();
    return line;
  }
  AnsiString line = S.substr(0, cr);
  size_t next = cr + 1;
  if (next < S.size() && S[next] == '\n') ++next;
  S.erase(0, next);
  return line;
}

int32_t LineCount(const AnsiString& S, bool Multi) {
  if (!Multi) return 1;
  return 1 + int32_t(std::count(S.begin(), S.end(), '\r'));
}

namespace {
// Calls Visit(start, length) for each run of Ch in S from the left until it answers true.
template <class F>
void WalkRuns(char Ch, const AnsiString& S, F Visit) {
  for (size_t i = 0; i < S.size();) {
    if (S[i] != Ch) {
      ++i;
      continue;
    }
    size_t end = S.find_first_not_of(Ch, i);
    if (end == AnsiString::npos) end = S.size();
    if (Visit(i, end - i)) return;
    i = end;
  }
}
}  // namespace

int32_t FindOddRun(char Ch, const AnsiString& S, int32_t& RunLength) {
  int32_t pos = 0;
  RunLength = 0;
  WalkRuns(Ch, S, [&](size_t start, size_t length) {
    if (length % 2 == 0) return false;
    pos = int32_t(start) + 1;
    RunLength = int32_t(length);
    return true;
  });
  return pos;
}

int32_t CountOddRuns(char Ch, const AnsiString& S) {
  int32_t n = 0;
  WalkRuns(Ch, S, [&](size_t start, size_t length) {
    n += length % 2 == 1 || start + length == S.size();
    return false;
  });
  return n;
}

int32_t CountChar(char Ch, const AnsiString& S) { return int32_t(std::count(S.begin(), S.end(), Ch)); }

bool StepDate(int32_t Years, int32_t Months, int32_t Days, double Delta, TDateTime& Date) {
  WORD y = 0, m = 0, d = 0;
  DecodeDate(Date, y, m, d);
  const double time = Date - std::floor(Date);
  int32_t ny = y, nm = m;
  if (Years == 0 && Months == 0 && Days != 0) {
    Date += Days;
    return true;
  }
  if (Years != 0 && Months == 0 && Days == 0) {
    ny += Years;
  } else if (Years == 0 && Months != 0 && Days == 0) {
    nm += Months;
    if (nm == 0) {
      nm = 12;
      --ny;
    } else if (nm > 12 && nm <= 24) {
      nm -= 12;
      ++ny;
    } else if (nm < 0 || nm > 24) {
      return false;
    }
  } else {
    Date += Delta;
    return true;
  }
  TDateTime next = 0;
  if (ny < 1 || ny > 9999 || !TryEncodeDate(WORD(ny), WORD(nm), d, next)) return false;
  Date = next + time;
  return true;
}

char LowerAsciiChar(char Ch) { return Ch >= 'A' && Ch <= 'Z' ? char(Ch + 32) : Ch; }

AnsiString CapitalizeName(const AnsiString& S) {
  AnsiString r = S;
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
  bool wordStart = true;
  const size_t n = r.size();
  for (size_t i = 0; i < n; ++i) {
    char c = r[i];
    if (c == ' ' || c == '\'' || c == ',' || c == '-' || c == '.') {
      r[i] = c;
      wordStart = true;
      continue;
    }
    r[i] = wordStart ? upper(c) : LowerAsciiChar(c);
    wordStart = false;
    // "Mc" at the start of the text or of a word: the next letter starts a word too.
    if (i >= 1 && (r[i - 1] == 'M' && (r[i] == 'c')) && (i == 1 || r[i - 2] == ' ')) wordStart = true;
    // A trailing roman II or III stays upper case.
    if (i + 3 >= n && i >= 1 && r[i] == 'I' &&
        (r[i - 1] == ' ' || (i >= 2 && r[i - 1] == 'I' && r[i - 2] == ' ')))
      wordStart = true;
  }
  return r;
}

void DrawKeyedBitmap(TCanvas* Canvas, TBitmap* Bitmap, TColor Color, const TRect& Rect) {
  if (!Bitmap || Bitmap->Empty()) return;
  int32_t w = Bitmap->GetWidth(), h = Bitmap->GetHeight();
  TColor key = Bitmap->GetCanvas()->GetPixel(0, 0);
  TBrush* brush = Canvas->GetBrush();
  TColor old = brush->GetColor();
  TBrushStyle oldStyle = brush->GetStyle();
  brush->SetStyle(bsSolid);
  brush->SetColor(Color);
  Canvas->BrushCopy(TRect{Rect.Left, Rect.Top, Rect.Left + w, Rect.Top + h}, Bitmap, TRect{0, 0, w, h}, key);
  brush->SetColor(old);
  brush->SetStyle(oldStyle);
}

// Character positions are measured with the canvas font, as the text was drawn.
void DrawErrorUnderline(TCanvas* Canvas, const AnsiString& Text, int32_t Count, int32_t FromChar,
                        int32_t Offset, const TRect& Rect) {
  if (Count <= 0 || FromChar < 0) return;
  const int32_t len = int32_t(Text.size());
  const int32_t from = std::min(FromChar, len), to = std::min(FromChar + Count, len);
  int32_t x0 = Rect.Left + Canvas->TextWidth(Text.substr(0, size_t(from)));
  int32_t x1 = Rect.Left + Canvas->TextWidth(Text.substr(0, size_t(to)));
  if (FromChar + Count > len) x1 += 4;
  TPen* pen = Canvas->GetPen();
  const TColor color = pen->GetColor();
  const int32_t width = pen->GetWidth();
  pen->SetColor(clRed);
  pen->SetWidth(2);
  const int32_t base = Rect.Top + Offset;
  Canvas->MoveTo(x0, base + 3);
  bool up = true;
  for (int32_t x = x0 + 3; x <= x1; x += 3, up = !up) Canvas->LineTo(x, base + (up ? 0 : 3));
  pen->SetColor(color);
  pen->SetWidth(width);
}

void DrawProgressPie(TCanvas* Canvas, const TRect& Rect, TColor Color, int32_t Percent) {
  TPen* pen = Canvas->GetPen();
  TBrush* brush = Canvas->GetBrush();
  pen->SetColor(clGray);
  pen->SetWidth(1);
  brush->SetStyle(bsClear);
  Canvas->Ellipse(Rect);
  const int32_t hw = (Rect.Width() + 1) / 2, hh = (Rect.Height() + 1) / 2;
  const int32_t cx = Rect.Left + Rect.Width() / 2, cy = Rect.Top + Rect.Height() / 2;
  Canvas->MoveTo(cx, cy);
  Canvas->LineTo(cx, cy - hh);
  const double angle = std::clamp(Percent, 0, 100) / 100.0 * 2 * M_PI;
  const int32_t ex = cx + int32_t(Round(hw * std::sin(angle))),
                ey = cy - int32_t(Round(hh * std::cos(angle)));
  Canvas->MoveTo(cx, cy);
  Canvas->LineTo(ex, ey);
  if (Percent > 0 && Percent < 100) {
    // A point inside the sector, half way along its middle direction.
    const double mid = angle / 2;
    const int32_t fx = cx + int32_t(Round(hw / 2.0 * std::sin(mid))),
                  fy = cy - int32_t(Round(hh / 2.0 * std::cos(mid)));
    brush->SetStyle(bsSolid);
    brush->SetColor(Color);
    Canvas->FloodFill(fx, fy, clGray, fsBorder);
  } else if (Percent >= 100) {
    brush->SetStyle(bsSolid);
    brush->SetColor(Color);
    Canvas->Ellipse(Rect);
  }
  brush->SetStyle(bsSolid);
}
