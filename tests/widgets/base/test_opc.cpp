// The OPC bridge: idle with the fixed messages when the library is absent; item binding through
// a stand-in bridge (connect, data into the property, sending back, no echo, callback guard).
#include <gtest/gtest.h>

#include "platform/runtime/FormText.h"
#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iOPCDLLLoader.h"
#include "widgets/iOPCItem.h"

namespace widgets_test {
namespace {

class TFakeBridge : public TiOPCBridge {
 public:
  struct Added {
    std::string computer, server, item, group;
    int32_t rate;
    uint8_t kind;
  };
  std::vector<Added> Adds;
  std::vector<int32_t> Removed;
  std::vector<std::pair<int32_t, std::string>> Sent;
  TiOPCDataCallback Callback = nullptr;
  void* LastItem = nullptr;

  bool Loaded() const override { return true; }
  int32_t SignalAdd(const char* c, const char* s, const char* i, const char* g, int32_t rate, bool,
                    uint8_t kind, void* item, TiOPCDataCallback cb) override {
    Adds.push_back({c, s, i, g, rate, kind});
    Callback = cb;
    LastItem = item;
    return int32_t(Adds.size()) + 40;
  }
  void SignalRemove(int32_t h) override { Removed.push_back(h); }
  bool SignalGetActive(int32_t h) override { return h != 0; }
  void SignalSendData(int32_t h, const Variant& v) override { Sent.push_back({h, VarToStr(v)}); }
};

TEST(OPC, WithoutTheLibraryEverythingIdlesAndCallsRaiseTheFixedMessages) {
  TiOPCDLLLoader absent("iOPC-absent-for-test.dll");
  EXPECT_FALSE(absent.Loaded());
  try {
    absent.SignalGetActive(1);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Tarvik OPC DLL Not Found.");
  }
  // A library without the entry: only the call fails, naming the entry.
  TiOPCDLLLoader other("libm.so.6");
  ASSERT_TRUE(other.Loaded());
  try {
    other.SignalRemove(3);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Function \"SignalRemove\" not found in \"libm.so.6\".");
  }

  // With the default (absent) bridge a bound item stays idle and nothing is sent.
  ASSERT_FALSE(OPCBridge().Loaded());
  TProbe p(nullptr);
  TiOPCItem* item = p.OPCItemManager()->Add();
  item->SetPropertyName("ErrorText");
  item->SetServerName("S");
  item->SetItemName("I");
  item->Connect();
  EXPECT_EQ(item->Handle(), 0);
  EXPECT_FALSE(item->IsActive());
  EXPECT_FALSE(p.SendPropertyToOPC("ErrorText", Variant("x")));
}

class OPCBound : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = SetOPCBridge(&bridge_); }
  void TearDown() override { SetOPCBridge(previous_); }
  TFakeBridge bridge_;
  TiOPCBridge* previous_ = nullptr;
};

// The test control publishes a float property for the items to bind.
class TOPCProbe : public TProbe {
  PL_CLASS(TOPCProbe)
 public:
  explicit TOPCProbe(TComponent* AOwner) : TProbe(AOwner) {}
  double GetLevel() const { return level_; }
  void SetLevel(double v) {
    level_ = v;
    SendPropertyToOPC("Level", Variant(v));
  }

 private:
  double level_ = 0;
};

}  // namespace

const TClassInfo& TOPCProbe::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TOPCProbe, TiCustomComponent>("TOPCProbe")
                                     .Prop("Level", &TOPCProbe::GetLevel, &TOPCProbe::SetLevel);
  return info;
}

namespace {

TEST_F(OPCBound, ItemConnectsReceivesAndSends) {
  TOPCProbe p(nullptr);
  std::vector<int32_t> newData;
  p.OnNewOPCData = TIndexObjectEvent::Lambda([&](TObject*, int32_t i) { newData.push_back(i); });
  TiOPCItem* item = p.OPCItemManager()->Add();
  item->SetPropertyName("level");
  EXPECT_EQ(item->PropertyKind(), uint8_t(tkFloat));
  item->SetGroupName("G");
  item->SetItemName("Tag1");
  item->Connect();
  ASSERT_EQ(bridge_.Adds.size(), 1u);
  EXPECT_EQ(bridge_.Adds[0].computer, "Local");
  EXPECT_EQ(bridge_.Adds[0].rate, 500);
  EXPECT_TRUE(item->IsActive());

  // Data arrives: good quality sets the property, with no echo back to the server.
  Variant v(2.5);
  bridge_.Callback(bridge_.LastItem, &v, 0xC0, 1, 2);
  EXPECT_EQ(p.GetLevel(), 2.5);
  EXPECT_TRUE(bridge_.Sent.empty());
  EXPECT_EQ(newData, (std::vector<int32_t>{0}));
  // Bad quality: stored, not applied.
  Variant w(7.0);
  bridge_.Callback(bridge_.LastItem, &w, 0x00, 1, 2);
  EXPECT_EQ(p.GetLevel(), 2.5);

  // A program's change goes to the server.
  p.SetLevel(4);
  ASSERT_EQ(bridge_.Sent.size(), 1u);
  EXPECT_EQ(bridge_.Sent[0], (std::pair<int32_t, std::string>{41, "4"}));

  // A value that does not convert is reported, and never escapes into the bridge's code.
  std::vector<std::string> reported;
  TExceptionHandler old = SetApplicationExceptionHandler([&](TObject*, std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const Exception& ex) {
      reported.push_back(ex.Message);
    }
  });
  Variant bad("not a number");
  bridge_.Callback(bridge_.LastItem, &bad, 0xC0, 1, 2);
  SetApplicationExceptionHandler(old);
  EXPECT_EQ(p.GetLevel(), 4);
  EXPECT_EQ(reported.size(), 1u);

