// The rich edit (runs, rich text in and out, drawing ranges, size requests, scrolling over
// formatted lines) and the edits' margins and wheel.
#include "platform/os/gdi/Gdi.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Streams.h"
#include "platform/ui/RichEdit.h"
#include "tests/platform/ui/edits/EditHarness.h"
#include "tests/support/TestOutput.h"

using namespace edit_test;

namespace {

// "text:bold?:size:colour" per run, to compare documents in one line.
std::string Describe(const TRichDocument& d) {
  std::string out;
  size_t pos = 0;
  for (const TRichRun& r : d.Runs) {
    out += "[" + d.Text.substr(pos, size_t(r.Length)) + "|" + r.Format.Name + "," +
           std::to_string(r.Format.Size) + "," + std::to_string(r.Format.Style.Mask()) + "," +
           std::to_string(uint32_t(r.Format.Color)) + "]";
    pos += size_t(r.Length);
  }
  return out;
}

class TSizeRecorder : public TRichEdit {
 public:
  using TRichEdit::TRichEdit;
  std::vector<TRect> Requests;

 protected:
  void RequestSize(const TRect& Rect) override { Requests.push_back(Rect); }
};

}  // namespace

TEST_F(EditTest, RichEditKeepsFormatsPerRun) {
  TRichEdit* r = NewEdit<TRichEdit>("R", Bounds(10, 10, 300, 150));
  r->SetText("Hello world");
  TTextAttributes* sel = r->GetSelAttributes();
  // The first word becomes bold red 14 point; the rest keeps the default format.
  r->SetSelStart(0);
  r->SetSelLength(5);
  sel->SetStyle({fsBold});
  sel->SetColor(clRed);
  sel->SetSize(14);
  r->SetSelStart(7);
  r->SetSelLength(2);
  EXPECT_FALSE(sel->GetStyle().Contains(fsBold));
  EXPECT_EQ(sel->GetSize(), r->GetDefAttributes()->GetSize());
  r->SetSelStart(1);
  r->SetSelLength(0);
  EXPECT_TRUE(sel->GetStyle().Contains(fsBold));
  EXPECT_EQ(sel->GetColor(), clRed);
  EXPECT_EQ(sel->GetHeight(), -MulDiv(14, 96, 72));
  // Typing inside the bold word stays bold; a format chosen at the caret applies to what is
  // typed next there.
  Type("x");
  r->SetSelStart(r->GetText().size());
  sel->SetStyle({fsItalic});
  Type("Z");
  TRichDocument d = r->GetDocument();
  EXPECT_EQ(d.Text, "Hxello worldZ");
  ASSERT_EQ(d.Runs.size(), 3u);
  EXPECT_EQ(d.Runs[0].Length, 6);
  EXPECT_TRUE(d.Runs[0].Format.Style.Contains(fsBold));
  EXPECT_EQ(d.Runs[1].Length, 6);
  EXPECT_EQ(d.Runs[2].Format.Style, TFontStyles({fsItalic}));
  // Deleting the bold word leaves two runs; setting Text makes it plain again.
  r->SetSelStart(0);
  r->SetSelLength(6);
  r->ClearSelection();
  EXPECT_EQ(r->GetDocument().Runs.size(), 2u);
  r->SetText("plain");
  EXPECT_EQ(r->GetDocument().Runs.size(), 1u);
  EXPECT_TRUE(r->GetDocument().Runs[0].Format.Style.Empty());
}

