// The property editor's pages as laid out: on every sheet of every page no two controls overlap,
// every control lies inside its sheet or group, and every caption fits its control's width as
// measured with the control's own font.  Also writes a screenshot of every sheet.
#include <gtest/gtest.h>

#include <functional>

#include "platform/display/Display.h"
#include "platform/runtime/TypInfo.h"
#include "platform/ui/StdButtons.h"
#include "plot/iPlotTranslation.h"
#include "plot/iXYPlotChannel.h"
#include "tests/plot/editor/EditorTest.h"
#include "tests/support/TestOutput.h"
#include "tests/support/UiPump.h"
#include "widgets/iCheckBox.h"
#include "widgets/iRadioGroup.h"

namespace {

TSize Measured(TFont* Font, const AnsiString& Text) {
  TBitmap scratch;
  scratch.SetSize(1, 1);
  scratch.GetCanvas()->SetFont(Font);
  return scratch.GetCanvas()->TextExtent(Text);
}

int32_t MeasuredWidth(TFont* Font, const AnsiString& Text) { return Measured(Font, Text).cx; }

// The width C's caption (and items) need, 0 for a control without text of its own.
int32_t WidthTheTextNeeds(TControl* C) {
  if (auto* check = dynamic_cast<TiCheckBox*>(C))  // the caption starts 18 pixels in
    return MeasuredWidth(check->GetFont(), check->GetCaption()) + 18;
  if (auto* radio = dynamic_cast<TiRadioGroup*>(C)) {
    // Item i's text runs from 26 pixels into its column, the columns share the width less 14, and
    // the next column's mark begins 9 pixels into it: keep the text clear of it.
    const int32_t columns = std::max(1, radio->GetColumns());
    int32_t need =
        MeasuredWidth(radio->GetFont(), radio->GetCaption()) + 2 * MeasuredWidth(radio->GetFont(), "A");
    for (int32_t i = 0; i < radio->GetItems()->Count(); ++i) {
      const int32_t text = MeasuredWidth(radio->GetFont(), radio->GetItems()->Strings(i));
      need = std::max(need, 14 + columns * (text + 12 + 10));
    }
    return need;
  }
  if (auto* combo = dynamic_cast<TComboBox*>(C)) {  // the drop-down button takes the right end
    int32_t need = 0;
    for (int32_t i = 0; i < combo->GetItems()->Count(); ++i)
      need = std::max(need, MeasuredWidth(combo->GetFont(), combo->GetItems()->Strings(i)) + 22);
    return need;
  }
  if (auto* group = dynamic_cast<TCustomGroupBox*>(C))
    return MeasuredWidth(group->GetFont(), group->GetCaption()) + 16;
  if (auto* button = dynamic_cast<TButtonControl*>(C))
    return MeasuredWidth(button->GetFont(), button->GetCaption()) + 6;
  if (auto* label = dynamic_cast<TCustomLabel*>(C))
    return MeasuredWidth(label->GetFont(), label->GetCaption());
  return 0;
}

AnsiString Describe(TControl* C) {
  return (C->GetName().empty() ? AnsiString("\"") + C->GetCaption() + "\"" : C->GetName()) + " " +
         IntToStr(C->Left()) + "," + IntToStr(C->Top()) + " " + IntToStr(C->Width()) + "x" +
         IntToStr(C->Height());
}

// Checks the visible children of Container, then the containers among them.
void CheckContainer(TWinControl* Container, const AnsiString& Where) {
  std::vector<TControl*> shown;
  for (int32_t i = 0; i < Container->ControlCount(); ++i)
    // Sheets are hidden until their tab is chosen.
    if (Container->Controls(i)->GetVisible() || Is<TTabSheet>(Container->Controls(i)))
      shown.push_back(Container->Controls(i));
  const bool group = dynamic_cast<TCustomGroupBox*>(Container) != nullptr && !Is<TiRadioGroup>(Container);
  const int32_t top = group ? Measured(Container->GetFont(), "0").cy : 0;  // below the caption
  for (size_t i = 0; i < shown.size(); ++i) {
    TControl* c = shown[i];
    const TRect r{c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()};
    if (!Is<TTabSheet>(c)) {
      EXPECT_TRUE(r.Left >= 0 && r.Top >= top && r.Right <= Container->GetClientWidth() &&
                  r.Bottom <= Container->GetClientHeight())
          << Where << ": " << Describe(c) << " is cut by its container, " << Container->GetClientWidth()
          << "x" << Container->GetClientHeight();
    }
    EXPECT_LE(WidthTheTextNeeds(c), c->Width()) << Where << ": the text of " << Describe(c) << " is cut";
    for (size_t j = i + 1; j < shown.size(); ++j) {
      TControl* d = shown[j];
      const TRect s{d->Left(), d->Top(), d->Left() + d->Width(), d->Top() + d->Height()};
      const bool apart = r.Right <= s.Left || s.Right <= r.Left || r.Bottom <= s.Top || s.Bottom <= r.Top;
      EXPECT_TRUE(apart || (Is<TTabSheet>(c) && Is<TTabSheet>(d)))
          << Where << ": " << Describe(c) << " overlaps " << Describe(d);
    }
  }
  // Every tab of the page controls can be reached and then shows its whole caption: chosen, it
  // is scrolled into view when the row is wider than the control.
  if (auto* tabs = dynamic_cast<TPageControl*>(Container)) {
    TTabSheet* active = tabs->GetActivePage();
    for (int32_t i = 0; i < tabs->PageCount(); ++i) {
      const int32_t tab = tabs->Pages(i)->TabIndex();
      if (tab < 0) continue;
      tabs->SetActivePageIndex(i);
      const TRect r = tabs->TabRect(tab), buttons = tabs->ScrollButtonRect(false);
      const int32_t end = buttons.IsEmpty() ? tabs->GetClientWidth() : buttons.Left;
      EXPECT_TRUE(r.Left >= 0 && r.Right <= end && tabs->IndexOfTabAt(r.Left + 2, r.Top + 2) == tab)
          << Where << ": tab " << tabs->Pages(i)->GetCaption();
    }
    tabs->SetActivePage(active);
  }
  for (TControl* c : shown)
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (Is<TiRadioGroup>(w) || Is<TiComponentEditorColorPicker>(w)) continue;  // their own parts
      CheckContainer(w, Is<TTabSheet>(w) ? Where + " > " + w->GetCaption() : Where);
    }
}

