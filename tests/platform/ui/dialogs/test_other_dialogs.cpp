// The input query, colour, font and page setup dialogs, through their forms and through the
// responder, and the system's calls on them.
#include <functional>

#include "platform/ui/Dialogs.h"
#include "tests/platform/ui/edits/EditHarness.h"

namespace dialogs_test {
namespace {

using namespace ui_test;

class OtherDialogs : public UiTest {
 protected:
  // Presses keys in the form that comes up once the modal loop runs.
  void OnceUp(std::function<void()> act) {
    int rounds = 0;
    Application->OnIdle = TIdleEvent::Lambda([act, rounds](TObject*, bool& done) mutable {
      done = false;
      if (++rounds == 4) act();
      if (rounds > 300)
        if (TCustomForm* top = Screen->ActiveCustomForm()) top->SetModalResult(mrCancel);
    });
  }
  void TearDown() override {
    Application->OnIdle = nullptr;
    UiTest::TearDown();
  }
};

TEST_F(OtherDialogs, InputQueryTakesTheTypedLineOrKeepsTheValue) {
  dialogAnswer_ = [](TObject*) { return mrNone; };
  AnsiString value = "old";
  OnceUp([] {
    for (UINT vk : {UINT('N'), UINT('E'), UINT('W')}) {
      InputKey(vk, true);
      InputKey(vk, false);
    }
    InputKey(VK_RETURN, true);
    InputKey(VK_RETURN, false);
  });
  EXPECT_TRUE(InputQuery("Rename", "Name:", value));
  EXPECT_EQ(value, "new") << "the old text was selected and typed over";
  OnceUp([] {
    InputKey(VK_ESCAPE, true);
    InputKey(VK_ESCAPE, false);
  });
  EXPECT_EQ(InputBox("Rename", "Name:", "keep"), "keep");
  dialogAnswer_ = [](TObject* d) {
    auto* q = dynamic_cast<TInputQueryDialog*>(d);
    EXPECT_NE(q, nullptr);
    EXPECT_EQ(q->Prompt, "Name:");
    q->Value = "scripted";
    return mrOk;
  };
  EXPECT_EQ(InputBox("", "Name:", "x"), "scripted");
}

TEST_F(OtherDialogs, ColourDialogPicksByEditsAndKeepsCustomColours) {
  dialogAnswer_ = [](TObject*) { return mrNone; };
  TColorDialog d(nullptr);
  d.SetColor(clRed);
  OnceUp([&] {
    TForm* f = d.RunningForm();
    static_cast<TEdit*>(f->FindComponent("GreenEdit"))->SetText("128");
    static_cast<TButton*>(f->FindComponent("AddButton"))->Click();
    static_cast<TButton*>(f->FindComponent("OkButton"))->Click();
  });
  ASSERT_TRUE(d.Execute());
  EXPECT_EQ(ColorToRGB(d.GetColor()), TColor(RGB(255, 128, 0)));
  EXPECT_EQ(d.CustomColorValues()[0], RGB(255, 128, 0)) << "added to the first white custom colour";
  EXPECT_EQ(d.GetCustomColors()->Values("ColorA"), "FF8000");
  // A value out of range keeps the form open with a message.
  OnceUp([&] {
    TForm* f = d.RunningForm();
    static_cast<TEdit*>(f->FindComponent("RedEdit"))->SetText("300");
    static_cast<TButton*>(f->FindComponent("OkButton"))->Click();
  });
  EXPECT_FALSE(d.Execute());
  EXPECT_EQ(boxes_.size(), 1u);

  COLORREF custom[16];
  for (COLORREF& c : custom) c = RGB(255, 255, 255);
  custom[3] = RGB(1, 2, 3);
  CHOOSECOLORA cc;
  cc.lStructSize = sizeof cc;
  cc.rgbResult = RGB(0, 0, 255);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  dialogAnswer_ = [](TObject* dlg) {
    auto* c = static_cast<TColorDialog*>(dlg);
    EXPECT_EQ(ColorToRGB(c->GetColor()), TColor(RGB(0, 0, 255)));
    EXPECT_EQ(c->CustomColorValues()[3], RGB(1, 2, 3));
    c->SetColor(TColor(RGB(9, 8, 7)));
    return mrOk;
  };
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(cc.rgbResult, RGB(9, 8, 7));
  EXPECT_EQ(custom[3], RGB(1, 2, 3));
  cc.lpCustColors = nullptr;
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
}

TEST_F(OtherDialogs, FontDialogReadsAndWritesTheLogicalFont) {
  dialogAnswer_ = [](TObject*) { return mrNone; };
  LOGFONTA lf{};
  lf.lfHeight = -16;
  lf.lfWeight = FW_NORMAL;
  std::strcpy(lf.lfFaceName, "Courier New");
  CHOOSEFONTA cf;
  cf.lStructSize = sizeof cf;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  cf.rgbColors = RGB(0, 0, 128);
  OnceUp([] {
    TCustomForm* f = Screen->ActiveCustomForm();
    auto* styles = static_cast<TListBox*>(f->FindComponent("StyleList"));
    EXPECT_EQ(static_cast<TListBox*>(f->FindComponent("FaceList"))->GetItemIndex(),
              static_cast<TListBox*>(f->FindComponent("FaceList"))->GetItems()->IndexOf("Courier New"));
    styles->SetItemIndex(2);  // bold
    static_cast<TComboBox*>(f->FindComponent("SizeCombo"))->SetText("14");
    static_cast<TCheckBox*>(f->FindComponent("Underline"))->SetChecked(true);
    static_cast<TButton*>(f->FindComponent("OkButton"))->Click();
  });
  ASSERT_TRUE(ChooseFontA(&cf));
  EXPECT_STREQ(lf.lfFaceName, "Courier New");
  EXPECT_GT(lf.lfWeight, 400);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_EQ(cf.iPointSize, 140);
  EXPECT_EQ(cf.rgbColors, RGB(0, 0, 128));
  OnceUp([] {
    TCustomForm* f = Screen->ActiveCustomForm();
    static_cast<TComboBox*>(f->FindComponent("SizeCombo"))->SetText("big");
    static_cast<TButton*>(f->FindComponent("OkButton"))->Click();
  });
  EXPECT_FALSE(ChooseFontA(&cf)) << "a size that is no number is refused";
  EXPECT_EQ(boxes_.size(), 1u);
}

TEST_F(OtherDialogs, PageSetupMarginsInHundredthsOfAMillimetre) {
  PAGESETUPDLGA psd;
  psd.lStructSize = sizeof psd;
  psd.Flags = PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS;
  psd.rtMargin = TRect{138, 277, 138, 555};
  dialogAnswer_ = [](TObject* dlg) {
    auto* p = static_cast<TPageSetupDialog*>(dlg);
    EXPECT_EQ(p->MarginTop, 277);
    EXPECT_EQ(p->Units, pmMillimeters);
    p->MarginLeft = 1000;
    p->Orientation = poLandscape;
    p->PaperSize = DMPAPER_A4;
    return mrOk;
  };
  ASSERT_TRUE(PageSetupDlgA(&psd));
  EXPECT_EQ(psd.rtMargin, Rect(1000, 277, 138, 555));
  EXPECT_EQ(psd.ptPaperSize, (TPoint{29700, 21000})) << "A4 turned";
  ASSERT_NE(psd.hDevMode, nullptr);
  ASSERT_NE(psd.hDevNames, nullptr);
  auto* dm = static_cast<DEVMODEA*>(GlobalLock(psd.hDevMode));
  EXPECT_EQ(dm->dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(dm->dmPaperSize, DMPAPER_A4);
  GlobalUnlock(psd.hDevMode);
  auto* dn = static_cast<const char*>(GlobalLock(psd.hDevNames));
  DEVNAMES head;
  std::memcpy(&head, dn, sizeof head);
  EXPECT_EQ(head.wDriverOffset, sizeof(DEVNAMES));
  EXPECT_GT(head.wOutputOffset, head.wDeviceOffset);
  GlobalUnlock(psd.hDevNames);
  GlobalFree(psd.hDevMode);
  GlobalFree(psd.hDevNames);
  dialogAnswer_ = [](TObject*) { return mrCancel; };
  psd.hDevMode = psd.hDevNames = nullptr;
  EXPECT_FALSE(PageSetupDlgA(&psd));
  EXPECT_EQ(psd.hDevMode, nullptr) << "a cancel hands nothing back";
}

}  // namespace
}  // namespace dialogs_test
