// Wide text: the wide string list's text form, case-blind search and conversions, its stored
// form "WideStrings", and the wide edit and combo keeping characters the single-byte text cannot.
#include "platform/runtime/FormText.h"
#include "tests/grid/edit/EditFixture.h"

namespace grid_edit_test {
namespace {

using Wide = EditTest;

std::vector<std::u16string> All(TWideStrings* l) {
  std::vector<std::u16string> out;
  for (int32_t i = 0; i < l->Count(); ++i) out.push_back(l->Get(i));
  return out;
}

TEST_F(Wide, ListsSplitLinesAtEveryBreakAndSearchIgnoringCase) {
  auto* c = Shown<TASGUniComboBox>();
  TWideStrings* l = c->GetWideItems();
  l->SetTextStr(u"one\r\ntwo\nthree\u2028four");
  using V = std::vector<std::u16string>;
  EXPECT_EQ(All(l), (V{u"one", u"two", u"three", u"four"}));
  EXPECT_EQ(l->GetTextStr(), u"one\r\ntwo\r\nthree\r\nfour\r\n");
  l->SetTextStr(u"a\rb\u2029c\fd\ve\r\n");
  EXPECT_EQ(All(l), (V{u"a", u"b", u"c", u"d", u"e"})) << "a final break opens no empty line";
  char16_t* text = l->GetText();
  EXPECT_EQ(std::u16string(text), u"a\r\nb\r\nc\r\nd\r\ne\r\n");
  delete[] text;

  l->SetTextStr(u"Straße\nПривет\nÉcole\n中文");
  EXPECT_EQ(l->IndexOf(u"привет"), 1);
  EXPECT_EQ(l->IndexOf(u"école"), 2);
  EXPECT_EQ(l->IndexOf(u"STRASSE"), -1) << "simple case folding only";
  EXPECT_EQ(l->IndexOf(u"中文"), 3);
  EXPECT_EQ(l->IndexOf(u"中"), -1);

  // Items above U+00FF stay; the combo's own single-byte items hold '?' for them.
  EXPECT_EQ(l->Get(3), u"中文");
  EXPECT_EQ(c->GetItems()->Strings(3), "??");
  l->Move(3, 0);
  l->Exchange(0, 1);
  EXPECT_EQ(All(l), (V{u"Straße", u"中文", u"Привет", u"École"}));

  // Assignments with the framework's single-byte lists convert through the code page.
  TStringList narrow;
  narrow.Assign(l);
  EXPECT_EQ(narrow.GetCommaText(),
            "Stra\xDF"
            "e,??,??????,\xC9"
            "cole");
  narrow.SetCommaText("x,y");
  l->Assign(&narrow);
  EXPECT_EQ(All(l), (V{u"x", u"y"}));
  l->GetAnsiStrings()->Add("z");
  EXPECT_EQ(l->Get(2), u"z");
  EXPECT_THROW(l->Assign(static_cast<TPersistent*>(form_->GetFont())), EConvertError);

  // Clearing the items keeps the text shown.
  c->SetWideText(u"Ω");
  l->Clear();
  EXPECT_EQ(l->Count(), 0);
  EXPECT_EQ(c->GetWideText(), u"Ω");
}

TEST_F(Wide, TheStoredListRoundTripsWideAndSingleByteEntries) {
  auto* c = Shown<TASGUniComboBox>();
  c->GetWideItems()->SetTextStr(u"Größe\nПривет\n中");
  AnsiString text = WriteComponentText(c);
  text.replace(text.find("object C:"), 9, "object B:");
  EXPECT_NE(text.find("Items.WideStrings = ("), AnsiString::npos) << text;
  auto* back = Make<TASGUniComboBox>(form_, form_, "B", Bounds(10, 60, 100, 24));
  ReadComponentText(text, back);
  EXPECT_EQ(All(back->GetWideItems()), All(c->GetWideItems()));

  // Entries may be single-byte strings too; an empty list is not stored.
  ReadComponentText("object B: TASGUniComboBox\n  Items.WideStrings = (\n    'abc'\n    'd'#233'f')\nend\n",
                    back);
  EXPECT_EQ(All(back->GetWideItems()), (std::vector<std::u16string>{u"abc", u"déf"}));
  back->GetWideItems()->Clear();
  EXPECT_EQ(WriteComponentText(back).find("WideStrings"), AnsiString::npos);

  // Definitions name the editor controls by class.
  for (const char* name :
       {"TAsgSpinEdit", "TAsgEditBtn", "TAsgUnitEditBtn", "TASGComboBox", "TAsgUniEdit", "TASGUniComboBox"})
    EXPECT_NE(GetClass(name), nullptr) << name;
}

TEST_F(Wide, TheWideEditKeepsCharactersAboveLatin1TypedOrSet) {
  auto* e = Shown<TAsgUniEdit>();
  e->SetWideText(u"Привет");
  EXPECT_EQ(e->GetWideText(), u"Привет");
  EXPECT_EQ(e->GetText(), "??????") << "the single-byte text holds the code page's stand-in";
  e->SetSelStart(6);
  Type(u" 中文!");
  EXPECT_EQ(e->GetWideText(), u"Привет 中文!");
  e->SetSelStart(1);
  Key(VK_BACK);
  Key(VK_DELETE);
  EXPECT_EQ(e->GetWideText(), u"ивет 中文!") << "deleting keeps the characters around";
  e->SetSelStart(3);
  e->SetSelLength(2);
  Type(u"€ÿ");
  EXPECT_EQ(e->GetWideText(), u"иве€ÿ中文!") << "a typed ÿ is itself, not a parked character";

  // The text survives the window's re-creation, and the single-byte setter is followed.
  e->RecreateWnd();
  Pump();
  EXPECT_EQ(e->GetWideText(), u"иве€ÿ中文!");
  e->TCustomEdit::SetText("plain");
  EXPECT_EQ(e->GetWideText(), u"plain");

  // Text set before the edit has a window shows once it has one.
  auto* late = new TAsgUniEdit(form_);
  late->SetWideText(u"早");
  late->SetParent(form_);
  Pump();
  EXPECT_TRUE(late->HandleAllocated());
  EXPECT_EQ(late->GetWideText(), u"早");
}

TEST_F(Wide, CompareRoutinesAndZeroTerminatedStrings) {
  EXPECT_EQ(WideCompareTextNT(u"abc", u"ABD", 0), -1);
  EXPECT_EQ(WideCompareTextNT(u"Ärger", u"äRGER", 0), 0);
  EXPECT_EQ(WideCompareText95(u"Ärger", u"äRGER", 0), 0);
  EXPECT_EQ(WideCompareTextNT(u"b", u"a", 0), 1);
  char16_t* p = WideStrNew(u"wide");
  EXPECT_EQ(WideStrLen(p), 4u);
  WideStrMove(p + 1, p, 3);
  EXPECT_EQ(std::u16string(p), u"wwid");
  delete[] p;
  EXPECT_EQ(WideStrNew(nullptr), nullptr);
}

TEST_F(Wide, TheWideComboKeepsTypedCharactersAboveLatin1InItsTextAndItems) {
  auto* c = Shown<TASGUniComboBox>();
  TWideStrings* items = c->GetWideItems();
  items->SetTextStr(u"Ωmega\nΩμέγα\nДом\nдача\n中文\n日本");
  std::vector<std::u16string> told;
  c->OnChange = TNotifyEvent::Lambda([&](TObject*) { told.push_back(c->GetWideText()); });
  Type(u"Дм");
  c->SetSelStart(1);
  Type(u"о");
  EXPECT_EQ(c->GetWideText(), u"Дом");
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.back(), u"Дом") << "the change is told with the typed character in";
  Key(VK_BACK);
  EXPECT_EQ(c->GetWideText(), u"Дм") << "deleting keeps the characters around";
  items->Add(c->GetWideText());
  EXPECT_EQ(items->Get(6), u"Дм");
  EXPECT_EQ(items->IndexOf(u"дМ"), 6);