// Calls Shoot for every sheet with its page controls switched to it, named by its path.
void ForEverySheet(TPageControl* Pages, const AnsiString& Path,
                   const std::function<void(const AnsiString&)>& Shoot) {
  for (int32_t i = 0; i < Pages->PageCount(); ++i) {
    TTabSheet* sheet = Pages->Pages(i);
    if (!sheet->GetTabVisible()) continue;
    Pages->SetActivePageIndex(i);
    const AnsiString path = Path + (Path.empty() ? "" : "_") + sheet->GetCaption();
    std::vector<TPageControl*> inner;
    std::function<void(TWinControl*)> find = [&](TWinControl* W) {
      for (int32_t k = 0; k < W->ControlCount(); ++k) {
        if (auto* pc = dynamic_cast<TPageControl*>(W->Controls(k)))
          inner.push_back(pc);
        else if (auto* w = dynamic_cast<TWinControl*>(W->Controls(k)))
          find(w);
      }
    };
    find(sheet);
    if (inner.empty()) Shoot(path);
    for (TPageControl* pc : inner) ForEverySheet(pc, path, Shoot);
  }
}

// A plot with an object on every page.
class PlotEditorLayout : public plot_editor_test::EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    AddOneOfEveryKind();
    OpenEditor();
  }
};

