#include <gtest/gtest.h>

#include "platform/runtime/Filer.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/TypInfo.h"
#include "plot/iPlotManagers.h"
#include "tests/plot/support/PlotHostStub.h"

// A channel kind as the channel manager sees it: a colour and a title it publishes.
class TManagersTestChannel : public TiPlotManagerObject {
  PL_CLASS(TManagersTestChannel)
 public:
  using TiPlotManagerObject::TiPlotManagerObject;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  const AnsiString& GetTitleText() const { return FTitleText; }
  void SetTitleText(const AnsiString& Value) { FTitleText = Value; }
  const AnsiString& GetXAxisName() const { return FXAxisName; }
  void SetXAxisName(const AnsiString& Value) { FXAxisName = Value; }

 private:
  TColor FColor = 0x0000FF;
  AnsiString FTitleText, FXAxisName;
};

const TClassInfo& TManagersTestChannel::ClassInfo() {
  using C = TManagersTestChannel;
  static const TClassInfo info = TClassInfo::Of<C, TiPlotManagerObject>("TManagersTestChannel")
                                     .Prop("Color", &C::GetColor, &C::SetColor)
                                     .Prop("TitleText", &C::GetTitleText, &C::SetTitleText)
                                     .Prop("XAxisName", &C::GetXAxisName, &C::SetXAxisName);
  return info;
}

namespace {

// The handlers a master manager would give: insertion registers with the manager under test.
struct PlotManagersFixture : ::testing::Test {
  TPlotHostStub host;
  std::vector<TiPlotObjectManagerCustom*> managers;
  int changes = 0;
  TNotifyEvent onInsert = TNotifyEvent::Lambda([this](TObject* o) {
    if (auto* obj = dynamic_cast<TiPlotObject*>(o))
      for (auto* m : managers) m->Add(obj);
  });
  TNotifyEvent onRemove = TNotifyEvent::Lambda([this](TObject* o) {
    if (auto* obj = dynamic_cast<TiPlotObject*>(o))
      for (auto* m : managers) m->Remove(obj);
  });
  TNotifyEvent onRename = TNotifyEvent::Lambda([](TObject*) {});
  TNotifyEvent onChange = TNotifyEvent::Lambda([this](TObject*) { ++changes; });

