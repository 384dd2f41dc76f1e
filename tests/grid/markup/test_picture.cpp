// Pictures for cell markup: GIF frames counted and selected, sizes, locations, the container's
// and the cache's look-ups, and pictures that cannot be loaded.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/os/gdi/ImageFiles.h"
#include "platform/runtime/FormText.h"
#include "platform/runtime/Resources.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"
#include "tests/grid/markup/MarkupTest.h"

namespace markup_test {
namespace {

const std::vector<RGBQUAD> kPalette = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {255, 255, 255, 0}};

// Frame k (0-based) is 4 x 4 of palette colour k, the second at (2, 1) on an 8 x 6 screen.
std::vector<uint8_t> ThreeFrameGif() {
  std::vector<TGifFrame> frames;
  for (uint8_t k = 0; k < 3; ++k) {
    TGifFrame f;
    f.Left = k == 1 ? 2 : 0, f.Top = k == 1 ? 1 : 0, f.Width = 4, f.Height = 4;
    f.Indices.assign(16, k);
    frames.push_back(f);
  }
  return WriteGif(8, 6, kPalette, frames);
}

void Load(THTMLPicture& P, const std::vector<uint8_t>& Bytes) {
  TMemoryStream s;
  if (!Bytes.empty()) s.WriteBuffer(Bytes.data(), int32_t(Bytes.size()));
  s.SetPosition(0);
  P.LoadFromStream(&s);
}

const std::vector<uint8_t>& LogoBytes() {
  static const std::vector<uint8_t> bytes = ThreeFrameGif();
  return bytes;
}
const TResourceRegistration kLogo(RT_RCDATA, "LOGO", LogoBytes().data(), LogoBytes().size());

TEST(MarkupPicture, GifFramesAreCountedAndEachCanBeShown) {
  THTMLPicture p;
  int changes = 0, frameChanges = 0;
  p.OnChange = TNotifyEvent::Lambda([&](TObject*) { ++changes; });
  p.OnFrameChange = TNotifyEvent::Lambda([&](TObject*) { ++frameChanges; });
  Load(p, ThreeFrameGif());
  EXPECT_FALSE(p.Empty());
  EXPECT_TRUE(p.IsGIF());
  EXPECT_EQ(p.FrameCount(), 3);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(p.AnimationWidth(), 8);
  EXPECT_EQ(p.AnimationHeight(), 6);
  EXPECT_EQ(p.Width(), 4) << "the frame's own size";
  const TColor colours[] = {TColor(0x0000FF), TColor(0x00FF00), TColor(0xFF0000)};
  for (int32_t frame : {2, 3, 1}) {
    p.SetFrame(frame);
    TPaper paper(40, 40);
    p.Draw(paper.C(), TRect{10, 10, 30, 30});
    EXPECT_EQ(paper.Pixel(11, 11), colours[frame - 1]) << "frame " << frame;
    EXPECT_EQ(paper.Pixel(14, 14), clWhite) << "drawn at its own size, not stretched";
    EXPECT_EQ(p.FrameXPos(), frame == 2 ? 2 : 0);
    EXPECT_EQ(p.FrameYPos(), frame == 2 ? 1 : 0);
  }
  EXPECT_EQ(frameChanges, 3);
  p.SetStretch(true);
  TPaper paper(40, 40);
  p.Draw(paper.C(), TRect{10, 10, 30, 30});
  EXPECT_EQ(paper.Pixel(28, 28), colours[0]) << "stretched over the rectangle";
}

TEST(MarkupPicture, SizesComeFromHimetricAtNinetySixDots) {
  // A 96 x 48 bitmap is 2540 x 1270 HIMETRIC: 96 x 48 pixels again.
  std::vector<uint32_t> pixels(96 * 48, 0xFF336699u);
  THTMLPicture p;
  Load(p, WriteBmp(pixels.data(), 96, 48, 24));
  EXPECT_EQ(p.Width(), 96);
  EXPECT_EQ(p.Height(), 48);
  EXPECT_EQ(p.FrameCount(), -1) << "not a GIF";
  EXPECT_EQ(p.AnimationWidth(), 96);
  p.SetWidth(5);
  EXPECT_EQ(p.Width(), 96) << "the size cannot be set";
  THTMLPicture copy;
  copy.Assign(&p);
  EXPECT_EQ(copy.Width(), 96);
  TMemoryStream saved;
  copy.SaveToStream(&saved);
  EXPECT_EQ(size_t(saved.Size()), p.Bytes().size());
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
  EXPECT_TRUE(copy.Bytes().empty());
}

TEST(MarkupPicture, LoadFailuresLeaveTheFileEmptyAndRaiseFromStreams) {
  THTMLPicture p;
  p.LoadFromFile("/nonexistent/picture.gif");
  EXPECT_TRUE(p.Empty());
  const std::string bad = std::filesystem::temp_directory_path() / "markup-garbage.gif";
  WriteFileBytes(bad, {'G', 'I', 'F', '8', '9', 'a', 1, 2, 3});
  p.LoadFromFile(bad);
  EXPECT_TRUE(p.Empty());
  std::filesystem::remove(bad);
  try {
    Load(p, {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Could not load image. Invalid format");
  }
  EXPECT_TRUE(p.Empty());
  // A frame start whose image descriptor would run past the end is not a frame.
  std::vector<uint8_t> gif = ThreeFrameGif();
  const std::vector<uint8_t> tail = {0x21, 0xF9, 0x04, 0, 0, 0, 0, 0, 0x2C, 1, 2};
  gif.insert(gif.end() - 1, tail.begin(), tail.end());
  THTMLPicture q;
  Load(q, gif);
  EXPECT_EQ(q.FrameCount(), 3);
}

TEST(MarkupPicture, LocationsAndLookUps) {
  THTMLPicture res, net;
  res.SetAsynch(false);
  res.LoadFromLocation("res://LOGO");
  EXPECT_FALSE(res.Empty());
  EXPECT_EQ(res.GetID(), "RES://LOGO");
  THTMLPicture lower;
  lower.LoadFromLocation("RES://logo");
  EXPECT_FALSE(lower.Empty()) << "the name is upper-cased";
  // File locations arrive upper-cased; the file is found whatever the case of its name.
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "markup-Pictures";
  std::filesystem::create_directories(dir);
  const std::vector<uint8_t> gif = ThreeFrameGif();
  WriteFileBytes((dir / "Flag.gif").string(), gif);
  THTMLPicture file;
  file.LoadFromLocation("file://" + (dir / "flag.GIF").string());
  EXPECT_FALSE(file.Empty());
  EXPECT_EQ(file.GetID(), UpperCase("file://" + (dir / "flag.GIF").string()));
  std::filesystem::remove_all(dir);
  net.LoadFromLocation("http://example.invalid/a.gif");
  EXPECT_TRUE(net.Empty());
  EXPECT_FALSE(net.DownloadBusy());

  THTMLPictureCache cache;
  THTMLPicture* a = cache.AddPicture();
  a->LoadFromLocation("res://LOGO");
  EXPECT_EQ(cache.FindPicture("RES://LOGO"), a);
  EXPECT_EQ(cache.FindPicture("res://LOGO"), nullptr) << "identities compare exactly";

  TPictureContainer box(nullptr);
  TPictureItem* logo = box.GetItems()->Add();
  logo->SetName("Logo");
  Load(*logo->GetPicture(), ThreeFrameGif());
  box.GetItems()->Add()->SetName("Icon");
  EXPECT_EQ(box.FindPicture("LOGO"), logo->GetPicture());
  EXPECT_EQ(box.FindPicture("logo"), nullptr);
  EXPECT_EQ(box.FindPicture("ICON"), box.GetItems()->Items(1)->GetPicture());
  TPictureItem* copy = box.GetItems()->Add();
  copy->Assign(logo);
  EXPECT_EQ(copy->GetName(), "Logo");
  EXPECT_EQ(copy->GetPicture()->FrameCount(), 3);
  EXPECT_THROW(copy->Assign(&box), Exception);
}

TEST(MarkupPicture, ImagesInMarkupComeFromContainerAndCacheAndTakeRoom) {
  TPictureContainer box(nullptr);
  TPictureItem* item = box.GetItems()->Add();
  item->SetName("Dot");
  std::vector<uint32_t> red(20 * 10, 0xFFFF0000u);
  Load(*item->GetPicture(), WriteBmp(red.data(), 20, 10, 24));
  THTMLPictureCache cache;
  TPaper p;
  TMarkupCall m;
  m.Container = &box, m.Cache = &cache;
  m.X = 5, m.Y = 3;
  EXPECT_TRUE(m.Run(p.C(),
                    "<A href=\"pic\"><IMG src=\"dot\"></A><IMG src=\"res://LOGO\"><IMG src=\"missing\">",
                    TRect{0, 0, 400, 200}));
  EXPECT_EQ(m.AnchorVal, "pic") << "an image inside an anchor is hit";
  EXPECT_EQ(m.XSize, 20 + 4);
  EXPECT_EQ(p.Pixel(3, 3), TColor(0x0000FF));
  EXPECT_EQ(cache.Count(), 1);
  EXPECT_EQ(cache.Items(0)->GetID(), "RES://LOGO");
  TMarkupCall sized;
  sized.Container = &box;
  sized.MeasureOnly = true;
  sized.Run(p.C(), "<IMG src=\"dot\" width=\"40\" height=\"30\">", TRect{0, 0, 400, 200});
  EXPECT_EQ(sized.XSize, 40);
  EXPECT_EQ(sized.YSize, 30);
}

TEST(MarkupPicture, DefinitionsNameTheContainerByClass) {
  std::unique_ptr<TComponent> read(ReadComponentText("object Pictures: TPictureContainer\nend\n", nullptr));
  auto* box = dynamic_cast<TPictureContainer*>(read.get());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetName(), "Pictures");
}

}  // namespace
}  // namespace markup_test
