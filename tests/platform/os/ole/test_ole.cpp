// Object linking in process: reference counting, a drag of text from one window to another,
// streams and pictures, and automation that does not exist.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "platform/os/gdi/ImageFiles.h"
#include "platform/os/ole/Ole.h"
#include "platform/os/user/DisplayDriver.h"

namespace {

HGLOBAL OleTestBlock(const void* bytes, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(h), bytes, size);
  GlobalUnlock(h);
  return h;
}

// Plain text (CF_TEXT) in global memory.
class TextData : public TInterfacedBase<IDataObject> {
 public:
  explicit TextData(std::string text) : text_(std::move(text)) {}
  HRESULT GetData(FORMATETC* f, STGMEDIUM* m) override {
    if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
    m->tymed = TYMED_HGLOBAL;
    m->hGlobal = OleTestBlock(text_.c_str(), text_.size() + 1);
    m->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT QueryGetData(FORMATETC* f) override {
    return f && f->cfFormat == CF_TEXT && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC f;
    f.cfFormat = CF_TEXT;
    return CreateFormatEnumerator(1, &f, out);
  }
  HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::string text_;
};

// Plays the user's part: each question of the loop delivers the next input.
class Source : public TInterfacedBase<IDropSource> {
 public:
  std::vector<DWORD> feedback;
  std::vector<std::function<void()>> script;
  HRESULT QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (next_ < script.size()) script[next_++]();
    if (escape) return DRAGDROP_S_CANCEL;
    return keys & MK_LBUTTON ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT GiveFeedback(DWORD effect) override {
    feedback.push_back(effect);
    return DRAGDROP_S_USEDEFAULTCURSORS;
  }

 private:
  size_t next_ = 0;
};

// Takes text, as a copy, and records the calls.
class Target : public TInterfacedBase<IDropTarget> {
 public:
  std::string calls, dropped;
  HRESULT DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    calls += "enter ";
    FORMATETC f;
    f.cfFormat = CF_TEXT;
    accept_ = data->QueryGetData(&f) == S_OK;
    *effect = accept_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = accept_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT DragLeave() override {
    calls += "leave ";
    return S_OK;
  }
  HRESULT Drop(IDataObject* data, DWORD, POINTL pt, DWORD* effect) override {
    calls += "drop@" + std::to_string(pt.x) + "," + std::to_string(pt.y) + " ";
    FORMATETC f;
    f.cfFormat = CF_TEXT;
    STGMEDIUM m;
    if (data->GetData(&f, &m) != S_OK) return E_FAIL;
    dropped = static_cast<const char*>(GlobalLock(m.hGlobal));
    GlobalUnlock(m.hGlobal);
    ReleaseStgMedium(&m);
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }

 private:
  bool accept_ = false;
};

struct Drag {
  IDataObject* data;
  IDropSource* source;
  HRESULT result = 0;
  DWORD effect = 99;
};
Drag* g_drag = nullptr;

LRESULT SourceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LBUTTONDOWN && g_drag)
    g_drag->result =
        DoDragDrop(g_drag->data, g_drag->source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &g_drag->effect);
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

HWND OleTestWindow(int x) {
  static const char* name = [] {
    WNDCLASS wc{};
    wc.lpfnWndProc = SourceProc;
    wc.lpszClassName = "OleTestWindow";
    RegisterClass(&wc);
    return "OleTestWindow";
  }();
  return CreateWindowEx(0, name, "", WS_POPUP | WS_VISIBLE, x, 100, 100, 100, nullptr, nullptr, nullptr,
                        nullptr);
}

void Pump() {
  MSG m;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
}

class OleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    from = OleTestWindow(100);
    to = OleTestWindow(300);
    data->AddRef();
    source->AddRef();
    target->AddRef();
  }
  void TearDown() override {
    RevokeDragDrop(to);
    DestroyWindow(from);
    DestroyWindow(to);
    OleUninitialize();
    for (IUnknown* u : std::initializer_list<IUnknown*>{data, source, target}) EXPECT_EQ(u->Release(), 0u);
  }
  HWND from = nullptr, to = nullptr;
  TextData* data = new TextData("dragged text");
  Source* source = new Source;
  Target* target = new Target;
};

TEST_F(OleTest, TextDragsFromOneWindowToAnother) {
  ASSERT_EQ(RegisterDragDrop(to, target), S_OK);
  EXPECT_EQ(RegisterDragDrop(to, target), DRAGDROP_E_ALREADYREGISTERED);
  EXPECT_EQ(target->GetRefCount(), 2) << "the registration holds the target";
  Drag drag{data, source};
  g_drag = &drag;
  source->script = {[] {},
                    [] {
                      InputMouseMove({250, 150});
                    },  // over no target
                    [] {
                      InputMouseMove({320, 140});
                    },
                    [] {
                      InputMouseMove({330, 150});
                    },
                    [] {
                      InputMouseButton(VK_LBUTTON, false, {330, 150});
                    }};
  InputMouseMove({150, 150});
  InputMouseButton(VK_LBUTTON, true, {150, 150});
  Pump();
  g_drag = nullptr;
  EXPECT_EQ(drag.result, DRAGDROP_S_DROP);
  EXPECT_EQ(drag.effect, DROPEFFECT_COPY);
  EXPECT_EQ(target->dropped, "dragged text");
  EXPECT_EQ(target->calls, "enter drop@330,150 ");
  ASSERT_FALSE(source->feedback.empty());
  EXPECT_EQ(source->feedback.front(), DROPEFFECT_NONE);
  EXPECT_EQ(source->feedback.back(), DROPEFFECT_COPY);
}

