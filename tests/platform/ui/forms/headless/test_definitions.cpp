// Window definitions read into the framework's own classes: what a form designer stores loads,
// and values no window can have are refused with the reader's error.
#include <memory>

#include "platform/runtime/FormText.h"
#include "platform/ui/Grids.h"
#include "platform/ui/ImgList.h"
#include "tests/platform/ui/forms/headless/FormsSupport.h"

namespace ui_test {
namespace {

class Definitions : public UiTest {
 protected:
  // A new plain form read from text; the form is freed by the fixture.
  TForm* Read(const std::string& body) {
    TForm* f = TCustomForm::CreateNew<TForm>(Application);
    ReadComponentText("object DefForm: TForm\n" + body + "end\n", f, "Def");
    return f;
  }
  // The reader's message for a definition that must be refused; the form is freed at once.
  std::string Refusal(const std::string& body) {
    TForm* f = TCustomForm::CreateNew<TForm>(Application);
    std::string message = MessageOf<EReadError>(
        [&] { ReadComponentText("object DefForm: TForm\n" + body + "end\n", f, "Def"); });
    delete f;
    return message;
  }
  template <class E, class F>
  static std::string MessageOf(F action) {
    try {
      action();
    } catch (const E& e) {
      return e.Message;
    }
    return "(no error)";
  }
};

TEST_F(Definitions, WhatAFormDesignerStoresLoadsAndWritesBack) {
  TForm* f = Read(
      "  Color = clLtGray\n"
      "  Font.Color = clDkGray\n"
      "  object Timer1: TTimer\n    Interval = 50\n    Left = 8\n    Top = -16\n  end\n"
      "  object Images: TImageList\n    Left = 40\n    Top = 16\n  end\n");
  EXPECT_EQ(f->GetColor(), clSilver);
  EXPECT_EQ(f->GetFont()->GetColor(), clGray);
  // The design position of a non-visual component is kept and stored back as it was read.
  auto* timer = dynamic_cast<TTimer*>(f->FindComponent("Timer1"));
  auto* images = dynamic_cast<TImageList*>(f->FindComponent("Images"));
  ASSERT_NE(timer, nullptr);
  ASSERT_NE(images, nullptr) << "an image list without a form field is found by class name";
  EXPECT_EQ(timer->GetDesignInfo(), int32_t(uint32_t(uint16_t(-16)) << 16 | 8));
  AnsiString text = WriteComponentText(f);
  EXPECT_NE(text.find("Interval = 50\r\n    Left = 8\r\n    Top = -16\r\n"), AnsiString::npos) << text;
  EXPECT_NE(text.find("Left = 40\r\n    Top = 16\r\n"), AnsiString::npos) << text;
  EXPECT_NE(text.find("Color = clSilver"), AnsiString::npos) << "the alias is read, the main name written";
  // A design position is stored only where there is one.
  TTimer plain(nullptr);
  EXPECT_EQ(WriteComponentText(&plain).find("Left"), AnsiString::npos);
  // A plain form read without an instance, by its class name.
  std::unique_ptr<TComponent> root(ReadComponentText("object Plain: TForm\n  Caption = 'x'\nend\n", nullptr));
  EXPECT_NE(dynamic_cast<TForm*>(root.get()), nullptr);
}

TEST_F(Definitions, ValuesOutsideAPropertysRangeAreRefusedAtTheirLine) {
  struct Case {
    const char* body;
    const char* message;
  } cases[] = {
      {"  Font.Charset = 300\n",
       "Def line 2: Error reading DefForm.Font.Charset: Invalid property value 300 for Charset"},
      {"  Cursor = 40000\n",
       "Def line 2: Error reading DefForm.Cursor: Invalid property value 40000 for Cursor"},
      {"  ClientWidth = 2147483647\n",
       "Def line 2: Error reading DefForm.ClientWidth: Invalid property value 2147483647 for ClientWidth"},
      {"  object P: TPanel\n    BevelWidth = -3\n  end\n",
       "Def line 3: Error reading P.BevelWidth: Invalid property value -3 for BevelWidth"},
      {"  object P: TPanel\n    BorderWidth = -1\n  end\n",
       "Def line 3: Error reading P.BorderWidth: Invalid property value -1 for BorderWidth"},
      {"  object P: TPanel\n    Left = 2147483647\n  end\n",
       "Def line 3: Error reading P.Left: Invalid property value 2147483647 for Left"},
      {"  object P: TPanel\n    Anchors = [akRight]\n    Left = -2147483648\n  end\n",
       "Def line 4: Error reading P.Left: Invalid property value -2147483648 for Left"},
      {"  object G: TStringGrid\n    RowCount = 300000000\n  end\n",
       "Def line 3: Error reading G.RowCount: Grid too large for operation"},
      {"  object G: TStringGrid\n    ColCount = 2147483647\n  end\n",
       "Def line 3: Error reading G.ColCount: Grid too large for operation"},
      {"  object G: TDrawGrid\n    DefaultRowHeight = 2147483647\n  end\n",
       "Def line 3: Error reading G.DefaultRowHeight: Grid too large for operation"},
      {"  object T: TTimer\n    Left = 40000\n  end\n",
       "Def line 3: Error reading T.Left: Invalid property value 40000"},
  };
  for (const Case& c : cases) EXPECT_EQ(Refusal(c.body), c.message) << c.body;
}

TEST_F(Definitions, ExtremeGeometryThatIsAllowedComputesWithoutOverflow) {
  TForm* f = Read(
      "  ClientWidth = 300\n  ClientHeight = 200\n"
      "  object P: TPanel\n    Align = alClient\n    BevelInner = bvRaised\n"
      "    BevelWidth = 2147483647\n    BorderWidth = 2147483647\n"
      "    object Inner: TPanel\n      Align = alTop\n      Height = 16777216\n    end\n  end\n"
      "  object Far: TPanel\n    Anchors = [akRight, akBottom]\n    Left = -16777216\n    Top = 16777216\n"
      "    Width = 16777216\n    Height = 16777216\n  end\n"
      "  object Mid: TPanel\n    Anchors = []\n    Left = 16777216\n    Width = 16777216\n  end\n");
  f->Show();
  f->SetClientWidth(MaxControlCoord);
  f->SetClientHeight(400);
  Pump();
  f->Repaint();
  for (const char* name : {"P", "Inner", "Far", "Mid"}) {
    auto* c = static_cast<TControl*>(f->FindComponent(name));
    for (int32_t v : {c->Left(), c->Top(), c->Width(), c->Height()}) {
      EXPECT_LE(v, MaxControlCoord) << name;
      EXPECT_GE(v, -MaxControlCoord) << name;
    }
  }
  auto* inner = static_cast<TControl*>(f->FindComponent("Inner"));
  EXPECT_EQ(inner->Width(), 0) << "the bevels and border leave no room";
}

TEST_F(Definitions, ADefinitionMadeAtAnotherResolutionIsScaledToTheScreens) {
  const std::string body =
      "  ClientWidth = 400\n  ClientHeight = 250\n  Font.Height = -13\n  TextHeight = 16\n"
      "  object P: TPanel\n    Left = 100\n    Top = 50\n    Width = 201\n    Height = 100\n"
      "    ParentFont = False\n    Font.Height = -15\n"
      "    object Inner: TPanel\n      Left = 10\n      Top = 10\n      Width = 50\n      Height = 20\n    "
      "end\n"
      "  end\n";
  struct Case {
    const char* header;
    TRect panel, inner;
    int32_t clientWidth, formFont, panelFont, pixelsPerInch;
  } cases[] = {
      {"  PixelsPerInch = 120\n", Rect(80, 40, 241, 120), Rect(8, 8, 48, 24), 320, -10, -12, 96},
      {"  PixelsPerInch = 120\n  Scaled = False\n", Rect(100, 50, 301, 150), Rect(10, 10, 60, 30), 400, -13,
       -15, 120},
      {"  PixelsPerInch = 96\n", Rect(100, 50, 301, 150), Rect(10, 10, 60, 30), 400, -13, -15, 96},
      {"  PixelsPerInch = 48\n", Rect(200, 100, 602, 300), Rect(20, 20, 120, 60), 800, -26, -30, 96},
  };
  for (const Case& c : cases) {
    TForm* f = Read(c.header + body);
    auto* panel = static_cast<TControl*>(f->FindComponent("P"));
    auto* inner = static_cast<TControl*>(f->FindComponent("Inner"));
    EXPECT_EQ(panel->GetBoundsRect(), c.panel) << c.header;
    EXPECT_EQ(inner->GetBoundsRect(), c.inner) << c.header;
    EXPECT_EQ(f->GetClientWidth(), c.clientWidth) << c.header;
    EXPECT_EQ(f->GetFont()->GetHeight(), c.formFont) << c.header;
    EXPECT_EQ(panel->GetFont()->GetHeight(), c.panelFont) << c.header;
    EXPECT_EQ(inner->GetFont()->GetHeight(), c.panelFont) << "a parent's font is followed, not scaled twice";
    EXPECT_EQ(f->GetPixelsPerInch(), c.pixelsPerInch) << c.header;
    delete f;
  }
}

}  // namespace
}  // namespace ui_test
