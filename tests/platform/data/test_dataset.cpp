// The data-set model on a bare TDataSet (records in memory): cursor, editing, events,
// bookmarks, field kinds, data sources and data links.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "platform/data/DB.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/Streams.h"

namespace {

// A data set with one field of each common kind, holding the names given, in order.
struct Fixture {
  TDataSet ds{nullptr};
  explicit Fixture(std::initializer_list<const char*> names = {}) {
    TFieldDefs* defs = ds.GetFieldDefs();
    defs->Add("Name", ftString, 5);
    defs->Add("Count", ftInteger);
    defs->Add("Price", ftFloat);
    defs->Add("Flag", ftBoolean);
    defs->Add("When", ftDateTime);
    defs->Add("Notes", ftMemo);
    ds.Open();
    for (const char* n : names) {
      ds.Append();
      ds.FieldByName("Name")->SetAsString(n);
      ds.Post();
    }
    ds.First();
  }
  AnsiString Name() { return ds.FieldByName("Name")->GetAsString(); }
  std::vector<AnsiString> Walk() {
    std::vector<AnsiString> seen;
    for (ds.First(); !ds.GetEof(); ds.Next()) seen.push_back(Name());
    return seen;
  }
};

template <class E, class F>
std::string MessageOf(F f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message;
  }
  return "(no exception)";
}

}  // namespace

TEST(DataSetCursor, MovesAndEndsFollowTheFrameworkRules) {
  Fixture fx{"A", "B", "C"};
  struct Step {
    const char* what;
    std::function<int32_t(TDataSet&)> move;
    int32_t moved, recNo;
    bool bof, eof;
    const char* name;
  };
  const Step steps[] = {
      {"open", [](TDataSet&) { return 0; }, 0, 1, true, false, "A"},
      {"next", [](TDataSet& d) { return d.MoveBy(1); }, 1, 2, false, false, "B"},
      {"next", [](TDataSet& d) { return d.MoveBy(1); }, 1, 3, false, false, "C"},
      {"next past the end", [](TDataSet& d) { return d.MoveBy(1); }, 0, 3, false, true, "C"},
      {"next at eof", [](TDataSet& d) { return d.MoveBy(1); }, 0, 3, false, true, "C"},
      {"prior after eof", [](TDataSet& d) { return d.MoveBy(-1); }, -1, 2, false, false, "B"},
      {"first", [](TDataSet& d) { return d.First(), 0; }, 0, 1, true, false, "A"},
      {"prior at bof", [](TDataSet& d) { return d.MoveBy(-1); }, 0, 1, true, false, "A"},
      {"last", [](TDataSet& d) { return d.Last(), 0; }, 0, 3, false, true, "C"},
      {"move back too far", [](TDataSet& d) { return d.MoveBy(-5); }, -2, 1, true, false, "A"},
      {"move on too far", [](TDataSet& d) { return d.MoveBy(5); }, 2, 3, false, true, "C"},
      {"recno", [](TDataSet& d) { return d.SetRecNo(2), 0; }, 0, 2, false, false, "B"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    EXPECT_EQ(s.move(fx.ds), s.moved);
    EXPECT_EQ(fx.ds.GetRecNo(), s.recNo);
    EXPECT_EQ(fx.ds.GetBof(), s.bof);
    EXPECT_EQ(fx.ds.GetEof(), s.eof);
    EXPECT_EQ(fx.Name(), s.name);
  }
  EXPECT_EQ(fx.Walk(), (std::vector<AnsiString>{"A", "B", "C"}));
  EXPECT_EQ(fx.ds.GetRecordCount(), 3);
}

TEST(DataSetCursor, EmptySetIsAtBothEndsWithNullFields) {
  Fixture fx;
  fx.ds.First();
  EXPECT_TRUE(fx.ds.GetEof());
  EXPECT_TRUE(fx.ds.GetBof());
  EXPECT_TRUE(fx.ds.IsEmpty());
  EXPECT_EQ(fx.ds.GetRecordCount(), 0);
  EXPECT_EQ(fx.ds.GetRecNo(), 0);
  EXPECT_TRUE(fx.Walk().empty());
  EXPECT_TRUE(fx.ds.FieldByName("Count")->GetIsNull());
  EXPECT_EQ(fx.Name(), "");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { fx.ds.Delete(); }),
            "Cannot perform this operation on an empty dataset");
}

