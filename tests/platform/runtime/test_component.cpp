#include <gtest/gtest.h>

#include "tests/platform/runtime/TestComponents.h"

namespace {

// Logs what it is told: "<own name>:<insert|remove> <other's name>".
class TListener : public TComponent {
  PL_CLASS(TListener)
 public:
  TListener(TComponent* owner, const char* name) : TComponent(owner) { SetName(name); }
  ~TListener() override { EventLog().push_back("Free " + GetName()); }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    EventLog().push_back(GetName() + (Operation == opInsert ? ":insert " : ":remove ") +
                         AComponent->GetName());
  }
};

}  // namespace

const TClassInfo& TListener::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TListener, TComponent>("TListener");
  return info;
}

namespace {

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override { EventLog().clear(); }
};

TEST_F(ComponentTest, OwnerListsInCreationOrderAndFreesLastFirst) {
  auto* owner = new TListener(nullptr, "Owner");
  auto* a = new TListener(owner, "A");
  new TListener(owner, "B");
  new TListener(a, "A1");
  ASSERT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_EQ(owner->FindComponent("b")->GetName(), "B");
  EXPECT_EQ(owner->FindComponent("A1"), nullptr);  // owned by A, not by Owner
  EXPECT_EQ(owner->FindComponent(""), nullptr);
  EXPECT_THROW(owner->Components(2), EListError);
  EXPECT_EQ(a->GetComponentIndex(), 0);
  a->SetComponentIndex(1);
  EXPECT_EQ(owner->Components(1), a);
  a->SetComponentIndex(0);

  EventLog().clear();
  delete owner;
  // Each logs in its own destructor, before its owned ones go; last created first, and no
  // broadcasts for components that never asked for notification.
  EXPECT_EQ(EventLog(), (std::vector<std::string>{"Free Owner", "Free B", "Free A", "Free A1"}));
}

TEST_F(ComponentTest, NamesAreIdentifiersUniqueWithinTheOwner) {
  TComponent owner(nullptr);
  TComponent a(&owner), b(&owner);
  a.SetName("Edit1");
  struct Case {
    const char* name;
    const char* message;
  } cases[] = {{"1Edit", "'1Edit' is not a valid component name"},
               {"Edit 2", "'Edit 2' is not a valid component name"},
               {"EDIT1", "A component named EDIT1 already exists"}};
  for (const Case& c : cases) EXPECT_EQ(MessageOf<EComponentError>([&] { b.SetName(c.name); }), c.message);
  EXPECT_EQ(b.GetName(), "");
  a.SetName("EDIT1");  // its own name in another case
  EXPECT_EQ(a.GetName(), "EDIT1");
  // A named component joining an owner that has one of that name is refused too.
  TComponent stray(nullptr);
  stray.SetName("Edit1");
  EXPECT_THROW(owner.InsertComponent(&stray), EComponentError);
  EXPECT_EQ(stray.Owner(), nullptr);
  EXPECT_EQ(owner.ComponentCount(), 2);
}

TEST_F(ComponentTest, NotificationsReachTheOwnersComponentsAndFreeNotifiedPartners) {
  auto* owner = new TListener(nullptr, "Owner");
  auto* a = new TListener(owner, "A");
  new TListener(a, "Sub");  // owned by A: told through A
  EventLog().clear();
  auto* b = new TListener(owner, "B");
  b->SetName("B");  // named after joining: the insert was announced before
  EXPECT_EQ(EventLog(), (std::vector<std::string>{"Sub:insert ", "A:insert ", "Owner:insert "}));

  auto* outsider = new TListener(nullptr, "Outsider");
  outsider->FreeNotification(b);
  EXPECT_TRUE(b->ComponentState().Contains(csFreeNotification));
  EventLog().clear();
  delete outsider;
  EXPECT_EQ(EventLog(), (std::vector<std::string>{"Free Outsider", "B:remove Outsider"}));

  // Partners forget each other both ways: freeing b later tells nobody outside.
  auto* other = new TListener(nullptr, "Other");
  other->FreeNotification(b);
  other->RemoveFreeNotification(b);
  EventLog().clear();
  delete b;
  EXPECT_EQ(EventLog(), (std::vector<std::string>{"Free B", "Sub:remove B", "A:remove B", "Owner:remove B"}));
  delete other;
  delete owner;
}

TEST_F(ComponentTest, FreeNotificationClearsReferencesWhicheverGoesFirst) {
  for (bool referencedFirst : {true, false}) {
    auto* holder = new TTestGadget(nullptr);
    auto* target = new TTestGadget(nullptr);
    holder->SetBuddy(target);
    if (referencedFirst) {
      delete target;
      EXPECT_EQ(holder->GetBuddy(), nullptr);
      delete holder;
    } else {
      delete holder;  // target must not keep a pointer to it (the sanitizer build checks)
      delete target;
    }
  }
  EXPECT_EQ(LiveGadgets(), 0);
}