  // A dropped list follows the typed wide text, and Enter takes the item it points at.
  c->SetWideText(u"");
  c->SetDroppedDown(true);
  ASSERT_TRUE(c->GetDroppedDown());
  Type(u"Ωμ");
  EXPECT_EQ(c->ListControl()->GetItemIndex(), 1);
  Key(VK_RETURN);
  EXPECT_FALSE(c->GetDroppedDown());
  EXPECT_EQ(c->GetWideText(), u"Ωμέγα");
  EXPECT_EQ(told.back(), u"Ωμέγα") << "the chosen item's text comes before the change is told";

  // Items of the same single-byte image stay apart when chosen.
  c->SetItemIndex(4);
  Key(VK_DOWN);
  EXPECT_EQ(c->GetItemIndex(), 5);
  EXPECT_EQ(c->GetWideText(), u"日本");

  // Without an edit the typed character picks the next item beginning with it, case ignored.
  c->SetStyle(csDropDownList);
  c->SetItemIndex(-1);
  Type(u"д");
  EXPECT_EQ(c->GetItemIndex(), 2);
  Type(u"д");
  EXPECT_EQ(c->GetItemIndex(), 3);
  EXPECT_EQ(c->GetWideText(), u"дача");
  Type(u"日");
  EXPECT_EQ(c->GetWideText(), u"日本");
}

}  // namespace
}  // namespace grid_edit_test