TEST(DataSetCursor, ClosedSetRefusesCursorWork) {
  TDataSet ds(nullptr);
  ds.SetName("Table1");
  EXPECT_EQ(ds.GetRecNo(), -1);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { ds.First(); }),
            "Table1: Cannot perform this operation on a closed dataset");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { ds.Append(); }),
            "Table1: Cannot perform this operation on a closed dataset");
}

TEST(DataSetEditing, AppendInsertEditDeleteAndCancel) {
  Fixture fx{"A", "C"};
  fx.ds.Last();
  fx.ds.Insert();  // before the current record
  EXPECT_EQ(fx.ds.GetState(), dsInsert);
  fx.ds.FieldByName("Name")->SetAsString("B");
  fx.ds.Post();
  EXPECT_EQ(fx.Name(), "B");
  EXPECT_EQ(fx.ds.GetRecNo(), 2);
  EXPECT_EQ(fx.Walk(), (std::vector<AnsiString>{"A", "B", "C"}));

  fx.ds.SetRecNo(2);
  fx.ds.Edit();
  fx.ds.FieldByName("Name")->SetAsString("b2");
  fx.ds.Cancel();
  EXPECT_EQ(fx.Name(), "B");

  fx.ds.Append();
  fx.ds.FieldByName("Name")->SetAsString("D");
  fx.ds.Cancel();  // an unposted record leaves no trace
  EXPECT_EQ(fx.ds.GetRecordCount(), 3);

  fx.ds.SetRecNo(2);
  fx.ds.Delete();  // the next record becomes current
  EXPECT_EQ(fx.Name(), "C");
  fx.ds.Delete();  // deleting the last one steps back
  EXPECT_EQ(fx.Name(), "A");
  EXPECT_EQ(fx.ds.GetRecordCount(), 1);
}

TEST(DataSetEditing, ScrollingPostsAModifiedRecordAndDropsAnUntouchedOne) {
  Fixture fx{"A"};
  fx.ds.Append();
  fx.ds.First();
  EXPECT_EQ(fx.ds.GetRecordCount(), 1);
  fx.ds.Append();
  fx.ds.FieldByName("Name")->SetAsString("B");
  fx.ds.First();
  EXPECT_EQ(fx.ds.GetState(), dsBrowse);
  EXPECT_EQ(fx.Walk(), (std::vector<AnsiString>{"A", "B"}));
}

TEST(DataSetEditing, RefusalsLeaveTheRecordAsItWas) {
  Fixture fx{"A"};
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { fx.ds.FieldByName("Name")->SetAsString("x"); }),
            "Dataset not in edit or insert mode");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { fx.ds.Post(); }), "Dataset not in edit or insert mode");

  fx.ds.FieldByName("Count")->SetRequired(true);
  fx.ds.Append();
  fx.ds.FieldByName("Name")->SetAsString("B");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { fx.ds.Post(); }), "Field 'Count' must have a value");
  EXPECT_EQ(fx.ds.GetState(), dsInsert);
  EXPECT_EQ(fx.Name(), "B");
  fx.ds.FieldByName("Count")->SetAsInteger(1);
  fx.ds.Post();

  // A BeforePost handler that aborts keeps the edit.
  fx.ds.BeforePost = TDataSetNotifyEvent::Lambda([](TDataSet*) { throw EAbort("stop"); });
  fx.ds.Edit();
  fx.ds.FieldByName("Name")->SetAsString("C");
  EXPECT_THROW(fx.ds.Post(), EAbort);
  EXPECT_EQ(fx.ds.GetState(), dsEdit);
  fx.ds.Cancel();
  EXPECT_EQ(fx.Walk(), (std::vector<AnsiString>{"A", "B"}));
}

