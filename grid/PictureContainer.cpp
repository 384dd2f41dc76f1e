// Pictures for cell markup.
//
// Sections: THTMLPicture (building from bytes, loading, drawing) / cache / container.
#include "grid/PictureContainer.h"

#include <cstring>
#include <filesystem>

#include "platform/os/gdi/Gdi.h"
#include "platform/os/gdi/ImageFiles.h"
#include "platform/os/kernel/Kernel.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Resources.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"

// ============================================================================ THTMLPicture ====

const TClassInfo& THTMLPicture::ClassInfo() {
  using P = THTMLPicture;
  static const TClassInfo info = TClassInfo::Of<P, TGraphic>("THTMLPicture")
                                     .Prop("Stretch", &P::GetStretch, &P::SetStretch)
                                     .Prop("Frame", &P::GetFrame, &P::SetFrame)
                                     .Event("OnFrameChange", &P::OnFrameChange)
                                     .Event("OnDownLoadComplete", &P::OnDownLoadComplete);
  return info;
}

THTMLPicture::~THTMLPicture() { ReleasePicture(); }

void THTMLPicture::ReleasePicture() {
  if (picture_) picture_->Release();
  picture_ = nullptr;
}

std::vector<size_t> GifFrameStarts(const std::vector<uint8_t>& Bytes) {
  std::vector<size_t> starts;
  const size_t n = Bytes.size();
  // The descriptor's four fields follow the 0x2C eight bytes on: all of them must be there.
  for (size_t i = 0; i + 16 < n; ++i)
    if (Bytes[i] == 0x21 && Bytes[i + 1] == 0xF9 && Bytes[i + 2] == 0x04 && Bytes[i + 8] == 0x2C)
      starts.push_back(i);
  return starts;
}

bool THTMLPicture::IsGIF() const { return bytes_.size() >= 5 && std::memcmp(bytes_.data(), "GIF8", 4) == 0; }

int32_t THTMLPicture::FrameCount() {
  if (frameCount_ == -1 && IsGIF()) frameCount_ = int32_t(GifFrameStarts(bytes_).size());
  return IsGIF() ? frameCount_ : -1;
}

void THTMLPicture::Build() {
  std::vector<uint8_t> use;
  const std::vector<size_t> starts = IsGIF() ? GifFrameStarts(bytes_) : std::vector<size_t>{};
  if (!starts.empty()) {
    animWidth_ = bytes_[6] | bytes_[7] << 8;
    animHeight_ = bytes_[8] | bytes_[9] << 8;
    // Everything before the first frame, then the selected frame and all after it.
    use.assign(bytes_.begin(), bytes_.begin() + std::ptrdiff_t(starts[0]));
    if (frame_ >= 1 && size_t(frame_) <= starts.size()) {
      const size_t at = starts[size_t(frame_ - 1)];
      const uint8_t* d = bytes_.data() + at + 9;
      frameX_ = d[0] | d[1] << 8, frameY_ = d[2] | d[3] << 8;
      frameW_ = d[4] | d[5] << 8, frameH_ = d[6] | d[7] << 8;
      use.insert(use.end(), bytes_.begin() + std::ptrdiff_t(at), bytes_.end());
    }
  } else {
    use = bytes_;
  }
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, use.size());
  if (!block) throw Exception("Could not allocate memory for image");
  if (!use.empty()) {
    std::memcpy(GlobalLock(block), use.data(), use.size());
    GlobalUnlock(block);
  }
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    throw Exception("Could not create image stream");
  }
  if (!stream) throw Exception("Empty image stream created");
  IPicture* picture = nullptr;
  const HRESULT hr = OleLoadPicture(stream, 0, FALSE, IPicture::kIID, reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr)) throw Exception("Could not load image. Invalid format");
  if (!picture) throw Exception("Could not load image");
  ReleasePicture();
  picture_ = picture;
  empty_ = false;
}

void THTMLPicture::Reset() {
  empty_ = true;
  ReleasePicture();
  frameCount_ = -1;
  frame_ = 1;
}

