// Pictures for cell markup: THTMLPicture keeps the raw bytes of an image and shows them through
// the system's picture loader (any frame of an animated GIF); THTMLPictureCache holds pictures
// loaded by location ("RES://" resources, "FILE://" files); TPictureContainer holds named ones.
//
// Thread contract: UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "platform/os/ole/Ole.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Component.h"
#include "platform/ui/Graphics.h"

using TDownLoadErrorEvent = TEvent<TObject*, AnsiString>;
using TDownLoadCancelEvent = TEvent<TObject*, bool&>;
using TDownLoadProgressEvent = TEvent<TObject*, uint32_t, uint32_t>;

class THTMLPicture : public TGraphic {
  PL_CLASS(THTMLPicture)
 public:
  THTMLPicture() = default;
  ~THTMLPicture() override;
  void Assign(TPersistent* Source) override;

  bool GetEmpty() override { return empty_; }
  // At 96 pixels per inch; 0 without a picture.  Setting either does nothing.
  int32_t GetWidth() override;
  void SetWidth(int32_t) override {}
  int32_t GetHeight() override;
  void SetHeight(int32_t) override {}

  // Any failure leaves the picture empty.
  void LoadFromFile(const AnsiString& FileName) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromClipboardFormat(UINT, void*, HPALETTE) override {}
  void SaveToClipboardFormat(UINT&, void*&, HPALETTE&) override {}
  // Stretched into Rect, or at its own size (at the canvas device's resolution) at its corner.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override { SaveToStream(Stream); }

  bool GetStretch() const { return stretch_; }
  void SetStretch(bool Value) { stretch_ = Value; }
  int32_t GetFrame() const { return frame_; }
  // Rebuilds the picture for that frame (1-based) when bytes are held, then OnFrameChange.
  void SetFrame(int32_t Value);
  // Counted once; -1 when the bytes are not a GIF.
  int32_t FrameCount();
  bool IsGIF() const;
  int32_t AnimationWidth();
  int32_t AnimationHeight();
  // The selected frame's place on the GIF's logical screen.
  int32_t FrameXPos() const { return frameX_; }
  int32_t FrameYPos() const { return frameY_; }
  void LoadFromResource(HINSTANCE Instance, const AnsiString& Name);
  // "RES://name", "FILE://path"; other locations are remembered and stay empty.
  void LoadFromLocation(const AnsiString& Location);
  const AnsiString& GetID() const { return id_; }
  void SetID(const AnsiString& Value) { id_ = Value; }
  HINSTANCE GetInstance() const { return instance_; }
  void SetInstance(HINSTANCE Value) { instance_ = Value; }
  bool GetAsynch() const { return asynch_; }
  void SetAsynch(bool Value) { asynch_ = Value; }
  bool DownloadBusy() const { return busy_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

  TNotifyEvent OnFrameChange;
  TDownLoadErrorEvent OnDownLoadError;
  TNotifyEvent OnDownLoadComplete;
  TDownLoadCancelEvent OnDownLoadCancel;
  TDownLoadProgressEvent OnDownLoadProgress;

 private:
  // Builds the picture object from the bytes for the selected frame; raises on failure.
  void Build();
  void Reset();
  void ReleasePicture();
  std::vector<uint8_t> bytes_;
  bool empty_ = true;
  IPicture* picture_ = nullptr;
  bool stretch_ = false;
  int32_t frame_ = 1, frameCount_ = -1;
  int32_t animWidth_ = 0, animHeight_ = 0;
  int32_t frameX_ = 0, frameY_ = 0, frameW_ = 0, frameH_ = 0;
  AnsiString id_, url_;
  HINSTANCE instance_ = nullptr;
  bool asynch_ = true, busy_ = false;
};

// Where GIF frames start in Bytes: a graphic control extension right before an image descriptor
// whose fields lie inside the bytes.
std::vector<size_t> GifFrameStarts(const std::vector<uint8_t>& Bytes);

// Pictures loaded by location, owned by the cache.
class THTMLPictureCache {
 public:
  explicit THTMLPictureCache(HINSTANCE Instance = nullptr) : instance_(Instance) {}
  THTMLPicture* AddPicture();
  // Exact comparison with the picture's location.
  THTMLPicture* FindPicture(const AnsiString& ID);
  THTMLPicture* Items(int32_t Index) { return list_.at(size_t(Index)).get(); }
  int32_t Count() const { return int32_t(list_.size()); }
  void Clear() { list_.clear(); }

 private:
  HINSTANCE instance_;
  std::vector<std::unique_ptr<THTMLPicture>> list_;
};

class TPictureItem : public TCollectionItem {
  PL_CLASS(TPictureItem)
 public:
  explicit TPictureItem(TCollection* Collection);
  ~TPictureItem() override;
  void Assign(TPersistent* Source) override;
  THTMLPicture* GetPicture() const { return picture_.get(); }
  void SetPicture(THTMLPicture* Value) { picture_->Assign(Value); }
  const AnsiString& GetName() const { return name_; }
  void SetName(const AnsiString& Value) { name_ = Value; }
  int32_t GetTag() const { return tag_; }
  void SetTag(int32_t Value) { tag_ = Value; }

 private:
  std::unique_ptr<THTMLPicture> picture_;
  AnsiString name_;
  int32_t tag_ = 0;
};

class TPictureContainer;

class TPictureCollection : public TCollection {
  PL_CLASS(TPictureCollection)
 public:
  explicit TPictureCollection(TPictureContainer* Owner);
  TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
  TPictureItem* Items(int32_t Index) const { return static_cast<TPictureItem*>(TCollection::Items(Index)); }
  TPersistent* GetOwner() override;

 private:
  TPictureContainer* owner_;
};

class TPictureContainer : public TComponent {
  PL_CLASS(TPictureContainer)
 public:
  explicit TPictureContainer(TComponent* AOwner);
  ~TPictureContainer() override;
  TPictureCollection* GetItems() const { return items_.get(); }
  void SetItems(TPictureCollection* Value) { items_->Assign(Value); }
  // The first item whose upper-cased name equals Name (callers pass it upper-cased).
  THTMLPicture* FindPicture(const AnsiString& Name);

 private:
  std::unique_ptr<TPictureCollection> items_;
};
