// Small text, number and drawing routines shared by the advanced grid's units.  String positions
// are 1-based; 0 means not found.
//
// Thread contract: UI thread only (the number routines read the process-wide FormatSettings).
#pragma once

#include "platform/ui/Graphics.h"
#include "platform/ui/Grids.h"

// What a cell text holds, recognised by its start (CellTextKind).
enum TCellTextKind : uint8_t { ctkPlain = 0, ctkMarkup = 1, ctkRich = 2, ctkFormula = 3, ctkWide = 5 };

// Value between the bounds; a bound of 0 or less is none, equal bounds leave Value alone.
int32_t ApplySizeLimits(int32_t Value, int32_t Min, int32_t Max);
// Each of red, green and blue halved (system colours resolved first).
TColor HalveColor(TColor Color);
int32_t UpperPos(const AnsiString& SubStr, const AnsiString& S);
int32_t CharPosition(char Ch, const AnsiString& S);
bool CellInGridRect(const TGridRect& Rect, int32_t Col, int32_t Row);
int32_t MaxOf(int32_t A, int32_t B);
int32_t MinOf(int32_t A, int32_t B);
// The first character of S that is in Set, else #0.
char FirstCharInSet(const AnsiString& Set, const AnsiString& S);
// "R<row>C<col>", case ignored: Cell = (column, row).
bool ParseCellReference(const AnsiString& Text, TPoint& Cell);
bool IsLinkText(const AnsiString& S);
// Drops everything up to and including "://", or up to and including "mailto:".
void StripLinkScheme(AnsiString& S);
TCellTextKind CellTextKind(const AnsiString& Text, bool HTMLEnabled);
// The number in S with the locale's separators made plain ("1.234,5" in a comma-decimal locale
// gives "1234.5"); parentheses or a leading "-" make it negative.
AnsiString ExtractNumber(const AnsiString& S);
// 0 integer, 1 float, 2 anything else.
int32_t NumberKind(const AnsiString& S);
// Backslash-n pairs become carriage returns.
AnsiString ExpandLineBreaks(const AnsiString& S);
void FillChars(AnsiString& S, char Ch);
AnsiString CollapseRuns(char Ch, const AnsiString& S);
void LFToCRLF(AnsiString& S);
// Takes the text before the first CR (and the CR, and an LF after it) off S.
AnsiString TakeLine(AnsiString& S, bool Multi);
int32_t LineCount(const AnsiString& S, bool Multi);
// CSV counting: the 1-based position of the first run of Ch of odd length (0: none) and the
// run's length; the number of odd-length runs of Ch, a run ending S counting whatever its length;
// the number of Ch in S.
int32_t FindOddRun(char Ch, const AnsiString& S, int32_t& RunLength);
int32_t CountOddRuns(char Ch, const AnsiString& S);
int32_t CountChar(char Ch, const AnsiString& S);
// One step of a date series whose first two dates differ by Years, Months and Days (calendar
// parts) and Delta (days): by the days alone, the years alone or the months alone when only that
// part differs, else by Delta.  False when the next date does not exist (the series ends).
bool StepDate(int32_t Years, int32_t Months, int32_t Days, double Delta, TDateTime& Date);
char LowerAsciiChar(char Ch);
// Short dates "d/m/y" (EU) or "m/d/y" (US) with "/", "." or "-" between the numbers (the first of
// them found, in that order); years below 26 are 20xx, other years below 100 are 19xx.  0 when the
// text is no such date.
TDateTime ParseDateEU(const AnsiString& S);
TDateTime ParseDateUS(const AnsiString& S);
// Three numbers between the locale's date separators, in the order of the short date format.
bool ParseLocaleDate(const AnsiString& S, TDateTime& Date);
// A filter condition against a cell text: wildcards ("*", "?", "!" inverting), comparisons
// (">", ">=", "<", "<=" with numbers, dates or text) and chains joined by "&" (and) or ";", "^",
// "|" (or), evaluated from left to right.
bool MatchCondition(const AnsiString& Condition, const AnsiString& Value, bool CaseSensitive);
// Names with capitals at word starts: "o'neil-smith jr. iii" -> "O'Neil-Smith Jr. III".
AnsiString CapitalizeName(const AnsiString& S);
// The bitmap at its own size at the rectangle's top-left, its top-left pixel's colour replaced
// by Color.
void DrawKeyedBitmap(TCanvas* Canvas, TBitmap* Bitmap, TColor Color, const TRect& Rect);
// A red zigzag (pen width 2) under Count characters of Text from character FromChar (0-based),
// Offset + 0 to Offset + 3 pixels below the text's top in Rect; 4 pixels past the end of the text.
void DrawErrorUnderline(TCanvas* Canvas, const AnsiString& Text, int32_t Count, int32_t FromChar,
                        int32_t Offset, const TRect& Rect);
// A grey circle in Rect with the sector from twelve o'clock clockwise to Percent filled with
// Color.
void DrawProgressPie(TCanvas* Canvas, const TRect& Rect, TColor Color, int32_t Percent);
