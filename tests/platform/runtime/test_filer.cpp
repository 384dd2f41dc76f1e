#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "platform/runtime/Strings.h"
#include "tests/platform/runtime/TestComponents.h"

namespace {

std::string Hex(const AnsiString& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

AnsiString Written(const std::function<void(TWriter&)>& write) {
  TStringStream stream;
  {
    TWriter writer(&stream);
    write(writer);
  }
  return stream.DataString();
}

// A root holding two gadgets, the second inside the first, with a value of every kind.
std::unique_ptr<TTestRoot> MakeTree() {
  auto root = std::make_unique<TTestRoot>(nullptr);
  root->SetName("Root");
  auto* g = new TTestGadget(root.get());
  g->SetName("First");
  g->SetParentComponent(root.get());
  g->SetCaption("It's");
  g->Count = -70000;
  g->Precise = 1.0L / 3;
  g->Small = 0.1f;
  g->Shape = shTriangle;
  g->Visible = false;
  g->Styles = {stBold, stUnderline};
  g->Big = -(int64_t(1) << 40);
  g->Letter = '#';
  g->Wide = u"\u03a9mega";
  g->Value = Variant("text");
  g->GetFont()->Name = "Mono";
  g->GetFont()->SetSize(12);
  static_cast<TTestItem*>(g->GetItems()->Add())->Caption = "one";
  static_cast<TTestItem*>(g->GetItems()->Add())->Width = 80;
  g->GetLines()->Add("alpha");
  g->GetLines()->Add("");
  g->OnChange = TNotifyEvent(root.get(), &TTestRoot::GadgetChange);
  g->OnCount = TEvent<TObject*, int32_t&>(root.get(), &TTestRoot::GadgetCount);
  g->extra = {1, -2, 300};
  g->blob = AnsiString("\x00\xFF\x10", 3);
  auto* inner = new TTestGadget(root.get());
  inner->SetName("Inner");
  inner->SetParentComponent(g);
  inner->SetBuddy(g);
  inner->Ratio = 2.5;
  g->SetBuddy(inner);
  return root;
}

TEST(FilerValues, SmallestEncodingsAndValueTypeBytes) {
  struct Case {
    const char* what;
    std::function<void(TWriter&)> write;
    const char* bytes;
  } cases[] = {
      {"int8", [](TWriter& w) { w.WriteInteger(-128); }, "02 80"},
      {"int16", [](TWriter& w) { w.WriteInteger(128); }, "03 80 00"},
      {"int32", [](TWriter& w) { w.WriteInteger(-32769); }, "04 FF 7F FF FF"},
      {"int64", [](TWriter& w) { w.WriteInteger(int64_t(1) << 32); }, "13 00 00 00 00 01 00 00 00"},
      {"short string", [](TWriter& w) { w.WriteString("ab"); }, "06 02 61 62"},
      {"identifier", [](TWriter& w) { w.WriteIdent("clRed"); }, "07 05 63 6C 52 65 64"},
      {"special identifiers",
       [](TWriter& w) {
         for (auto s : {"false", "TRUE", "nil", "Null"}) w.WriteIdent(s);
       },
       "08 09 0D 00"},
      {"list",
       [](TWriter& w) {
         w.WriteListBegin();
         w.WriteBoolean(true);
         w.WriteListEnd();
       },
       "01 09 00"},
      {"binary", [](TWriter& w) { w.WriteBinary("\x01\x02", 2); }, "0A 02 00 00 00 01 02"},
      {"wide string", [](TWriter& w) { w.WriteWideString(u"\u20ac"); }, "12 01 00 00 00 AC 20"},
      {"single", [](TWriter& w) { w.WriteSingle(1.0f); }, "0F 00 00 80 3F"},
      {"currency", [](TWriter& w) { w.WriteCurrency(1.5); }, "10 98 3A 00 00 00 00 00 00"},
      {"extended 1", [](TWriter& w) { w.WriteFloat(1.0L); }, "05 00 00 00 00 00 00 00 80 FF 3F"},
      {"extended -2.5", [](TWriter& w) { w.WriteFloat(-2.5L); }, "05 00 00 00 00 00 00 00 A0 00 C0"},
      {"extended 0", [](TWriter& w) { w.WriteFloat(0.0L); }, "05 00 00 00 00 00 00 00 00 00 00"},
      {"prefix",
       [](TWriter& w) {
         w.WritePrefix({ffInherited, ffChildPos}, 2);
       },
       "F3 02 02"},
  };
  for (const Case& c : cases) EXPECT_EQ(Hex(Written(c.write)), c.bytes) << c.what;

  AnsiString longText(300, 'x');
  AnsiString l = Written([&](TWriter& w) { w.WriteString(longText); });
  EXPECT_EQ(Hex(l.substr(0, 5)), "0C 2C 01 00 00");  // vaLString, 300
  EXPECT_THROW(Written([&](TWriter& w) { w.WriteStr(longText); }), EWriteError);
}

TEST(FilerValues, ExtendedFloatsKeepEveryBit) {
  long double values[] = {1.0L / 3,
                          -0.1L,
                          1e-4940L,
                          1e4930L,
                          std::numeric_limits<long double>::denorm_min(),
                          -std::numeric_limits<long double>::infinity(),
                          123456789.0L};
  for (long double v : values) {
    unsigned char bytes[10];
    ExtendedToBytes(v, bytes);
    EXPECT_EQ(BytesToExtended(bytes), v);
  }
  unsigned char bytes[10];
  ExtendedToBytes(std::nanl(""), bytes);
  EXPECT_TRUE(std::isnan(BytesToExtended(bytes)));
}

TEST(FilerValues, ReaderTakesEveryEncodingItAccepts) {
  TStringStream stream(Written([](TWriter& w) {
    w.WriteInteger(-5);
    w.WriteInteger(int64_t(1) << 40);
    w.WriteInteger(int64_t(1) << 40);
    w.WriteInteger(7);  // as a float
    w.WriteString(AnsiString(300, 'y'));
    w.WriteWideString(u"\u20ac");  // as single-byte text
    w.WriteIdent("True");
    w.WriteSingle(0.5f);
  }));
  TReader r(&stream);
  EXPECT_EQ(r.ReadInteger(), -5);
  EXPECT_THROW(r.ReadInteger(), EReadError);  // does not fit
  EXPECT_EQ(r.ReadInt64(), int64_t(1) << 40);
  EXPECT_EQ(r.ReadFloat(), 7.0L);
  EXPECT_EQ(r.ReadString(), AnsiString(300, 'y'));
  EXPECT_EQ(r.ReadString(), "\x80");
  EXPECT_THROW(r.ReadString(), EReadError);
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_EQ(r.ReadFloat(), 0.5L);
}

TEST(ComponentStreams, RoundTripOfATreeWithEveryKindOfValue) {
  RegisterTestClasses();
  auto original = MakeTree();
  TStringStream stream;
  WriteComponent(&stream, original.get());
  EXPECT_EQ(stream.DataString().substr(0, 4), "TPF0");

  stream.SetPosition(0);
  EventLog().clear();
  std::unique_ptr<TComponent> copy(ReadComponent(&stream, nullptr));
  EXPECT_EQ(stream.Position(), stream.Size());
  auto* root = dynamic_cast<TTestRoot*>(copy.get());
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(WriteComponentText(root), WriteComponentText(original.get()));

  auto* g = root->First;  // the published field followed the name
  ASSERT_NE(g, nullptr);
  auto* inner = static_cast<TTestGadget*>(root->FindComponent("Inner"));
  EXPECT_EQ(g->GetCaption(), "It's");
  EXPECT_EQ(g->Count, -70000);
  EXPECT_EQ(g->Precise, 1.0L / 3);
  EXPECT_EQ(g->Small, 0.1f);
  EXPECT_EQ(g->Shape, shTriangle);
  EXPECT_FALSE(g->Visible);
  EXPECT_EQ(g->Styles, (TStyles{stBold, stUnderline}));
  EXPECT_EQ(g->Big, -(int64_t(1) << 40));
  EXPECT_EQ(g->Letter, '#');
  EXPECT_EQ(g->Wide, u"\u03a9mega");
  EXPECT_EQ(g->Value.AsString(), "text");
  EXPECT_EQ(g->GetFont()->Name, "Mono");
  EXPECT_EQ(g->GetFont()->GetSize(), 12);
  ASSERT_EQ(g->GetItems()->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(g->GetItems()->Items(0))->Caption, "one");
  EXPECT_EQ(static_cast<TTestItem*>(g->GetItems()->Items(1))->Width, 80);
  EXPECT_EQ(g->GetLines()->GetText(), "alpha\r\n\r\n");
  EXPECT_EQ(g->extra, (std::vector<int32_t>{1, -2, 300}));
  EXPECT_EQ(g->blob, AnsiString("\x00\xFF\x10", 3));
  EXPECT_EQ(g->GetBuddy(), inner);
  EXPECT_EQ(inner->GetBuddy(), g);
  EXPECT_EQ(inner->GetParentComponent(), g);
  EXPECT_EQ(inner->Ratio, 2.5);
  int32_t n = 0;
  g->OnCount(g, n);
  g->OnChange(g);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(root->changes, 1);
  EXPECT_EQ(EventLog(), (std::vector<std::string>{"Loaded Root", "Loaded First caption=It's buddy=Inner",
                                                  "Loaded Inner caption= buddy=First"}));
}

TEST(ComponentStreams, WhatIsWrittenFollowsStoredAndDefaults) {
  TTestGadget g(nullptr);
  g.SetName("G");
  AnsiString fresh = WriteComponentText(&g);
  // Declared defaults, zero floats, empty strings, unassigned events and stored(false) stay out;
  // Shape's constructor value differs from its declared default, so it is written, and so is
  // the font's name, a string without a declared default.
  EXPECT_EQ(fresh,
            "object G: TTestGadget\r\n  Shape = shSquare\r\n  Font.Name = 'Sans'\r\n  Items = <>\r\nend\r\n");
  g.Shape = shCircle;  // the declared default: not written, reads back as the constructor's shSquare
  g.Ratio = 1.5;       // its stored predicate says no
  g.Secret = 1;
  g.Count = 3;
  g.GetFont()->SetSize(9);
  AnsiString text = WriteComponentText(&g);
  EXPECT_EQ(text,
            "object G: TTestGadget\r\n  Count = 3\r\n  Font.Name = 'Sans'\r\n  Font.Size = 9\r\n  Items = "
            "<>\r\nend\r\n");
  TTestGadget back(nullptr);
  ReadComponentText(text, &back);
  EXPECT_EQ(back.Shape, shSquare);
  EXPECT_EQ(back.Secret, 7);
  EXPECT_EQ(back.Count, 3);
}

TEST(ComponentStreams, AncestorLeavesOutWhatItAlreadyHas) {
  TTestGadget ancestor(nullptr), g(nullptr);
  ancestor.Count = 4;
  ancestor.GetFont()->Name = "Mono";
  ancestor.GetLines()->Add("x");
  g.Count = 4;
  g.GetFont()->Name = "Mono";
  g.GetLines()->Add("x");
  g.SetCaption("own");
  TStringStream stream;
  TWriter writer(&stream);
  writer.SetRootAncestor(&ancestor);
  writer.WriteRootComponent(&g);
  stream.SetPosition(0);
  EXPECT_EQ(ObjectBinaryToText(stream.DataString()), "object TTestGadget\r\n  Caption = 'own'\r\nend\r\n");
}

TEST(ComponentStreams, RecordsFollowOneAnotherInOneStream) {
  TStringStream stream;
  for (int i = 1; i <= 3; ++i) {
    TTestGadget g(nullptr);
    g.Count = i;
    WriteComponent(&stream, &g);
  }
  stream.SetPosition(0);
  for (int i = 1; i <= 3; ++i) {
    TTestGadget g(nullptr);
    ReadComponent(&stream, &g);
    EXPECT_EQ(g.Count, i);
  }
  EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(ComponentStreams, DefinedPropertiesAreAskedForOncePerValueMet) {
  TTestGadget g(nullptr);
  g.extra = {1};
  g.blob = "b";
  TStringStream stream;
  WriteComponent(&stream, &g);
  EXPECT_EQ(g.defineCalls, 1);
  stream.SetPosition(0);
  TTestGadget back(nullptr);
  ReadComponent(&stream, &back);
  EXPECT_EQ(back.defineCalls, 2);  // once for "Extra", once for "Blob"
}

TEST(ComponentStreams, DamagedStreamsRaiseAndCreateNothing) {
  RegisterTestClasses();
  auto original = MakeTree();
  TStringStream full;
  WriteComponent(&full, original.get());
  AnsiString bytes = full.DataString();
  // Every truncation of the stream: a clean error, no component left behind.
  for (size_t n = 0; n < bytes.size(); ++n) {
    TStringStream cut(bytes.substr(0, n));
    TTestRoot root(nullptr);
    EXPECT_THROW(ReadComponent(&cut, &root), EReadError) << n;
    EXPECT_EQ(root.ComponentCount(), 0) << n;
    EXPECT_FALSE(root.ComponentState().Contains(csLoading)) << n;
  }
  EXPECT_EQ(LiveGadgets(), 2);  // the original's
  // A stored length far beyond the data is refused before anything is allocated.
  AnsiString huge = Written([](TWriter& w) { w.WriteValue(vaLString); });
  huge += AnsiString("\xFF\xFF\xFF\x7F", 4);
  TStringStream s(huge);
  TReader r(&s);
  EXPECT_THROW(r.ReadString(), EReadError);
}

// Gadgets nested depth deep, each inside the one before, in the binary form.
AnsiString NestedGadgets(int depth) {
  return Written([&](TWriter& w) {
    w.WriteSignature();
    w.WriteComponentHeader({}, 0, "TTestRoot", "Root");
    w.WriteListEnd();
    for (int i = 0; i < depth; ++i) {
      w.WriteComponentHeader({}, 0, "TTestGadget", "G" + IntToStr(i));
      w.WriteListEnd();
    }
    for (int i = 0; i <= depth; ++i) w.WriteListEnd();
  });
}

TEST(ComponentStreams, NestingIsBoundedBeforeTheStackIs) {
  RegisterTestClasses();
  {
    TStringStream fits(NestedGadgets(TReader::MaxNesting));
    TTestRoot root(nullptr);
    ReadComponent(&fits, &root);
    EXPECT_EQ(root.ComponentCount(), TReader::MaxNesting);
  }
  for (int depth : {TReader::MaxNesting + 1, 60000}) {
    TStringStream deep(NestedGadgets(depth));
    TTestRoot root(nullptr);
    EXPECT_NE(MessageOf<EReadError>([&] { ReadComponent(&deep, &root); }).find("Nesting too deep"),
              std::string::npos);
    EXPECT_EQ(root.ComponentCount(), 0);
    EXPECT_EQ(LiveGadgets(), 0);
    // The text form of such a stream is refused the same way.
    EXPECT_THROW(ObjectBinaryToText(NestedGadgets(depth)), EReadError);
  }
  // Nested lists that are skipped rather than read.
  AnsiString lists = Written([](TWriter& w) {
    for (int i = 0; i < 60000; ++i) w.WriteListBegin();
  });
  TStringStream s(lists);
  TReader r(&s);
  EXPECT_THROW(r.SkipValue(), EReadError);
}

}  // namespace
