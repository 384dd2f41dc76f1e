// The single-line edit: typing and keyboard editing, mouse selection, clipboard, limits, styles
// and notifications.
#include <cstring>

#include "tests/platform/ui/edits/EditHarness.h"

using namespace edit_test;

namespace {

std::string ClipboardText() {
  std::string s;
  if (!OpenClipboard(nullptr)) return s;
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (auto* p = static_cast<const char*>(GlobalLock(h))) s = p;
    GlobalUnlock(h);
  }
  CloseClipboard();
  return s;
}

void SetClipboardText(const std::string& s) {
  OpenClipboard(nullptr);
  EmptyClipboard();
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
  std::memcpy(GlobalLock(h), s.c_str(), s.size() + 1);
  GlobalUnlock(h);
  SetClipboardData(CF_TEXT, h);
  CloseClipboard();
}

class TChangeCounter : public TObject {
 public:
  int Changes = 0;
  void Changed(TObject*) { ++Changes; }
};

}  // namespace

TEST_F(EditTest, TypingAndKeyboardEditing) {
  TEdit* e = NewEdit("E");
  Type("hello world");
  EXPECT_EQ(e->GetText(), "hello world");
  EXPECT_EQ(Sel(e), "11+0");
  EXPECT_TRUE(e->GetModified());
  struct Step {
    const char* what;
    std::function<void()> keys;
    const char* text;
    const char* sel;
  };
  const Step steps[] = {
      {"Ctrl+Left goes to the word start", [] { Ctrl(VK_LEFT); }, "hello world", "6+0"},
      {"Ctrl+Shift+Right selects the word", [] { CtrlShift(VK_RIGHT); }, "hello world", "6+5"},
      {"typing replaces the selection", [] { Type("there"); }, "hello there", "11+0"},
      {"Home", [] { Key(VK_HOME); }, "hello there", "0+0"},
      {"Shift+Right twice",
       [] {
         Shift(VK_RIGHT);
         Shift(VK_RIGHT);
       },
       "hello there", "0+2"},
      {"Delete removes the selection", [] { Key(VK_DELETE); }, "llo there", "0+0"},
      {"End, Backspace",
       [] {
         Key(VK_END);
         Key(VK_BACK);
       },
       "llo ther", "8+0"},
      {"Left then Delete",
       [] {
         Key(VK_LEFT);
         Key(VK_DELETE);
       },
       "llo the", "7+0"},
      {"Shift+Home selects back to the start", [] { Shift(VK_HOME); }, "llo the", "0+7"},
      {"Left collapses to the start", [] { Key(VK_LEFT); }, "llo the", "0+0"},
      {"Ctrl+A selects all", [] { Ctrl('A'); }, "llo the", "0+7"},
      {"Ctrl+Z undoes the last edit", [] { Ctrl('Z'); }, "llo ther", "7+0"},
  };
  for (const Step& s : steps) {
    s.keys();
    EXPECT_EQ(e->GetText(), s.text) << s.what;
    EXPECT_EQ(Sel(e), s.sel) << s.what;
  }
  // Typing undoes as one step; undoing twice redoes.
  e->SetText("");
  Type("abc");
  Ctrl('Z');
  EXPECT_EQ(e->GetText(), "");
  Ctrl('Z');
  EXPECT_EQ(e->GetText(), "abc");
}

TEST_F(EditTest, ClipboardBetweenTwoEdits) {
  TEdit* a = NewEdit("A");
  TEdit* b = NewEdit("B", Bounds(10, 50, 150, 24));
  a->SetFocus();
  Type("copy me");
  Ctrl('A');
  Ctrl('C');
  EXPECT_EQ(ClipboardText(), "copy me");
  b->SetFocus();
  Pump();
  Ctrl('V');
  EXPECT_EQ(b->GetText(), "copy me");
  Shift(VK_INSERT);
  EXPECT_EQ(b->GetText(), "copy mecopy me");
  // Cut moves the selection out; Shift+Delete does the same.
  Shift(VK_HOME);
  Ctrl('X');
  EXPECT_EQ(b->GetText(), "");
  a->SetFocus();
  Pump();
  Key(VK_END);
  Ctrl('V');
  EXPECT_EQ(a->GetText(), "copy mecopy mecopy me");
  Ctrl(VK_LEFT);
  Shift(VK_END);
  Shift(VK_DELETE);
  EXPECT_EQ(ClipboardText(), "me");
  EXPECT_EQ(a->GetText(), "copy mecopy mecopy ");
  // A line break in pasted text ends a single-line paste.
  SetClipboardText("one\r\ntwo");
  Ctrl('V');
  EXPECT_EQ(a->GetText(), "copy mecopy mecopy one");
  // The methods do what the keys do.
  a->SelectAll();
  a->CopyToClipboard();
  EXPECT_EQ(ClipboardText(), "copy mecopy mecopy one");
  b->PasteFromClipboard();
  EXPECT_EQ(b->GetText(), "copy mecopy mecopy one");
}

