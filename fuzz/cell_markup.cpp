// Cell markup: the renderer measures, draws and hit-tests the input on an offscreen bitmap, with
// and without word wrap; the text routines turn it into plain text and rewrite its controls.
#include "fuzz/support/FuzzSupport.h"
#include "grid/AsgHTMLE.h"
#include "grid/PictureContainer.h"

namespace {

TBitmap* Paper() {
  static TBitmap* bmp = [] {
    auto* b = new TBitmap;
    b->SetPixelFormat(pf32bit);
    b->SetSize(160, 60);
    return b;
  }();
  return bmp;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartUi();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const AnsiString text = fuzz::Bytes(data, size);
  TCanvas* c = Paper()->GetCanvas();
  c->GetFont()->SetName("Arial");
  c->GetFont()->SetSize(9);
  c->GetBrush()->SetColor(clWhite);
  THTMLPictureCache cache;
  TPictureContainer box(nullptr);
  for (bool measure : {true, false})
    for (bool wrap : {true, false}) {
      AnsiString anchor, strip, focus, id, value, type;
      int32_t xs = 0, ys = 0, links = 0, mouse = 0;
      TRect hover, ctrl;
      DrawMarkup(c, text, TRect{0, 0, 160, 60}, nullptr, 20, 8, 0, 1, 1, false, measure, false, false, wrap,
                 false, wrap, !wrap, 1.0, clBlue, clYellow, clRed, clGray, anchor, strip, focus, xs, ys,
                 links, mouse, hover, ctrl, id, value, type, &cache, &box, nullptr);
      if (ys <= 0 || xs < 0 || links < 0) fuzz::Fail("the renderer reported a negative or empty size");
      if (c->GetFont()->GetName() != "Arial" || c->GetFont()->GetSize() != 9)
        fuzz::Fail("the renderer left the canvas font changed");
    }
  MarkupToText(text);
  AnsiString rewritten = text;
  if (SetControlValue(rewritten, "a", "<v>") && rewritten.find("&lt;v&gt;") == AnsiString::npos)
    fuzz::Fail("a rewritten control lost its escaped value");
  if (UnescapeAngles(EscapeAngles(text)) != text && text.find("&") == AnsiString::npos)
    fuzz::Fail("escaping angles does not read back");
  return 0;
}
