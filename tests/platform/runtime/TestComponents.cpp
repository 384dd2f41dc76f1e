#include "tests/platform/runtime/TestComponents.h"

PL_ENUM_NAMES(TShape, "shCircle", "shSquare", "shTriangle")
PL_ENUM_NAMES(TStyleItem, "stBold", "stItalic", "stUnderline")

std::vector<std::string>& EventLog() {
  static std::vector<std::string> log;
  return log;
}

int& LiveGadgets() {
  static int live = 0;
  return live;
}

void RegisterTestClasses() {
  RegisterClasses({&TTestGadget::ClassInfo(), &TTestRoot::ClassInfo(), &TTestDerivedRoot::ClassInfo(),
                   &TTestFont::ClassInfo(), &TTestItem::ClassInfo()});
}

// ---------------------------------------------------------------------------- TTestFont, items

const TClassInfo& TTestFont::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestFont, TPersistent>("TTestFont")
                                     .Prop("Name", &TTestFont::Name)
                                     .Prop("Size", &TTestFont::GetSize, &TTestFont::SetSize)
                                     .Default(8)
                                     .Prop("Style", &TTestFont::Style)
                                     .Default(TStyles{});
  return info;
}

void TTestFont::Assign(TPersistent* Source) {
  auto* f = dynamic_cast<TTestFont*>(Source);
  if (!f) return TPersistent::Assign(Source);
  Name = f->Name;
  Style = f->Style;
  size_ = f->size_;
}

const TClassInfo& TTestItem::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestItem, TCollectionItem>("TTestItem")
                                     .Prop("Caption", &TTestItem::Caption)
                                     .Prop("Width", &TTestItem::Width)
                                     .Default(50);
  return info;
}

void TTestItem::Assign(TPersistent* Source) {
  auto* i = dynamic_cast<TTestItem*>(Source);
  if (!i) return TCollectionItem::Assign(Source);
  Caption = i->Caption;
  Width = i->Width;
}

const TClassInfo& TTestItems::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestItems, TOwnedCollection>("TTestItems");
  return info;
}

void TTestItems::Update(TCollectionItem* Item) {
  updates.push_back(Item ? "U:" + std::to_string(Item->GetIndex()) : "U:nil");
}

void TTestItems::Notify(TCollectionItem* Item, TCollectionNotification Action) {
  static const char* names[] = {"added", "extracting", "deleting"};
  updates.push_back(std::string(names[Action]) + ":" + std::to_string(Item->ID()));
}

// ---------------------------------------------------------------------------- TTestGadget

const TClassInfo& TTestGadget::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestGadget, TComponent>("TTestGadget")
                                     .Prop("Caption", &TTestGadget::GetCaption, &TTestGadget::SetCaption)
                                     .Prop("Count", &TTestGadget::Count)
                                     .Default(0)
                                     .Prop("Ratio", &TTestGadget::Ratio)
                                     .Stored(&TTestGadget::IsRatioStored)
                                     .Prop("Precise", &TTestGadget::Precise)
                                     .Prop("Small", &TTestGadget::Small)
                                     .Prop("Shape", &TTestGadget::Shape)
                                     .Default(shCircle)
                                     .Prop("Visible", &TTestGadget::Visible)
                                     .Default(true)
                                     .Prop("Styles", &TTestGadget::Styles)
                                     .Default(TStyles{})
                                     .Prop("Big", &TTestGadget::Big)
                                     .Prop("Letter", &TTestGadget::Letter)
                                     .Default('a')
                                     .Prop("Wide", &TTestGadget::Wide)
                                     .Prop("Value", &TTestGadget::Value)
                                     .Prop("Secret", &TTestGadget::Secret)
                                     .Stored(false)
                                     .Prop("ReadOnly", &TTestGadget::GetReadOnly)
                                     .Object("Font", &TTestGadget::GetFont, &TTestGadget::SetFont)
                                     .Object("Items", &TTestGadget::GetItems, &TTestGadget::SetItems)
                                     .Object("Lines", &TTestGadget::GetLines, &TTestGadget::SetLines)
                                     .Prop("Buddy", &TTestGadget::GetBuddy, &TTestGadget::SetBuddy)
                                     .Event("OnChange", &TTestGadget::OnChange)
                                     .Event("OnCount", &TTestGadget::OnCount);
  return info;
}

TTestGadget::TTestGadget(TComponent* AOwner)
    : TComponent(AOwner), font_(new TTestFont), items_(new TTestItems(this)), lines_(new TStringList) {
  ++LiveGadgets();
}

TTestGadget::~TTestGadget() {
  EventLog().push_back("Free " + GetName());
  --LiveGadgets();
  delete font_;
  delete items_;
  delete lines_;
}

void TTestGadget::SetCaption(const AnsiString& v) {
  captionSetWhileLoading.push_back(ComponentState().Contains(csLoading));
  caption_ = v;
}

void TTestGadget::SetBuddy(TTestGadget* v) {
  buddy_ = v;
  if (v) v->FreeNotification(this);
}

void TTestGadget::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == buddy_) buddy_ = nullptr;
}

void TTestGadget::ReadExtra(TReader* Reader) {
  extra.clear();
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) extra.push_back(Reader->ReadInteger());
  Reader->ReadListEnd();
}

void TTestGadget::WriteExtra(TWriter* Writer) {
  Writer->WriteListBegin();
  for (int32_t v : extra) Writer->WriteInteger(v);
  Writer->WriteListEnd();
}

void TTestGadget::DefineProperties(TFiler* Filer) {
  ++defineCalls;
  Filer->DefineProperty("Extra", {this, &TTestGadget::ReadExtra}, {this, &TTestGadget::WriteExtra},
                        !extra.empty());
  Filer->DefineBinaryProperty(
      "Blob", TStreamProc::Lambda([this](TStream* s) {
        blob.resize(size_t(s->Size()));
        s->ReadBuffer(blob.data(), int32_t(blob.size()));
      }),
      TStreamProc::Lambda([this](TStream* s) { s->WriteBuffer(blob.data(), int32_t(blob.size())); }),
      !blob.empty());
}

void TTestGadget::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (int32_t i = 0; Root && i < Root->ComponentCount(); ++i)
    if (Root->Components(i)->GetParentComponent() == this) Proc(Root->Components(i));
}

void TTestGadget::Loaded() {
  TComponent::Loaded();
  EventLog().push_back("Loaded " + GetName() + " caption=" + caption_ +
                       " buddy=" + (buddy_ ? buddy_->GetName() : AnsiString("-")));
}

// ---------------------------------------------------------------------------- roots

const TClassInfo& TTestRoot::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestRoot, TComponent>("TTestRoot")
                                     .Field("First", &TTestRoot::First)
                                     .Method("GadgetChange", &TTestRoot::GadgetChange)
                                     .Method("GadgetCount", &TTestRoot::GadgetCount);
  return info;
}

void TTestRoot::Loaded() {
  TComponent::Loaded();
  EventLog().push_back("Loaded " + GetName());
}

void TTestRoot::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (int32_t i = 0; i < ComponentCount(); ++i) {
    TComponent* parent = Components(i)->GetParentComponent();
    if (!parent || parent == this || parent == Root) Proc(Components(i));
  }
}

const TClassInfo& TTestDerivedRoot::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestDerivedRoot, TTestRoot>("TTestDerivedRoot")
                                     .Field("Second", &TTestDerivedRoot::Second);
  return info;
}
