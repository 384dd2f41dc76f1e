// The window helpers of the program: the form resizer's scaling and the flat panel's painting.
#include <functional>
#include <map>

#include "app/Easysize.h"
#include "app/TFlatPanelUnit.h"
#include "platform/runtime/FormText.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/TypInfo.h"
#include "platform/ui/StdButtons.h"
#include "tests/platform/ui/controls/UiHarness.h"

namespace ui_test {
namespace {

// ------------------------------------------------------------------------------- resizer

class Resizer : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = NewForm();
    form->SetBounds(0, 0, 800, 600);
    box = Make<TPanel>(form, form, "Box", Bounds(10, 20, 100, 30));
    box->GetFont()->SetSize(10);
    big = Make<TPanel>(form, form, "Big", Bounds(200, 100, 50, 50));
    big->GetFont()->SetSize(36);
    label = Make<TLabel>(form, form, "Text", Bounds(300, 30, 40, 13));
    label->SetCaption("Volt");
    filler = Make<TPanel>(form, form, "Filler", Bounds(0, 0, 10, 10));
    filler->SetAlign(alClient);
    filler->SendToBack();
    resizer = new TFormResizer(form);
    resizer->SetResizeFonts(true);
  }
  void SizeTo(int w, int h) {
    form->SetBounds(0, 0, w, h);
    resizer->ResizeAll();
  }
  static TRect BoundsOf(TControl* c) {
    return Bounds(c->GetLeft(), c->GetTop(), c->GetWidth(), c->GetHeight());
  }

  TForm* form = nullptr;
  TPanel *box = nullptr, *big = nullptr, *filler = nullptr;
  TLabel* label = nullptr;
  TFormResizer* resizer = nullptr;
};

TEST_F(Resizer, ControlsAndFontsScaleWithTheFormAndComeBackExactly) {
  SizeTo(1600, 1200);
  EXPECT_EQ(BoundsOf(box), Bounds(10, 20, 100, 30)) << "nothing happens before the layout is recorded";

  SizeTo(800, 600);
  resizer->InitializeForm();
  const TRect fillerBounds = BoundsOf(filler);
  const int labelWidth = label->GetWidth();
  std::vector<std::string> posts;
  resizer->OnPostResize = TPostResizeEvent::Lambda([&](TObject*, TControl* c, double hr, double wr) {
    posts.push_back((c ? c->GetName() : AnsiString("-")) + " " + FloatToStr(hr) + " " + FloatToStr(wr));
  });

  SizeTo(1600, 1200);
  EXPECT_EQ(BoundsOf(box), Bounds(20, 40, 200, 60));
  EXPECT_EQ(box->GetFont()->GetSize(), 20);
  EXPECT_EQ(big->GetFont()->GetSize(), 48);  // 72 capped
  EXPECT_EQ(label->GetLeft(), 600);
  EXPECT_EQ(label->GetTop(), 60);
  EXPECT_FALSE(resizer->Resizers()[2]->ResizeWidth);
  EXPECT_EQ(BoundsOf(filler), BoundsOf(filler)) << "client-aligned: left to its parent";
  EXPECT_EQ(posts, (std::vector<std::string>{"Box 2 2", "Big 2 2", "Text 2 2", "Filler 2 2"}));

  SizeTo(400, 300);
  EXPECT_EQ(BoundsOf(box), Bounds(5, 10, 50, 15));
  EXPECT_EQ(box->GetFont()->GetSize(), 8);  // 5 raised to the minimum
  EXPECT_EQ(big->GetFont()->GetSize(), 18);

  SizeTo(803, 601);  // 10 * 601/600 and the other odd ratios round halves to even
  SizeTo(800, 600);
  EXPECT_EQ(BoundsOf(box), Bounds(10, 20, 100, 30));
  EXPECT_EQ(BoundsOf(big), Bounds(200, 100, 50, 50));
  EXPECT_EQ(box->GetFont()->GetSize(), 10);
  EXPECT_EQ(big->GetFont()->GetSize(), 36);
  EXPECT_EQ(label->GetWidth(), labelWidth);
  EXPECT_EQ(BoundsOf(filler), fillerBounds);

  // The minimum wins when the limits cross; a removed control is skipped from then on.
  delete big;
  posts.clear();
  SizeTo(1600, 1200);
  EXPECT_EQ(posts[1], "- 2 2");
  resizer->SetEnforceMinSize(true);
  SizeTo(400, 300);
  EXPECT_EQ(form->GetWidth(), 800);
  EXPECT_EQ(form->GetHeight(), 600);
  EXPECT_EQ(BoundsOf(box), Bounds(10, 20, 100, 30));
}

