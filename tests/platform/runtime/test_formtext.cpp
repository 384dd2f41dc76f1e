#include <gtest/gtest.h>

#include <memory>

#include "tests/platform/runtime/TestComponents.h"

namespace {

// A root whose own definition (defs/TestBrokenRoot.dfm) is malformed, on top of TTestRoot's.
class TTestBrokenRoot : public TTestRoot {
  PL_CLASS(TTestBrokenRoot)
 public:
  using TTestRoot::TTestRoot;
};

}  // namespace

const TClassInfo& TTestBrokenRoot::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestBrokenRoot, TTestRoot>("TTestBrokenRoot");
  return info;
}

namespace {

AnsiString Canonical(const AnsiString& text) { return ObjectBinaryToText(ObjectTextToBinary(text)); }

TEST(FormText, CanonicalTextRoundTripsThroughTheBinaryForm) {
  const AnsiString text =
      "object Form1: TForm1\r\n"
      "  Caption = 'It'#39's'#13#10'ok'\r\n"
      "  Wide = #937'mega'#8364\r\n"
      "  High = 'caf'#233\r\n"
      "  Empty = ''\r\n"
      "  Long = \r\n"
      "    '0123456789012345678901234567890123456789012345678901234567890123' +\r\n"
      "    'rest'\r\n"
      "  Count = -70000\r\n"
      "  Big = 1099511627776\r\n"
      "  Ratio = 0.1\r\n"
      "  Huge = 1E300\r\n"
      "  Tiny = -2.5E-10\r\n"
      "  Whole = 100.0\r\n"
      "  Small = 0.5s\r\n"
      "  Money = 1.2345c\r\n"
      "  When = 45000.5d\r\n"
      "  Odd = NAN\r\n"
      "  Shape = shCircle\r\n"
      "  On = True\r\n"
      "  Off = False\r\n"
      "  Nothing = nil\r\n"
      "  Unknown = Null\r\n"
      "  Styles = [stBold, stItalic]\r\n"
      "  NoStyles = []\r\n"
      "  Font.Name = 'Mono'\r\n"
      "  Lines.Strings = (\r\n"
      "    'a'\r\n"
      "    (\r\n"
      "      1\r\n"
      "      2))\r\n"
      "  NoLines = ()\r\n"
      "  Items = <\r\n"
      "    item\r\n"
      "      Caption = 'x'\r\n"
      "    end\r\n"
      "    item [3]\r\n"
      "    end>\r\n"
      "  NoItems = <>\r\n"
      "  Data = {\r\n"
      "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\r\n"
      "    FF}\r\n"
      "  NoData = {}\r\n"
      "  Ref = Form2.Button1\r\n"
      "  inherited Child: TChild [2]\r\n"
      "  end\r\n"
      "  inline Frame1: TFrame1\r\n"
      "    object TUnnamed\r\n"
      "    end\r\n"
      "  end\r\n"
      "end\r\n";
  EXPECT_EQ(Canonical(text), text);
}

TEST(FormText, OtherSpellingsMeanTheSame) {
  struct Case {
    const char* text;
    const char* canonical;
  } cases[] = {
      {"object A: T\n X = 'a' +\n   'b'#$41\nend", "object A: T\r\n  X = 'abA'\r\nend\r\n"},
      {"OBJECT A: T x = $FF y = -$10 END", "object A: T\r\n  x = 255\r\n  y = -16\r\nend\r\n"},
      {"object A: T\r  X = 1.5E+3\r  Y = 2e2\rend", "object A: T\r\n  X = 1500.0\r\n  Y = 200.0\r\nend\r\n"},
      {"object A: T\n X = [a,b]\n Y = ( 'p' 'q' )\nend",
       "object A: T\r\n  X = [a, b]\r\n  Y = (\r\n    'p'\r\n    'q')\r\nend\r\n"},
      {"object A: T\n X = { 0a 0B\n  0c }\nend", "object A: T\r\n  X = {\r\n    0A0B0C}\r\nend\r\n"},
      {"object A: T\n X = <item end ITEM Y = 1 END>\nend",
       "object A: T\r\n  X = <\r\n    item\r\n    end\r\n    item\r\n      Y = 1\r\n    end>\r\nend\r\n"},
      {"object A: T\n X = 'it''s'\nend", "object A: T\r\n  X = 'it'#39's'\r\nend\r\n"},
      {"object A: T\n X = 2.5000000000000000000\n Y = -0.0\nend",
       "object A: T\r\n  X = 2.5\r\n  Y = -0.0\r\nend\r\n"},
      {"object T end", "object T\r\nend\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Canonical(c.text), c.canonical) << c.text;
}

TEST(FormText, ValuesAtTheEdgesOfTheBinaryFormReadBack) {
  const std::string longClass(250, 'C');
  struct Case {
    std::string text;
    std::string canonical;
  } cases[] = {
      {"object A: T\n  X = -$8000000000000000\n  Y = $FFFFFFFFFFFFFFFF\nend",
       "object A: T\r\n  X = -9223372036854775808\r\n  Y = -1\r\nend\r\n"},
      // Null as a list element must not end the list.
      {"object A: T\n  X = (Null 1 (null))\n  Y = Null\nend",
       "object A: T\r\n  X = (\r\n    Null\r\n    1\r\n    (\r\n      null))\r\n  Y = Null\r\nend\r\n"},
      // Extended values below the normal range, as the binary form holds them.
      {"object A: T\n  X = 2.3889E-4946\n  Y = -4E-4951\nend",
       "object A: T\r\n  X = 2.3889E-4946\r\n  Y = -4E-4951\r\nend\r\n"},
      // A class name whose length byte looks like a component prefix.
      {"object A: " + longClass + "\nend", "object A: " + longClass + "\r\nend\r\n"},
      {"object " + std::string(255, 'D') + "\n  object " + longClass + " [3]\n  end\nend",
       "object " + std::string(255, 'D') + "\r\n  object " + longClass + " [3]\r\n  end\r\nend\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Canonical(c.text), c.canonical) << c.text;
}

// Names are written unquoted: a binary whose class, component, property, set element or
// identifier value is not an identifier is refused rather than turned into text that does not
// convert back.
TEST(FormText, BinaryNamesThatAreNotIdentifiersAreRefused) {
  const AnsiString good = ObjectTextToBinary("object Ab: TCd\n  Ef.Gh = [Ij]\n  Kl = Mn\nend");
  for (const char* name : {"Ab", "TCd", "Ef.Gh", "Ij", "Mn"}) {
    for (const char* bad : {" ", "@", "\\", "\n"}) {
      AnsiString binary = good;
      size_t at = binary.find(name);
      ASSERT_NE(at, AnsiString::npos);
      binary.replace(at + 1, 1, bad);
      EXPECT_THROW(ObjectBinaryToText(binary), EReadError) << name << " with " << bad;
    }
  }
  EXPECT_EQ(ObjectBinaryToText(good), "object Ab: TCd\r\n  Ef.Gh = [Ij]\r\n  Kl = Mn\r\nend\r\n");
}

TEST(FormText, MalformedTextNamesTheLine) {
  struct Case {
    std::string text;
    std::string message;
  } cases[] = {
      {"", "Line 1: 'object' expected but end of file found"},
      {"object A: T\n  X 1\nend", "Line 2: '=' expected but a number found"},
      {"object A: T\n  X = 'abc\nend", "Line 2: Unterminated string"},
      {"object A: T\n  X = [a b]\nend", "Line 2: ',' expected but 'b' found"},
      {"object A: T\n  X = {0G}\nend", "Line 2: Invalid binary data: 'G'"},
      {"object A: T\n  X = {0A0}\nend", "Line 2: Invalid binary data: odd number of digits"},
      {"object A: T\n  X = (1\n", "Line 3: ')' expected but end of file found"},
      {"'", "Line 1: Unterminated string"},
      {"object A: T [4294967296]\nend", "Line 1: Invalid child position"},
      {"#", "Line 1: Invalid character code"},
      {"object A: T\n  X = 1\n", "Line 1: 'end' of object A expected but end of file found"},
      {"object A: T\n  object B: TB\n    X = 1\n  end\n\n",
       "Line 1: 'end' of object A expected but end of file found"},
      {"object A: T\n  object TB\n    X = 1\n", "Line 2: 'end' of object TB expected but end of file found"},
      {"object A: T\nend\nend", "Line 3: End of file expected but 'end' found"},
      {"object A: T\n  X = <\n    thing\n  >\nend", "Line 3: 'item' expected but 'thing' found"},
      {"object A: T\n  X = #99999\nend", "Line 2: Invalid character code"},
      {"object A: T\n  X = 99999999999999999999\nend", "Line 2: Invalid number 99999999999999999999"},
      {"object A: T\n  X = 1.5E5000\nend", "Line 2: Invalid number 1.5E5000"},
      {"object A: T\n  X = 'a' + 1\nend", "Line 2: String expected but a number found"},
      {"object A: T\n  X = ;\nend", "Line 2: Property value expected but ';' found"},
      {"object A: T\n  X = " + std::string(300, '(') + "\nend", "Line 2: Nesting too deep"},
      {"object A: T\n  " + std::string(300, 'P') + " = 1\nend",
       "Line 2: Name too long to store: " + std::string(32, 'P') + "..."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MessageOf<EReadError>([&] { ObjectTextToBinary(c.text); }), c.message);
}

const char* const kTree =
    "object Main: TTestRoot\n"
    "  Tag = 7\n"
    "  object First: TTestGadget\n"
    "    Caption = 'Hello'\n"
    "    Shape = shTriangle\n"
    "    Styles = [stBold, stItalic]\n"
    "    Font.Size = 14\n"
    "    Items = <\n"
    "      item\n"
    "        Caption = 'a'\n"
    "      end>\n"
    "    Lines.Strings = (\n"
    "      'x')\n"
    "    Buddy = Second\n"
    "    OnChange = GadgetChange\n"
    "    Extra = (\n"
    "      5\n"
    "      6)\n"
    "    Blob = {CAFE}\n"
    "    object Second: TTestGadget\n"
    "      Caption = 'World'\n"
    "      Buddy = First\n"
    "    end\n"
    "  end\n"
    "end\n";

class DefinitionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    EventLog().clear();
  }
  void TearDown() override { EXPECT_EQ(LiveGadgets(), 0); }
};

TEST_F(DefinitionTest, ReadsATreeWithLoadingStateThenLoadedOncePerComponent) {
  TTestRoot root(nullptr);
  ReadComponentText(kTree, &root, "Tree");
  EXPECT_EQ(root.GetName(), "Main");
  EXPECT_EQ(root.GetTag(), 7);
  TTestGadget* first = root.First;
  ASSERT_NE(first, nullptr);
  auto* second = static_cast<TTestGadget*>(root.FindComponent("Second"));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->GetCaption(), "Hello");
  EXPECT_EQ(first->Shape, shTriangle);
  EXPECT_EQ(first->Styles, (TStyles{stBold, stItalic}));
  EXPECT_EQ(first->GetFont()->GetSize(), 14);
  EXPECT_EQ(static_cast<TTestItem*>(first->GetItems()->Items(0))->Caption, "a");
  EXPECT_EQ(first->GetLines()->Strings(0), "x");
  EXPECT_EQ(first->extra, (std::vector<int32_t>{5, 6}));
  EXPECT_EQ(first->blob, "\xCA\xFE");
  EXPECT_EQ(second->GetParentComponent(), first);
  first->OnChange(first);
  EXPECT_EQ(root.changes, 1);
  // Absent properties keep the constructor's values, not the declared defaults.
  EXPECT_EQ(second->Shape, shSquare);
  EXPECT_EQ(second->Letter, 'a');
  EXPECT_EQ(second->GetFont()->Name, "Sans");
  // Setters ran inside the loading state; Loaded came after the whole tree, once each.
  EXPECT_EQ(first->captionSetWhileLoading, std::vector<bool>{true});
  EXPECT_EQ(second->captionSetWhileLoading, std::vector<bool>{true});
  EXPECT_EQ(EventLog(), (std::vector<std::string>{"Loaded Main", "Loaded First caption=Hello buddy=Second",
                                                  "Loaded Second caption=World buddy=First"}));
  for (TComponent* c : {static_cast<TComponent*>(&root), static_cast<TComponent*>(first)})
    EXPECT_TRUE((c->ComponentState() * TComponentState{csLoading, csReading}).Empty());

  // Written back and read again, the tree gives the same text.
  AnsiString written = WriteComponentText(&root);
  TTestRoot copy(nullptr);
  ReadComponentText(written, &copy);
  EXPECT_EQ(WriteComponentText(&copy), written);
}

TEST_F(DefinitionTest, MalformedDefinitionsNameTheLineAndLeaveNothingBehind) {
  struct Case {
    const char* line5;
    const char* message;
  } cases[] = {
      {"Nope = 1", "Def line 5: Error reading Second.Nope: Property Nope does not exist"},
      {"Shape = shHexagon", "Def line 5: Error reading Second.Shape: Invalid property value shHexagon"},
      {"Count = 'x'", "Def line 5: Error reading Second.Count: Invalid property value"},
      {"Count = 99999999999",
       "Def line 5: Error reading Second.Count: Invalid property value 99999999999 for Count"},
      {"ReadOnly = 1", "Def line 5: Error reading Second.ReadOnly: Property ReadOnly is read-only"},
      {"Caption.X = 1", "Def line 5: Error reading Second.Caption.X: Property Caption holds no object"},
      {"Font.Nope = 1", "Def line 5: Error reading Second.Font.Nope: Property Nope does not exist"},
      {"OnChange = Missing",
       "Def line 5: Error reading Second.OnChange: Method Missing not found in TTestRoot"},
      {"OnChange = GadgetCount",
       "Def line 5: Error reading Second.OnChange: Method GadgetCount does not fit the parameters of "
       "OnChange"},
      {"Buddy = Nobody", "Def line 5: Error reading Second.Buddy: Component Nobody not found"},
      {"Items = <item Nope = 1 end>",
       "Def line 5: Error reading Second.Items[0].Nope: Property Nope does not exist"},
      {"object First: TTestGadget end",
       "Def line 5: Error reading First: A component named First already exists"},
      {"object Third: TNoSuchClass end", "Def line 5: Error reading Third: Class TNoSuchClass not found"},
      {"object Third: TTestFont end",
       "Def line 5: Error reading Third: Cannot create TTestFont as a component"},
  };
  for (const Case& c : cases) {
    // Appended piece by piece: g++ 12 at -O2 warns falsely about a chain of + on strings here.
    std::string text = "object Main: TTestRoot\n  object First: TTestGadget\n    Caption = 'ok'\n";
    text += "  object Second: TTestGadget\n    ";
    text += c.line5;
    text += "\n  end\n  end\nend\n";
    TTestRoot root(nullptr);
    EXPECT_EQ(MessageOf<EReadError>([&] { ReadComponentText(text, &root, "Def"); }), c.message);
    EXPECT_EQ(root.ComponentCount(), 0) << c.line5;
    EXPECT_EQ(root.First, nullptr) << c.line5;
    EXPECT_TRUE(root.ComponentState().Empty()) << c.line5;
    EXPECT_EQ(LiveGadgets(), 0) << c.line5;
  }
  // A failing new root goes too.
  EXPECT_THROW(ReadComponentText("object X: TTestRoot\n  Nope = 1\nend", nullptr), EReadError);
  EXPECT_THROW(ReadComponentText("object X: TNoSuchRoot\nend", nullptr), EReadError);
}

TEST_F(DefinitionTest, CompiledInDefinitionsWithAncestorsAndGlobalReferences) {
  std::unique_ptr<TComponent> fixture(ReadComponentRes("TTestRoot", nullptr));
  auto* root = dynamic_cast<TTestRoot*>(fixture.get());
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetName(), "Fixture");
  EXPECT_EQ(root->GetTag(), 3);
  ASSERT_NE(root->First, nullptr);
  EXPECT_EQ(root->First->GetCaption(), "From the program");
  EXPECT_EQ(FindGlobalComponent("Fixture"), root);

  // A second root from the same definition takes a free global name.
  TTestRoot twin(nullptr);
  ReadComponentRes("TTestRoot", &twin);
  EXPECT_EQ(twin.GetName(), "Fixture_1");

  // Another root refers to the first one's component by path; the reference goes with it.
  TTestRoot other(nullptr);
  ReadComponentText(
      "object Other: TTestRoot\n  object G: TTestGadget\n    Buddy = Fixture.First\n  end\nend\n", &other);
  auto* g = static_cast<TTestGadget*>(other.FindComponent("G"));
  EXPECT_EQ(g->GetBuddy(), root->First);
  EXPECT_NE(WriteComponentText(&other).find("Buddy = Fixture.First\r\n"), AnsiString::npos);
  fixture.reset();
  EXPECT_EQ(g->GetBuddy(), nullptr);
  EXPECT_EQ(FindGlobalComponent("Fixture"), nullptr);

  // A derived root reads its ancestor's definition first, then its own; Loaded once each.
  EventLog().clear();
  TTestDerivedRoot derived(nullptr);
  EXPECT_TRUE(InitInheritedComponent(&derived, TComponent::ClassInfo()));
  EXPECT_EQ(derived.GetTag(), 4);
  ASSERT_NE(derived.First, nullptr);
  EXPECT_EQ(derived.First->GetCaption(), "From the program");
  EXPECT_EQ(derived.First->Count, 2);
  ASSERT_NE(derived.Second, nullptr);
  EXPECT_EQ(derived.Second->GetBuddy(), derived.First);
  EXPECT_EQ(EventLog(),
            (std::vector<std::string>{"Loaded Fixture", "Loaded First caption=From the program buddy=-",
                                      "Loaded Second caption= buddy=First"}));

  // The ancestor's part is undone too when the class's own definition is malformed.
  TTestBrokenRoot broken(nullptr);
  EXPECT_EQ(MessageOf<EReadError>([&] { InitInheritedComponent(&broken, TComponent::ClassInfo()); }),
            "TTestBrokenRoot line 3: Error reading Second.Shape: Invalid property value shHexagon");
  EXPECT_EQ(broken.ComponentCount(), 0);

  EXPECT_FALSE(InitInheritedComponent(&other, TTestRoot::ClassInfo()));
  EXPECT_THROW(ReadComponentRes("TNope", nullptr), EResNotFound);
}

}  // namespace