TEST(DataSetEvents, HandlersRunInTheFrameworkOrder) {
  TDataSet ds(nullptr);
  ds.GetFieldDefs()->Add("Name", ftString, 10);
  std::vector<std::string> log;
  auto record = [&](const char* what) {
    return TDataSetNotifyEvent::Lambda([&log, what](TDataSet*) { log.push_back(what); });
  };
  using Hook = TDataSetNotifyEvent TDataSet::*;
  const std::pair<Hook, const char*> hooks[] = {
      {&TDataSet::BeforeOpen, "BeforeOpen"},     {&TDataSet::AfterOpen, "AfterOpen"},
      {&TDataSet::BeforeClose, "BeforeClose"},   {&TDataSet::AfterClose, "AfterClose"},
      {&TDataSet::BeforeInsert, "BeforeInsert"}, {&TDataSet::AfterInsert, "AfterInsert"},
      {&TDataSet::BeforePost, "BeforePost"},     {&TDataSet::AfterPost, "AfterPost"},
      {&TDataSet::BeforeScroll, "BeforeScroll"}, {&TDataSet::AfterScroll, "AfterScroll"},
      {&TDataSet::BeforeDelete, "BeforeDelete"}, {&TDataSet::AfterDelete, "AfterDelete"}};
  for (const auto& [hook, name] : hooks) ds.*hook = record(name);
  ds.OnNewRecord = TDataSetNotifyEvent::Lambda([&](TDataSet* d) {
    log.push_back("OnNewRecord");
    d->FieldByName("Name")->SetAsString("default");
  });

  ds.Open();
  ds.Append();
  EXPECT_EQ(ds.FieldByName("Name")->GetAsString(), "default");
  ds.FieldByName("Name")->SetAsString("x");
  ds.Post();
  ds.Next();
  ds.Delete();
  ds.Close();
  EXPECT_EQ(log, (std::vector<std::string>{
                     "BeforeOpen", "AfterOpen", "BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert",
                     "AfterScroll", "BeforePost", "AfterPost", "BeforeScroll", "AfterScroll", "BeforeDelete",
                     "BeforeScroll", "AfterDelete", "AfterScroll", "BeforeClose", "AfterClose"}));
}

TEST(DataSetBookmarks, FindRecordsAcrossInsertsAndKnowDeletedOnes) {
  Fixture fx{"A", "B", "C"};
  fx.ds.SetRecNo(2);
  TBookmark b = fx.ds.GetBookmark();
  fx.ds.First();
  TBookmark a = fx.ds.GetBookmark();
  fx.ds.Insert();  // shifts B by one position
  fx.ds.FieldByName("Name")->SetAsString("0");
  fx.ds.Post();
  fx.ds.GotoBookmark(b);
  EXPECT_EQ(fx.Name(), "B");
  EXPECT_FALSE(fx.ds.GetEof());
  EXPECT_EQ(fx.ds.CompareBookmarks(a, b), -1);
  EXPECT_EQ(fx.ds.CompareBookmarks(b, a), 1);
  EXPECT_EQ(fx.ds.CompareBookmarks(b, fx.ds.GetBookmark()), 0);
  TBookmark none;
  EXPECT_EQ(fx.ds.CompareBookmarks(none, nullptr), 0);
  EXPECT_EQ(fx.ds.CompareBookmarks(none, a), -1);

  fx.ds.Delete();
  EXPECT_FALSE(fx.ds.BookmarkValid(b));
  EXPECT_TRUE(fx.ds.BookmarkValid(a));
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { fx.ds.GotoBookmark(b); }), "Record not found");
  fx.ds.FreeBookmark(a);
  EXPECT_TRUE(a == nullptr);
}

TEST(DataSetFields, LookupIsCaseInsensitiveAndMissingNamesAreReported) {
  Fixture fx{"A"};
  EXPECT_EQ(fx.ds.FieldByName("NAME"), fx.ds.FieldByName("name"));
  EXPECT_EQ(fx.ds.FindField("nope"), nullptr);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { fx.ds.FieldByName("Nope"); }), "Field 'Nope' not found");
  fx.ds.SetName("Table1");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { fx.ds.FieldByName("Nope"); }), "Table1: Field 'Nope' not found");
  TStringList names;
  fx.ds.GetFieldNames(&names);
  EXPECT_EQ(names.GetCommaText(), "Name,Count,Price,Flag,When,Notes");
  TField* f = fx.ds.FieldByName("Count");
  EXPECT_EQ(f->GetDataType(), ftInteger);
  EXPECT_EQ(f->GetFieldNo(), 2);
  EXPECT_EQ(fx.ds.FieldByName("Name")->GetSize(), 5);
}