TEST_F(EditTest, RichTextRoundTripsThroughLines) {
  TRichEdit* r = NewEdit<TRichEdit>("R", Bounds(10, 10, 300, 150));
  TRichCharFormat plain{"Arial", 10, {}, clWindowText, DEFAULT_CHARSET};
  TRichCharFormat bold{"Courier New", 12, {fsBold, fsUnderline}, TColor(0x0000FF), ANSI_CHARSET};
  TRichCharFormat odd{"Sym{b}\\x", 20, {fsItalic, fsStrikeOut}, TColor(0x123456), 2};
  TRichDocument doc;
  doc.Text = "a {b} \\c\r\n\tcaf\xE9\r\n\x01z";
  doc.Runs = {{4, plain}, {5, bold}, {6, odd}, {int32_t(doc.Text.size()) - 15, plain}};
  r->GetDefAttributes()->SetName("Arial");
  r->GetDefAttributes()->SetSize(10);
  r->SetDocument(doc);
  EXPECT_EQ(Describe(r->GetDocument()), Describe(doc));

  TStringStream out("");
  r->GetLines()->SaveToStream(&out);
  AnsiString rtf = out.DataString();
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  for (const char* piece : {"\\fonttbl", "\\colortbl", "\\b", "\\ul", "\\i", "\\strike", "\\'e9", "\\{b\\}",
                            "\\\\c", "\\par", "\\tab", "\\fs40"})
    EXPECT_NE(rtf.find(piece), AnsiString::npos) << piece;

  TRichEdit* back = NewEdit<TRichEdit>("B", Bounds(10, 200, 300, 50));
  back->GetDefAttributes()->SetName("Arial");
  back->GetDefAttributes()->SetSize(10);
  TStringStream in(rtf);
  back->GetLines()->LoadFromStream(&in);
  EXPECT_EQ(Describe(back->GetDocument()), Describe(doc));

  // Plain text mode saves the text as it stands; text that is not rich text loads as plain.
  back->SetPlainText(true);
  TStringStream plainOut("");
  back->GetLines()->SaveToStream(&plainOut);
  EXPECT_EQ(plainOut.DataString(), doc.Text);
  back->SetPlainText(false);
  TStringStream text("just text\nsecond");
  back->GetLines()->LoadFromStream(&text);
  EXPECT_EQ(back->GetText(), "just text\r\nsecond");
}

TEST(RichText, ReadsWhatOtherWritersWrite) {
  TRichCharFormat def{"Default", 9, {}, clWindowText, DEFAULT_CHARSET};
  TRichDocument d = ReadRichText(
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fmodern Courier New;}}\r\n"
      "{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator Someone 1.0;}{\\info{\\title T}}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs20 plain {\\b\\cf1 bold red}\\par\r\n"
      "{\\f1\\fs30\\i it}\\u233?\\'e9{\\*\\unknown {nested} stuff}\\unknownword12 x\\line y}"
      "trailing text is not read",
      def);
  EXPECT_EQ(d.Text, "plain bold red\r\nit\xE9\xE9x\r\ny");
  EXPECT_EQ(Describe(d), "[plain |Arial,10,0," + std::to_string(uint32_t(clWindowText)) +
                             "][bold red|Arial,10,1,255][\r\n|Arial,10,0," +
                             std::to_string(uint32_t(clWindowText)) + "][it|Courier New,15,2," +
                             std::to_string(uint32_t(clWindowText)) + "][\xE9\xE9x\r\ny|Arial,10,0," +
                             std::to_string(uint32_t(clWindowText)) + "]");
}

// Control characters in a face name, raw or escaped, are left out, so a rewrite reads back alike.
TEST(RichText, FaceNamesDropControlCharacters) {
  TRichCharFormat def{"Default", 9, {}, clWindowText, DEFAULT_CHARSET};
  const AnsiString raw = AnsiString("{\\rtf1{\\fonttbl{\\f1 Co\tJ") + '\0' + "l\\'07ure;}}\\f1 x}";
  TRichDocument d = ReadRichText(raw, def);
  ASSERT_EQ(d.Runs.size(), 1u);
  EXPECT_EQ(d.Runs[0].Format.Name, "CoJlure");
  TRichDocument back = ReadRichText(WriteRichText(d, def), def);
  ASSERT_EQ(back.Runs.size(), 1u);
  EXPECT_TRUE(back.Runs[0].Format == d.Runs[0].Format);
}

