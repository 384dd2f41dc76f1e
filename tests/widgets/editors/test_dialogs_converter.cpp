// The dialog wrappers through the dialog responder (naming rules, multiple choice, no owner) and
// the value converter form's pages.
#include <cmath>

#include "platform/runtime/DateTime.h"
#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iComponentEditorDialogs.h"
#include "widgets/iValueConverterEditForm.h"

namespace widgets_test {
namespace {

using ui_test::UiTest;

class Dialogs : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm(300, 200);
  }
  TForm* form_ = nullptr;
};

constexpr const char* kImageFilter =
    "Bitmap (*.bmp)|*.bmp|Enhanced Metafile (*.emf)|*.emf|JPEG File (*.jpg)|*.jpg|PNG (*.png)|*.png";

TEST_F(Dialogs, SaveDialogGivesTheChosenPatternsExtension) {
  struct Case {
    const char* filter;
    int index;
    const char* typed;
    const char* result;
    const char* ext;
  } cases[] = {
      {kImageFilter, 1, "/tmp/plot", "/tmp/plot.bmp", ".bmp"},
      {kImageFilter, 1, "/tmp/plot.emf", "/tmp/plot.emf.bmp", ".bmp"},
      {kImageFilter, 2, "/tmp/plot.EMF", "/tmp/plot.EMF", ".emf"},
      {kImageFilter, 4, "/tmp/plot.png", "/tmp/plot.png", ".png"},
      {"Log (*.log)|*.log|All Files (*.*)|*.*", 2, "/tmp/run.txt", "/tmp/run.txt", ".*"},
      {"", 1, "/tmp/run", "/tmp/run", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    dialogAnswer_ = [&](TObject* d) -> TModalResult {
      auto* save = dynamic_cast<TSaveDialog*>(d);
      if (!save) return mrCancel;
      save->SetFileName(c.typed);
      save->SetFilterIndex(c.index);
      return mrOk;
    };
    TiSaveDialog dialog(form_);
    dialog.SetFilter(c.filter);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.GetFileName(), c.result);
    EXPECT_EQ(dialog.GetReturnExt(), c.ext);
    EXPECT_EQ(dialog.GetFilterIndex(), c.index);
  }
}

TEST_F(Dialogs, CancelledOrOwnerlessDialogsChangeNothing) {
  int asked = 0;
  dialogAnswer_ = [&](TObject*) -> TModalResult {
    ++asked;
    return mrCancel;
  };
  TiSaveDialog save(form_);
  save.SetFileName("/tmp/keep.bmp");
  save.SetFilter(kImageFilter);
  EXPECT_FALSE(save.Execute());
  EXPECT_EQ(save.GetFileName(), "/tmp/keep.bmp");
  EXPECT_EQ(asked, 1);

  dialogAnswer_ = [&](TObject*) -> TModalResult {
    ++asked;
    return mrOk;
  };
  TiOpenDialog lone(nullptr);
  TiSaveDialog loneSave(nullptr);
  TiColorDialog loneColor(nullptr);
  lone.SetFileName("/tmp/a");
  EXPECT_FALSE(lone.Execute());
  EXPECT_FALSE(loneSave.Execute());
  EXPECT_FALSE(loneColor.Execute());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(lone.GetFileName(), "/tmp/a");
}

TEST_F(Dialogs, OpenDialogListsEveryChosenFile) {
  TOpenOptions seen;
  dialogAnswer_ = [&](TObject* d) -> TModalResult {
    auto* open = dynamic_cast<TOpenDialog*>(d);
    if (!open) return mrCancel;
    seen = open->GetOptions();
    open->GetFiles()->Clear();
    open->GetFiles()->Add("/tmp/one.log");
    open->GetFiles()->Add("/tmp/two.log");
    open->SetFileName("/tmp/one.log");
    return mrOk;
  };
  TiOpenDialog dialog(form_);
  dialog.SetMultiSelect(true);
  ASSERT_TRUE(dialog.Execute());
  EXPECT_TRUE(seen.Contains(ofAllowMultiSelect));
  EXPECT_FALSE(seen.Contains(ofFileMustExist));
  ASSERT_EQ(dialog.GetFiles()->Count(), 2);
  EXPECT_EQ(dialog.GetFiles()->Strings(1), "/tmp/two.log");
  EXPECT_EQ(dialog.GetFileName(), "/tmp/one.log");

  EXPECT_EQ(iDialogJoinChoice("/data", "a.log"), "/data/a.log");
  EXPECT_EQ(iDialogJoinChoice("/data/", "a.log"), "/data/a.log");
  EXPECT_EQ(iDialogJoinChoice("/data", "/abs/a.log"), "/abs/a.log");
}

