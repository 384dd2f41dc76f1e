// Components with every kind of published property, nested objects, a collection, a string
// list, events, references and custom stored data: the fixtures of the component-model tests.
#pragma once

#include <string>
#include <vector>

#include "platform/runtime/Classes.h"
#include "platform/runtime/Variants.h"

enum TShape { shCircle, shSquare, shTriangle };
template <>
const EnumNames& EnumNamesOf<TShape>();

enum TStyleItem { stBold, stItalic, stUnderline };
using TStyles = TSet<TStyleItem, 3>;
template <>
const EnumNames& EnumNamesOf<TStyleItem>();

// What happened, in order, across all fixtures ("Loaded G1", "Free G2", ...).
std::vector<std::string>& EventLog();
// The number of live TTestGadget objects.
int& LiveGadgets();
// Registers the fixture classes for reading by class name.
void RegisterTestClasses();

// The message of the E that action raises, or "(no error)".
template <class E, class F>
std::string MessageOf(F action) {
  try {
    action();
  } catch (const E& e) {
    return e.Message;
  }
  return "(no error)";
}

// A nested persistent object (like a font).
class TTestFont : public TPersistent {
  PL_CLASS(TTestFont)

 public:
  AnsiString Name = "Sans";
  TStyles Style;
  int32_t GetSize() const { return size_; }
  void SetSize(int32_t v) { size_ = v; }
  void Assign(TPersistent* Source) override;

 private:
  int32_t size_ = 8;
};

class TTestItem : public TCollectionItem {
  PL_CLASS(TTestItem)

 public:
  explicit TTestItem(TCollection* Collection) : TCollectionItem(Collection) {}
  AnsiString Caption;
  int32_t Width = 50;
  void Assign(TPersistent* Source) override;
};

// Records Update calls: "U:<item index or nil>".
class TTestItems : public TOwnedCollection {
  PL_CLASS(TTestItems)

 public:
  TTestItems(TPersistent* owner) : TOwnedCollection(owner, TTestItem::ClassInfo()) {}
  std::vector<std::string> updates;

 protected:
  void Update(TCollectionItem* Item) override;
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;
};

// A control-like component: it has a parent among the components of its root and publishes one
// property of each kind.
class TTestGadget : public TComponent {
  PL_CLASS(TTestGadget)

 public:
  explicit TTestGadget(TComponent* AOwner);
  ~TTestGadget() override;

  // Published (see ClassInfo for defaults and stored rules).
  const AnsiString& GetCaption() const { return caption_; }
  void SetCaption(const AnsiString& v);
  int32_t Count = 0;
  double Ratio = 0;  // stored unless 1.5
  bool IsRatioStored() const { return Ratio != 1.5; }
  long double Precise = 0;
  float Small = 0;
  TShape Shape = shSquare;  // declared default shCircle: a stored shCircle reads back as shSquare
  bool Visible = true;
  TStyles Styles;
  int64_t Big = 0;
  char Letter = 'a';
  WideString Wide;
  Variant Value;
  int32_t Secret = 7;  // never stored
  int32_t GetReadOnly() const { return 42; }
  TTestFont* GetFont() const { return font_; }
  void SetFont(TTestFont* v) { font_->Assign(v); }
  TTestItems* GetItems() const { return items_; }
  void SetItems(TTestItems* v) { items_->Assign(v); }
  TStringList* GetLines() const { return lines_; }
  void SetLines(TStringList* v) { lines_->Assign(v); }
  TTestGadget* GetBuddy() const { return buddy_; }
  void SetBuddy(TTestGadget* v);
  TNotifyEvent OnChange;
  TEvent<TObject*, int32_t&> OnCount;

  // Custom stored data: "Extra" (a list of integers), "Blob" (bytes), written when non-empty.
  std::vector<int32_t> extra;
  AnsiString blob;
  int defineCalls = 0;
  void DefineProperties(TFiler* Filer) override;
  void ReadExtra(TReader* Reader);
  void WriteExtra(TWriter* Writer);

  // Parent among the root's components.
  TComponent* GetParentComponent() const override { return parent_; }
  bool HasParent() const override { return true; }
  void SetParentComponent(TComponent* Value) override { parent_ = Value; }
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Whether csLoading was set each time the caption setter ran.
  std::vector<bool> captionSetWhileLoading;

 private:
  AnsiString caption_;
  TTestFont* font_;
  TTestItems* items_;
  TStringList* lines_;
  TTestGadget* buddy_ = nullptr;
  TComponent* parent_ = nullptr;
};

// A root with a published field, handler methods and its children listed as a form lists them.
class TTestRoot : public TComponent {
  PL_CLASS(TTestRoot)

 public:
  explicit TTestRoot(TComponent* AOwner) : TComponent(AOwner) {}
  TTestGadget* First = nullptr;  // published field
  int changes = 0;
  void GadgetChange(TObject*) { ++changes; }
  void GadgetCount(TObject*, int32_t& n) { n += 1; }
  void Loaded() override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
};

// A second root class, with a definition of its own on top of TTestRoot's.
class TTestDerivedRoot : public TTestRoot {
  PL_CLASS(TTestDerivedRoot)

 public:
  explicit TTestDerivedRoot(TComponent* AOwner) : TTestRoot(AOwner) {}
  TTestGadget* Second = nullptr;
};
