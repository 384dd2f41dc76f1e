// The numeric entry and the edit box driven by keys, mouse, focus, clipboard and the built-in
// menu.
#include <cstring>

#include "tests/platform/ui/menus/MenuHarness.h"
#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iAnalogOutput.h"

namespace widgets_test {
namespace {

using Strings = std::vector<std::string>;

AnsiString ClipboardText() {
  AnsiString s;
  if (!OpenClipboard(nullptr)) return s;
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    s = static_cast<const char*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return s;
}

void SetClipboardText(const AnsiString& s) {
  OpenClipboard(nullptr);
  EmptyClipboard();
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
  std::memcpy(GlobalLock(h), s.c_str(), s.size() + 1);
  GlobalUnlock(h);
  SetClipboardData(CF_TEXT, h);
  CloseClipboard();
}

class Entry : public ui_test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm(300, 120);
    e_ = ui_test::Make<TiAnalogOutput>(form_, form_, "E", Rect(10, 10, 110, 31));
    other_ = ui_test::Make<TiAnalogOutput>(form_, form_, "O", Rect(10, 50, 110, 71));
    e_->SetPrecision(2);
    e_->SetUnitsText("V");
    e_->SetValue(1.5);
    e_->OnChange = TNotifyEvent::Lambda([](TObject*) { ui_test::Events().push_back("change"); });
    e_->OnChangeUser = TNotifyEvent::Lambda([](TObject*) { ui_test::Events().push_back("user"); });
    ShowForm(form_);
    e_->SetFocus();
    ui_test::Pump();
    ui_test::Events().clear();
  }
  static Strings Take() {
    Strings out = ui_test::Events();
    ui_test::Events().clear();
    return out;
  }
  static void Type(const char16_t* text) {
    InputChars(text);
    ui_test::Pump();
  }
  TForm* form_ = nullptr;
  TiAnalogOutput* e_ = nullptr;
  TiAnalogOutput* other_ = nullptr;
};

TEST_F(Entry, TypedNumberWithOtherSeparatorAndUnitsIsAppliedByEnter) {
  e_->SelectAllText();
  Type(u"2, 25v");  // the blank is refused by the filter
  EXPECT_EQ(e_->GetEditText(), "2,25vV");
  EXPECT_DOUBLE_EQ(e_->GetValue(), 1.5) << "typing alone applies nothing";
  EXPECT_EQ(Take(), Strings{});
  ui_test::Key(VK_RETURN);
  EXPECT_DOUBLE_EQ(e_->GetValue(), 2.25);
  EXPECT_EQ(e_->GetEditText(), "2.25V");
  EXPECT_EQ(e_->GetSelLength(), 4);
  EXPECT_EQ(Take(), (Strings{"change", "user"}));

  e_->SelectAllText();
  Type(u"-5");
  ui_test::Key(VK_RETURN);
  EXPECT_DOUBLE_EQ(e_->GetValue(), -5) << "a leading minus is the sign";
  EXPECT_EQ(e_->GetEditText(), "-5.00V");
  Take();

  e_->SetValue(4);
  EXPECT_EQ(Take(), Strings{"change"}) << "code raises no user event";
}

TEST_F(Entry, LimitsClampAppliedAndStoredValues) {
  e_->SetPrecision(1);
  e_->SetValueMax(10);
  e_->SelectAllText();
  Type(u"12");
  ui_test::Key(VK_RETURN);
  EXPECT_DOUBLE_EQ(e_->GetValue(), 10);
  EXPECT_EQ(e_->GetEditText(), "10.0V");
  e_->SetValue(8);
  Take();
  e_->SetValueMax(5);
  EXPECT_DOUBLE_EQ(e_->GetValue(), 5) << "a new limit re-clamps";
  EXPECT_EQ(Take(), Strings{"change"});
  e_->SetValueMin(7);
  EXPECT_DOUBLE_EQ(e_->GetValue(), 7) << "with crossed limits the minimum wins";
  e_->SetValueMin(0);
  e_->SetValueMax(0);
  e_->SetValue(1e6);
  EXPECT_DOUBLE_EQ(e_->GetValue(), 1e6) << "both limits 0: no limit";
}

TEST_F(Entry, BeforeChangeVetoOrAlterationKeepsTextInStepWithValue) {
  bool allow = false;
  double replace = 0;
  e_->OnBeforeChange = TOnBeforeChangeDouble::Lambda([&](TObject*, double old, double& v, bool& can) {
    EXPECT_DOUBLE_EQ(old, 1.5);
    can = allow;
    if (replace != 0) v = replace;
  });
  e_->SelectAllText();
  Type(u"7");
  ui_test::Key(VK_RETURN);
  EXPECT_DOUBLE_EQ(e_->GetValue(), 1.5);
  EXPECT_EQ(e_->GetEditText(), "1.50V") << "the old value's text is back";
  EXPECT_EQ(Take(), Strings{});

  allow = true;
  replace = 3;
  e_->SelectAllText();
  Type(u"7");
  ui_test::Key(VK_RETURN);
  EXPECT_DOUBLE_EQ(e_->GetValue(), 3);
  EXPECT_EQ(e_->GetEditText(), "3.00V");
}

