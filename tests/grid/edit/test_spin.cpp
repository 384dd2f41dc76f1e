// The spin edit: clamping, the steps of each kind of value (the date field chosen by the caret,
// times wrapping at midnight), the character filter, Enter as Tab, and a spin edit whose editor
// is switched off.
#include "platform/ui/Clipbrd.h"
#include "tests/grid/edit/EditFixture.h"

namespace grid_edit_test {
namespace {

using Spin = EditTest;

TEST_F(Spin, IntegerStepsClampToTheBoundsAndLeavingClampsTypedValues) {
  auto* s = Shown<TAsgSpinEdit>();
  s->Increment = 5;
  s->SetValue(98);
  Key(VK_UP);
  EXPECT_EQ(s->GetText(), "100");
  s->SetValue(3);
  Key(VK_DOWN);
  EXPECT_EQ(s->GetValue(), 0);

  // The lower button of the pair steps down, the upper one up.
  TAsgSpinButton* b = s->Button();
  ASSERT_TRUE(b->GetVisible());
  s->SetValue(50);
  const TPoint up = At(b->UpButton(), 4, 3), down = At(b->DownButton(), 4, b->DownButton()->Height() - 3);
  Press(up);
  Release(up);
  EXPECT_EQ(s->GetValue(), 55);
  clock_.Advance(1000);
  Press(down);
  Release(down);
  EXPECT_EQ(s->GetValue(), 50);

  // Held, the button repeats after 400 ms and then every 100 ms.
  clock_.Advance(1000);
  Press(up);
  clock_.Advance(399);
  Pump();
  EXPECT_EQ(s->GetValue(), 50);
  clock_.Advance(1);
  Pump();
  clock_.Advance(100);
  Pump();
  Release(up);
  EXPECT_EQ(s->GetValue(), 65);

  // Typed values are kept while editing and clamped when the edit is left.
  s->SelectAll();
  Type(u"250");
  EXPECT_EQ(s->GetText(), "250");
  auto* other = Make<TEdit>(form_, form_, "O", Bounds(10, 60, 80, 24));
  other->SetFocus();
  Pump();
  EXPECT_EQ(s->GetText(), "100");

  // Equal bounds leave the value unbounded.
  s->MinValue = s->MaxValue = 0;
  s->SetValue(-7000);
  EXPECT_EQ(s->GetValue(), -7000);
}

TEST_F(Spin, DatesStepTheFieldUnderTheCaretAndTimesWrapAtMidnight) {
  auto* s = Shown<TAsgSpinEdit>();
  s->SetSpinType(sptDate);
  struct Case {
    const char* from;
    int32_t caret;
    WORD key;
    const char* to;
  } cases[] = {
      {"12/05/2003", 0, VK_UP, "13/05/2003"}, {"12/05/2003", 2, VK_UP, "13/05/2003"},
      {"12/05/2003", 4, VK_UP, "12/06/2003"}, {"12/05/2003", 8, VK_UP, "12/05/2004"},
      {"31/01/2003", 4, VK_UP, "28/02/2003"}, {"01/01/2003", 0, VK_DOWN, "31/12/2002"},
      {"29/02/2004", 8, VK_UP, "28/02/2005"}, {"12/05/2003", 5, VK_DOWN, "12/04/2003"},
  };
  for (const Case& c : cases) {
    s->SetText(c.from);
    s->SetSelStart(c.caret);
    Key(c.key);
    EXPECT_EQ(s->GetText(), c.to) << c.from << " caret " << c.caret;
    EXPECT_EQ(s->GetSelStart(), c.caret) << "the caret stays in its field";
  }
  // No text, or "0", reads as now; a text that is no date as the lower bound.
  s->SetText("0");
  EXPECT_DOUBLE_EQ(s->GetDateValue(), Now());
  s->MinDateValue = 100;
  s->SetText("no date");
  EXPECT_DOUBLE_EQ(s->GetDateValue(), 100);

  s->SetSpinType(sptTime);
  struct TimeCase {
    const char* from;
    int32_t caret;
    WORD key;
    const char* to;
  } times[] = {
      {"00:10:00", 0, VK_DOWN, "23:10:00"}, {"23:30:00", 0, VK_UP, "00:30:00"},
      {"05:00:00", 0, VK_DOWN, "04:00:00"}, {"10:00:00", 3, VK_DOWN, "09:59:00"},
      {"10:00:00", 6, VK_UP, "10:00:01"},
  };
  for (const TimeCase& c : times) {
    s->SetText(c.from);
    s->SetSelStart(c.caret);
    Key(c.key);
    EXPECT_EQ(s->GetText(), c.to) << c.from << " caret " << c.caret;
  }
}

TEST_F(Spin, FloatsFollowThePrecisionAndFallBackToTheIntegerBound) {
  auto* s = Shown<TAsgSpinEdit>();
  s->SetSpinType(sptFloat);
  s->IncrementFloat = 0.5;
  s->SetFloatValue(1.25);
  EXPECT_EQ(s->GetText(), "1.25");
  s->SetPrecision(2);
  s->SetFloatValue(2);
  EXPECT_EQ(s->GetText(), "2.00");
  Key(VK_UP);
  EXPECT_EQ(s->GetText(), "2.50");
  s->SetFloatValue(1000);
  EXPECT_EQ(s->GetText(), "100.00") << "the float bounds 0..100 clamp";

  // The integer bound, not the float one, stands for a text that is no number.
  s->MinValue = 7;
  s->MinFloatValue = -3;
  s->SetText("abc");
  EXPECT_DOUBLE_EQ(s->GetFloatValue(), 7);
}

TEST_F(Spin, TypedCharactersAreFilteredByKind) {
  auto* s = Shown<TAsgSpinEdit>();
  s->SetSpinType(sptFloat);
  s->SetPrecision(2);
  s->SetText("1.23");
  s->SetSelStart(4);
  Beeps();
  Type(u"4");
  EXPECT_EQ(s->GetText(), "1.23") << "no digit beyond the precision";
  EXPECT_EQ(Beeps(), 1);
  s->SelectAll();
  Type(u"4");
  EXPECT_EQ(s->GetText(), "4") << "a selection is replaced";
  Type(u",");
  EXPECT_EQ(s->GetText(), "4.") << "the thousands separator types the decimal separator";
  Type(u".");
  EXPECT_EQ(s->GetText(), "4.");
  EXPECT_EQ(Beeps(), 1) << "a second decimal separator is refused";

  // Per kind: separators of times and dates, letters never, Enter never.
  struct Case {
    TAsgSpinType type;
    const char* text;
    char16_t ch;
    bool taken;
  } cases[] = {
      {sptNormal, "1", u':', false}, {sptTime, "1", u':', true},     {sptTime, "1:2:", u':', false},
      {sptNormal, "1", u'/', false}, {sptDate, "1", u'/', true},     {sptNormal, "1", u'a', false},
      {sptNormal, "1", u'-', true},  {sptNormal, "1", u'\r', false},
  };
  for (const Case& c : cases) {
    s->SetPrecision(0);
    s->SetSpinType(c.type);
    s->SetText(c.text);
    s->SetSelStart(int32_t(strlen(c.text)));
    Beeps();
    Type(std::u16string(1, c.ch));
    EXPECT_EQ(s->GetText() != c.text, c.taken) << c.text << " + " << char(c.ch);
    EXPECT_EQ(Beeps(), c.taken ? 0 : 1) << "a refused character beeps";
  }
}

TEST_F(Spin, ReturnIsTabAndEditorEnabledOff) {
  auto* s = Shown<TAsgSpinEdit>();
  auto* next = Make<TEdit>(form_, form_, "N", Bounds(10, 60, 80, 24));
  s->SetTabOrder(0);
  s->SetFocus();
  Pump();
  Beeps();
  Key(VK_RETURN);
  EXPECT_TRUE(s->Focused()) << "without ReturnIsTab Enter stays";
  EXPECT_EQ(Beeps(), 1) << "and is refused as a character";
  s->ReturnIsTab = true;
  Key(VK_RETURN);
  EXPECT_TRUE(next->Focused()) << "Enter moves on like Tab";

  s->SetFocus();
  Pump();
  s->EditorEnabled = false;
  s->SetValue(10);
  EXPECT_EQ(s->GetSelLength(), 2) << "the value is selected when it cannot be typed over";
  Beeps();
  Type(u"5");
  EXPECT_EQ(s->GetText(), "10");
  EXPECT_EQ(Beeps(), 1);
  Key(VK_DELETE);
  Key(VK_BACK);
  EXPECT_EQ(s->GetText(), "10");
  Clipboard()->SetAsText("77");
  s->Perform(WM_PASTE, 0, 0);
  s->Perform(WM_CUT, 0, 0);
  EXPECT_EQ(s->GetText(), "10") << "paste and cut do nothing";
  Key(VK_UP);
  EXPECT_EQ(s->GetText(), "11") << "the keys still step";

  // A read-only spin edit beeps on a step and keeps its value.
  s->SetReadOnly(true);
  Beeps();
  Key(VK_UP);
  EXPECT_EQ(s->GetText(), "11");
  EXPECT_EQ(Beeps(), 1);
}

TEST_F(Spin, ButtonsFollowTheDirectionAndShowTheBuiltInArrows) {
  auto* s = Shown<TAsgSpinEdit>(Bounds(10, 10, 120, 30));
  TAsgSpinButton* b = s->Button();
  EXPECT_EQ(b->UpButton()->GetBoundsRect().Bottom - 1, b->DownButton()->GetTop())
      << "they overlap by a pixel";
  TBitmap* up = b->GetUpGlyph();
  ASSERT_EQ(up->GetWidth(), 9);
  ASSERT_EQ(up->GetHeight(), 6);
  // Rows of 7, 5, 3 and 1 black pixels, the widest at the bottom of the up arrow.
  for (int32_t y = 1, w = 1; y <= 4; ++y, w += 2) {
    int32_t black = 0;
    for (int32_t x = 0; x < 9; ++x) black += up->GetCanvas()->GetPixel(x, y) == clBlack;
    EXPECT_EQ(black, w) << "row " << y;
  }
  s->SetDirection(spHorizontal);
  EXPECT_EQ(b->Width(), 20);
  EXPECT_LT(b->DownButton()->GetLeft(), b->UpButton()->GetLeft()) << "down on the left";
  EXPECT_EQ(b->UpButton()->Direction, tbdRight);
}

}  // namespace
}  // namespace grid_edit_test
