// Property text files written and read back, hostile files loaded as far as they go, and image
// export decoded back.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "platform/runtime/Lists.h"
#include "tests/support/TestOutput.h"
#include "tests/widgets/WidgetTestUtil.h"

namespace widgets_test {

// A control publishing a few properties of each kind, as widgets do.
class TFileProbe : public TProbe {
  PL_CLASS(TFileProbe)
 public:
  explicit TFileProbe(TComponent* AOwner) : TProbe(AOwner) {}
  double GetStepSize() const { return step_; }
  void SetStepSize(double v) { step_ = v; }
  void PaintToCanvas(TCanvas* Canvas) override {
    ++Paints;
    DrawBackGround(Canvas, GetBackGroundColor());
    Canvas->GetBrush()->SetColor(clRed);
    Canvas->FillRect(TRect{10, 10, 30, 30});
  }

 private:
  double step_ = 0.01;
};

const TClassInfo& TFileProbe::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TFileProbe, TiCustomComponent>("TFileProbe")
          .Prop("BackGroundColor", &TFileProbe::GetBackGroundColor, &TFileProbe::SetBackGroundColor)
          .Type(ColorTypeInfo())
          .Prop("BorderStyle", &TFileProbe::GetBorderStyle, &TFileProbe::SetBorderStyle)
          .Default(ibsNone)
          .Prop("StepSize", &TFileProbe::GetStepSize, &TFileProbe::SetStepSize);
  return info;
}

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  TStringList l;
  l.LoadFromFile(path);
  std::vector<std::string> out;
  for (int32_t i = 0; i < l.Count(); ++i) out.push_back(l.Strings(i));
  return out;
}
bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}
bool HasPath(const std::vector<std::string>& lines, const std::string& path) {
  for (const auto& l : lines)
    if (l.rfind(path + " = ", 0) == 0) return true;
  return false;
}
// A picture file drawn onto a bitmap of its size.
void Decode(const std::string& file, TBitmap& out) {
  TPicture pic;
  pic.LoadFromFile(file);
  out.SetSize(pic.GetWidth(), pic.GetHeight());
  out.GetCanvas()->Draw(0, 0, pic.GetGraphic());
}
void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

using ui_test::UiTest;
class PropertyFiles : public UiTest {};

TEST_F(PropertyFiles, SavedFileHoldsTheStoredPropertiesWithoutLayoutUnlessAsked) {
  TForm* f = NewForm();
  auto* p = ui_test::Make<TFileProbe>(f, f, "Probe", Rect(5, 5, 105, 65));
  const std::string path = OutputPath("widgets-probe.txt");
  p->SavePropertyFile(path);
  auto lines = ReadLines(path);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "File Type = TFileProbe");
  EXPECT_TRUE(Has(lines, "BackGroundColor = -16777201")) << "clBtnFace as a signed decimal";
  EXPECT_TRUE(Has(lines, "StepSize = 0.01"));
  EXPECT_TRUE(Has(lines, "BorderStyle = 0")) << "written even when equal to its default";
  EXPECT_FALSE(HasPath(lines, "Font.Name")) << "the font follows the parent: not stored";
  for (const char* left : {"Name", "Left", "Width", "Visible", "Hint"})
    EXPECT_FALSE(HasPath(lines, left)) << left;

  p->SetOptionSaveAllProperties(true);
  p->SavePropertyFile(path);
  lines = ReadLines(path);
  EXPECT_TRUE(Has(lines, "Left = 5"));
  EXPECT_TRUE(Has(lines, "Width = 100"));
  EXPECT_FALSE(HasPath(lines, "Name"));
  p->SetParentFont(false);
  p->SavePropertyFile(path);
  EXPECT_TRUE(HasPath(ReadLines(path), "Font.Name")) << "sub-objects opened with a dotted path";
  std::remove(path.c_str());
}

TEST_F(PropertyFiles, RoundTripKeepsLongTextsAndNeverSplitsALine) {
  TForm* f = NewForm();
  auto* p = ui_test::Make<TFileProbe>(f, f, "Probe", Rect(5, 5, 105, 65));
  const AnsiString longCaption(400, 'x');
  p->SetOptionSaveAllProperties(true);
  p->SetCaption(longCaption);
  p->SetHint("one\r\nWidth = 999");
  p->SetBorderStyle(ibsLowered);
  p->SetStepSize(0.125);
  p->GetFont()->SetColor(clNavy);
  const std::string path = OutputPath("widgets-roundtrip.txt");
  p->SavePropertyFile(path);

  auto* q = ui_test::Make<TFileProbe>(f, f, "Copy", Rect(5, 70, 55, 90));
  q->SetParentFont(false);  // reading uses the writer's filter: only a stored font is read
  q->LoadPropertyFile(path);
  EXPECT_EQ(q->GetCaption(), longCaption) << "no cut at 255 characters";
  EXPECT_EQ(q->GetHint(), "one  Width = 999") << "line breaks written as blanks";
  EXPECT_EQ(q->Width(), 100) << "the hint did not become a Width line";
  EXPECT_EQ(q->GetBorderStyle(), ibsLowered);
  EXPECT_EQ(q->GetStepSize(), 0.125);
  EXPECT_EQ(q->GetFont()->GetColor(), clNavy);
  EXPECT_FALSE(q->UpdateLocked());
  std::remove(path.c_str());
}