TEST_F(Entry, FocusLossAndMenuApplyCommitAsTheUsersChange) {
  e_->SelectAllText();
  Type(u"3");
  other_->SetFocus();
  ui_test::Pump();
  EXPECT_DOUBLE_EQ(e_->GetValue(), 3);
  EXPECT_EQ(Take(), (Strings{"change", "user"}));

  e_->SetFocus();
  ui_test::Pump();
  e_->SelectAllText();
  Type(u"4");
  e_->UpdateBuiltInMenu();
  TMenuItem* items = e_->BuiltInMenu()->Items();
  Strings captions;
  for (int i = 0; i < items->Count(); ++i) captions.push_back(items->Items(i)->GetCaption());
  EXPECT_EQ(captions, (Strings{"Apply", "Undo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All"}));
  EXPECT_TRUE(items->Items(0)->GetEnabled());
  EXPECT_FALSE(items->Items(4)->GetEnabled()) << "Copy: no selection";
  // A right click opens the built-in menu; its first item applies.
  {
    menu_test::TMenuScript script({PopupListWindow()});
    script.Then([] { menu_test::Tap(VK_DOWN); });
    script.Then([] { menu_test::Tap(VK_RETURN); });
    menu_test::ClickAt(At(e_, 50, 10), VK_RBUTTON);
    ui_test::Pump();
    EXPECT_FALSE(script.EndedByFailSafe);
  }
  EXPECT_DOUBLE_EQ(e_->GetValue(), 4);
  EXPECT_EQ(Take(), (Strings{"change", "user"}));
  e_->UpdateBuiltInMenu();
  EXPECT_FALSE(items->Items(0)->GetEnabled()) << "nothing pending";
}

TEST_F(Entry, FailedParseUndoesTheEditAndKeepsValue) {
  const struct {
    const char16_t* Typed;
    bool UndoOnError;
    const char* TextAfter;
  } cases[] = {
      {u"99999999999", true, "1.50V"},  // integer part beyond 32 bits
      {u"V", true, "1.50V"},            // no digit at all
      {u"99999999999", false, "99999999999V"},
  };
  for (auto k : cases) {
    e_->SetUndoOnError(k.UndoOnError);
    e_->SelectAllText();
    Type(k.Typed);
    ui_test::Key(VK_RETURN);
    EXPECT_DOUBLE_EQ(e_->GetValue(), 1.5);
    EXPECT_EQ(e_->GetEditText(), k.TextAfter);
    EXPECT_EQ(Take(), Strings{});
    e_->UndoEdit();
  }
}

class Edit : public ui_test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm(300, 120);
    e_ = ui_test::Make<TiEditCustom>(form_, form_, "E", Rect(10, 10, 160, 31));
    ShowForm(form_);
    e_->SetFocus();
    ui_test::Pump();
  }
  TForm* form_ = nullptr;
  TiEditCustom* e_ = nullptr;
};

TEST_F(Edit, MaxLengthBeepsOrReplacesTheSelection) {
  e_->SetMaxLength(3);
  InputChars(u"123");
  ui_test::Pump();
  const int beeps = MessageBeepCount();
  InputChars(u"4");
  ui_test::Pump();
  EXPECT_EQ(e_->GetEditText(), "123");
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
  ui_test::KeyWith(VK_SHIFT, VK_LEFT);
  ui_test::KeyWith(VK_SHIFT, VK_LEFT);
  EXPECT_EQ(e_->GetSelText(), "23");
  InputChars(u"9");
  ui_test::Pump();
  EXPECT_EQ(e_->GetEditText(), "19");

  SetClipboardText("abcdef");
  ui_test::KeyWith(VK_CONTROL, 'V');
  EXPECT_EQ(e_->GetEditText(), "19a") << "a paste is cut to what MaxLength leaves";
}

TEST_F(Edit, CaretKeysBackspaceAndClipboard) {
  e_->SetEditText("hello world");
  EXPECT_EQ(e_->GetSelLength(), 11) << "applying selects the text";
  e_->SetSelLength(0);
  e_->SetCaret(0);
  ui_test::Key(VK_BACK);
  EXPECT_EQ(e_->GetEditText(), "hello world") << "backspace at the start";
  ui_test::Key(VK_END);
  ui_test::KeyWith(VK_CONTROL, VK_LEFT);
  EXPECT_EQ(e_->GetCaret(), 0);
  ui_test::Key(VK_DELETE);
  EXPECT_EQ(e_->GetEditText(), "ello world");

  e_->SetSelStart(5);
  e_->SetSelLength(5);
  ui_test::KeyWith(VK_CONTROL, 'C');
  EXPECT_EQ(ClipboardText(), "world");
  ui_test::KeyWith(VK_CONTROL, 'X');
  EXPECT_EQ(e_->GetEditText(), "ello ");
  e_->SetCaret(0);
  ui_test::KeyWith(VK_CONTROL, 'V');
  EXPECT_EQ(e_->GetEditText(), "worldello ");
  ui_test::Key(VK_ESCAPE);
  EXPECT_EQ(e_->GetEditText(), "hello world") << "back to the applied text";

  // While the error display is on, copy gives its text and paste changes nothing.
  e_->SetErrorActive(true);
  e_->SetSelLength(0);
  ui_test::KeyWith(VK_CONTROL, 'C');
  EXPECT_EQ(ClipboardText(), "Error");
  ui_test::KeyWith(VK_CONTROL, 'V');
  EXPECT_EQ(e_->GetEditText(), "hello world");
}

TEST_F(Edit, DoubleClickSelectsAllAndItsPressKeepsTheSelection) {
  e_->SetEditText("abc def");
  ui_test::Press(At(e_, 20, 8));
  ui_test::Release(At(e_, 20, 8));
  EXPECT_EQ(e_->GetSelLength(), 0);
  const TPoint p = At(e_, 20, 8);
  InputMouseButton(VK_LBUTTON, true, p);
  InputMouseButton(VK_LBUTTON, false, p);
  ui_test::Pump();
  EXPECT_EQ(e_->GetSelLength(), 7);
  ui_test::Press(At(e_, 2, 8));
  EXPECT_EQ(e_->GetCaret(), 0) << "left of the text: the start";
  ui_test::Release(At(e_, 2, 8));
}

}  // namespace
}  // namespace widgets_test