TEST_F(Resizer, TheLimitsAreTakenWhenRecordedAndTheOwnerMustBeAControl) {
  resizer->SetMinFontSize(30);
  resizer->SetMaxFontSize(20);
  resizer->InitializeForm();
  resizer->SetMinFontSize(8);
  SizeTo(1600, 1200);
  EXPECT_EQ(box->GetFont()->GetSize(), 30);

  struct Case {
    TComponent* owner;
    const char* message;
  } cases[] = {{nullptr, "TFormResizer created without an owner"},
               {Application, "TFormResizer owner must be a panel or form"}};
  for (const Case& c : cases) {
    try {
      new TFormResizer(c.owner);
      ADD_FAILURE() << c.message;
    } catch (const EResizerException& e) {
      EXPECT_EQ(e.Message, c.message);
    }
  }
  EXPECT_THROW(TSingleResizer(nullptr, form, false, 8, 48), EResizerException);
  EXPECT_THROW(TSingleResizer(box, nullptr, false, 8, 48), EResizerException);
}

// ---------------------------------------------------------------------------- flat panel

uint32_t ScreenPixel(TPoint p) { return ComposeScreen().Row(p.Y)[p.X] & 0xFFFFFF; }
uint32_t ScreenRgb(TColor c) {
  COLORREF v = COLORREF(ColorToRGB(c));
  return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

class FlatPanel : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = NewForm();
    form->SetColor(clYellow);
    panel = new TFlatPanel(form);
    panel->SetParent(form);
    panel->SetLeft(20);
    panel->SetTop(30);
    ShowForm(form);
  }
  // How many pixels of each colour the panel shows.
  std::map<uint32_t, int> Colours() {
    Pump();
    const auto& screen = ComposeScreen();
    std::map<uint32_t, int> counts;
    for (int y = 0; y < panel->GetHeight(); ++y)
      for (int x = 0; x < panel->GetWidth(); ++x) {
        TPoint p = At(panel, x, y);
        ++counts[screen.Row(p.Y)[p.X] & 0xFFFFFF];
      }
    return counts;
  }
  TForm* form = nullptr;
  TFlatPanel* panel = nullptr;
};

TEST_F(FlatPanel, ANewPanelTakesItsParentsLookInsideAOnePixelFrame) {
  EXPECT_EQ(panel->GetWidth(), 185);
  EXPECT_EQ(panel->GetHeight(), 41);
  EXPECT_TRUE(panel->GetParentColor());
  EXPECT_TRUE(panel->GetParentFont());
  EXPECT_EQ(panel->GetColorHighLight(), TColor(0x8396A0));
  Pump();
  const uint32_t frame = ScreenRgb(TColor(0x8396A0));
  for (TPoint p : {TPoint{0, 0}, TPoint{184, 0}, TPoint{0, 40}, TPoint{184, 40}, TPoint{92, 0}, TPoint{0, 20},
                   TPoint{184, 20}, TPoint{92, 40}})
    EXPECT_EQ(ScreenPixel(At(panel, p.X, p.Y)), frame) << p.X << "," << p.Y;
  EXPECT_EQ(ScreenPixel(At(panel, 1, 1)), ScreenRgb(clYellow));
  EXPECT_EQ(Colours()[frame], 2 * 185 + 2 * 39);

  panel->SetColorHighLight(clRed);
  panel->SetColorShadow(clBlue);
  Pump();
  EXPECT_EQ(ScreenPixel(At(panel, 0, 20)), ScreenRgb(clRed));
  EXPECT_EQ(ScreenPixel(At(panel, 92, 0)), ScreenRgb(clRed));
  EXPECT_EQ(ScreenPixel(At(panel, 184, 20)), ScreenRgb(clBlue));
  EXPECT_EQ(ScreenPixel(At(panel, 92, 40)), ScreenRgb(clBlue));
}

