#include "platform/runtime/Component.h"

#include <algorithm>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Filer.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"

const TClassInfo& TComponent::ClassInfo() {
  // Name is written in each component's header, not as a property.
  static const TClassInfo info = TClassInfo::Of<TComponent, TPersistent>("TComponent")
                                     .Prop("Name", &TComponent::GetName, &TComponent::SetName)
                                     .Stored(false)
                                     .Prop("Tag", &TComponent::GetTag, &TComponent::SetTag)
                                     .Default(0);
  return info;
}

// ============================================================================================
// life
// ============================================================================================

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  if (global_) RemoveGlobalComponent(this);
  // Drop the partner's entry first, so a partner whose Notification does not reach ours
  // never keeps a pointer to this one.
  while (!freeNotifies_.empty()) {
    TComponent* partner = freeNotifies_.back();
    freeNotifies_.pop_back();
    partner->RemoveNotification(this);
    partner->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* instance = components_.back();
    // Only components that asked to be told about removals cost a broadcast.
    if (instance->state_.Contains(csFreeNotification) ||
        (state_.Contains(csDesigning) && state_.Contains(csInline)))
      RemoveComponent(instance);
    else
      Remove(instance);
    delete instance;
  }
}

// ============================================================================================
// name, tag, owner's list
// ============================================================================================

bool IsValidIdent(const AnsiString& s) {
  if (s.empty()) return false;
  auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!alpha(s[0])) return false;
  return std::all_of(s.begin() + 1, s.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

void TComponent::SetName(const AnsiString& NewName) {
  if (name_ == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (owner_)
    owner_->ValidateRename(this, name_, NewName);
  else
    ValidateRename(nullptr, name_, NewName);
  SetReference(false);
  name_ = NewName;
  SetReference(true);
}

void TComponent::ValidateRename(TComponent* AComponent, const AnsiString&, const AnsiString& NewName) {
  // Also checked when a named component joins, which the framework let through.
  if (!AComponent || NewName.empty()) return;
  TComponent* same = FindComponent(NewName);
  if (same && same != AComponent) throw EComponentError("A component named " + NewName + " already exists");
  // A published field of that name must be able to hold the component.
  if (const TFieldInfo* field = ClassType().FindField(NewName))
    if (!AComponent->InheritsFrom(field->ClassFn()))
      throw EComponentError("Field " + field->Name + " of " + ClassName() + " cannot hold a " +
                            AComponent->ClassName());
}

void TComponent::ValidateContainer(TComponent* AComponent) {
  if (AComponent == this) throw EComponentError("A component cannot own itself");
  for (TComponent* o = owner_; o; o = o->owner_)
    if (o == AComponent) throw EComponentError("A component cannot own its owner");
}

void TComponent::SetReference(bool Enable) {
  if (!owner_ || name_.empty()) return;
  if (const TFieldInfo* field = owner_->ClassType().FindField(name_))
    if (!Enable || InheritsFrom(field->ClassFn())) field->SetFn(*field, owner_, Enable ? this : nullptr);
}

TComponent* TComponent::Components(int32_t Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return components_[size_t(Index)];
}

int32_t TComponent::GetComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  return int32_t(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::SetComponentIndex(int32_t Value) {
  if (!owner_) return;
  auto& list = owner_->components_;
  int32_t current = GetComponentIndex();
  Value = std::clamp(Value, int32_t(0), int32_t(list.size()) - 1);
  if (Value == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
}

TComponent* TComponent::FindComponent(const AnsiString& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, AName)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  AComponent->ValidateContainer(this);
  if (AComponent->owner_ == this) return;
  if (AComponent->owner_) AComponent->owner_->RemoveComponent(AComponent);
  ValidateRename(AComponent, "", AComponent->name_);
  Insert(AComponent);
  AComponent->SetReference(true);
  if (state_.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent->owner_ != this) return;
  Notification(AComponent, opRemove);
  AComponent->SetReference(false);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  components_.push_back(AComponent);
  AComponent->owner_ = this;
}

void TComponent::Remove(TComponent* AComponent) {
  auto it = std::find(components_.begin(), components_.end(), AComponent);
  if (it != components_.end()) components_.erase(it);
  AComponent->owner_ = nullptr;
}

// ============================================================================================
// notifications
// ============================================================================================

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // Last first, and tolerant of components leaving the list while it runs.
  for (size_t i = components_.size(); i-- > 0;) {
    if (i >= components_.size()) continue;
    components_[i]->Notification(AComponent, Operation);
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (!owner_ || AComponent->owner_ != owner_) {
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end()) {
      freeNotifies_.push_back(AComponent);
      AComponent->FreeNotification(this);
    }
  }
  state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent);
  if (it != freeNotifies_.end()) freeNotifies_.erase(it);
}

// ============================================================================================
// loading and stored definitions
// ============================================================================================

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}

void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }

void TComponent::WriteState(TWriter* Writer) { Writer->WriteData(this); }

namespace {
// One 16-bit half of a design position (shift 0: Left, 16: Top).
int16_t ComponentDesignWord(int32_t info, int shift) { return int16_t(uint32_t(info) >> shift); }
int32_t ComponentDesignWith(int32_t info, int shift, int16_t value) {
  uint32_t mask = uint32_t(0xFFFF) << shift;
  return int32_t((uint32_t(info) & ~mask) | (uint32_t(uint16_t(value)) << shift));
}
}  // namespace

void TComponent::DefineProperties(TFiler* Filer) {
  auto* ancestor = dynamic_cast<TComponent*>(Filer->GetAncestor());
  int32_t base = ancestor ? ancestor->designInfo_ : 0;
  for (int shift : {0, 16}) {
    Filer->DefineProperty(shift == 0 ? "Left" : "Top", TReaderProc::Lambda([this, shift](TReader* reader) {
                            int32_t v = reader->ReadInteger();
                            if (v < INT16_MIN || v > INT16_MAX)
                              throw EReadError("Invalid property value " + IntToStr(v));
                            designInfo_ = ComponentDesignWith(designInfo_, shift, int16_t(v));
                          }),
                          TWriterProc::Lambda([this, shift](TWriter* writer) {
                            writer->WriteInteger(ComponentDesignWord(designInfo_, shift));
                          }),
                          ComponentDesignWord(designInfo_, shift) != ComponentDesignWord(base, shift));
  }
}

void TComponent::SetSubComponent(bool IsSubComponent) {
  if (IsSubComponent)
    style_.Include(csSubComponent);
  else
    style_.Exclude(csSubComponent);
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value)
    state_.Include(csDesigning);
  else
    state_.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* c : components_) c->SetDesigning(Value, true);
}

void TComponent::SetInline(bool Value) {
  if (Value)
    state_.Include(csInline);
  else
    state_.Exclude(csInline);
}

// ============================================================================================
// global roots
// ============================================================================================

namespace {
std::vector<TComponent*>& GlobalRoots() {
  static std::vector<TComponent*> roots;
  return roots;
}
}  // namespace

void AddGlobalComponent(TComponent* Component) {
  if (!Component || Component->global_) return;
  Component->global_ = true;
  GlobalRoots().push_back(Component);
}

void RemoveGlobalComponent(TComponent* Component) {
  if (!Component || !Component->global_) return;
  Component->global_ = false;
  auto& roots = GlobalRoots();
  roots.erase(std::find(roots.begin(), roots.end(), Component));
}

TComponent* FindGlobalComponent(const AnsiString& Name) {
  if (Name.empty()) return nullptr;
  for (TComponent* c : GlobalRoots())
    if (SameText(c->GetName(), Name)) return c;
  return nullptr;
}
