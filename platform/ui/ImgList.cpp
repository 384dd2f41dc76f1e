// Image lists: pictures kept as icons (32-bit with transparency), their stream form and drawing.
#include "platform/ui/ImgList.h"

#include <cstring>

#include "platform/os/gdi/Icons.h"

namespace {

constexpr char kMagic[4] = {'P', 'L', 'I', 'L'};
constexpr uint16_t kVersion = 1;
constexpr int32_t kMaxSide = 4096;

uint32_t ToPixel(TColor c) {
  uint32_t v = uint32_t(ColorToRGB(c));
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  for (HICON h : images_) DestroyIcon(h);
  for (HICON h : disabled_)
    if (h) DestroyIcon(h);
}

void TCustomImageList::Change() { OnChange(this); }

void TCustomImageList::SetWidth(int32_t Value) {
  if (Value == width_ || Value <= 0 || Value > kMaxSide) return;
  Clear();
  width_ = Value;
  Change();
}

void TCustomImageList::SetHeight(int32_t Value) {
  if (Value == height_ || Value <= 0 || Value > kMaxSide) return;
  Clear();
  height_ = Value;
  Change();
}

int32_t TCustomImageList::AddPictures(const TSurface& s, const std::function<bool(int, int)>& transparent) {
  if (s.Empty()) return -1;
  int first = Count();
  int slices = std::max(1, s.Width / width_);
  std::vector<uint32_t> px(size_t(width_) * size_t(height_));
  for (int k = 0; k < slices; ++k) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        int sx = k * width_ + x;
        bool inside = sx < s.Width && y < s.Height;
        uint32_t v = inside ? s.Row(y)[sx] & 0xFFFFFF : 0;
        px[size_t(y) * size_t(width_) + size_t(x)] = inside && !transparent(sx, y) ? v | 0xFF000000u : 0;
      }
    images_.push_back(CreateIconFromPixels(px.data(), width_, height_));
    disabled_.push_back(nullptr);
  }
  Change();
  return first;
}

int32_t TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->Empty()) return -1;
  TSurface* s = Image->Surface();
  TSurface* m = Mask && !Mask->Empty() ? Mask->Surface() : nullptr;
  return AddPictures(*s, [&](int x, int y) {
    return m && x < m->Width && y < m->Height && (m->Row(y)[x] & 0xFFFFFF) == 0xFFFFFF;
  });
}

int32_t TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image || Image->Empty()) return -1;
  if (MaskColor == clDefault) MaskColor = Image->GetCanvas()->GetPixel(0, Image->GetHeight() - 1);
  uint32_t key = ToPixel(MaskColor);
  TSurface* s = Image->Surface();
  return AddPictures(*s, [&](int x, int y) { return (s->Row(y)[x] & 0xFFFFFF) == key; });
}