TEST_F(EditTest, MaxLengthReadOnlyPasswordAndCase) {
  TEdit* e = NewEdit("E");
  e->SetMaxLength(5);
  int beeps = MessageBeepCount();
  Type("abcdefg");
  EXPECT_EQ(e->GetText(), "abcde");
  EXPECT_EQ(MessageBeepCount(), beeps + 2);
  // A paste is cut to the room the selection leaves.
  SetClipboardText("XYZ");
  e->SetSelStart(1);
  e->SetSelLength(1);
  Ctrl('V');
  EXPECT_EQ(e->GetText(), "aXcde");
  // Text set by the program may be longer; a limit below the length refuses typing, nothing more.
  e->SetText("longer than five");
  EXPECT_EQ(e->GetText(), "longer than five");
  Key(VK_END);
  Type("x");
  EXPECT_EQ(e->GetText(), "longer than five");
  Key(VK_BACK);
  EXPECT_EQ(e->GetText(), "longer than fiv");

  e->SetMaxLength(0);
  e->SetReadOnly(true);
  Type("q");
  Key(VK_BACK);
  Ctrl('X');
  Ctrl('V');
  EXPECT_EQ(e->GetText(), "longer than fiv");
  Ctrl('A');
  Ctrl('C');
  EXPECT_EQ(ClipboardText(), "longer than fiv");
  e->SetSelText("set");  // the program still may
  EXPECT_EQ(e->GetText(), "set");
  e->SetReadOnly(false);

  e->SetText("");
  e->SetPasswordChar('*');
  EXPECT_EQ(e->Perform(EM_GETPASSWORDCHAR, 0, 0), '*');
  EXPECT_NE(GetWindowLongPtr(e->Handle(), GWL_STYLE) & ES_PASSWORD, 0);
  Type("secret");
  EXPECT_EQ(e->GetText(), "secret");
  SetClipboardText("before");
  Ctrl('A');
  Ctrl('C');
  Ctrl('X');
  EXPECT_EQ(ClipboardText(), "before");
  EXPECT_EQ(e->GetText(), "secret");
  e->SetPasswordChar(0);

  e->SetText("");
  e->SetCharCase(ecUpperCase);
  Type("aBc");
  EXPECT_EQ(e->GetText(), "ABC");
  e->SetCharCase(ecLowerCase);
  EXPECT_EQ(e->GetText(), "abc");
  Key(VK_END);
  Type("D");
  EXPECT_EQ(e->GetText(), "abcd");
}

TEST_F(EditTest, MouseSelection) {
  TEdit* e = NewEdit("E", Bounds(10, 10, 250, 24));
  e->SetText("alpha beta gamma");
  auto at = [&](int i) {
    LRESULT p = e->Perform(EM_POSFROMCHAR, WPARAM(i), 0);
    return At(e, int16_t(LOWORD(p)) + 1, int16_t(HIWORD(p)) + 3);
  };
  // EM_CHARFROMPOS answers where EM_POSFROMCHAR put a character.
  for (int i : {0, 3, 6, 16}) {
    LRESULT p = e->Perform(EM_POSFROMCHAR, WPARAM(i), 0);
    EXPECT_EQ(LOWORD(e->Perform(EM_CHARFROMPOS, 0, p)), i);
  }
  Press(at(6));
  Release(at(6));
  EXPECT_EQ(Sel(e), "6+0");
  clock_.Advance(1000);
  Press(at(2));
  MoveTo(at(8));
  Release(at(8));
  EXPECT_EQ(Sel(e), "2+6");
  EXPECT_EQ(e->GetSelText(), "pha be");
  clock_.Advance(1000);
  // A double click takes the word and the blank after it.
  Press(at(8));
  Release(at(8));
  Press(at(8));
  Release(at(8));
  EXPECT_EQ(e->GetSelText(), "beta ");
  clock_.Advance(1000);
  // Shift+click extends from the anchor.
  Press(at(0));
  Release(at(0));
  clock_.Advance(1000);
  InputKey(VK_SHIFT, true);
  Press(at(5));
  Release(at(5));
  InputKey(VK_SHIFT, false);
  Pump();
  EXPECT_EQ(e->GetSelText(), "alpha");
}