// Each row: a field, what is written to it and how, and what reads back (or the error).
TEST(DataSetFields, ConversionsByKind) {
  Fixture fx{"A"};
  struct Case {
    const char* field;
    std::function<void(TField*)> write;
    const char* asString;  // nullptr: the write must raise
    const char* error;
  };
  const Case cases[] = {
      {"Name", [](TField* f) { f->SetAsString("abcdefgh"); }, "abcde", ""},  // cut to Size
      {"Name", [](TField* f) { f->SetAsInteger(42); }, "42", ""},
      {"Name", [](TField* f) { f->SetAsInteger(123456); }, nullptr,
       "Value '123456' does not fit field 'Name' of size 5"},
      {"Name", [](TField* f) { f->SetAsBoolean(true); }, "T", ""},
      {"Count", [](TField* f) { f->SetAsString(" 12 "); }, "12", ""},
      {"Count", [](TField* f) { f->SetAsString(""); }, "", ""},
      {"Count", [](TField* f) { f->SetAsFloat(2.5); }, "2", ""},
      {"Count", [](TField* f) { f->SetAsFloat(3.5); }, "4", ""},
      {"Count", [](TField* f) { f->SetAsLargeInt(int64_t(1) << 40); }, nullptr,
       "1099511627776 is not a valid value for field 'Count'. The allowed range is -2147483648 to "
       "2147483647"},
      {"Count", [](TField* f) { f->SetAsString("1a"); }, nullptr, "'1a' is not a valid integer value"},
      {"Count", [](TField* f) { f->SetAsBoolean(true); }, nullptr,
       "Cannot access field 'Count' as type Boolean"},
      {"Price", [](TField* f) { f->SetAsString("1.5"); }, "1.5", ""},
      {"Price", [](TField* f) { f->SetAsInteger(7); }, "7", ""},
      {"Price", [](TField* f) { f->SetAsFloat(0.1 + 0.2); }, "0.3", ""},
      {"Flag", [](TField* f) { f->SetAsString("yes"); }, "True", ""},
      {"Flag", [](TField* f) { f->SetAsString("F"); }, "False", ""},
      {"Flag", [](TField* f) { f->SetAsString("maybe"); }, nullptr,
       "'maybe' is not a valid boolean value for field 'Flag'"},
      {"When", [](TField* f) { f->SetAsDateTime(EncodeDate(2024, 3, 1) + EncodeTime(13, 5, 0, 0)); },
       "3/1/2024 1:05:00 PM", ""},
      {"Notes", [](TField* f) { f->SetAsString(std::string("two\r\nlines")); }, "two\r\nlines", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " -> " + (c.asString ? c.asString : c.error));
    fx.ds.Edit();
    TField* f = fx.ds.FieldByName(c.field);
    f->Clear();
    if (c.asString) {
      c.write(f);
      EXPECT_EQ(f->GetAsString(), c.asString);
    } else {
      try {
        c.write(f);
        ADD_FAILURE() << "no exception";
      } catch (const Exception& e) {
        EXPECT_EQ(e.Message, c.error);
      }
      EXPECT_TRUE(f->GetIsNull());  // a refused value is not stored
    }
    fx.ds.Post();
    EXPECT_EQ(f->GetAsString(), c.asString ? c.asString : "");
  }
}

TEST(DataSetFields, NarrowIntegersAndFloatsGuardTheirRange) {
  TDataSet ds(nullptr);
  ds.GetFieldDefs()->Add("S", ftSmallint);
  ds.GetFieldDefs()->Add("W", ftWord);
  ds.GetFieldDefs()->Add("L", ftLargeint);
  ds.GetFieldDefs()->Add("F", ftFloat);
  ds.Open();
  ds.Append();
  EXPECT_THROW(ds.FieldByName("S")->SetAsInteger(40000), ERangeError);
  EXPECT_THROW(ds.FieldByName("W")->SetAsInteger(-1), ERangeError);
  ds.FieldByName("L")->SetAsLargeInt(int64_t(1) << 40);
  EXPECT_THROW(ds.FieldByName("L")->GetAsInteger(), ERangeError);
  EXPECT_THROW(ds.FieldByName("F")->SetAsFloat(std::nan("")), EDatabaseError);
  ds.FieldByName("F")->SetAsFloat(1e300);
  EXPECT_THROW(ds.FieldByName("F")->GetAsInteger(), ERangeError);
}