void THTMLPicture::Assign(TPersistent* Source) {
  Reset();
  if (!Source) {
    bytes_.clear();
    return;
  }
  if (auto* p = dynamic_cast<THTMLPicture*>(Source)) {
    if (p == this) return;
    bytes_ = p->bytes_;
    Build();
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

namespace {
int32_t HimetricToPixels(LONG Himetric, int32_t Dpi) { return MulDiv(Himetric, Dpi, 2540); }
}  // namespace

int32_t THTMLPicture::GetWidth() {
  OLE_XSIZE_HIMETRIC w = 0;
  if (!picture_ || FAILED(picture_->get_Width(&w))) return 0;
  return HimetricToPixels(w, 96);
}

int32_t THTMLPicture::GetHeight() {
  OLE_YSIZE_HIMETRIC h = 0;
  if (!picture_ || FAILED(picture_->get_Height(&h))) return 0;
  return HimetricToPixels(h, 96);
}

int32_t THTMLPicture::AnimationWidth() { return animWidth_ > 0 ? animWidth_ : GetWidth(); }
int32_t THTMLPicture::AnimationHeight() { return animHeight_ > 0 ? animHeight_ : GetHeight(); }

void THTMLPicture::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (empty_ || !picture_ || !ACanvas) return;
  OLE_XSIZE_HIMETRIC hw = 0;
  OLE_YSIZE_HIMETRIC hh = 0;
  picture_->get_Width(&hw);
  picture_->get_Height(&hh);
  ACanvas->RequiredState({csHandleValid});
  HDC dc = ACanvas->GetHandle();
  int32_t w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
  if (!stretch_) {
    w = HimetricToPixels(hw, GetDeviceCaps(dc, LOGPIXELSX));
    h = HimetricToPixels(hh, GetDeviceCaps(dc, LOGPIXELSY));
  }
  RECT bounds = Rect;
  picture_->Render(dc, Rect.Left, Rect.Top, w, h, 0, hh, hw, -hh, &bounds);
}

namespace {
std::vector<uint8_t> RestOf(TStream* Stream) {
  std::vector<uint8_t> bytes(size_t(std::max<int64_t>(Stream->Size() - Stream->GetPosition(), 0)));
  if (!bytes.empty()) bytes.resize(size_t(Stream->Read(bytes.data(), int32_t(bytes.size()))));
  return bytes;
}
}  // namespace

void THTMLPicture::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  Reset();
  bytes_ = RestOf(Stream);
  Build();
  Changed(this);
}

void THTMLPicture::ReadData(TStream* Stream) {
  if (!Stream) return;
  Reset();
  bytes_ = RestOf(Stream);
  try {
    Build();
  } catch (const Exception&) {
    // Stored bytes that no longer read leave the picture empty, not the definition unreadable.
  }
}

void THTMLPicture::SaveToStream(TStream* Stream) {
  if (Stream && !bytes_.empty()) Stream->WriteBuffer(bytes_.data(), int32_t(bytes_.size()));
}

void THTMLPicture::LoadFromFile(const AnsiString& FileName) {
  try {
    std::vector<uint8_t> bytes = ReadFileBytes(FileName);
    Reset();
    bytes_ = std::move(bytes);
    Build();
    Changed(this);
  } catch (const Exception&) {
    Reset();
    bytes_.clear();
  }
}

void THTMLPicture::SetFrame(int32_t Value) {
  frame_ = Value;
  if (bytes_.empty()) return;
  Build();
  OnFrameChange(this);
}

void THTMLPicture::LoadFromResource(HINSTANCE Instance, const AnsiString& Name) {
  HRSRC res = FindResource(Instance, Name.c_str(), RT_RCDATA);
  if (!res) return;
  HGLOBAL loaded = LoadResource(Instance, res);
  const DWORD size = SizeofResource(Instance, res);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return;
  TMemoryStream stream;
  stream.WriteBuffer(data, int32_t(size));
  stream.SetPosition(0);
  LoadFromStream(&stream);
}