TEST_F(FlatPanel, ACaptionRepaintsAndIsEmbossedWhileDisabled) {
  // On black, the embossed caption's highlight (white) and shadow (grey) both show.
  panel->SetColor(clBlack);
  panel->GetFont()->SetColor(clRed);
  panel->GetFont()->SetSize(14);
  auto count = [&](const std::map<uint32_t, int>& colours, const std::function<bool(uint32_t)>& which) {
    int n = 0;
    for (auto& [c, k] : colours)
      if (which(c)) n += k;
    return n;
  };
  auto red = [](uint32_t c) { return (c >> 16) > 0x80 && (c & 0xFFFF) == 0; };
  // Lighter than the shadow: the highlight where the shadow leaves it visible.
  auto white = [](uint32_t c) { return (c >> 16) > 0xA0 && ((c >> 8) & 0xFF) > 0xA0 && (c & 0xFF) > 0xA0; };
  const uint32_t shadow = ScreenRgb(clBtnShadow);
  EXPECT_EQ(count(Colours(), red), 0);
  panel->SetCaption("Output");
  const std::map<uint32_t, int> enabled = Colours();
  EXPECT_GT(count(enabled, red), 30);
  EXPECT_EQ(count(enabled, white), 0);
  panel->SetEnabled(false);
  const std::map<uint32_t, int> disabled = Colours();
  EXPECT_EQ(count(disabled, red), 0);
  EXPECT_GT(count(disabled, white), 10);
  EXPECT_GT(count(disabled, [&](uint32_t c) { return c == shadow; }), 30);
  panel->SetEnabled(true);
  EXPECT_EQ(count(Colours(), red), count(enabled, red));
}

TEST_F(FlatPanel, ATransparentPanelShowsWhatItsParentPaintsBeneathIt) {
  auto* beneath = new TPaintBox(form);
  beneath->SetBounds(40, 40, 30, 10);
  beneath->OnPaint = TNotifyEvent::Lambda([beneath](TObject*) {
    beneath->GetCanvas()->GetBrush()->SetColor(clRed);
    beneath->GetCanvas()->FillRect(beneath->GetClientRect());
  });
  beneath->SetParent(form);
  panel->SetParentColor(false);
  panel->SetColor(clBlue);
  EXPECT_EQ(Colours()[ScreenRgb(clRed)], 0);
  panel->SetTransparent(true);
  std::map<uint32_t, int> seen = Colours();
  EXPECT_EQ(seen[ScreenRgb(clBlue)], 0);
  EXPECT_EQ(seen[ScreenRgb(clRed)], 30 * 10);
  EXPECT_GT(seen[ScreenRgb(clYellow)], 1000);
}

TEST_F(FlatPanel, ItsPropertiesAreStoredAndReadFromADefinition) {
  auto* read = new TFlatPanel(form);
  ReadComponentText(
      "object Flat1: TFlatPanel\n  Left = 5\n  Transparent = True\n  ColorHighLight = clRed\n"
      "  ColorShadow = 255\n  Caption = 'Hi'\n  Alignment = taLeftJustify\nend\n",
      read);
  EXPECT_TRUE(read->GetTransparent());
  EXPECT_EQ(read->GetColorHighLight(), clRed);
  EXPECT_EQ(read->GetColorShadow(), TColor(255));
  EXPECT_EQ(read->GetCaption(), "Hi");
  EXPECT_EQ(read->GetAlignment(), taLeftJustify);
  EXPECT_EQ(GetClass("TFlatPanel"), &TFlatPanel::ClassInfo());
  const AnsiString text = WriteComponentText(read);
  EXPECT_NE(text.find("Transparent = True"), AnsiString::npos) << text;
  EXPECT_NE(text.find("ColorHighLight = clRed"), AnsiString::npos) << text;
}

}  // namespace
}  // namespace ui_test