  TiPlotChannelManager channels{&host,    onRename, onRemove,
                                onInsert, onChange, &PlotClassOf<TManagersTestChannel>()};
  TiPlotObjectManager all{&host, onRename, onRemove, onInsert, onChange};
  PlotManagersFixture() { managers = {&all, &channels}; }
  ~PlotManagersFixture() override {
    channels.Clear();
    managers.clear();
  }
  TManagersTestChannel* AddChannel(const AnsiString& name = "") {
    auto* c = static_cast<TManagersTestChannel*>(channels.CreateObject());
    if (!name.empty()) c->SetName(name);
    c->DoInserted();
    return c;
  }
};

TEST_F(PlotManagersFixture, ConstructorRefusesMissingOwnerOrHandlersInOrder) {
  auto make = [&](TiPlotObjectHost* owner, TNotifyEvent ren, TNotifyEvent rem, TNotifyEvent ins,
                  TNotifyEvent chg) {
    try {
      TiPlotObjectManager m(owner, ren, rem, ins, chg);
    } catch (const Exception& e) {
      return e.Message;
    }
    return AnsiString("created");
  };
  EXPECT_EQ(make(nullptr, onRename, onRemove, onInsert, onChange), "Owner must be Assigned");
  EXPECT_EQ(make(&host, onRename, onRemove, onInsert, nullptr), "OnChange event handler can not be null");
  EXPECT_EQ(make(&host, onRename, onRemove, nullptr, onChange), "OnInsert event handler can not be null");
  EXPECT_EQ(make(&host, onRename, nullptr, onInsert, onChange), "OnRemove event handler can not be null");
  EXPECT_EQ(make(&host, nullptr, onRemove, onInsert, onChange), "AOnRename event handler can not be null");
  EXPECT_THROW(all.CreateObject(), Exception);
}

TEST_F(PlotManagersFixture, UniqueNamesCountPastTheLargestNumberOfTheBaseName) {
  EXPECT_EQ(AddChannel()->GetName(), "Channel 1");
  AddChannel("channel 7");
  AddChannel("Channel 2b");
  AddChannel("Channel $10");  // hexadecimal rests count as the platform converts them
  AddChannel("Chan");
  EXPECT_EQ(channels.GetUniqueName(), "Channel 17");
  TManagersTestChannel* c = AddChannel();
  EXPECT_EQ(c->GetName(), "Channel 17");
  EXPECT_EQ(c->GetTitleText(), "Channel 17");
  // Deleting a channel does not give its number back.
  channels.Items(0)->Free();
  EXPECT_EQ(channels.GetUniqueName(), "Channel 18");
  // A stored name arrives as it is, without the defaults.
  TManagersTestChannel* named = AddChannel("Stored");
  EXPECT_EQ(named->GetTitleText(), "");
  EXPECT_EQ(channels.FindByName("STORED"), named);
  EXPECT_EQ(channels.FindByName("Channel"), nullptr);
}

TEST_F(PlotManagersFixture, PaletteGivesTheLeastUsedColourInOrder) {
  std::vector<TColor> got;
  for (int i = 0; i < 4; ++i) got.push_back(AddChannel()->GetColor());
  EXPECT_EQ(got, (std::vector<TColor>{0x0000FF, 0x00FFFF, 0xFF0000, 0xFF00FF}));
  // A recoloured channel frees its colour; colours outside the palette do not count.
  static_cast<TManagersTestChannel*>(channels.Items(1))->SetColor(0x123456);
  EXPECT_EQ(AddChannel()->GetColor(), TColor(0x00FFFF));
  EXPECT_EQ(TiPlotChannelManager::Palette().size(), 30u);
}

TEST_F(PlotManagersFixture, RemovingAnAbsentObjectChangesNothing) {
  TManagersTestChannel* c = AddChannel();
  TiPlotObjectManager other{&host, onRename, onRemove, onInsert, onChange};
  int before = changes;
  other.Remove(c);
  EXPECT_EQ(changes, before);
  EXPECT_EQ(all.IndexOf(c), 0);
  EXPECT_THROW(all.Items(3), EStringListError);
}

TEST_F(PlotManagersFixture, InputReachesSelectedObjectsOnly) {
  struct Wheel : TiPlotManagerObject {
    using TiPlotManagerObject::TiPlotManagerObject;
    int wheels = 0;
    bool MouseWheel(int32_t, TShiftState, TPoint) override { return ++wheels > 0; }
  };
  Wheel a(&host, onRename, onRemove, onInsert, onChange), b(&host, onRename, onRemove, onInsert, onChange);
  all.Add(&a);
  all.Add(&b);
  EXPECT_FALSE(all.MouseWheel(120, {}, TPoint{0, 0}));
  b.SetSelected(true);
  EXPECT_TRUE(all.MouseWheel(120, {}, TPoint{0, 0}));
  EXPECT_EQ(a.wheels, 0);
  EXPECT_EQ(b.wheels, 1);
  all.DeselectAll();
  EXPECT_FALSE(b.GetSelected());
  a.Detach();
  b.Detach();
  all.Remove(&a);
  all.Remove(&b);
}

TEST_F(PlotManagersFixture, CollectionRoundTripReplacesTheObjects) {
  AddChannel();
  TManagersTestChannel* second = AddChannel();
  second->SetVisible(false);
  second->SetLayer(7);
  TMemoryStream stream;
  {
    TWriter writer(&stream);
    channels.WriteCollection(&writer);
  }
  AddChannel();
  ASSERT_EQ(channels.Count(), 3);
  stream.SetPosition(0);
  {
    TReader reader(&stream);
    channels.ReadCollection(&reader);
  }
  ASSERT_EQ(channels.Count(), 2);
  ASSERT_EQ(all.Count(), 2);
  auto* c = static_cast<TManagersTestChannel*>(channels.Items(1));
  EXPECT_EQ(c->GetName(), "Channel 2");
  EXPECT_EQ(c->GetColor(), TColor(0x00FFFF));
  EXPECT_FALSE(c->GetVisible());
  EXPECT_EQ(c->GetLayer(), 7);

  // An empty collection empties the manager.
  TiPlotChannelManager empty{&host,    onRename, onRemove,
                             onInsert, onChange, &PlotClassOf<TManagersTestChannel>()};
  TMemoryStream s2;
  {
    TWriter writer(&s2);
    empty.WriteCollection(&writer);
  }
  s2.SetPosition(0);
  TReader reader(&s2);
  channels.ReadCollection(&reader);
  EXPECT_EQ(channels.Count(), 0);
  EXPECT_EQ(all.Count(), 0);
}

}  // namespace