int32_t TCustomImageList::AddIcon(TIcon* Image) {
  if (!Image || Image->Empty()) return -1;
  TSurface* s = GetIconSurface(Image->GetHandle());
  TSurface scaled(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      scaled.Row(y)[x] = s->Row(y * s->Height / height_)[x * s->Width / width_];
  int first = Count();
  images_.push_back(CreateIconFromPixels(scaled.Pixels, width_, height_));
  disabled_.push_back(nullptr);
  Change();
  return first;
}

void TCustomImageList::Replace(int32_t Index, TBitmap* Image, TBitmap* Mask) {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
  TCustomImageList tmp(nullptr);
  tmp.width_ = width_, tmp.height_ = height_;
  if (tmp.Add(Image, Mask) < 0) return;
  DestroyIcon(images_[size_t(Index)]);
  if (disabled_[size_t(Index)]) DestroyIcon(disabled_[size_t(Index)]), disabled_[size_t(Index)] = nullptr;
  images_[size_t(Index)] = CopyIcon(tmp.images_[0]);
  Change();
}

void TCustomImageList::Delete(int32_t Index) {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
  DestroyIcon(images_[size_t(Index)]);
  if (disabled_[size_t(Index)]) DestroyIcon(disabled_[size_t(Index)]);
  images_.erase(images_.begin() + Index);
  disabled_.erase(disabled_.begin() + Index);
  Change();
}

void TCustomImageList::Clear() {
  if (images_.empty()) return;
  for (HICON h : images_) DestroyIcon(h);
  for (HICON h : disabled_)
    if (h) DestroyIcon(h);
  images_.clear();
  disabled_.clear();
  Change();
}

// The greyed look: dark pixels become a shadow with a highlight one pixel down and right.
HICON TCustomImageList::DisabledIcon(int32_t Index) {
  HICON& h = disabled_[size_t(Index)];
  if (h) return h;
  TSurface* s = GetIconSurface(images_[size_t(Index)]);
  std::vector<uint32_t> out(size_t(width_) * size_t(height_), 0);
  uint32_t light = ToPixel(clBtnHighlight) | 0xFF000000u, shadow = ToPixel(clBtnShadow) | 0xFF000000u;
  auto dark = [&](int x, int y) {
    uint32_t p = s->Row(y)[x];
    if (!(p >> 24)) return false;
    uint32_t lum = (((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11) / 100;
    return lum < 0xC0;
  };
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (dark(x, y) && x + 1 < width_ && y + 1 < height_)
        out[size_t(y + 1) * size_t(width_) + size_t(x + 1)] = light;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (dark(x, y)) out[size_t(y) * size_t(width_) + size_t(x)] = shadow;
  h = CreateIconFromPixels(out.data(), width_, height_);
  return h;
}

void TCustomImageList::Draw(TCanvas* Canvas, int32_t X, int32_t Y, int32_t Index, bool Enabled) {
  if (!Canvas || Index < 0 || Index >= Count()) return;
  Canvas->Changing();
  Canvas->RequiredState({csHandleValid});
  HDC dc = Canvas->GetHandle();
  if (BkColor != clNone && DrawingStyle != dsTransparent) {
    HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(BkColor)));
    RECT r{X, Y, X + width_, Y + height_};
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  HICON icon = Enabled ? images_[size_t(Index)] : DisabledIcon(Index);
  DrawIconEx(dc, X, Y, icon, width_, height_, 0, nullptr, ImageType == itMask ? DI_MASK : DI_NORMAL);
  Canvas->Changed();
}

void TCustomImageList::GetBitmap(int32_t Index, TBitmap* Image) {
  if (!Image || Index < 0 || Index >= Count()) return;
  Image->SetSize(width_, height_);
  TCanvas* c = Image->GetCanvas();
  c->GetBrush()->SetColor(BkColor == clNone ? clBlack : BkColor);
  c->FillRect(Rect(0, 0, width_, height_));
  Draw(c, 0, 0, Index, true);
}

void TCustomImageList::ReadData(TStream* Stream) {
  const char* failure = "Failed to read ImageList data from stream";
  try {
    char magic[4];
    uint16_t version = 0;
    int32_t w = 0, h = 0, n = 0;
    Stream->ReadBuffer(magic, 4);
    Stream->ReadBuffer(&version, 2);
    Stream->ReadBuffer(&w, 4);
    Stream->ReadBuffer(&h, 4);
    Stream->ReadBuffer(&n, 4);
    int64_t left = Stream->GetSize() - Stream->GetPosition();
    if (std::memcmp(magic, kMagic, 4) != 0 || version != kVersion || w <= 0 || h <= 0 || w > kMaxSide ||
        h > kMaxSide || n < 0 || int64_t(n) * w * h * 4 > left)
      throw EReadError(failure);
    std::vector<HICON> icons;
    std::vector<uint32_t> px(size_t(w) * size_t(h));
    for (int32_t i = 0; i < n; ++i) {
      Stream->ReadBuffer(px.data(), int32_t(px.size() * 4));
      icons.push_back(CreateIconFromPixels(px.data(), w, h));
    }
    for (HICON old : images_) DestroyIcon(old);
    for (HICON old : disabled_)
      if (old) DestroyIcon(old);
    images_ = std::move(icons);
    disabled_.assign(images_.size(), nullptr);
    width_ = w, height_ = h;
    Change();
  } catch (const EStreamError&) {
    throw EReadError(failure);
  }
}

void TCustomImageList::WriteData(TStream* Stream) {
  try {
    Stream->WriteBuffer(kMagic, 4);
    Stream->WriteBuffer(&kVersion, 2);
    int32_t n = Count();
    Stream->WriteBuffer(&width_, 4);
    Stream->WriteBuffer(&height_, 4);
    Stream->WriteBuffer(&n, 4);
    for (HICON h : images_) {
      TSurface* s = GetIconSurface(h);
      Stream->WriteBuffer(s->Pixels, s->Width * s->Height * 4);
    }
  } catch (const EStreamError&) {
    throw EWriteError("Failed to write ImageList data to stream");
  }
}

void TCustomImageList::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty("Bitmap", TStreamProc(this, &TCustomImageList::ReadData),
                              TStreamProc(this, &TCustomImageList::WriteData), Count() > 0);
}

PL_ENUM_NAMES(TDrawingStyle, "dsFocus", "dsSelected", "dsNormal", "dsTransparent")
PL_ENUM_NAMES(TImageType, "itImage", "itMask")

const TClassInfo& TCustomImageList::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomImageList, TComponent>("TCustomImageList");
  return info;
}

const TClassInfo& TImageList::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TImageList, TCustomImageList>("TImageList")
          .Prop("AllocBy", &TImageList::AllocBy)
          .Default(4)
          .Prop("BlendColor", &TImageList::GetBlendColor, &TImageList::SetBlendColor)
          .Type(ColorTypeInfo())
          .Default(clNone)
          .Prop("BkColor", &TImageList::GetBkColor, &TImageList::SetBkColor)
          .Type(ColorTypeInfo())
          .Default(clNone)
          .Prop("DrawingStyle", &TImageList::DrawingStyle)
          .Default(dsNormal)
          .Prop("Height", &TImageList::GetHeight, &TImageList::SetHeight)
          .Default(16)
          .Prop("ImageType", &TImageList::ImageType)
          .Default(itImage)
          .Prop("Masked", &TImageList::Masked)
          .Default(true)
          .Prop("ShareImages", &TImageList::ShareImages)
          .Default(false)
          .Prop("Width", &TImageList::GetWidth, &TImageList::SetWidth)
          .Default(16)
          .Event("OnChange", &TImageList::OnChange);
  return info;
}

namespace {
// Definitions name image lists that no form field declares.
struct TImgListRegistration {
  TImgListRegistration() { RegisterClasses({&TImageList::ClassInfo()}); }
} g_imgListRegistration;
}  // namespace