TEST_F(OleTest, EscapeCancelsAndTheTargetIsLeft) {
  ASSERT_EQ(RegisterDragDrop(to, target), S_OK);
  Drag drag{data, source};
  g_drag = &drag;
  source->script = {[] {}, [] { InputMouseMove({330, 150}); }, [] { InputKey(VK_ESCAPE, true); }};
  InputMouseMove({150, 150});
  InputMouseButton(VK_LBUTTON, true, {150, 150});
  Pump();
  InputKey(VK_ESCAPE, false);
  InputMouseButton(VK_LBUTTON, false, {330, 150});
  Pump();
  g_drag = nullptr;
  EXPECT_EQ(drag.result, DRAGDROP_S_CANCEL);
  EXPECT_EQ(drag.effect, DROPEFFECT_NONE);
  EXPECT_EQ(target->calls, "enter leave ");
  EXPECT_EQ(target->dropped, "");
  EXPECT_EQ(RevokeDragDrop(to), S_OK);
  EXPECT_EQ(RevokeDragDrop(to), DRAGDROP_E_NOTREGISTERED);
  EXPECT_EQ(target->GetRefCount(), 1);
}

TEST(OleObjects, InterfacesAndEnumerators) {
  auto* d = new TextData("x");
  IUnknown* unknown = nullptr;
  ASSERT_EQ(d->QueryInterface(IUnknown::kIID, reinterpret_cast<void**>(&unknown)), S_OK);
  void* none = &unknown;
  EXPECT_EQ(d->QueryInterface(IDropTarget::kIID, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  IEnumFORMATETC* e = nullptr;
  ASSERT_EQ(d->EnumFormatEtc(DATADIR_GET, &e), S_OK);
  FORMATETC got[2];
  ULONG n = 0;
  EXPECT_EQ(e->Next(2, got, &n), S_FALSE);
  EXPECT_EQ(n, 1u);
  EXPECT_EQ(got[0].cfFormat, CF_TEXT);
  EXPECT_EQ(e->Release(), 0u);
  EXPECT_EQ(unknown->Release(), 0u) << "the last reference frees the object";
}

TEST(OleObjects, PicturesLoadFromStreamsAndOthersAreRefused) {
  uint32_t px[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  std::vector<uint8_t> bmp = WriteBmp(px, 2, 2, 24);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(OleTestBlock(bmp.data(), bmp.size()), TRUE, &stream), S_OK);
  IPicture* pic = nullptr;
  ASSERT_EQ(OleLoadPicture(stream, 0, FALSE, IPicture::kIID, reinterpret_cast<void**>(&pic)), S_OK);
  LONG w = 0;
  pic->get_Width(&w);
  EXPECT_EQ(w, 53) << "2 pixels at 96 dpi in HIMETRIC";
  short type = 0;
  pic->get_Type(&type);
  EXPECT_EQ(type, PICTYPE_BITMAP);
  EXPECT_EQ(pic->Release(), 0u);
  EXPECT_EQ(stream->Release(), 0u);

  const char junk[] = "GIF89a not really";
  ASSERT_EQ(CreateStreamOnHGlobal(OleTestBlock(junk, sizeof junk), TRUE, &stream), S_OK);
  EXPECT_EQ(OleLoadPicture(stream, 0, FALSE, IPicture::kIID, reinterpret_cast<void**>(&pic)),
            CTL_E_INVALIDPICTURE);
  EXPECT_EQ(pic, nullptr);
  stream->Release();
  const char broken[] = "BM\x10\0\0\0 truncated";
  ASSERT_EQ(CreateStreamOnHGlobal(OleTestBlock(broken, sizeof broken), TRUE, &stream), S_OK);
  EXPECT_EQ(OleLoadPicture(stream, 0, FALSE, IPicture::kIID, reinterpret_cast<void**>(&pic)),
            CTL_E_INVALIDPICTURE);
  stream->Release();
}

TEST(OleObjects, AutomationServersDoNotExist) {
  try {
    CreateOleObject("excel.application");
    FAIL() << "no automation server exists";
  } catch (const EOleSysError& e) {
    EXPECT_NE(e.Message.find("excel.application"), std::string::npos);
    EXPECT_EQ(e.ErrorCode, REGDB_E_CLASSNOTREG);
  }
}

}  // namespace
