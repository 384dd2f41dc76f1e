#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/Streams.h"
#include "tests/platform/runtime/TestFolder.h"

namespace {

// ---------------------------------------------------------------- TList

class RecordingList : public TList {
 public:
  std::vector<std::pair<void*, TListNotification>> events;

 protected:
  void Notify(void* Ptr, TListNotification Action) override { events.emplace_back(Ptr, Action); }
};

TEST(TListTest, NotifiesAddedDeletedAndExtractedButNeverNull) {
  int a, b, c;
  RecordingList list;
  list.Add(&a);
  list.Add(nullptr);
  list.Insert(0, &b);
  list.Put(1, &c);  // replaces &a
  list.Extract(&b);
  list.Delete(0);  // &c
  list.Clear();    // the null left
  using E = std::pair<void*, TListNotification>;
  std::vector<E> expected{{&a, lnAdded}, {&b, lnAdded},     {&a, lnDeleted},
                          {&c, lnAdded}, {&b, lnExtracted}, {&c, lnDeleted}};
  EXPECT_EQ(list.events, expected);
  EXPECT_EQ(list.Count(), 0);
}

TEST(TListTest, IndexErrorsRaiseWithTheIndex) {
  int a;
  TList list;
  list.Add(&a);
  struct Case {
    std::function<void()> call;
    const char* message;
  };
  std::vector<Case> cases{
      {[&] { list.Get(1); }, "List index out of bounds (1)"},
      {[&] { list.Delete(-1); }, "List index out of bounds (-1)"},
      {[&] { list.Insert(2, &a); }, "List index out of bounds (2)"},
      {[&] { list.Exchange(0, 5); }, "List index out of bounds (5)"},
      {[&] { list.Move(0, 1); }, "List index out of bounds (1)"},
      {[&] { list.SetCount(-2); }, "List count out of bounds (-2)"},
      {[&] { list.SetCapacity(0); }, "List capacity out of bounds (0)"},
  };
  for (const Case& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message, c.message);
    }
  }
  EXPECT_EQ(list.Count(), 1);
}

TEST(TListTest, MovePackSortAndOwningObjectList) {
  int v[4] = {3, 1, 2, 0};
  TList list;
  for (int& x : v) list.Add(&x);
  list.Add(nullptr);
  list.Pack();
  list.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
  for (int i = 0; i < 4; ++i) EXPECT_EQ(*static_cast<int*>(list[i]), i);
  list.Move(0, 3);
  EXPECT_EQ(*static_cast<int*>(list.Last()), 0);

  static int destroyed = 0;
  struct Counted : TObject {
    ~Counted() override { destroyed++; }
  };
  {
    TObjectList owned;
    auto* kept = new Counted;
    owned.Add(new Counted);
    owned.Add(kept);
    owned.Add(new Counted);
    owned.Delete(0);
    EXPECT_EQ(owned.Extract(kept), kept);
    EXPECT_EQ(destroyed, 1);
    delete kept;
  }
  EXPECT_EQ(destroyed, 3);
}

// ---------------------------------------------------------------- sorted string lists

struct Tagged : TObject {
  explicit Tagged(int n) : n(n) {}
  int n;
};

TEST(TStringListTest, SortedWithDuplicatesPutsALaterEqualKeyFirst) {
  TStringList list;
  list.SetSorted(true);
  list.Duplicates = dupAccept;
  Tagged first(1), second(2), third(3), other(4);
  list.AddObject("b", &first);
  list.AddObject("a", &other);
  list.AddObject("B", &second);  // equal without regard to case
  list.AddObject("b", &third);
  EXPECT_EQ(Joined(list), "a|b|B|b");
  std::vector<int> order;
  for (int32_t i = 1; i < 4; ++i) order.push_back(static_cast<Tagged*>(list.Objects(i))->n);
  EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(list.IndexOf("B"), 1);  // the first of the equal keys

  // Keys all empty: each new entry goes to the front.
  TStringList pairs;
  pairs.SetSorted(true);
  pairs.Duplicates = dupAccept;
  pairs.AddObject("", &first);
  pairs.AddObject("", &second);
  pairs.AddObject("", &third);
  EXPECT_EQ(static_cast<Tagged*>(pairs.Objects(0))->n, 3);
  EXPECT_EQ(static_cast<Tagged*>(pairs.Objects(2))->n, 1);
}