TEST_F(EditTest, ScrollsToKeepTheCaretInView) {
  TEdit* e = NewEdit("E", Bounds(10, 10, 60, 24));
  Type("the quick brown fox jumps");
  RECT fr;
  e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fr));
  auto caretX = [&] { return int16_t(LOWORD(e->Perform(EM_POSFROMCHAR, WPARAM(e->GetSelStart()), 0))); };
  EXPECT_GE(caretX(), fr.Left);
  EXPECT_LT(caretX(), fr.Right);
  Key(VK_HOME);
  EXPECT_EQ(caretX(), fr.Left);
  Key(VK_END);
  EXPECT_LT(caretX(), fr.Right);
  POINT caret;
  GetCaretPos(&caret);
  EXPECT_EQ(caret.X, caretX());
}

TEST_F(EditTest, MessagesAndNotifications) {
  TChangeCounter counter;
  TEdit* e = NewEdit("E");
  e->OnChange = TNotifyEvent(&counter, &TChangeCounter::Changed);
  Type("ab");
  EXPECT_EQ(counter.Changes, 2);
  e->SetText("xyz");
  EXPECT_EQ(counter.Changes, 3);
  EXPECT_FALSE(e->GetModified());
  HWND h = e->Handle();
  SendMessage(h, EM_SETSEL, 1, 2);
  DWORD s = 0, t = 0;
  SendMessage(h, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&t));
  EXPECT_EQ(s, 1u);
  EXPECT_EQ(t, 2u);
  SendMessage(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("YY"));
  EXPECT_EQ(e->GetText(), "xYYz");
  EXPECT_EQ(counter.Changes, 4);
  EXPECT_EQ(SendMessage(h, EM_GETMODIFY, 0, 0), TRUE);
  EXPECT_EQ(SendMessage(h, EM_CANUNDO, 0, 0), TRUE);
  SendMessage(h, EM_UNDO, 0, 0);
  EXPECT_EQ(e->GetText(), "xyz");
  SendMessage(h, EM_SETSEL, 0, -1);
  EXPECT_EQ(Sel(e), "0+3");
  SendMessage(h, EM_SETSEL, WPARAM(-1), 0);
  EXPECT_EQ(e->GetSelLength(), 0);
  SendMessage(h, EM_LIMITTEXT, 4, 0);
  EXPECT_EQ(e->GetMaxLength(), 4);
  SendMessage(h, EM_SETREADONLY, TRUE, 0);
  EXPECT_TRUE(e->GetReadOnly());
  char buf[8] = {};
  EXPECT_EQ(SendMessage(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf)), 3);
  EXPECT_STREQ(buf, "xyz");
  EXPECT_EQ(SendMessage(h, WM_GETDLGCODE, 0, 0) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS), DLGC_WANTCHARS);
  // The text survives a new window.
  e->SetBorderStyle(bsNone);
  EXPECT_EQ(e->GetText(), "xyz");
  EXPECT_TRUE(e->GetReadOnly());
}

TEST_F(EditTest, EnteringByKeyboardSelectsAll) {
  TEdit* a = NewEdit("A");
  TEdit* b = NewEdit("B", Bounds(10, 50, 150, 24));
  b->SetText("some text");
  a->SetFocus();
  Pump();
  Key(VK_TAB);
  EXPECT_TRUE(b->Focused());
  EXPECT_EQ(Sel(b), "0+9");
  b->SetAutoSelect(false);
  b->SetSelStart(2);
  Shift(VK_TAB);
  Key(VK_TAB);
  EXPECT_EQ(Sel(b), "2+0");
}