TEST_F(EditTest, HostileRichTextIsRefusedOrReadSafely) {
  TRichEdit* r = NewEdit<TRichEdit>("R", Bounds(10, 10, 300, 150));
  r->SetText("kept");
  struct Case {
    std::string rtf;
    bool refused;
    std::string text;  // when read
  };
  const std::vector<Case> cases = {
      {"{\\rtf1 " + std::string(5000, '{') + "x" + std::string(5000, '}') + "}", true, ""},
      {"{\\rtf1 abc", true, ""},
      {"{\\rtf1 abc\\", true, ""},
      {"{\\rtf1 \\'4", true, ""},
      {"{\\rtf1 \\'zz}", true, ""},
      {"{\\rtf1 \\fs123456789012 x}", true, ""},
      {"{\\rtf1 \\" + std::string(100, 'a') + " x}", true, ""},
      {"{\\rtf1 \\bin99999 x}", true, ""},
      {"{\\rtf1 }}}}", false, ""},
      {"{\\rtf1 \\fs2147483647 big\\fs-5 neg\\cf99999 \\f-3 \\uc-7\\u-4000 q}", false, "bigneg?q"},
      {"{\\rtf1 {\\colortbl" + std::string(3000, ';') + "}{\\fonttbl" + std::string(3000, ';') + "}ok}",
       false, "ok"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rtf.substr(0, 40));
    if (c.refused) {
      EXPECT_THROW(r->SetRichText(c.rtf), EReadError);
      EXPECT_EQ(r->GetText(), "kept");
    } else {
      EXPECT_NO_THROW(r->SetRichText(c.rtf));
      EXPECT_EQ(r->GetText(), c.text);
      for (const TRichRun& run : r->GetDocument().Runs) EXPECT_LE(run.Format.Size, 1638);
      r->SetText("kept");
    }
  }
}

TEST_F(EditTest, FormatRangeDrawsWhatFitsAndRequestsSize) {
  auto* r = NewEdit<TSizeRecorder>("R", Bounds(10, 10, 200, 60));
  r->SetText("one two three four five six seven eight nine ten");
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(dc, 400, 400);
  HGDIOBJ old = SelectObject(dc, bmp);
  int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  auto twips = [&](int px) { return MulDiv(px, 1440, dpi); };
  FORMATRANGE fr{};
  fr.hdc = fr.hdcTarget = dc;
  fr.chrg = {0, -1};
  const LRESULT len = LRESULT(r->GetText().size());
  // Wide and tall enough: everything; one line high and narrow: the first line only, which the
  // next call goes on from.
  fr.rc = TRect{0, 0, twips(400), twips(400)};
  EXPECT_EQ(r->Perform(EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&fr)), len);
  fr.rc = TRect{0, 0, twips(60), twips(20)};
  LRESULT next = r->Perform(EM_FORMATRANGE, 0, reinterpret_cast<LPARAM>(&fr));
  EXPECT_GT(next, 0);
  EXPECT_LT(next, len);
  EXPECT_EQ(r->GetText()[size_t(next) - 1], ' ');
  fr.chrg = {int32_t(next), -1};
  EXPECT_GT(r->Perform(EM_FORMATRANGE, 0, reinterpret_cast<LPARAM>(&fr)), next);
  EXPECT_EQ(r->Perform(EM_FORMATRANGE, 0, 0), 0);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);

  // More lines and larger type ask for more height.
  r->Requests.clear();
  r->Perform(EM_REQUESTRESIZE, 0, 0);
  ASSERT_EQ(r->Requests.size(), 1u);
  int32_t h1 = r->Requests.back().Height();
  r->GetLines()->Add("another line");
  ASSERT_GE(r->Requests.size(), 2u);
  int32_t h2 = r->Requests.back().Height();
  EXPECT_GT(h2, h1);
  r->SelectAll();
  r->GetSelAttributes()->SetSize(30);
  EXPECT_GT(r->Requests.back().Height(), h2);
}

