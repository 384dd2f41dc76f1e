// Picture files through both layers: the drawing layer's decoder, then the picture class reading
// the same bytes from a stream and from a file named with the format's extension, and drawing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "fuzz/support/Definitions.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/runtime/Streams.h"

namespace fuzz {

// A small memory device context over a 64 x 48 bitmap, for replaying and drawing onto.
class TSmallDC {
 public:
  TSmallDC();
  ~TSmallDC();
  TSmallDC(const TSmallDC&) = delete;
  TSmallDC& operator=(const TSmallDC&) = delete;
  HDC Handle() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

// Reads the bytes as a TGraphicClass from a stream and draws it; then through TPicture from a
// file ending in Extension.
template <class TGraphicClass>
void LoadGraphic(const uint8_t* data, size_t size, const char* Extension) {
  {
    TMemoryStream stream;
    stream.WriteBuffer(data, int32_t(size));
    stream.SetPosition(0);
    TGraphicClass graphic;
    Expect([&] {
      graphic.LoadFromStream(&stream);
      DrawGraphic(&graphic);
    });
  }
  std::string path = TempPath(std::string("picture") + Extension);
  WriteTempFile(path, data, size);
  TPicture picture;
  Expect([&] {
    picture.LoadFromFile(path);
    DrawGraphic(picture.GetGraphic());
  });
}

}  // namespace fuzz
