// The memo's lines and wrapping, and the masked edit's typing and validation.
#include "platform/ui/Mask.h"
#include "tests/platform/ui/edits/EditHarness.h"

using namespace edit_test;

TEST_F(EditTest, MemoLinesAndKeys) {
  TMemo* m = NewEdit<TMemo>("M", Bounds(10, 10, 200, 120));
  m->SetWordWrap(false);
  TStrings* lines = m->GetLines();
  lines->Add("first");
  lines->Add("second");
  lines->Insert(1, "middle");
  EXPECT_EQ(m->GetText(), "first\r\nmiddle\r\nsecond\r\n");
  ASSERT_EQ(lines->Count(), 3);
  EXPECT_EQ(lines->Strings(2), "second");
  lines->Delete(0);
  lines->Put(0, "centre");
  EXPECT_EQ(m->GetText(), "centre\r\nsecond\r\n");
  // Line messages on "centre" CR LF "second" CR LF.
  EXPECT_EQ(m->Perform(EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_EQ(m->Perform(EM_LINEINDEX, 1, 0), 8);
  EXPECT_EQ(m->Perform(EM_LINEFROMCHAR, 9, 0), 1);
  EXPECT_EQ(m->Perform(EM_LINELENGTH, 9, 0), 6);
  EXPECT_EQ(m->Perform(EM_LINEINDEX, 3, 0), -1);
  // Enter types a line break; Up and Down move between lines; Backspace joins them.
  m->SetSelStart(2);
  Key(VK_RETURN);
  EXPECT_EQ(m->GetText(), "ce\r\nntre\r\nsecond\r\n");
  Key(VK_DOWN);
  EXPECT_EQ(m->Perform(EM_LINEFROMCHAR, WPARAM(-1), 0), 2);
  Key(VK_HOME);
  Key(VK_BACK);
  EXPECT_EQ(m->GetText(), "ce\r\nntresecond\r\n");
  // Without WantReturns, Enter is left to the form.
  m->SetWantReturns(false);
  Key(VK_RETURN);
  EXPECT_EQ(m->GetText(), "ce\r\nntresecond\r\n");
  lines->SetText("a\nb");
  EXPECT_EQ(m->GetText(), "a\r\nb");
}

TEST_F(EditTest, MemoWrapsLongLinesAtWords) {
  TMemo* m = NewEdit<TMemo>("M", Bounds(10, 10, 90, 200));
  std::string text = "one two three four five six seven eight nine ten";
  m->SetText(text);
  int32_t count = int32_t(m->Perform(EM_GETLINECOUNT, 0, 0));
  EXPECT_GT(count, 2);
  // Every line but the last ends after a blank, and no text is lost or doubled.
  std::string joined;
  for (int32_t i = 0; i < count; ++i) {
    std::string line = m->GetLines()->Strings(i);
    joined += line;
    if (i + 1 < count) {
      EXPECT_EQ(line.back(), ' ') << line;
    }
  }
  EXPECT_EQ(joined, text);
  // A wider memo needs fewer lines; without wrapping it is one line.
  m->SetWidth(300);
  EXPECT_LT(m->Perform(EM_GETLINECOUNT, 0, 0), count);
  m->SetWordWrap(false);
  EXPECT_EQ(m->Perform(EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(EditTest, MaskedEditTypingAndValidation) {
  TMaskEdit* e = NewEdit<TMaskEdit>("E");
  e->SetEditMask("(999) 000-0000;1;_");
  EXPECT_EQ(e->GetEditText(), "(___) ___-____");
  e->SetSelStart(0);
  // Literals are passed over; characters that do not fit are refused with a beep.
  int beeps = MessageBeepCount();
  Type("12a3456");
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
  EXPECT_EQ(e->GetEditText(), "(123) 456-____");
  EXPECT_EQ(e->GetText(), "(123) 456-    ");
  EXPECT_THROW(e->ValidateEdit(), EDBEditError);
  EXPECT_EQ(e->GetSelStart(), 10);
  try {
    e->ValidateEdit();
  } catch (const EDBEditError& x) {
    EXPECT_EQ(x.Message, "Invalid input value.  Use escape key to abandon changes");
  }
  Type("7890");
  EXPECT_NO_THROW(e->ValidateEdit());
  // Backspace blanks the placeholder before the caret and keeps the literals.
  Key(VK_BACK);
  EXPECT_EQ(e->GetEditText(), "(123) 456-789_");
  Key(VK_LEFT);
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(e->GetSelStart(), 10);
  Key(VK_LEFT);
  EXPECT_EQ(e->GetSelStart(), 8);  // over "-"
  Key(VK_LEFT);
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(e->GetSelStart(), 3);  // over ") "
  // Cut copies and blanks; paste types what fits.
  e->SetSelStart(1);
  e->SetSelLength(3);
  Ctrl('X');
  EXPECT_EQ(e->GetEditText(), "(___) 456-789_");
  Ctrl('V');
  EXPECT_EQ(e->GetEditText(), "(123) 456-789_");
  // A mask without saved literals gives the placeholders only; text set is formatted.
  e->SetEditMask(">LL-00;0;_");
  e->SetText("ab12");
  EXPECT_EQ(e->GetEditText(), "AB-12");
  EXPECT_EQ(e->GetText(), "AB12");
  e->SetEditMask("");
  EXPECT_EQ(e->GetText(), "AB12");
}