TEST_F(EditTest, MarginsNarrowTheFormattingRectangle) {
  for (bool memo : {false, true}) {
    TCustomEdit* e = memo ? static_cast<TCustomEdit*>(NewEdit<TMemo>("M", Bounds(10, 10, 200, 80)))
                          : NewEdit<TEdit>("E", Bounds(10, 100, 200, 24));
    SCOPED_TRACE(memo ? "memo" : "edit");
    TRect client = e->GetClientRect(), fr;
    e->Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(10, 20));
    EXPECT_EQ(e->Perform(EM_GETMARGINS, 0, 0), MAKELONG(10, 20));
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fr));
    EXPECT_EQ(fr.Left, client.Left + 10);
    EXPECT_EQ(fr.Right, client.Right - 20);
    // One side alone; then the margins the edit starts with.
    e->Perform(EM_SETMARGINS, EC_RIGHTMARGIN, MAKELONG(99, 4));
    EXPECT_EQ(e->Perform(EM_GETMARGINS, 0, 0), MAKELONG(10, 4));
    e->Perform(EM_SETMARGINS, EC_USEFONTINFO, 0);
    EXPECT_EQ(e->Perform(EM_GETMARGINS, 0, 0), MAKELONG(2, 2));
    // A click in the left margin puts the caret before the first character.
    e->SetText("abc");
    e->Perform(EM_SETMARGINS, EC_LEFTMARGIN, MAKELONG(40, 0));
    EXPECT_EQ(LOWORD(e->Perform(EM_CHARFROMPOS, 0, MAKELPARAM(20, 5))), 0);
    EXPECT_EQ(LOWORD(e->Perform(EM_POSFROMCHAR, 0, 0)), 40);
  }
}

TEST_F(EditTest, WheelScrollsMemoAndRichEdit) {
  UINT lines = 0;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ASSERT_GT(lines, 0u);
  for (bool rich : {false, true}) {
    SCOPED_TRACE(rich ? "rich edit" : "memo");
    TCustomMemo* m = rich ? static_cast<TCustomMemo*>(NewEdit<TRichEdit>("R", Bounds(10, 10, 200, 80)))
                          : NewEdit<TMemo>("M", Bounds(10, 10, 200, 80));
    for (int i = 0; i < 40; ++i) m->GetLines()->Add("line " + std::to_string(i));
    m->SetSelStart(0);
    m->Perform(WM_VSCROLL, SB_TOP, 0);
    auto wheel = [&](int delta) {
      SendMessageA(m->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(int16_t(delta))), MAKELPARAM(50, 50));
      return m->Perform(EM_GETFIRSTVISIBLELINE, 0, 0);
    };
    EXPECT_EQ(wheel(-WHEEL_DELTA), LRESULT(lines));
    EXPECT_EQ(wheel(-2 * WHEEL_DELTA), LRESULT(3 * lines));
    // Half a notch waits for the other half.
    EXPECT_EQ(wheel(-WHEEL_DELTA / 2), LRESULT(3 * lines));
    EXPECT_EQ(wheel(-WHEEL_DELTA / 2), LRESULT(4 * lines));
    EXPECT_EQ(wheel(10 * WHEEL_DELTA), 0);
    // The caret stays where it was.
    EXPECT_EQ(m->GetSelStart(), 0);
    m->Free();
  }
}

// ---- caret and hit-testing over formatted lines -------------------------------------------------