  item->Disconnect();
  EXPECT_EQ(bridge_.Removed, (std::vector<int32_t>{41}));
  EXPECT_THROW(p.OPCItemManager()->GetItem(1), EListError);
}

TEST_F(OPCBound, StoredItemListWrittenOnlyWhenNotEmptyAndReadBackConnected) {
  TOPCProbe p(nullptr);
  p.SetName("P");
  EXPECT_EQ(WriteComponentText(&p).find("OPCItems"), AnsiString::npos) << "an empty list writes nothing";

  TiOPCItem* a = p.OPCItemManager()->Add();
  a->SetPropertyName("Level");
  a->SetGroupName("G");
  a->SetItemName("Tag1");
  TiOPCItem* b = p.OPCItemManager()->Add();
  b->SetPropertyName("ErrorText");
  b->SetServerName("Srv");
  b->SetComputerName("Bench");
  b->SetItemName("Tag2");
  b->SetUpdateRate(250);
  b->SetAutoConnect(false);
  const AnsiString text = WriteComponentText(&p);
  EXPECT_NE(text.find("OPCItems = <"), AnsiString::npos) << text;

  TOPCProbe back(nullptr);
  back.OPCItemManager()->Add()->SetItemName("replaced by the stored list");
  bridge_.Adds.clear();
  ReadComponentText(text, &back);
  ASSERT_EQ(back.OPCItemManager()->Count(), 2);
  const TiOPCItem* ra = back.OPCItemManager()->GetItem(0);
  const TiOPCItem* rb = back.OPCItemManager()->GetItem(1);
  EXPECT_EQ(ra->GetPropertyName(), "Level");
  EXPECT_EQ(ra->PropertyKind(), uint8_t(tkFloat)) << "the kind is asked from the new owner";
  EXPECT_EQ(ra->GetGroupName(), "G");
  EXPECT_EQ(ra->GetComputerName(), "Local");
  EXPECT_EQ(ra->GetUpdateRate(), 500);
  EXPECT_EQ(rb->GetServerName(), "Srv");
  EXPECT_EQ(rb->GetComputerName(), "Bench");
  EXPECT_EQ(rb->GetItemName(), "Tag2");
  EXPECT_EQ(rb->GetUpdateRate(), 250);
  EXPECT_FALSE(rb->GetAutoConnect());
  // Activated after reading: only the auto-connecting item reaches the bridge.
  ASSERT_EQ(bridge_.Adds.size(), 1u);
  EXPECT_EQ(bridge_.Adds[0].item, "Tag1");
  EXPECT_NE(ra->Handle(), 0);
}

TEST_F(OPCBound, DamagedOrOversizedItemListIsRefusedAndChangesNothing) {
  auto list = [](int items, const char* extra) {
    std::string t = "object P: TOPCProbe\n  OPCItems = <";
    for (int i = 0; i < items; ++i) t += "\n    item\n      ItemName = 'T" + std::to_string(i) + "'\n    end";
    return t + extra + ">\nend\n";
  };
  const struct {
    int items;
    const char* extra;
  } cases[] = {
      {2, "\n    item\n      NoSuchProperty = 1\n    end"},
      {2, "\n    item\n      UpdateRate = 'fast'\n    end"},
      {TiOPCItemManager::MaxStoredItems + 1, ""},
  };
  for (const auto& c : cases) {
    TOPCProbe p(nullptr);
    p.OPCItemManager()->Add()->SetItemName("kept");
    EXPECT_THROW(ReadComponentText(list(c.items, c.extra), &p), EReadError) << c.items << c.extra;
    ASSERT_EQ(p.OPCItemManager()->Count(), 1) << c.items << c.extra;
    EXPECT_EQ(p.OPCItemManager()->GetItem(0)->GetItemName(), "kept");
  }
  // A list of exactly the most items reads.
  TOPCProbe p(nullptr);
  ReadComponentText(list(TiOPCItemManager::MaxStoredItems, ""), &p);
  EXPECT_EQ(p.OPCItemManager()->Count(), TiOPCItemManager::MaxStoredItems);
}

}  // namespace
}  // namespace widgets_test