TEST_F(ComponentTest, PublishedFieldsFollowTheComponentOfThatName) {
  auto* root = new TTestRoot(nullptr);
  auto* g = new TTestGadget(root);
  EXPECT_EQ(root->First, nullptr);
  g->SetName("First");
  EXPECT_EQ(root->First, g);
  g->SetName("Renamed");
  EXPECT_EQ(root->First, nullptr);
  g->SetName("first");
  EXPECT_EQ(root->First, g);
  delete g;
  EXPECT_EQ(root->First, nullptr);
  // A component of another class cannot take the field's name.
  auto* listener = new TListener(nullptr, "First");
  EXPECT_THROW(root->InsertComponent(listener), EComponentError);
  auto* plain = new TComponent(root);
  EXPECT_THROW(plain->SetName("First"), EComponentError);
  EXPECT_EQ(root->First, nullptr);
  delete listener;
  delete root;
}

TEST_F(ComponentTest, StateFlagsAndGlobalRoots) {
  auto* root = new TComponent(nullptr);
  auto* child = new TComponent(root);
  root->SetName("GlobalRoot");
  EXPECT_TRUE(root->ComponentState().Empty());
  EXPECT_FALSE(root->ComponentState().Contains(csDesigning));
  root->Destroying();
  EXPECT_TRUE(child->ComponentState().Contains(csDestroying));
  EXPECT_EQ(FindGlobalComponent("GlobalRoot"), nullptr);
  AddGlobalComponent(root);
  EXPECT_EQ(FindGlobalComponent("globalroot"), root);
  EXPECT_EQ(root->GetNamePath(), "GlobalRoot");
  delete root;
  EXPECT_EQ(FindGlobalComponent("GlobalRoot"), nullptr);
}

// ---------------------------------------------------------------------------- collections

TEST(CollectionTest, ItemsKeepOrderIdsAndLeaveWhenFreed) {
  TTestGadget owner(nullptr);
  TTestItems& items = *owner.GetItems();
  auto* a = static_cast<TTestItem*>(items.Add());
  auto* b = static_cast<TTestItem*>(items.Add());
  auto* c = static_cast<TTestItem*>(items.Insert(0));
  EXPECT_EQ(items.Count(), 3);
  EXPECT_EQ(items.Items(0), c);
  EXPECT_EQ(c->ID(), 2);
  EXPECT_EQ(items.FindItemID(1), b);
  EXPECT_EQ(a->GetIndex(), 1);
  b->SetIndex(0);
  EXPECT_EQ(items.Items(0), b);
  EXPECT_THROW(b->SetIndex(3), EListError);
  EXPECT_THROW(items.Items(3), EListError);
  EXPECT_THROW(items.Insert(5), EListError);
  delete a;
  EXPECT_EQ(items.Count(), 2);
  items.Delete(0);
  EXPECT_EQ(items.Items(0), c);
  EXPECT_EQ(c->GetDisplayName(), "TTestItem");

  TTestItems other(nullptr);
  c->SetCollection(&other);
  EXPECT_EQ(items.Count(), 0);
  EXPECT_EQ(other.Items(0), c);
  TCollection plain(TCollectionItem::ClassInfo());
  TCollectionItem* generic = plain.Add();
  EXPECT_THROW(generic->SetCollection(&other), EListError);  // not a TTestItem
}

TEST(CollectionTest, UpdateOncePerChangeOrOnceAfterAnUpdateBlock) {
  TTestItems items(nullptr);
  items.Add();
  items.Add();
  EXPECT_EQ(items.updates, (std::vector<std::string>{"added:0", "U:nil", "added:1", "U:nil"}));
  items.updates.clear();
  items.Items(1)->SetIndex(0);  // an index change concerns every item
  items.BeginUpdate();
  items.Add();
  items.Delete(0);
  items.Clear();
  items.EndUpdate();
  EXPECT_EQ(items.updates, (std::vector<std::string>{"U:nil", "added:2", "deleting:1", "extracting:1",
                                                     "extracting:2", "extracting:0", "U:nil"}));
}

TEST(CollectionTest, AssignCopiesItemsAndNamePathsFollowTheOwner) {
  TTestGadget owner(nullptr);
  owner.SetName("Gadget1");
  auto* source = new TTestItems(nullptr);
  static_cast<TTestItem*>(source->Add())->Caption = "x";
  static_cast<TTestItem*>(source->Add())->Width = 7;
  owner.GetItems()->Add();
  owner.GetItems()->Assign(source);
  delete source;
  ASSERT_EQ(owner.GetItems()->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(owner.GetItems()->Items(0))->Caption, "x");
  EXPECT_EQ(static_cast<TTestItem*>(owner.GetItems()->Items(1))->Width, 7);
  EXPECT_EQ(owner.GetItems()->GetOwner(), &owner);
  EXPECT_EQ(owner.GetItems()->Items(1)->GetNamePath(), "Gadget1.Items[1]");
  TTestFont font;
  EXPECT_THROW(owner.GetItems()->Assign(&font), EConvertError);
}

}  // namespace
