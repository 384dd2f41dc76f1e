// Image lists: numbered pictures of one size with transparent parts, drawn normal or greyed.
#pragma once

#include <vector>

#include "platform/ui/Graphics.h"

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };
template <>
const EnumNames& EnumNamesOf<TDrawingStyle>();
template <>
const EnumNames& EnumNamesOf<TImageType>();

class TCustomImageList : public TComponent {
  PL_CLASS(TCustomImageList)
 public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;

  int32_t Count() const { return int32_t(images_.size()); }
  int32_t GetWidth() const { return width_; }
  // Changing the size empties the list.
  void SetWidth(int32_t Value);
  int32_t GetHeight() const { return height_; }
  void SetHeight(int32_t Value);

  // Adds the pictures of Image cut into Width-wide slices; white pixels of Mask are transparent.
  // Answers the index of the first, -1 when Image is empty.
  int32_t Add(TBitmap* Image, TBitmap* Mask);
  // Pixels of MaskColor are transparent (clDefault: the bitmap's bottom-left pixel).
  int32_t AddMasked(TBitmap* Image, TColor MaskColor);
  int32_t AddIcon(TIcon* Image);
  void Replace(int32_t Index, TBitmap* Image, TBitmap* Mask);
  void Delete(int32_t Index);
  void Clear();
  // Greyed when not Enabled: the dark pixels as an embossed shadow.
  void Draw(TCanvas* Canvas, int32_t X, int32_t Y, int32_t Index, bool Enabled = true);
  // The picture on BkColor (or black) at the list's size.
  void GetBitmap(int32_t Index, TBitmap* Image);

  int32_t AllocBy = 4;
  TColor BkColor = clNone;
  TColor BlendColor = clNone;
  TDrawingStyle DrawingStyle = dsNormal;
  TImageType ImageType = itImage;
  bool Masked = true;
  bool ShareImages = false;
  TNotifyEvent OnChange;
  // Accessors of the colour properties (published as colours).
  TColor GetBkColor() const { return BkColor; }
  void SetBkColor(TColor v) { BkColor = v; }
  TColor GetBlendColor() const { return BlendColor; }
  void SetBlendColor(TColor v) { BlendColor = v; }

  // Our own stream form of the pictures; failures raise EReadError "Failed to read ImageList
  // data from stream" and EWriteError "Failed to write ImageList data to stream", and a failed
  // read leaves the list as it was.
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);

 protected:
  void DefineProperties(TFiler* Filer) override;
  virtual void Change();

 private:
  int32_t AddPictures(const TSurface& pixels, const std::function<bool(int, int)>& transparent);
  HICON DisabledIcon(int32_t Index);
  int32_t width_ = 16, height_ = 16;
  std::vector<HICON> images_;
  std::vector<HICON> disabled_;  // made when first drawn greyed
};

class TImageList : public TCustomImageList {
  PL_CLASS(TImageList)
 public:
  explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};