namespace {

// Small plain text, serif italic and a big bold red word: glyph widths and line heights far from
// the control's own font.
const AnsiString kMixedLine =
    "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}{\\colortbl;\\red255\\green0\\blue0;}"
    "\\f0\\fs16 small {\\i\\f1\\fs28 serif }{\\b\\fs48\\cf1 MMMMM}}";
const char* const kBigWord = "MMMMM";

TPoint PosOf(TCustomEdit* e, int32_t i) {
  LRESULT p = e->Perform(EM_POSFROMCHAR, WPARAM(i), 0);
  return {int16_t(LOWORD(p)), int16_t(HIWORD(p))};
}

// The control as painted, client pixels.
struct TShot {
  TBitmap B;
  explicit TShot(TWinControl* c) {
    B.SetSize(c->GetClientWidth(), c->GetClientHeight());
    c->PaintTo(B.GetCanvas()->GetHandle(), 0, 0);
  }
  TColor At(int x, int y) { return B.GetCanvas()->GetPixel(x, y); }
  // The leftmost and one past the rightmost column in rows [Top, Bottom) holding colour C (or,
  // with Not, any colour but C).
  std::pair<int, int> Span(int Top, int Bottom, TColor C, bool Not) {
    int lo = INT32_MAX, hi = -1;
    for (int y = Top; y < Bottom; ++y)
      for (int x = 0; x < B.GetWidth(); ++x)
        if ((At(x, y) == C) != Not) {
          lo = std::min(lo, x);
          hi = std::max(hi, x + 1);
        }
    return {lo, hi};
  }
};

}  // namespace

TEST_F(EditTest, RichEditCaretAndSelectionFollowTheDrawnLine) {
  TRichEdit* r = NewEdit<TRichEdit>("R", Bounds(10, 10, 360, 120));
  r->SetBorderStyle(bsNone);
  r->SetRichText(kMixedLine);
  const int32_t len = int32_t(r->GetText().size());
  r->SetSelStart(len);
  Pump();
  TPoint caret;
  GetCaretPos(&caret);
  EXPECT_EQ(caret, PosOf(r, len));
  // The caret stands at the right edge of the ink (the last glyph may stop a pixel short).
  const int lineBottom = PosOf(r, 0).Y + 30;
  TShot plain(r);
  auto ink = plain.Span(0, lineBottom, ColorToRGB(clWindow), true);
  EXPECT_GE(caret.X, ink.second - 1);
  EXPECT_LE(caret.X, ink.second + 2);

  // The selection's highlight spans exactly from the big word's first character to its end.
  const int32_t a = int32_t(r->GetText().find(kBigWord)), b = a + 5;
  r->SetSelStart(a);
  r->SetSelLength(5);
  TShot sel(r);
  auto hl = sel.Span(0, lineBottom, ColorToRGB(clHighlight), false);
  EXPECT_EQ(hl.first, PosOf(r, a).X);
  EXPECT_EQ(hl.second, PosOf(r, b).X);
}

TEST_F(EditTest, RichEditMouseHitsTheCharacterUnderIt) {
  TRichEdit* r = NewEdit<TRichEdit>("R", Bounds(10, 10, 360, 120));
  r->SetBorderStyle(bsNone);
  r->SetRichText(kMixedLine);
  Pump();
  const int32_t w = int32_t(r->GetText().find(kBigWord));
  // Where the big word's five glyphs are drawn, from its red ink.
  const int32_t top = PosOf(r, 0).Y;
  TShot shot(r);
  auto ink = shot.Span(top, top + 30, ColorToRGB(clRed), false);
  ASSERT_LT(ink.first, ink.second);
  const int glyph = (ink.second - ink.first) / 5;
  ASSERT_GT(glyph, 12);
  // A point a quarter (or three) into glyph k, halfway down the line.
  auto into = [&](int k, int quarters) {
    return At(r, ink.first + glyph * k + glyph * quarters / 4, top + 15);
  };
  // The left half of a glyph: the caret goes before it; the right half: after it.
  Press(into(2, 1));
  Release(into(2, 1));
  EXPECT_EQ(r->GetSelStart(), w + 2);
  clock_.Advance(1000);
  Press(into(2, 3));
  Release(into(2, 3));
  EXPECT_EQ(r->GetSelStart(), w + 3);
  clock_.Advance(1000);
  // Dragging from within the big word back to the text's start.
  Press(into(1, 1));
  MoveTo(At(r, 0, top + 15));
  Release(At(r, 0, top + 15));
  EXPECT_EQ(Sel(r), "0+" + std::to_string(w + 1));
  clock_.Advance(1000);
  // A double click on the big word takes it.
  Press(into(3, 1));
  Release(into(3, 1));
  Press(into(3, 1));
  Release(into(3, 1));
  EXPECT_EQ(r->GetSelText(), kBigWord);
}