namespace {

// Locations arrive upper-cased, as they did on a file system that ignores case; here the file is
// found by comparing each part of the path without case when the exact spelling does not exist.
AnsiString FileNoCase(const AnsiString& Path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (Path.empty() || fs::exists(fs::path(AnsiToUtf8(Path)), ec)) return Path;
  fs::path found = Path[0] == '/' ? fs::path("/") : fs::path(".");
  for (const fs::path& part : fs::path(AnsiToUtf8(Path)).relative_path()) {
    fs::path next;
    for (fs::directory_iterator it(found, ec), end; !ec && it != end; it.increment(ec))
      if (SameText(Utf8ToAnsi(it->path().filename().string()), Utf8ToAnsi(part.string()))) {
        next = it->path();
        break;
      }
    if (next.empty()) return Path;
    found = next;
  }
  return Utf8ToAnsi(found.string());
}

}  // namespace

void THTMLPicture::LoadFromLocation(const AnsiString& Location) {
  const AnsiString upper = UpperCase(Location);
  if (upper.rfind("RES://", 0) == 0) {
    id_ = upper;
    LoadFromResource(instance_, upper.substr(6));
  } else if (upper.rfind("FILE://", 0) == 0) {
    id_ = upper;
    LoadFromFile(FileNoCase(upper.substr(7)));
  } else if (!asynch_) {
    id_ = upper, url_ = upper;
  } else if (!busy_) {
    // The download has no work to do on this system: the picture stays empty and the next
    // request is not refused as busy.
    id_ = upper, url_ = upper;
  }
}

// ============================================================================ cache ===========

THTMLPicture* THTMLPictureCache::AddPicture() {
  list_.push_back(std::make_unique<THTMLPicture>());
  list_.back()->SetInstance(instance_);
  return list_.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(const AnsiString& ID) {
  for (auto& p : list_)
    if (p->GetID() == ID) return p.get();
  return nullptr;
}

// ============================================================================ container =======

const TClassInfo& TPictureItem::ClassInfo() {
  using I = TPictureItem;
  static const TClassInfo info = TClassInfo::Of<I, TCollectionItem>("TPictureItem")
                                     .Object("Picture", &I::GetPicture, &I::SetPicture)
                                     .Prop("Name", &I::GetName, &I::SetName)
                                     .Prop("Tag", &I::GetTag, &I::SetTag);
  return info;
}

TPictureItem::TPictureItem(TCollection* Collection)
    : TCollectionItem(Collection), picture_(std::make_unique<THTMLPicture>()) {}

TPictureItem::~TPictureItem() = default;

void TPictureItem::Assign(TPersistent* Source) {
  auto* item = dynamic_cast<TPictureItem*>(Source);
  if (!item) throw EInvalidCast("Invalid class typecast");
  name_ = item->name_;
  tag_ = item->tag_;
  picture_->Assign(item->picture_.get());
}

const TClassInfo& TPictureCollection::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TPictureCollection, TCollection>("TPictureCollection");
  return info;
}

TPictureCollection::TPictureCollection(TPictureContainer* Owner)
    : TCollection(TPictureItem::ClassInfo()), owner_(Owner) {}

TPersistent* TPictureCollection::GetOwner() { return owner_; }

const TClassInfo& TPictureContainer::ClassInfo() {
  using C = TPictureContainer;
  static const TClassInfo info =
      TClassInfo::Of<C, TComponent>("TPictureContainer").Object("Items", &C::GetItems, &C::SetItems);
  return info;
}

TPictureContainer::TPictureContainer(TComponent* AOwner)
    : TComponent(AOwner), items_(std::make_unique<TPictureCollection>(this)) {}

TPictureContainer::~TPictureContainer() = default;

THTMLPicture* TPictureContainer::FindPicture(const AnsiString& Name) {
  for (int32_t i = 0; i < items_->Count(); ++i)
    if (UpperCase(items_->Items(i)->GetName()) == Name) return items_->Items(i)->GetPicture();
  return nullptr;
}