TEST_F(PropertyFiles, HostileFileLoadsWhatItCanAndReportsTheRest) {
  TForm* f = NewForm();
  auto* p = ui_test::Make<TFileProbe>(f, f, "Probe", Rect(5, 5, 105, 65));
  ShowForm(f);
  const std::string path = OutputPath("widgets-hostile.txt");
  WriteFile(path,
            "File Type = TSomethingElse\r\n"
            "Nonsense = 12\r\n"
            "Width = abc\r\n"
            "BorderStyle = 99\r\n"
            "StepSize = 0,5\r\n"
            "StepSize = 7\r\n"
            "Font.Size\r\n"
            "= 4\r\n"
            "Height = 2000000000\r\n"
            "BackGroundColor = 255\r\n"
            "Caption =  padded  \r\n"
            "OffsetX = 99999999999999999999\r\n");
  try {
    p->LoadPropertyFile(path);
    ADD_FAILURE() << "no error reported";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message.rfind("Error Loading Properties - ", 0), 0u) << e.Message;
  }
  EXPECT_EQ(p->Width(), 100);
  EXPECT_EQ(p->GetBorderStyle(), ibsNone) << "an ordinal outside the enumeration is refused";
  EXPECT_EQ(p->GetStepSize(), 0.5) << "the other decimal separator, first line wins";
  EXPECT_EQ(p->GetBackGroundColor(), TColor(255)) << "lines after the failures still load";
  EXPECT_EQ(p->GetCaption(), "padded");
  EXPECT_FALSE(p->UpdateLocked());
  // Whatever the file asked for (a height no surface can have), repaints do not crash, and the
  // control paints again once it has a sane size.
  p->Paints = 0;
  p->InvalidateNow();
  ui_test::Pump();
  p->SetBounds(5, 5, 100, 60);
  p->InvalidateNow();
  ui_test::Pump();
  EXPECT_GE(p->Paints, 1);
  EXPECT_EQ(ScreenPixel(At(p, 20, 20)), ScreenRgb(clRed));

  try {
    p->LoadPropertyFile(OutputPath("widgets-no-such-file.txt"));
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message.rfind("Error Loading Properties - ", 0), 0u);
  }
  // A file far beyond any control's properties is refused before it is read in.
  WriteFile(path, "StepSize = 3\r\n" + std::string(1 << 20, ' '));
  try {
    p->LoadPropertyFile(path);
    ADD_FAILURE() << "an oversized file loaded";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message.rfind("Error Loading Properties - ", 0), 0u) << e.Message;
  }
  EXPECT_EQ(p->GetStepSize(), 0.5);
  EXPECT_FALSE(p->UpdateLocked());
  std::remove(path.c_str());
}

TEST_F(PropertyFiles, ImagesExportAndDecodeBack) {
  TForm* f = NewForm();
  auto* p = ui_test::Make<TFileProbe>(f, f, "Probe", Rect(5, 5, 85, 45));
  p->SetBackGroundColor(clBlue);
  ShowForm(f);
  const std::string bmp = OutputPath("widgets-export.bmp"), png = OutputPath("widgets-export.png"),
                    jpg = OutputPath("widgets-export.jpg"), emf = OutputPath("widgets-export.emf");
  ExportBitmapFile(p, bmp);
  ExportPngFile(p, png, 9);
  ExportJpegFile(p, jpg, 100, true);
  ExportMetafile(p, emf);
  for (const std::string& file : {bmp, png}) {
    TBitmap b;
    Decode(file, b);
    EXPECT_EQ(b.GetWidth(), 80) << file;
    EXPECT_EQ(b.GetHeight(), 40) << file;
    EXPECT_EQ(b.GetCanvas()->GetPixel(60, 30), clBlue) << file;
    EXPECT_EQ(b.GetCanvas()->GetPixel(20, 20), clRed) << file;
  }
  TBitmap decoded;
  Decode(jpg, decoded);
  EXPECT_EQ(decoded.GetWidth(), 80);
  TColor c = decoded.GetCanvas()->GetPixel(60, 30);
  EXPECT_GT(ColorBlue(c), 0xE0);
  EXPECT_LT(ColorRed(c), 0x20);
  std::ifstream in(emf, std::ios::binary);
  std::string head(44, '\0');
  in.read(head.data(), 44);
  EXPECT_EQ(head.substr(40, 4), " EMF");

  for (int q : {0, 101}) {
    try {
      ExportJpegFile(p, jpg, q, false);
      ADD_FAILURE() << q;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Compression must be in the range of 1-100");
    }
  }
  for (int z : {-1, 10}) {
    try {
      ExportPngFile(p, png, z);
      ADD_FAILURE() << z;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Compression must be in the range of 0-9");
    }
  }
}

}  // namespace
}  // namespace widgets_test