TEST_F(EditTest, RichEditPositionMessagesRoundTripOverWrappedFormattedLines) {
  TRichEdit* r = NewEdit<TRichEdit>("R", Bounds(10, 10, 200, 250));
  // A big bold paragraph that wraps, then a small one.
  r->SetRichText(
      "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0{\\b\\fs40 wide words wrap here}\\par\\fs16 small line}");
  const AnsiString text = r->GetText();
  const int32_t lines = int32_t(r->Perform(EM_GETLINECOUNT, 0, 0));
  ASSERT_GE(lines, 3) << "the big paragraph wraps in its own font";
  for (int32_t i = 0; i <= int32_t(text.size()); ++i) {
    if (i > 0 && text[size_t(i - 1)] == '\r') continue;  // inside a line break
    SCOPED_TRACE(i);
    TPoint p = PosOf(r, i);
    LRESULT hit = r->Perform(EM_CHARFROMPOS, 0, MAKELPARAM(p.X, p.Y + 1));
    EXPECT_EQ(LOWORD(hit), i);
    EXPECT_EQ(HIWORD(hit), r->Perform(EM_LINEFROMCHAR, WPARAM(i), 0));
  }
  // Lines go down by their own heights.
  EXPECT_GT(PosOf(r, int32_t(r->Perform(EM_LINEINDEX, 1, 0))).Y - PosOf(r, 0).Y, 25);

  // Down and Up keep to the formatted lines and near the caret's x.
  r->SetSelStart(2);
  Key(VK_DOWN);
  EXPECT_EQ(r->Perform(EM_LINEFROMCHAR, WPARAM(-1), 0), 1);
  EXPECT_NEAR(PosOf(r, r->GetSelStart()).X, PosOf(r, 2).X, 15);
  for (int32_t k = 1; k < lines - 1; ++k) Key(VK_DOWN);
  EXPECT_EQ(r->Perform(EM_LINEFROMCHAR, WPARAM(-1), 0), lines - 1);
  Key(VK_UP);
  EXPECT_EQ(r->Perform(EM_LINEFROMCHAR, WPARAM(-1), 0), lines - 2);
}

TEST_F(EditTest, RichEditScrollsTallLinesIntoView) {
  TRichEdit* r = NewEdit<TRichEdit>("R", Bounds(10, 10, 200, 70));
  r->SetRichText("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs48 one\\par two\\par three\\par four\\par five}");
  TRect fr;
  r->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fr));
  for (int32_t line : {3, 4, 0, 2}) {
    SCOPED_TRACE(line);
    r->SetSelStart(int32_t(r->Perform(EM_LINEINDEX, WPARAM(line), 0)) + 1);
    r->Perform(EM_SCROLLCARET, 0, 0);
    TPoint caret;
    GetCaretPos(&caret);
    EXPECT_GE(caret.Y, fr.Top);
    EXPECT_LE(caret.Y + 30, fr.Bottom) << "the caret's whole line shows";
  }
}

// ---- scrolling over formatted lines -------------------------------------------------------------

namespace {

// Lines far taller than the control's font, every fourth one smaller; the last one red.
AnsiString TallLines(int Count) {
  AnsiString rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}\\f0";
  for (int i = 0; i < Count; ++i) {
    rtf += i % 4 == 0 ? "\\fs20 " : "\\fs48 ";
    rtf += i + 1 < Count ? "line " + std::to_string(i) + "\\par " : "{\\cf1 last}";
  }
  return rtf + "}";
}

int32_t LineTop(TCustomEdit* e, int32_t Line) {
  return PosOf(e, int32_t(e->Perform(EM_LINEINDEX, WPARAM(Line), 0))).Y;
}

int32_t FirstVisible(TCustomEdit* e) { return int32_t(e->Perform(EM_GETFIRSTVISIBLELINE, 0, 0)); }

