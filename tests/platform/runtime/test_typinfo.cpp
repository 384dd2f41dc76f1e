#include <gtest/gtest.h>

#include "tests/platform/runtime/TestComponents.h"

namespace {

std::vector<std::string> Names(const TPropList& list) {
  std::vector<std::string> names;
  for (const TPropInfo* p : list) names.push_back(p->Name);
  return names;
}

// A class publishing a base property again (with another default) and one of its own.
class TTestGadgetPlus : public TTestGadget {
  PL_CLASS(TTestGadgetPlus)
 public:
  using TTestGadget::TTestGadget;
  int32_t Extra2 = 0;
};

}  // namespace

const TClassInfo& TTestGadgetPlus::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestGadgetPlus, TTestGadget>("TTestGadgetPlus")
                                     .Prop("Extra2", &TTestGadgetPlus::Extra2)
                                     .Prop("Count", &TTestGadgetPlus::Count)
                                     .Default(5);
  return info;
}

namespace {

TEST(PropertyTable, RootClassFirstInDeclarationOrderWithKinds) {
  std::vector<std::string> expected = {"Name",  "Tag",   "Caption",  "Count",    "Ratio", "Precise",
                                       "Small", "Shape", "Visible",  "Styles",   "Big",   "Letter",
                                       "Wide",  "Value", "Secret",   "ReadOnly", "Font",  "Items",
                                       "Lines", "Buddy", "OnChange", "OnCount"};
  EXPECT_EQ(Names(GetPropInfos(TTestGadget::ClassInfo())), expected);

  struct Case {
    const char* name;
    TTypeKind kind;
    const char* typeName;
  } cases[] = {{"Tag", tkInteger, "Integer"},
               {"Caption", tkLString, "string"},
               {"Ratio", tkFloat, "Double"},
               {"Precise", tkFloat, "Extended"},
               {"Small", tkFloat, "Single"},
               {"Shape", tkEnumeration, "TShape"},
               {"Visible", tkEnumeration, "Boolean"},
               {"Styles", tkSet, "set of TStyleItem"},
               {"Big", tkInt64, "Int64"},
               {"Letter", tkChar, "Char"},
               {"Wide", tkWString, "WideString"},
               {"Value", tkVariant, "Variant"},
               {"Font", tkClass, "TTestFont"},
               {"Buddy", tkClass, "TTestGadget"},
               {"OnChange", tkMethod, "TMethod"}};
  for (const Case& c : cases) {
    const TPropInfo* p = GetPropInfo(TTestGadget::ClassInfo(), c.name);
    ASSERT_NE(p, nullptr) << c.name;
    EXPECT_EQ(p->Kind(), c.kind) << c.name;
    EXPECT_EQ(p->PropType->Name(), c.typeName) << c.name;
  }
  // A property published again keeps its place and takes the new default.
  auto plus = Names(GetPropInfos(TTestGadgetPlus::ClassInfo()));
  EXPECT_EQ(plus.size(), expected.size() + 1);
  EXPECT_EQ(plus[3], "Count");
  EXPECT_EQ(plus.back(), "Extra2");
  EXPECT_EQ(GetPropInfo(TTestGadgetPlus::ClassInfo(), "count")->Default, 5);
}

TEST(PropertyTable, KindAndStoredAndSetterFilters) {
  TTestGadget g(nullptr);
  auto methods = Names(GetPropList(TTestGadget::ClassInfo(), tkMethods));
  EXPECT_EQ(methods, (std::vector<std::string>{"OnChange", "OnCount"}));
  EXPECT_EQ(GetPropList(TTestGadget::ClassInfo(), tkProperties).size(), 20u);

  auto stored = Names(GetPropList(&g, tkProperties, {pfStored, pfHasSetter}));
  auto has = [&](const char* n) { return std::find(stored.begin(), stored.end(), n) != stored.end(); };
  EXPECT_FALSE(has("Name"));      // stored false: written in the header
  EXPECT_FALSE(has("Secret"));    // stored false
  EXPECT_FALSE(has("ReadOnly"));  // no setter
  EXPECT_TRUE(has("Ratio"));
  g.Ratio = 1.5;  // the stored predicate now says no
  EXPECT_FALSE(IsStoredProp(&g, GetPropInfo(&g, "Ratio")));
  EXPECT_TRUE(IsStoredProp(&g, GetPropInfo(&g, "Tag")));
}

TEST(PropertyAccess, EveryKindByNameAndDottedPath) {
  TTestGadget g(nullptr);
  SetOrdProp(&g, "Count", 12);
  SetEnumProp(&g, "shape", "SHTRIANGLE");
  SetSetProp(&g, "Styles", "[stBold, stUnderline]");
  SetOrdProp(&g, "Visible", 0);
  SetFloatProp(&g, "Precise", 0.1L);
  SetStrProp(&g, "Caption", "hello");
  SetWideStrProp(&g, "Wide", u"\u20ac");
  SetInt64Prop(&g, "Big", int64_t(1) << 40);
  SetOrdProp(&g, "Letter", 'z');
  SetOrdProp(&g, "Font.Size", 11);
  SetStrProp(&g, "Font.Name", "Mono");
  SetSetProp(&g, "Font.Style", "stItalic");
  SetVariantProp(&g, "Value", Variant(3));

  EXPECT_EQ(g.Count, 12);
  EXPECT_EQ(g.Shape, shTriangle);
  EXPECT_EQ(GetEnumProp(&g, "Shape"), "shTriangle");
  EXPECT_EQ(g.Styles, (TStyles{stBold, stUnderline}));
  EXPECT_EQ(GetOrdProp(&g, "Styles"), 5);
  EXPECT_EQ(GetSetProp(&g, "Styles", true), "[stBold,stUnderline]");
  EXPECT_FALSE(g.Visible);
  EXPECT_EQ(GetFloatProp(&g, "Precise"), 0.1L);
  EXPECT_EQ(GetStrProp(&g, "Caption"), "hello");
  EXPECT_EQ(GetStrProp(&g, "Wide"), "\x80");  // the euro sign in code page 1252
  EXPECT_EQ(GetInt64Prop(&g, "Big"), int64_t(1) << 40);
  EXPECT_EQ(g.Letter, 'z');
  EXPECT_EQ(g.GetFont()->GetSize(), 11);
  EXPECT_EQ(GetStrProp(&g, "FONT.NAME"), "Mono");
  EXPECT_EQ(g.GetFont()->Style, TStyles{stItalic});
  EXPECT_EQ(GetVariantProp(&g, "Value").AsInteger(), 3);
  EXPECT_EQ(GetObjectProp(&g, "Font"), g.GetFont());
  EXPECT_EQ(GetOrdProp(&g, "ReadOnly"), 42);

  TObject* target = nullptr;
  const TPropInfo* size = GetPropInfo(&g, "Font.Size", &target);
  ASSERT_NE(size, nullptr);
  EXPECT_EQ(target, g.GetFont());
  EXPECT_EQ(GetPropInfo(&g, "Font.Nope"), nullptr);
  EXPECT_EQ(GetPropInfo(&g, "Caption.Size"), nullptr);  // not an object
  EXPECT_TRUE(IsPublishedProp(&g, "Items"));
  EXPECT_EQ(PropType(&g, "OnCount"), tkMethod);
}

TEST(PropertyAccess, RefusesWhatDoesNotFitAndChangesNothing) {
  TTestGadget g(nullptr), other(nullptr);
  TTestFont font;
  struct Case {
    const char* what;
    std::function<void()> action;
  } cases[] = {
      {"unknown property", [&] { SetOrdProp(&g, "Nope", 1); }},
      {"unknown nested property", [&] { GetOrdProp(&g, "Font.Nope"); }},
      {"ordinal access to a string", [&] { GetOrdProp(&g, "Caption"); }},
      {"string access to a float", [&] { SetStrProp(&g, "Ratio", "1"); }},
      {"enumeration value out of range", [&] { SetOrdProp(&g, "Shape", 3); }},
      {"Boolean out of range", [&] { SetOrdProp(&g, "Visible", 2); }},
      {"char out of range", [&] { SetOrdProp(&g, "Letter", 256); }},
      {"integer out of range", [&] { SetOrdProp(&g, "Count", int64_t(1) << 31); }},
      {"unknown enumeration name", [&] { SetEnumProp(&g, "Shape", "shHexagon"); }},
      {"unknown set element", [&] { SetSetProp(&g, "Styles", "[stBold, stStrike]"); }},
      {"read-only property", [&] { SetOrdProp(&g, "ReadOnly", 1); }},
      {"object of another class", [&] { SetObjectProp(&g, "Buddy", &font); }},
      {"property of another class", [&] { GetOrdProp(&font, GetPropInfo(&g, "Count")); }},
      {"method of another type", [&] { SetMethodProp(&g, "OnCount", GetMethodProp(&g, "OnChange")); }},
  };
  TTestRoot root(nullptr);
  g.OnChange = TNotifyEvent(&root, &TTestRoot::GadgetChange);
  for (const Case& c : cases) EXPECT_THROW(c.action(), EPropertyError) << c.what;
  EXPECT_EQ(g.Count, 0);
  EXPECT_EQ(g.Shape, shSquare);
  EXPECT_TRUE(g.Visible);
  EXPECT_EQ(g.Styles, TStyles{});
  EXPECT_EQ(g.GetBuddy(), nullptr);
  EXPECT_FALSE(g.OnCount.Assigned());
  SetObjectProp(&g, "Buddy", &other);
  EXPECT_EQ(g.GetBuddy(), &other);
}

TEST(PublishedMethods, BindByNameOnlyToEventsOfTheSameType) {
  TTestRoot root(nullptr);
  TTestGadget g(&root);
  TMethod change = FindPublishedMethod(&root, "gadgetchange");
  ASSERT_TRUE(change.Assigned());
  EXPECT_EQ(change.Data, &root);
  SetMethodProp(&g, "OnChange", change);
  g.OnChange(&g);
  EXPECT_EQ(root.changes, 1);
  EXPECT_EQ(g.OnChange, TNotifyEvent(&root, &TTestRoot::GadgetChange));
  EXPECT_EQ(root.ClassType().MethodName(&root, GetMethodProp(&g, "OnChange")), "GadgetChange");
  // Bound to another object, or not published: no name.
  TTestRoot other(nullptr);
  EXPECT_EQ(root.ClassType().MethodName(&root, FindPublishedMethod(&other, "GadgetChange")), "");

  EXPECT_THROW(SetMethodProp(&g, "OnChange", FindPublishedMethod(&root, "GadgetCount")), EPropertyError);
  EXPECT_FALSE(FindPublishedMethod(&root, "Missing").Assigned());
  SetMethodProp(&g, "OnChange", TMethod{});
  EXPECT_FALSE(g.OnChange.Assigned());
}

TEST(EnumNames, ByValueAndByNameIgnoringCase) {
  const TTypeInfo& shape = TypeInfoOf<TShape>();
  const TTypeInfo& boolean = TypeInfoOf<bool>();
  EXPECT_EQ(GetEnumName(shape, 1), "shSquare");
  EXPECT_EQ(GetEnumName(shape, 3), "");
  EXPECT_EQ(GetEnumName(shape, -1), "");
  EXPECT_EQ(GetEnumValue(shape, "SHcircle"), 0);
  EXPECT_EQ(GetEnumValue(shape, "circle"), -1);
  EXPECT_EQ(GetEnumName(boolean, 1), "True");
  EXPECT_EQ(GetEnumValue(boolean, "false"), 0);
  EXPECT_EQ(SetToString(TypeInfoOf<TStyles>(), 6), "stItalic,stUnderline");
  EXPECT_EQ(StringToSet(TypeInfoOf<TStyles>(), " [ ] "), 0);
}

TEST(IntegerIdents, NamedConstantsBothWays) {
  static const TTypeInfo colors = IntegerTypeWithIdents("TColor", {{"clBlack", 0}, {"clBtnFace", -16777201}});
  AnsiString ident;
  int64_t v = 0;
  EXPECT_TRUE(colors.IntToIdent(-16777201, ident));
  EXPECT_EQ(ident, "clBtnFace");
  EXPECT_FALSE(colors.IntToIdent(5, ident));
  EXPECT_TRUE(colors.IdentToInt("CLBLACK", v));
  EXPECT_EQ(v, 0);
  EXPECT_EQ(colors.Kind, tkInteger);
  EXPECT_EQ(colors.Name(), "TColor");
}

TEST(ClassRegistry, FindsCreatesAndRefusesConflicts) {
  RegisterTestClasses();
  EXPECT_EQ(&FindClass("ttestgadget"), &TTestGadget::ClassInfo());
  EXPECT_EQ(GetClass("TComponent"), &TComponent::ClassInfo());  // registered as an ancestor
  EXPECT_EQ(GetClass("TNope"), nullptr);
  EXPECT_EQ(MessageOf<EClassNotFound>([] { FindClass("TNope"); }), "Class TNope not found");
  static const TClassInfo impostor("TTestGadget", &TComponent::ClassInfo());
  EXPECT_THROW(RegisterClass(impostor), EFilerError);
  RegisterClass(TTestGadget::ClassInfo());  // again: fine

  TTestRoot owner(nullptr);
  TComponent* c = FindClass("TTestGadget").CreateComponent(&owner);
  EXPECT_EQ(c->ClassName(), "TTestGadget");
  EXPECT_EQ(c->Owner(), &owner);
  TTestItems items(nullptr);
  TCollectionItem* item = TTestItem::ClassInfo().CreateItem(&items);
  EXPECT_EQ(items.Count(), 1);
  EXPECT_EQ(item->GetCollection(), &items);
  std::unique_ptr<TObject> font(TTestFont::ClassInfo().CreateInstance());
  EXPECT_TRUE(Is<TTestFont>(font.get()));
  EXPECT_THROW(TTestFont::ClassInfo().CreateComponent(&owner), EInvalidOperation);
  EXPECT_THROW(TCollection::ClassInfo().CreateItem(&items), EInvalidOperation);
}

}  // namespace