TEST(TStringListTest, DuplicatesIgnoreAndErrorAndSortedRestrictions) {
  TStringList list;
  list.SetSorted(true);
  EXPECT_EQ(list.Add("x"), 0);
  EXPECT_EQ(list.Add("y"), 1);
  EXPECT_EQ(list.Add("X"), 0);  // ignored, index of the one present
  EXPECT_EQ(list.Count(), 2);
  list.Duplicates = dupError;
  EXPECT_THROW(list.Add("Y"), EStringListError);
  EXPECT_THROW(list.Insert(0, "a"), EStringListError);
  EXPECT_THROW(list.Put(0, "a"), EStringListError);
  EXPECT_THROW(list.Move(0, 1), EStringListError);
  EXPECT_EQ(Joined(list), "x|y");

  int32_t index;
  EXPECT_FALSE(list.Find("xa", index));
  EXPECT_EQ(index, 1);
  list.SetCaseSensitive(true);
  list.Duplicates = dupAccept;
  list.Add("X");
  EXPECT_NE(list.IndexOf("x"), list.IndexOf("X"));
}

TEST(TStringListTest, SortAndCustomSortWhenSwitchedOn) {
  TStringList list;
  list.SetCommaText("pear,Apple,fig,banana");
  list.CustomSort([](TStringList* l, int32_t a, int32_t b) {
    return int32_t(l->Get(a).size()) - int32_t(l->Get(b).size());
  });
  EXPECT_EQ(list[0], "fig");
  EXPECT_EQ(list[3], "banana");
  list.SetSorted(true);
  EXPECT_EQ(Joined(list), "Apple|banana|fig|pear");
}

// ---------------------------------------------------------------- text forms

TEST(TStringsTest, TextSplitsAtCrLfOrEitherAlone) {
  struct Case {
    const char* text;
    const char* lines;
    int count;
  };
  const Case cases[] = {
      {"", "", 0},
      {"a", "a", 1},
      {"a\r\nb\r\n", "a|b", 2},
      {"a\nb\rc", "a|b|c", 3},
      {"a\r\n\r\nb", "a||b", 3},
      {"a\r\rb", "a||b", 3},
      {"\n", "", 1},
      {"a\n\r", "a|", 2},  // LF then a lone CR: two line ends
  };
  TStringList list;
  for (const Case& c : cases) {
    list.SetText(c.text);
    EXPECT_EQ(Joined(list), c.lines) << c.text;
    EXPECT_EQ(list.Count(), c.count) << c.text;
  }
  list.SetText("x\ny");
  EXPECT_EQ(list.GetText(), "x\r\ny\r\n");
}

TEST(TStringsTest, CommaAndDelimitedText) {
  struct Case {
    const char* text;
    const char* lines;
    const char* written;
  };
  const Case cases[] = {
      {"a,b,c", "a|b|c", "a,b,c"},
      {"a b,c", "a|b|c", "a,b,c"},  // blanks split unquoted items
      {"\"a b\",\"say \"\"hi\"\"\"", "a b|say \"hi\"", "\"a b\",\"say \"\"hi\"\"\""},
      {"a,,b", "a||b", "a,,b"},
      {"a,", "a|", "a,"},
      {"  a  ,  b  ", "a|b", "a,b"},
      {"\"\"", "", "\"\""},
      {"\"open", "open", "open"},
  };
  TStringList list;
  for (const Case& c : cases) {
    list.SetCommaText(c.text);
    EXPECT_EQ(Joined(list), c.lines) << c.text;
    EXPECT_EQ(list.GetCommaText(), c.written) << c.text;
  }
  list.Delimiter = ';';
  list.QuoteChar = '\'';
  list.SetDelimitedText("x;'y;z'");
  EXPECT_EQ(Joined(list), "x|y;z");
  EXPECT_EQ(list.GetDelimitedText(), "x;'y;z'");
  EXPECT_EQ(list.GetCommaText(), "x,y;z");
}

