// Test support for channel drawing: a recording canvas (an enhanced metafile read back record by
// record) that lists the lines, polygons, boxes and texts a drawing made with the pen of each, and
// a channel fixture on small axes: X 0 .. 10 on pixels 0 .. 100, Y 0 .. 10 on pixels 100 .. 0
// (10 pixels a unit; other scales through SetScale).
#pragma once

#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/os/gdi/Gdi.h"
#include "platform/ui/Graphics.h"
#include "tests/plot/channel/ChannelTestSupport.h"

namespace plot_draw_test {

struct TShape {
  enum TKind { Line, Polygon, Ellipse, Rectangle, Text };
  TKind Kind = Line;
  // Line and polygon corners; the two corners of an ellipse's or rectangle's box; a text's origin.
  std::vector<TPoint> Points;
  TColor PenColor = 0;
  int32_t PenWidth = 0;
  AnsiString Chars;
};

// A canvas whose drawing is kept as records; Shapes() ends the recording and lists what was drawn.
class TRecordingCanvas {
 public:
  TRecordingCanvas(int32_t Width = 200, int32_t Height = 200) {
    metafile_.SetWidth(Width);
    metafile_.SetHeight(Height);
    canvas_ = std::make_unique<TMetafileCanvas>(&metafile_, nullptr);
  }
  TCanvas* Canvas() { return canvas_.get(); }

  const std::vector<TShape>& Shapes() {
    if (canvas_) {
      canvas_.reset();
      Parse();
    }
    return shapes_;
  }
  std::vector<TShape> Of(TShape::TKind Kind) {
    std::vector<TShape> out;
    for (const TShape& s : Shapes())
      if (s.Kind == Kind) out.push_back(s);
    return out;
  }
  size_t Count(TShape::TKind Kind) { return Of(Kind).size(); }

 private:
  struct TPenRecord {
    TColor Color = 0;
    int32_t Width = 0;
  };

  template <class T>
  static T At(const std::vector<BYTE>& Bytes, size_t Offset) {
    T v;
    std::memcpy(&v, Bytes.data() + Offset, sizeof v);
    return v;
  }

  void Parse() {
    HENHMETAFILE emf = metafile_.GetHandle();
    if (!emf) return;
    std::vector<BYTE> bytes(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, UINT(bytes.size()), bytes.data());
    std::map<DWORD, TPenRecord> pens;  // by object index
    TPenRecord pen;
    TPoint position{0, 0};
    for (size_t at = 0; at + 8 <= bytes.size();) {
      const DWORD type = At<DWORD>(bytes, at), size = At<DWORD>(bytes, at + 4);
      if (size < 8) break;
      const auto shape = [&](TShape::TKind Kind, std::vector<TPoint> Points) {
        TShape s;
        s.Kind = Kind;
        s.Points = std::move(Points);
        s.PenColor = pen.Color;
        s.PenWidth = pen.Width;
        shapes_.push_back(s);
        return &shapes_.back();
      };
      const auto points = [&](size_t CountAt) {
        std::vector<TPoint> p;
        const DWORD n = At<DWORD>(bytes, at + CountAt);
        for (DWORD i = 0; i < n; ++i)
          p.push_back(TPoint{At<int32_t>(bytes, at + CountAt + 4 + 8 * i),
                             At<int32_t>(bytes, at + CountAt + 8 + 8 * i)});
        return p;
      };
      // Boxes are stored inclusive: the call's right and bottom edges are one further.
      const auto box = [&] {
        return std::vector<TPoint>{TPoint{At<int32_t>(bytes, at + 8), At<int32_t>(bytes, at + 12)},
                                   TPoint{At<int32_t>(bytes, at + 16) + 1, At<int32_t>(bytes, at + 20) + 1}};
      };
      switch (type) {
        case EMR_CREATEPEN:
          pens[At<DWORD>(bytes, at + 8)] =
              TPenRecord{TColor(At<DWORD>(bytes, at + 24)), At<int32_t>(bytes, at + 16)};
          break;
        case EMR_SELECTOBJECT: {
          const auto it = pens.find(At<DWORD>(bytes, at + 8));
          if (it != pens.end()) pen = it->second;
          break;
        }
        case EMR_MOVETOEX:
          position = TPoint{At<int32_t>(bytes, at + 8), At<int32_t>(bytes, at + 12)};
          break;
        case EMR_LINETO: {
          const TPoint to{At<int32_t>(bytes, at + 8), At<int32_t>(bytes, at + 12)};
          shape(TShape::Line, {position, to});
          position = to;
          break;
        }
        case EMR_POLYLINE:
          shape(TShape::Line, points(24));
          break;
        case EMR_POLYGON:
          shape(TShape::Polygon, points(24));
          break;
        case EMR_ELLIPSE:
          shape(TShape::Ellipse, box());
          break;
        case EMR_RECTANGLE:
          shape(TShape::Rectangle, box());
          break;
        case EMR_EXTTEXTOUTW: {
          TShape* s = shape(TShape::Text, {TPoint{At<int32_t>(bytes, at + 36), At<int32_t>(bytes, at + 40)}});
          const DWORD count = At<DWORD>(bytes, at + 44), offset = At<DWORD>(bytes, at + 48);
          for (DWORD i = 0; i < count; ++i) s->Chars += char(At<uint16_t>(bytes, at + offset + 2 * i));
          break;
        }
        default:
          break;
      }
      at += size;
    }
  }

  TMetafile metafile_;
  std::unique_ptr<TMetafileCanvas> canvas_;
  std::vector<TShape> shapes_;
};

// A channel on the small axes, drawn the way the plot paints it.
struct TDrawFixture : TChannelFixture {
  TDrawFixture() {
    SetScale(XAxis(), 0, 10, 100);
    SetScale(YAxis(), 0, 10, 100);
    // The points are placed by hand: the axes keep their ranges.
    XAxis().SetTrackingEnabled(false);
    YAxis().SetTrackingEnabled(false);
  }
  TiPlotChannel& Ch() { return *Channel; }
  void Add(const std::vector<std::pair<double, double>>& Points) {
    for (const auto& [x, y] : Points) Ch().AddPointXY(x, y);
  }
  // PreparePaint and Draw on a fresh recording canvas.
  std::unique_ptr<TRecordingCanvas> Record() {
    auto canvas = std::make_unique<TRecordingCanvas>();
    Ch().PreparePaint();
    Ch().Draw(canvas->Canvas(), clWhite);
    return canvas;
  }
  // The end points of every line drawn.
  static std::vector<std::pair<TPoint, TPoint>> Lines(TRecordingCanvas& Canvas) {
    std::vector<std::pair<TPoint, TPoint>> out;
    for (const TShape& s : Canvas.Of(TShape::Line))
      if (s.Points.size() == 2) out.emplace_back(s.Points[0], s.Points[1]);
    return out;
  }
};

}  // namespace plot_draw_test