TEST_F(PlotEditorLayout, NoControlOverlapsAnotherOrIsCutAndEveryCaptionFits) {
  TiComponentEditorPageControl* pages = form->PageControl();
  ASSERT_EQ(pages->PageCount(), 12);
  CheckContainer(form, "Plot");
}

// Captions are measured again once translated: longer texts push their controls along.
TEST_F(PlotEditorLayout, TranslatedCaptionsStillFit) {
  TiPlotTranslationManager* t = plot->GetTranslationManager();
  const std::pair<const char*, const char*> pairs[] = {
      {"Visible", "Sichtbarkeit"}, {"Name", "Bezeichnung"}, {"Min", "Minimum"}, {"Span", "Spannweite"},
      {"Enabled", "Eingeschaltet"}, {"Left", "Linksrand"}};
  for (const auto& [original, translated] : pairs) t->NewPair(original, translated);
  OpenEditor();
  CheckContainer(form, "Plot");
}

// An up-down steps by whole numbers, so it sits only beside edits of whole-number properties.
TEST_F(PlotEditorLayout, UpDownsStepOnlyWholeNumberProperties) {
  const auto check = [&](const TiPlotEditorField& F, TObject* Target) {
    if (F.Kind != ipefEdit || !form->FindComponent(F.Control.substr(0, F.Control.size() - 4) + "UpDown"))
      return;
    const TPropInfo* p = GetPropInfo(Target, F.Property);
    ASSERT_NE(p, nullptr) << F.Property;
    EXPECT_TRUE(p->Kind() == tkInteger || p->Kind() == tkInt64) << F.Control << " steps " << F.Property;
  };
  for (int32_t page = 0; page < ipepCount; ++page)
    for (const auto& f : PlotEditorPages()[size_t(page)].Fields) check(f, form->SelectedObject(page));
  for (const auto& f : PlotEditorControlFields()) check(f, plot);
}

// An XY channel has no interpolation: its chooser goes, and with it its caption.
TEST_F(PlotEditorLayout, ACaptionHidesWithItsControl) {
  const auto caption = [&](const char* Control) -> TCustomLabel* {
    for (int32_t i = 0; i < form->ComponentCount(); ++i)
      if (auto* l = dynamic_cast<TCustomLabel*>(form->Components(i));
          l && l->GetFocusControl() == form->FindComponent(Control))
        return l;
    return nullptr;
  };
  TCustomLabel* interpolation = caption("ChannelInterpolationStyleComboBox");
  ASSERT_NE(interpolation, nullptr);
  EXPECT_EQ(interpolation->GetCaption(), "Interpolation Style");
  EXPECT_TRUE(interpolation->GetVisible());
  master()->SetChannelClass(&PlotClassOf<TiXYPlotChannel>());
  form->LoadChannelPage();
  EXPECT_FALSE(
      form->FindComponent("ChannelInterpolationStyleComboBox") &&
      static_cast<TControl*>(form->FindComponent("ChannelInterpolationStyleComboBox"))->GetVisible());
  EXPECT_FALSE(interpolation->GetVisible());
  EXPECT_TRUE(caption("ChannelTraceLineStyleComboBox")->GetVisible());
}

TEST_F(PlotEditorLayout, EverySheetScreenshot) {
  plot->SetEditorFormStyle(ipfsStayOnTop);
  master()->ShowEditor();
  TiPlotEditorForm* f = master()->GetEditorForm();
  ASSERT_NE(f, nullptr);
  ForEverySheet(f->PageControl(), "", [&](const AnsiString& Path) {
    ui_test::Pump();
    AnsiString file = "plot_editor_sheet_";
    for (char ch : Path) file += (ch == ' ' || ch == '/' || ch == '>' || ch == '(' || ch == ')') ? '_' : ch;
    EXPECT_TRUE(SaveWindowPng(f->GetHandle(), OutputPath((file + ".png").c_str()))) << Path;
  });
  f->Close();
  ui_test::Pump();
}

}  // namespace