TRect EditRect(TCustomEdit* e) {
  TRect fr;
  e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fr));
  return fr;
}

void Wheel(TCustomEdit* e, int Notches) {
  SendMessageA(e->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(int16_t(-Notches * WHEEL_DELTA))),
               MAKELPARAM(50, 30));
}

}  // namespace

TEST_F(EditTest, RichEditScrollRangeReachesTheLastTallLine) {
  TRichEdit* r = NewEdit<TRichEdit>("R", Bounds(10, 10, 220, 110));
  r->SetBorderStyle(bsNone);
  r->SetScrollBars(ssVertical);
  r->SetRichText(TallLines(13));
  const int32_t last = int32_t(r->Perform(EM_GETLINECOUNT, 0, 0)) - 1;
  const TRect fr = EditRect(r);
  const int32_t tall = LineTop(r, 2) - LineTop(r, 1);
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"SB_BOTTOM", [&] { r->Perform(WM_VSCROLL, SB_BOTTOM, 0); }},
      {"thumb at the bar's end",
       [&] {
         SCROLLINFO si{};
         si.cbSize = sizeof(si);
         si.fMask = SIF_ALL;
         GetScrollInfo(r->Handle(), SB_VERT, &si);
         r->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, si.nMax - int(si.nPage) + 1), 0);
       }},
      {"EM_LINESCROLL", [&] { r->Perform(EM_LINESCROLL, 0, 1000); }},
      {"lines down",
       [&] {
         for (int i = 0; i < 30; ++i) r->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
       }},
      {"wheel", [&] { Wheel(r, 20); }},
  };
  for (const auto& [how, go] : ways) {
    SCOPED_TRACE(how);
    r->Perform(WM_VSCROLL, SB_TOP, 0);
    go();
    const int32_t top = FirstVisible(r);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(r->Handle(), SB_VERT, &si);
    EXPECT_EQ(si.nPos, top);
    EXPECT_EQ(si.nMax - int(si.nPage) + 1, top);
    // The last line shows whole, and the line above the view would not have fitted.
    const int32_t lastTop = LineTop(r, last);
    EXPECT_GE(lastTop, fr.Top);
    EXPECT_LE(lastTop + tall, fr.Bottom);
    EXPECT_GT(lastTop + tall + (LineTop(r, top) - LineTop(r, top - 1)), fr.Bottom);
    auto red = TShot(r).Span(0, r->GetClientHeight(), ColorToRGB(clRed), false);
    EXPECT_LT(red.first, red.second) << "the last line's ink shows";
  }
}

TEST_F(EditTest, RichEditPagesAndWheelStepByFormattedLines) {
  UINT wheelLines = 0;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &wheelLines, 0);
  TRichEdit* r = NewEdit<TRichEdit>("R", Bounds(10, 10, 220, 85));
  r->SetBorderStyle(bsNone);
  r->SetRichText(TallLines(13));
  const TRect fr = EditRect(r);
  // The lines that show whole from a first line in view.
  auto page = [&](int32_t first) {
    r->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, first), 0);
    int32_t n = 0;
    while (LineTop(r, first + n + 1) <= fr.Bottom) ++n;
    return n;
  };
  const int32_t page0 = page(0);
  ASSERT_LT(page0, int32_t(wheelLines)) << "a page shorter than a wheel step";
  const int32_t page1 = page(page0);
  r->Perform(WM_VSCROLL, SB_TOP, 0);

  // Page Down shows the next page's first line at the top and takes the caret a page down;
  // Page Up goes back.  The bar's page steps alike.
  r->SetSelStart(0);
  Key(VK_NEXT);
  EXPECT_EQ(FirstVisible(r), page0);
  EXPECT_EQ(LineTop(r, page0), fr.Top);
  EXPECT_EQ(r->Perform(EM_LINEFROMCHAR, WPARAM(-1), 0), page0);
  Key(VK_NEXT);
  EXPECT_EQ(FirstVisible(r), page0 + page1);
  Key(VK_PRIOR);
  EXPECT_EQ(FirstVisible(r), page0);
  Key(VK_PRIOR);
  EXPECT_EQ(FirstVisible(r), 0);
  EXPECT_EQ(r->GetSelStart(), 0);
  r->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(FirstVisible(r), page0);
  r->Perform(WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(FirstVisible(r), 0);

  // A wheel notch longer than a page scrolls by the page of formatted lines.
  Wheel(r, 1);
  EXPECT_EQ(FirstVisible(r), page0);
  Wheel(r, 1);
  EXPECT_EQ(FirstVisible(r), page0 + page1);
}