TEST(DataSetFields, ValuesAsVariants) {
  Fixture fx{"A"};
  fx.ds.Edit();
  TField* count = fx.ds.FieldByName("Count");
  EXPECT_TRUE(VarIsNull(count->GetValue()));
  count->SetValue(Variant(12.0));
  EXPECT_EQ(VarType(count->GetValue()), varInteger);
  EXPECT_EQ(count->GetValue().AsInteger(), 12);
  count->SetValue(Null());
  EXPECT_TRUE(count->GetIsNull());
  fx.ds.FieldByName("Flag")->SetValue(Variant("True"));
  EXPECT_EQ(VarType(fx.ds.FieldByName("Flag")->GetValue()), varBoolean);
  fx.ds.FieldByName("When")->SetValue(Variant::FromDate(45000.5));
  EXPECT_EQ(VarType(fx.ds.FieldByName("When")->GetValue()), varDate);
  EXPECT_EQ(VarType(fx.ds.FieldByName("Name")->GetValue()), varString);
  // Field to field assignment copies the value.
  fx.ds.FieldByName("Price")->Assign(count);
  EXPECT_TRUE(fx.ds.FieldByName("Price")->GetIsNull());
  count->SetAsInteger(3);
  fx.ds.FieldByName("Price")->Assign(count);
  EXPECT_EQ(fx.ds.FieldByName("Price")->GetAsFloat(), 3.0);
}

TEST(DataSetFields, DisplayTextOfBlobsAndTextHandlers) {
  Fixture fx{"A"};
  TField* notes = fx.ds.FieldByName("Notes");
  EXPECT_EQ(notes->GetDisplayText(), "(memo)");
  fx.ds.Edit();
  notes->SetAsString("hello");
  EXPECT_EQ(notes->GetDisplayText(), "(MEMO)");
  EXPECT_EQ(notes->GetText(), "hello");
  TField* name = fx.ds.FieldByName("Name");
  std::vector<bool> flags;
  name->OnGetText = TFieldGetTextEvent::Lambda([&](TField* f, AnsiString& text, bool displayText) {
    flags.push_back(displayText);
    text = "<" + f->GetAsString() + ">";
  });
  EXPECT_EQ(name->GetDisplayText(), "<A>");
  EXPECT_EQ(name->GetText(), "<A>");
  EXPECT_EQ(flags, (std::vector<bool>{true, false}));
}

TEST(DataSetFields, BlobStreamsAndAssignment) {
  TDataSet ds(nullptr);
  ds.GetFieldDefs()->Add("B", ftBlob);
  ds.GetFieldDefs()->Add("G", ftGraphic);
  ds.Open();
  ds.Append();
  auto* blob = dynamic_cast<TBlobField*>(ds.FieldByName("B"));
  ASSERT_NE(blob, nullptr);
  const std::string bytes("a\0b\r\nc", 6);
  TStringStream in(bytes);
  blob->LoadFromStream(&in);
  EXPECT_EQ(blob->GetBlobSize(), 6);
  TMemoryStream out;
  blob->SaveToStream(&out);
  EXPECT_EQ(out.GetSize(), 6);
  EXPECT_EQ(std::string(static_cast<const char*>(out.Memory()), 6), bytes);
  EXPECT_EQ(blob->GetDisplayText(), "(BLOB)");
  EXPECT_EQ(ds.FieldByName("G")->GetDisplayText(), "(graphic)");

  blob->SetAsString("one\r\ntwo");
  TStringList lines;
  lines.Assign(blob);
  EXPECT_EQ(lines.GetCount(), 2);
  EXPECT_EQ(lines[1], "two");
  // A class nothing handles keeps the framework's refusal.
  TFieldDefs other(nullptr);
  EXPECT_THROW(other.Assign(blob), EConvertError);
}

// --- data sources and links -------------------------------------------------------------------

namespace {

class RecordingLink : public TDataLink {
 public:
  std::vector<std::string> log;

 protected:
  void ActiveChanged() override { log.push_back(GetActive() ? "active" : "inactive"); }
  void EditingChanged() override { log.push_back(GetEditing() ? "editing" : "browsing"); }
  void LayoutChanged() override { log.push_back("layout"); }
  void DataSetChanged() override { log.push_back("changed"); }
  void DataSetScrolled(int32_t distance) override { log.push_back("scrolled " + std::to_string(distance)); }
  void RecordChanged(TField* f) override {
    log.push_back("record " + (f ? f->GetFieldName() : AnsiString("-")));
  }
  void UpdateData() override { log.push_back("update"); }
};

// A data source over ds with one recording link.
struct Linked {
  TDataSource src{nullptr};
  RecordingLink link;
  explicit Linked(TDataSet& ds) {
    link.SetDataSource(&src);
    src.SetDataSet(&ds);
    link.log.clear();
  }
};

}  // namespace