TEST(TStringsTest, NamesAndValues) {
  TStringList list;
  list.SetText("Port=COM1\nBaud=9600\nplain\nEmpty=");
  EXPECT_EQ(list.Values("port"), "COM1");
  EXPECT_EQ(list.Names(1), "Baud");
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.ValueFromIndex(2), "");
  EXPECT_EQ(list.IndexOfName("EMPTY"), 3);
  list.SetValue("Baud", "19200");
  list.SetValue("Parity", "None");
  list.SetValue("Port", "");
  EXPECT_EQ(Joined(list), "Baud=19200|plain|Empty=|Parity=None");
}

// ---------------------------------------------------------------- notifications and copies

class UpdateList : public TStringList {
 public:
  std::vector<bool> states;

 protected:
  void SetUpdateState(bool Updating) override {
    states.push_back(Updating);
    TStringList::SetUpdateState(Updating);
  }
};

TEST(TStringListTest, OnChangeOncePerChangeOrOncePerUpdate) {
  UpdateList list;
  int changing = 0, changed = 0;
  list.OnChanging = TNotifyEvent::Lambda([&](TObject*) { changing++; });
  list.OnChange = TNotifyEvent::Lambda([&](TObject*) { changed++; });
  list.Add("a");
  list.Add("b");
  list.Exchange(0, 1);
  EXPECT_EQ(changing, 3);
  EXPECT_EQ(changed, 3);

  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("c");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changed, 3);
  list.EndUpdate();
  EXPECT_EQ(changing, 4);
  EXPECT_EQ(changed, 4);
  EXPECT_EQ(list.states, (std::vector<bool>{true, false}));

  list.SetText("x\ny\nz");  // a whole text is one change
  EXPECT_EQ(changed, 5);
  list.Clear();
  list.Clear();  // nothing to clear, nothing to tell
  EXPECT_EQ(changed, 6);
}

TEST(TStringListTest, AssignCopiesStringsObjectsAndSurvivesSelfAssignment) {
  Tagged t(7);
  TStringList source, copy;
  source.AddObject("one", &t);
  source.Add("two");
  copy.Add("old");
  copy.Assign(&source);
  EXPECT_EQ(Joined(copy), "one|two");
  EXPECT_EQ(copy.Objects(0), &t);
  EXPECT_TRUE(copy.Equals(&source));
  copy.Assign(&copy);
  EXPECT_EQ(Joined(copy), "one|two");
  copy.Put(1, "TWO");
  EXPECT_FALSE(copy.Equals(&source));  // case counts
  EXPECT_THROW(copy.Assign(nullptr), EConvertError);
}

TEST(TStringListTest, OwnedObjectsAreFreedWhenDeletedButNotWhenMoved) {
  static int destroyed = 0;
  struct Counted : TObject {
    ~Counted() override { destroyed++; }
  };
  {
    TStringList list(true);
    list.AddObject("a", new Counted);
    list.AddObject("b", new Counted);
    list.AddObject("c", new Counted);
    list.Move(0, 2);
    list.Exchange(0, 1);
    EXPECT_EQ(destroyed, 0);
    list.Delete(0);
    EXPECT_EQ(destroyed, 1);
  }
  EXPECT_EQ(destroyed, 3);
}

// ---------------------------------------------------------------- files and streams

TEST(TStringsTest, SaveToFileWritesCrLfAndReplacesTheFile) {
  TestFolder dir;
  AnsiString name = dir.Path("list.txt");
  {
    std::ofstream old(name, std::ios::binary);
    old << "a much longer old content that must not survive\n";
  }
  TStringList list;
  list.SetText("first\nsecond");
  list.SaveToFile(name);
  std::ifstream in(name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  EXPECT_EQ(bytes.str(), "first\r\nsecond\r\n");

  TStringList loaded;
  loaded.Add("kept");
  loaded.LoadFromFile(name);
  EXPECT_EQ(Joined(loaded), "first|second");
  EXPECT_THROW(loaded.LoadFromFile(dir.Path("missing.txt")), EFOpenError);
  EXPECT_EQ(Joined(loaded), "first|second");  // a failed load changes nothing

  TStringStream stream("skip\r\nline 1\nline 2");
  stream.SetPosition(6);
  loaded.LoadFromStream(&stream);
  EXPECT_EQ(Joined(loaded), "line 1|line 2");
}

}  // namespace
