// Small routines shared by the advanced grid's units.
#include "grid/AdvUtil.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/runtime/MathUtils.h"

#include "platform/runtime/DateTime.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/NumText.h"
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
// Day, month and year of a short date; Order 0 day first (EU), 1 month first (US).
TDateTime ParseShortDate(const AnsiString& S, int32_t Order) {
  char sep = 0;
  for (char c : {'/', '.', '-'})
    if (S.find(c) != AnsiString::npos) {
      sep = c;
      break;
    }
  if (!sep) return 0;
  const size_t p1 = S.find(sep), p2 = S.find(sep, p1 + 1);
  if (p2 == AnsiString::npos) return 0;
  int32_t a, b, y;
  if (!TryStrToInt(S.substr(0, p1), a) || !TryStrToInt(S.substr(p1 + 1, p2 - p1 - 1), b) ||
      !TryStrToInt(S.substr(p2 + 1), y))
    return 0;
  // Only two-digit years take a century: a full year stays as written.
  if (y >= 0 && y <= 25)
    y += 2000;
  else if (y > 25 && y < 100)
    y += 1900;
  const int32_t day = Order == 0 ? a : b, month = Order == 0 ? b : a;
  TDateTime d = 0;
  if (y < 1 || y > 9999 || month < 1 || month > 12 || day < 1 || day > 31 ||
      !TryEncodeDate(WORD(y), WORD(month), WORD(day), d))
    return 0;
  return d;
}
}  // namespace

TDateTime ParseDateEU(const AnsiString& S) { return ParseShortDate(S, 0); }
TDateTime ParseDateUS(const AnsiString& S) { return ParseShortDate(S, 1); }

bool ParseLocaleDate(const AnsiString& S, TDateTime& Date) {
  const char sep = FormatSettings.DateSeparator;
  std::vector<AnsiString> parts{""};
  for (char c : S) {
    if (c == sep)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  if (parts.size() != 3) return false;
  // The order in which D, M and Y first appear in the short date format.
  const AnsiString fmt = UpperCase(FormatSettings.ShortDateFormat);
  std::vector<std::pair<size_t, char>> order;
  for (char k : {'D', 'M', 'Y'}) order.push_back({fmt.find(k), k});
  std::sort(order.begin(), order.end());
  int32_t day = 0, month = 0, year = 0;
  for (size_t i = 0; i < 3; ++i) {
    int32_t v;
    if (!TryStrToInt(Trim(parts[i]), v)) return false;
    (order[i].second == 'D' ? day : order[i].second == 'M' ? month : year) = v;
  }
  if (day < 1 || day >= 32 || month < 1 || month > 12 || year < 1 || year > 9999) return false;
  return TryEncodeDate(WORD(year), WORD(month), WORD(day), Date);
}

namespace {
// The whole of Value against a wildcard pattern: "*" any run, "?" any one character, a double
// quote ignored, "!" inverting what the rest of the pattern gives.  Memoised over (pattern,
// value) positions, so stars never backtrack exponentially.
bool WildcardMatch(const AnsiString& P, const AnsiString& V) {
  const size_t np = P.size(), nv = V.size();
  std::vector<int8_t> memo((np + 1) * (nv + 1), -1);
  // Iterative over positions from the end: each state depends only on later ones.
  auto at = [&](size_t i, size_t j) -> int8_t& { return memo[i * (nv + 1) + j]; };
  for (size_t i = np + 1; i-- > 0;)
    for (size_t j = nv + 1; j-- > 0;) {
      bool r;
      if (i == np) {
        r = j == nv;
      } else {
        const char c = P[i];
        if (c == '"')
          r = at(i + 1, j);
        else if (c == '!')
          r = !at(i + 1, j);
        else if (c == '*')
          r = at(i + 1, j) || (j < nv && at(i, j + 1));
        else
          r = j < nv && (c == '?' || c == V[j]) && at(i + 1, j + 1);
      }
      at(i, j) = r;
    }
  return at(0, 0);
}

// The operand after the comparison sign at Pos: blanks skipped, up to the next blank, without
// enclosing double quotes.
AnsiString ComparisonOperand(const AnsiString& Part, size_t Pos) {
  size_t i = Pos;
  while (i < Part.size() && Part[i] == ' ') ++i;
  size_t e = Part.find(' ', i);
  AnsiString op = Part.substr(i, e == AnsiString::npos ? AnsiString::npos : e - i);
  if (op.size() >= 2 && op.front() == '"' && op.back() == '"') op = op.substr(1, op.size() - 2);
  return op;
}

// Sign of Value against Operand: as numbers, else as dates, else as text (255 characters).
int32_t CompareForCondition(const AnsiString& Value, const AnsiString& Operand) {
  double a, b;
  int32_t ca, cb;
  Val(Value, a, ca);
  Val(Operand, b, cb);
  if (ca == 0 && cb == 0 && !Value.empty() && !Operand.empty()) return a < b ? -1 : a > b ? 1 : 0;
  TDateTime da, db;
  if (ParseLocaleDate(Value, da) && ParseLocaleDate(Operand, db)) return da < db ? -1 : da > db ? 1 : 0;
  const int32_t c = ShortStringCap(Value).compare(ShortStringCap(Operand));
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool MatchPart(const AnsiString& Part, const AnsiString& Value) {
  const size_t gt = Part.find('>'), lt = Part.find('<');
  if (gt == AnsiString::npos && lt == AnsiString::npos) return WildcardMatch(Part, Value);
  auto test = [&](size_t pos, int32_t want) {
    const bool orEqual = pos + 1 < Part.size() && Part[pos + 1] == '=';
    const int32_t c = CompareForCondition(Value, ComparisonOperand(Part, pos + (orEqual ? 2 : 1)));
    return c == want || (orEqual && c == 0);
  };
  return (gt != AnsiString::npos && test(gt, 1)) || (lt != AnsiString::npos && test(lt, -1));
}

bool IsConditionOperator(char c) { return c == '&' || c == ';' || c == '^' || c == '|'; }
}  // namespace

bool MatchCondition(const AnsiString& Condition, const AnsiString& Value, bool CaseSensitive) {
  AnsiString cond = Trim(Condition), value = Value;
  if (!CaseSensitive) {
    cond = AnsiUpperCase(cond);
    value = AnsiUpperCase(value);
  }
  // Blanks around the operators and "=" go; "=" stays only as part of ">=" and "<=".
  AnsiString tight;
  for (size_t i = 0; i < cond.size(); ++i) {
    const char c = cond[i];
    auto special = [](char x) { return IsConditionOperator(x) || x == '='; };
    if (c == ' ' &&
        ((i + 1 < cond.size() && special(cond[i + 1])) || (!tight.empty() && special(tight.back()))))
      continue;
    tight += c;
  }
  AnsiString clean;
  for (size_t i = 0; i < tight.size(); ++i)
    if (tight[i] != '=' || (i > 0 && (tight[i - 1] == '<' || tight[i - 1] == '>'))) clean += tight[i];

  bool result = false;
  char pending = 0;  // the operator before the part at hand; none for the first
  size_t start = 0;
  for (size_t i = 0; i <= clean.size(); ++i) {
    if (i < clean.size() && !IsConditionOperator(clean[i])) continue;
    const bool part = MatchPart(clean.substr(start, i - start), value);
    result = pending == 0 ? part : pending == '&' ? (result && part) : (result || part);
    if (i < clean.size()) pending = clean[i];
    start = i + 1;
  }
  return result;
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