TEST(DataLinks, FollowTheDataSet) {
  Fixture fx{"A", "B"};
  TDataSource src(nullptr);
  std::vector<std::string> sourceLog;
  src.OnStateChange =
      TNotifyEvent::Lambda([&](TObject*) { sourceLog.push_back("state " + std::to_string(src.GetState())); });
  src.OnDataChange =
      TDataChangeEvent::Lambda([&](TObject*, TField* f) { sourceLog.push_back(f ? "data field" : "data"); });
  RecordingLink link;
  link.SetDataSource(&src);
  src.SetDataSet(&fx.ds);
  fx.ds.Next();
  fx.ds.Edit();
  fx.ds.FieldByName("Name")->SetAsString("b");
  fx.ds.Post();
  fx.ds.Close();
  EXPECT_EQ(link.log, (std::vector<std::string>{"active", "scrolled 1", "editing", "record -", "record Name",
                                                "update", "browsing", "changed", "inactive"}));
  EXPECT_EQ(sourceLog, (std::vector<std::string>{"state 1", "data", "state 2", "data", "data field",
                                                 "state 1", "data", "state 0"}));
  // Opening tells links the fields are new.
  link.log.clear();
  fx.ds.Open();
  EXPECT_EQ(link.log, (std::vector<std::string>{"active", "layout"}));
}

TEST(DataLinks, DisabledControlsHearOnceAfterwards) {
  Fixture fx{"A", "B", "C"};
  Linked linked(fx.ds);
  TDataSource& src = linked.src;
  RecordingLink& link = linked.link;

  fx.ds.DisableControls();
  fx.ds.DisableControls();
  EXPECT_TRUE(fx.ds.ControlsDisabled());
  EXPECT_EQ(fx.Walk().size(), 3u);
  fx.ds.Append();
  fx.ds.FieldByName("Name")->SetAsString("D");
  fx.ds.Post();
  fx.ds.EnableControls();
  EXPECT_TRUE(link.log.empty());
  fx.ds.EnableControls();
  EXPECT_FALSE(fx.ds.ControlsDisabled());
  EXPECT_EQ(link.log, (std::vector<std::string>{"changed"}));

  src.SetEnabled(false);
  EXPECT_FALSE(link.GetActive());
  fx.ds.First();
  EXPECT_EQ(link.log.back(), "inactive");
  src.SetEnabled(true);
  EXPECT_TRUE(link.GetActive());
}

TEST(DataLinks, ReadAnyRowWithoutMovingTheCursor) {
  Fixture fx{"A", "B", "C"};
  Linked linked(fx.ds);
  RecordingLink& link = linked.link;
  fx.ds.SetRecNo(2);
  EXPECT_EQ(link.GetRecordCount(), 3);
  EXPECT_EQ(link.GetActiveRecord(), 1);
  link.SetActiveRecord(2);
  EXPECT_EQ(fx.Name(), "C");
  EXPECT_EQ(fx.ds.GetRecNo(), 2);
  link.SetActiveRecord(1);  // back to the current record
  EXPECT_EQ(fx.Name(), "B");
  // While inserting, the new row has its place among the others.
  fx.ds.Insert();
  fx.ds.FieldByName("Name")->SetAsString("new");
  EXPECT_EQ(link.GetRecordCount(), 4);
  link.SetActiveRecord(2);
  EXPECT_EQ(fx.Name(), "B");
  link.SetActiveRecord(1);
  EXPECT_EQ(fx.Name(), "new");
  EXPECT_THROW(link.SetActiveRecord(4), EDatabaseError);
}

TEST(DataLinks, FreeingEitherEndLeavesNoDanglingReference) {
  TDataSource src(nullptr);
  RecordingLink link;
  link.SetDataSource(&src);
  {
    Fixture fx{"A"};
    src.SetDataSet(&fx.ds);
    EXPECT_TRUE(link.GetActive());
  }
  EXPECT_EQ(src.GetDataSet(), nullptr);
  EXPECT_FALSE(link.GetActive());
  {
    TDataSource temp(nullptr);
    link.SetDataSource(&temp);
  }
  EXPECT_EQ(link.GetDataSource(), nullptr);
}