TEST_F(Dialogs, ColorAndFontDialogsTakeTheChoice) {
  dialogAnswer_ = [&](TObject* d) -> TModalResult {
    if (auto* c = dynamic_cast<TColorDialog*>(d)) {
      for (COLORREF v : c->CustomColorValues()) EXPECT_EQ(v, 0xFFFFFFu);
      c->SetColor(TColor(0x123456));
    } else if (auto* f = dynamic_cast<TFontDialog*>(d)) {
      f->GetFont()->SetName("Other Face");
      f->GetFont()->SetStyle(TFontStyles{fsBold, fsUnderline});
    }
    return mrOk;
  };
  TiColorDialog color(form_);
  ASSERT_TRUE(color.Execute());
  EXPECT_EQ(color.GetColor(), TColor(0x123456));
  TiFontDialog font(form_);
  ASSERT_TRUE(font.Execute());
  EXPECT_EQ(font.GetFont()->GetName(), "Other Face");
  EXPECT_EQ(font.GetFont()->GetStyle(), (TFontStyles{fsBold, fsUnderline}));
}

// ---- value converter ----------------------------------------------------------------------------

class Converter : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = TCustomForm::Create<TiValueConverterEditForm>(Application);
  }
  // The interval, price and date text of the pages.
  std::string Pages() {
    auto i = [](TiComponentEditorEdit* e) { return std::to_string(e->GetAsInteger()); };
    TiValueConverterEditForm* f = form_;
    std::string s = "d" + i(f->DaysEdit) + " w" + i(f->WeeksEdit) + " " + i(f->HoursEdit) + ":" +
                    i(f->MinutesEdit) + ":" + i(f->SecondsEdit) + "." + i(f->MilliSecondsEdit) + " p" +
                    f->PriceIntegerEdit->GetAsString() + "+" + i(f->Price32ndsEdit) + "/32+" +
                    i(f->Price256thsEdit) + "/256";
    if (f->DatePicker->GetEnabled())
      s += " " + FormatDateTime("yyyy-mm-dd", f->DatePicker->GetDateTime()) + " " +
           FormatDateTime("hh:nn:ss", f->TimePicker->GetDateTime());
    else
      s += " no-date";
    return s;
  }
  TiValueConverterEditForm* form_ = nullptr;
};

TEST_F(Converter, SetValueFillsEveryPage) {
  struct Case {
    double v;
    const char* pages;
  } cases[] = {
      {1.5, "d1 w0 12:0:0.0 p1+16/32+0/256 1899-12-31 12:00:00"},
      {100.5 + 3.0 / 256, "d100 w14 12:16:52.500 p100+16/32+3/256 1900-04-09 12:16:52"},
      {2e14 + 0.25, "d0 w0 6:0:0.0 p200000000000000+8/32+0/256 1899-12-30 06:00:00"},
      {5e6, "d5000000 w714285 0:0:0.0 p5000000+0/32+0/256 no-date"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v);
    int changes = 0;
    form_->ValueEdit->OnUpdate = TNotifyEvent::Lambda([&](TObject*) { ++changes; });
    form_->SetValue(c.v);
    EXPECT_EQ(Pages(), c.pages);
    // Beyond 1e14 the text (15 digits) keeps the whole part only.
    EXPECT_DOUBLE_EQ(form_->GetValue(), c.v <= 1e14 ? c.v : std::trunc(c.v));
    EXPECT_EQ(changes, 0);
  }
}

TEST_F(Converter, EditingAPageRecomputesTheValue) {
  form_->SetValue(1.5);
  form_->DaysEdit->SetText("10");
  form_->DaysEdit->Commit();
  EXPECT_DOUBLE_EQ(form_->GetValue(), 10.5);
  EXPECT_EQ(form_->WeeksEdit->GetAsInteger(), 1);

  form_->WeeksEdit->SetText("2");
  form_->WeeksEdit->Commit();
  EXPECT_DOUBLE_EQ(form_->GetValue(), 14.5);
  EXPECT_EQ(form_->DaysEdit->GetAsInteger(), 14);

  // The price page sets the value alone.
  form_->Price32ndsEdit->SetText("8");
  form_->Price32ndsEdit->Commit();
  EXPECT_DOUBLE_EQ(form_->GetValue(), 14.25);
  EXPECT_EQ(form_->DaysEdit->GetAsInteger(), 14);
  EXPECT_EQ(form_->HoursEdit->GetAsInteger(), 12);

  // 24 hours is no time of day: refused, the value stays.
  form_->SetValue(2.25);
  form_->HoursEdit->SetText("24");
  EXPECT_THROW(form_->HoursEdit->Commit(), EConvertError);
  EXPECT_DOUBLE_EQ(form_->GetValue(), 2.25);

  form_->ZeroButton->Click();
  EXPECT_DOUBLE_EQ(form_->GetValue(), 0);
  EXPECT_EQ(form_->HoursEdit->GetAsInteger(), 0);
}

}  // namespace
}  // namespace widgets_test