TEST_F(EditTest, RichEditUnwrappedLineScrollsSideways) {
  const AnsiString rtf =
      "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 a long line of "
      "words that runs well past the right edge of the control {\\b\\fs48\\cf1 MMMMM}\\par short}";
  struct Case {
    const char* name;
    bool wordWrap;
    TScrollStyle bars;
  };
  for (const Case& c : {Case{"no word wrap", false, ssNone}, Case{"horizontal bar", true, ssBoth}}) {
    SCOPED_TRACE(c.name);
    TRichEdit* r = NewEdit<TRichEdit>("R", Bounds(10, 10, 240, 90));
    r->SetBorderStyle(bsNone);
    r->SetWordWrap(c.wordWrap);
    r->SetScrollBars(c.bars);
    r->SetRichText(rtf);
    ASSERT_EQ(r->Perform(EM_GETLINECOUNT, 0, 0), 2) << "the long line is not wrapped";
    const TRect fr = EditRect(r);
    const int32_t w = int32_t(r->GetText().find(kBigWord)), end = w + 5;
    r->SetSelStart(end);
    r->Perform(EM_SCROLLCARET, 0, 0);
    Pump();

    // The line's end shows: the red word lies within the view and the caret stands after it.
    const int32_t shift = fr.Left - PosOf(r, 0).X;
    EXPECT_GT(shift, 0);
    TShot shot(r);
    auto red = shot.Span(0, r->GetClientHeight(), ColorToRGB(clRed), false);
    ASSERT_LT(red.first, red.second);
    EXPECT_GE(red.first, fr.Left);
    EXPECT_LE(red.second, fr.Right);
    TPoint caret;
    GetCaretPos(&caret);
    EXPECT_EQ(caret, PosOf(r, end));
    // (A big bold glyph's ink may stop a few pixels short of its advance.)
    EXPECT_NEAR(caret.X, red.second, 4);
    if (c.bars == ssBoth) {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_ALL;
      GetScrollInfo(r->Handle(), SB_HORZ, &si);
      EXPECT_EQ(si.nPos, shift);
      EXPECT_EQ(si.nMax, PosOf(r, end).X - PosOf(r, 0).X) << "the range is the formatted line's width";
      EXPECT_TRUE(SaveWindowPng(form_->Handle(), OutputPath("ui-richedit-scrolled-right.png")));
    }

    // A click on the left and the right half of the third red glyph.
    const int glyph = (red.second - red.first) / 5;
    const int y = PosOf(r, w).Y + 12;
    for (auto [quarters, expected] : {std::pair{1, w + 2}, std::pair{3, w + 3}}) {
      TPoint p = At(r, red.first + glyph * 2 + glyph * quarters / 4, y);
      Press(p);
      Release(p);
      EXPECT_EQ(r->GetSelStart(), expected);
      clock_.Advance(1000);
    }
    EXPECT_EQ(fr.Left - PosOf(r, 0).X, shift) << "clicks in view do not scroll";

    // Back to the left edge: the line's start shows and its end is out of view again.
    r->Perform(WM_HSCROLL, SB_LEFT, 0);
    EXPECT_EQ(PosOf(r, 0).X, fr.Left);
    auto gone = TShot(r).Span(0, r->GetClientHeight(), ColorToRGB(clRed), false);
    EXPECT_GE(gone.first, gone.second);
    r->Free();
  }
}
