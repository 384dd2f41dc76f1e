// The editor list box's own item drawing, pixel by pixel: row colours, the colour box, where the
// text starts, and the focus mark over the selected row.
#include <cstdlib>

#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iEditorBasicComponents.h"

namespace widgets_test {
namespace {

class EditorListPixels : public ui_test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm(300, 200);
    list_ = ui_test::Make<TiComponentEditorListBox>(form_, form_, "List", Rect(10, 10, 210, 150));
    other_ = ui_test::Make<TiComponentEditorEdit>(form_, form_, "Other", Rect(220, 10, 280, 31));
    for (const char* s : {"Alpha", "Beta", "Gamma"}) list_->GetItems()->Add(s);
    // Item 1 blue, item 2 without a box; item 0 keeps the defaults.
    list_->OnGetData = TiListBoxGetDataEvent::Lambda([this](int32_t i, bool& box, TColor& c, AnsiString& t) {
      ++asked_;
      if (i == 1) c = clBlue;
      if (i == 2) box = false;
      if (i == 2) t = "Gamma!";
    });
    list_->SetItemIndex(1);
    ShowForm(form_);
  }
  uint32_t Px(int x, int y) { return ScreenPixel(At(list_, x, y)); }
  // The leftmost column from x0 on, within the item's rows, whose pixel is not the background.
  int FirstInk(const TRect& r, int x0, uint32_t bg) {
    for (int x = x0; x < r.Right; ++x)
      for (int y = r.Top; y < r.Bottom; ++y)
        if (Px(x, y) != bg) return x;
    return -1;
  }
  // Whether some pixel is the text colour, give or take the smoothing of the glyph edges.
  bool HasInk(const TRect& r, int x0, uint32_t colour) {
    auto near = [](uint32_t a, uint32_t b) {
      for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 0x10) return false;
      return true;
    };
    for (int x = x0; x < r.Right; ++x)
      for (int y = r.Top; y < r.Bottom; ++y)
        if (near(Px(x, y), colour)) return true;
    return false;
  }
  TForm* form_ = nullptr;
  TiComponentEditorListBox* list_ = nullptr;
  TiComponentEditorEdit* other_ = nullptr;
  int asked_ = 0;
};

TEST_F(EditorListPixels, RowsBoxesAndTextSitWhereTheyShould) {
  other_->SetFocus();
  ui_test::Pump();
  const uint32_t window = ScreenRgb(clWindow), selected = ScreenRgb(TColor(0x808000));
  struct Row {
    int Index;
    uint32_t Bg, Ink;
    bool Box;
    uint32_t BoxFill;
  } rows[] = {
      {0, window, 0x000000, true, 0xFF0000},  // untouched by OnGetData: a red box
      {1, selected, 0xFFFFFF, true, 0x0000FF},
      {2, window, 0x000000, false, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Index);
    const TRect r = list_->ItemRect(row.Index);
    ASSERT_GT(r.Height(), 4);
    const int mid = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(Px(r.Left, mid), row.Bg);
    EXPECT_EQ(Px(r.Right - 2, r.Top), row.Bg);
    EXPECT_EQ(Px(r.Right - 2, r.Bottom - 1), row.Bg);
    if (row.Box) {
      // Black outline from (2, 1) to (18, bottom - 1), the right and bottom edges left out.
      EXPECT_EQ(Px(r.Left + 2, r.Top + 1), 0x000000u);
      EXPECT_EQ(Px(r.Left + 17, r.Bottom - 2), 0x000000u);
      EXPECT_EQ(Px(r.Left + 10, mid), row.BoxFill);
      EXPECT_EQ(Px(r.Left + 18, mid), row.Bg);
      EXPECT_EQ(Px(r.Left + 1, mid), row.Bg);
      EXPECT_EQ(Px(r.Left + 10, r.Top), row.Bg);
      EXPECT_EQ(Px(r.Left + 10, r.Bottom - 1), row.Bg);
      const int ink = FirstInk(r, r.Left + 18, row.Bg);
      EXPECT_GE(ink, r.Left + 22);
      EXPECT_LE(ink, r.Left + 24);
      EXPECT_TRUE(HasInk(r, r.Left + 22, row.Ink));
    } else {
      const int ink = FirstInk(r, r.Left, row.Bg);
      EXPECT_GE(ink, r.Left + 2);
      EXPECT_LE(ink, r.Left + 4);
      EXPECT_TRUE(HasInk(r, r.Left + 2, row.Ink));
    }
  }
  EXPECT_GE(asked_, 3);

  // The focus mark: a dotted frame over the selected row, gone with the focus.
  list_->SetFocus();
  ui_test::Pump();
  const TRect r = list_->ItemRect(1);
  int marked = 0;
  for (int y = r.Top; y < r.Bottom; ++y) marked += Px(r.Left, y) != selected;
  EXPECT_GT(marked, 0);
  EXPECT_LT(marked, r.Height()) << "dotted, not solid";
  other_->SetFocus();
  ui_test::Pump();
  for (int y = r.Top; y < r.Bottom; ++y) EXPECT_EQ(Px(r.Left, y), selected) << y;
}

TEST_F(EditorListPixels, AnItemDrawHandlerReplacesTheOwnDrawing) {
  int drawn = 0;
  list_->OnDrawItem = TDrawItemEvent::Lambda([&](TWinControl* c, int32_t, TRect r, TOwnerDrawState) {
    ++drawn;
    auto* canvas = static_cast<TiComponentEditorListBox*>(c)->GetCanvas();
    canvas->GetBrush()->SetColor(clYellow);
    canvas->FillRect(r);
  });
  asked_ = 0;
  list_->Invalidate();
  ui_test::Pump();
  EXPECT_GE(drawn, 3);
  EXPECT_EQ(asked_, 0);
  const TRect r = list_->ItemRect(1);
  EXPECT_EQ(Px(r.Left + 10, (r.Top + r.Bottom) / 2), ScreenRgb(clYellow));
}

}  // namespace
}  // namespace widgets_test
