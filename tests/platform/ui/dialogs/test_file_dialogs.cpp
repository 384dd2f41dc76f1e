// File dialogs: browsing a folder tree, filters, the chosen path by keys and mouse and through
// the responder, multiple selection, the overwrite prompt and bad input; the system's calls.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/display/Display.h"
#include "platform/runtime/Files.h"
#include "platform/ui/Dialogs.h"
#include "tests/platform/ui/edits/EditHarness.h"
#include "tests/support/TestOutput.h"

namespace dialogs_test {
namespace {

using namespace ui_test;
namespace fs = std::filesystem;

class FileDialogs : public UiTest {
 protected:
  std::string root_;
  void SetUp() override {
    UiTest::SetUp();
    root_ = (fs::temp_directory_path() / ("pl_dlg_" + std::to_string(::getpid()))).string();
    fs::remove_all(root_);
    for (const char* d : {"logs", "logs/old", "data"}) fs::create_directories(root_ + "/" + d);
    for (const char* f : {"a.csv", "b.csv", "notes.txt", "logs/run1.log", "logs/run2.log", "data/x.csv"})
      std::ofstream(root_ + "/" + f) << "x";
  }
  void TearDown() override {
    UiTest::TearDown();
    fs::remove_all(root_);
  }
  using TStep = std::function<void(TForm*)>;
  // Runs a dialog for real; each step drives its form from the idle loop, a few rounds after
  // the one before (steps inject input and leave the pumping to the modal loop).
  bool RunWith(TCommonDialog* d, std::vector<TStep> steps) {
    dialogAnswer_ = [](TObject*) { return mrNone; };
    int rounds = 0;
    size_t next = 0;
    Application->OnIdle = TIdleEvent::Lambda([&](TObject*, bool& done) {
      done = false;
      ++rounds;
      if (next < steps.size() && rounds % 4 == 0 && d->RunningForm()) steps[next++](d->RunningForm());
      // Whatever is still open at the end is cancelled (message boxes first).
      if (rounds > 200 + 4 * int(steps.size())) {
        if (TCustomForm* top = Screen->ActiveCustomForm()) top->SetModalResult(mrCancel);
      }
    });
    bool r = d->Execute();
    Application->OnIdle = nullptr;
    dialogAnswer_ = nullptr;
    return r;
  }
  static void Tap(UINT vk) {
    InputKey(vk, true);
    InputKey(vk, false);
  }
  static void TypeRaw(const std::string& text) {
    for (char c : text) Tap(UINT(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
  }
  static void ClickRaw(TPoint p) {
    InputMouseMove(p);
    InputMouseButton(VK_LBUTTON, true, p);
    InputMouseButton(VK_LBUTTON, false, p);
  }
  static TPoint ItemAt(TForm* f, int i) {
    auto* list = static_cast<TListBox*>(f->FindComponent("FileList"));
    TRect r = list->ItemRect(i);
    return list->ClientToScreen({r.Left + 5, r.Top + 3});
  }
  static std::vector<std::string> Listed(TForm* f) {
    auto* list = static_cast<TListBox*>(f->FindComponent("FileList"));
    std::vector<std::string> out;
    for (int i = 0; i < list->Count(); ++i) out.push_back(list->GetItems()->Strings(i));
    return out;
  }
};

TEST_F(FileDialogs, KeysAndMouseBrowseFilterAndChooseAFile) {
  TOpenDialog d(nullptr);
  d.SetFilter("Logs (*.log)|*.log|Tables (*.csv;*.txt)|*.csv;*.txt");
  d.SetFilterIndex(2);
  d.SetInitialDir(root_);
  d.SetOptions({ofFileMustExist, ofPathMustExist});
  std::vector<std::string> top, inLogs;
  bool shot = false;
  bool ok = RunWith(&d, {[&](TForm* f) {
                           top = Listed(f);
                           // Into "logs" by a double click on it.
                           auto* list = static_cast<TListBox*>(f->FindComponent("FileList"));
                           TPoint p = ItemAt(f, list->GetItems()->IndexOf("logs/"));
                           ClickRaw(p);
                           ClickRaw(p);
                         },
                         [&](TForm* f) {
                           // The filter by keys: up to "Logs" in the filter combo.
                           static_cast<TComboBox*>(f->FindComponent("FilterCombo"))->SetFocus();
                           Tap(VK_UP);
                         },
                         [&](TForm* f) {
                           inLogs = Listed(f);
                           shot = SaveWindowPng(f->Handle(), OutputPath("ui-open-dialog.png"));
                           static_cast<TEdit*>(f->FindComponent("NameEdit"))->SetFocus();
                           TypeRaw("run2");
                           Tap(VK_RETURN);
                         }});
  EXPECT_EQ(top, (std::vector<std::string>{"../", "data/", "logs/", "a.csv", "b.csv", "notes.txt"}));
  EXPECT_EQ(inLogs, (std::vector<std::string>{"../", "old/", "run1.log", "run2.log"}));
  EXPECT_TRUE(shot);
  ASSERT_FALSE(ok) << "run2 has no extension and there is no default one: not found";
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].Text.find("File not found"), AnsiString::npos);

  d.SetDefaultExt("log");
  d.SetFileName("");
  boxes_.clear();
  ok = RunWith(&d, {[&](TForm* f) {
                      static_cast<TListBox*>(f->FindComponent("FileList"))->SetFocus();
                      TypeRaw("l");    // type-ahead to "logs/"
                      Tap(VK_RETURN);  // Enter on a folder opens it
                    },
                    [&](TForm*) {
                      Tap(VK_END);  // run2.log, which the name edit follows
                      Tap(VK_RETURN);
                    }});
  ASSERT_TRUE(ok);
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(d.GetFileName(), root_ + "/logs/run2.log");
  EXPECT_EQ(d.GetFilterIndex(), 1);
  EXPECT_EQ(d.GetFiles()->Count(), 1);
}

TEST_F(FileDialogs, TheResponderAnswersAndItsChoiceIsCheckedLikeTheUsers) {
  TOpenDialog d(nullptr);
  d.SetInitialDir(root_);
  d.SetOptions({ofFileMustExist});
  TObject* seen = nullptr;
  dialogAnswer_ = [&](TObject* dlg) {
    seen = dlg;
    static_cast<TOpenDialog*>(dlg)->SetFileName("notes.txt");
    return mrOk;
  };
  ASSERT_TRUE(d.Execute());
  EXPECT_EQ(seen, &d);
  EXPECT_EQ(d.GetFileName(), root_ + "/notes.txt") << "relative to the start folder";
  dialogAnswer_ = [&](TObject* dlg) {
    static_cast<TOpenDialog*>(dlg)->SetFileName("missing.txt");
    return mrOk;
  };
  EXPECT_FALSE(d.Execute());
  ASSERT_EQ(boxes_.size(), 1u);
  dialogAnswer_ = [&](TObject*) { return mrCancel; };
  EXPECT_FALSE(d.Execute());
  // Multiple selection: the files set by the responder, all of them checked.
  d.SetOptions({ofAllowMultiSelect, ofFileMustExist});
  dialogAnswer_ = [&](TObject* dlg) {
    auto* o = static_cast<TOpenDialog*>(dlg);
    o->GetFiles()->Clear();
    o->GetFiles()->Add("a.csv");
    o->GetFiles()->Add(root_ + "/b.csv");
    return mrOk;
  };
  ASSERT_TRUE(d.Execute());
  EXPECT_EQ(d.GetFiles()->Count(), 2);
  EXPECT_EQ(d.GetFiles()->Strings(1), root_ + "/b.csv");
  EXPECT_EQ(d.GetFileName(), root_ + "/a.csv");
}

TEST_F(FileDialogs, MultipleSelectionByMouseAndTheOverwritePrompt) {
  TOpenDialog d(nullptr);
  d.SetInitialDir(root_);
  d.SetFilter("CSV|*.csv");
  d.SetOptions({ofAllowMultiSelect});
  std::string typed;
  ASSERT_TRUE(RunWith(&d, {[&](TForm* f) { ClickRaw(ItemAt(f, 3)); },
                           [&](TForm* f) {
                             InputKey(VK_CONTROL, true);
                             ClickRaw(ItemAt(f, 4));
                             InputKey(VK_CONTROL, false);
                           },
                           [&](TForm* f) {
                             typed = static_cast<TEdit*>(f->FindComponent("NameEdit"))->GetText();
                             static_cast<TButton*>(f->FindComponent("OkButton"))->Click();
                           }}));
  EXPECT_EQ(typed, "\"a.csv\" \"b.csv\"");
  ASSERT_EQ(d.GetFiles()->Count(), 2);
  EXPECT_EQ(d.GetFiles()->Strings(1), root_ + "/b.csv");

  TSaveDialog s(nullptr);
  s.SetInitialDir(root_);
  s.SetDefaultExt("csv");
  s.SetOptions({ofOverwritePrompt});
  dialogAnswer_ = [&](TObject* dlg) {
    static_cast<TSaveDialog*>(dlg)->SetFileName("a");
    return mrOk;
  };
  answer_ = mrNo;
  EXPECT_FALSE(s.Execute()) << "the user keeps the file";
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].Text.find("already exists"), AnsiString::npos);
  answer_ = mrYes;
  EXPECT_TRUE(s.Execute());
  EXPECT_EQ(s.GetFileName(), root_ + "/a.csv");
  dialogAnswer_ = [&](TObject* dlg) {
    static_cast<TSaveDialog*>(dlg)->SetFileName("fresh");
    return mrOk;
  };
  EXPECT_TRUE(s.Execute());
  EXPECT_EQ(boxes_.size(), 2u) << "a new file needs no question";
}

TEST_F(FileDialogs, BadFiltersAndMissingFoldersBreakNothing) {
  TOpenDialog d(nullptr);
  for (const char* f : {"Text files", "A|*.txt|B", "|", "||||", "Only|  "}) {
    d.SetFilter(f);
    auto entries = d.FilterEntries();
    for (const auto& e : entries) EXPECT_FALSE(e.Patterns.empty()) << f;
  }
  d.SetFilter("A|*.txt|B");
  EXPECT_EQ(d.FilterEntries().size(), 1u) << "the description without a pattern is left out";
  d.SetInitialDir(root_ + "/nowhere");
  EXPECT_EQ(d.StartFolder(), GetCurrentDir());
  std::vector<std::string> listed;
  d.SetInitialDir(root_ + "/nowhere");
  d.SetFilter("Text files");
  EXPECT_FALSE(RunWith(&d, {[&](TForm* f) {
    listed = Listed(f);
    f->SetModalResult(mrCancel);
  }}));
  EXPECT_FALSE(listed.empty()) << "the current folder is shown";
}

TEST_F(FileDialogs, TheSystemCallsFillTheirRecords) {
  char buf[64] = {};
  OPENFILENAMEA ofn;
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400;
  ofn.lpstrFilter = "Logs\0*.log\0All\0*.*\0";
  ofn.nFilterIndex = 2;
  ofn.lpstrFile = buf;
  ofn.nMaxFile = sizeof buf;
  std::string initial = root_ + "/logs";
  ofn.lpstrInitialDir = initial.c_str();
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST;
  TOpenDialog* seen = nullptr;
  dialogAnswer_ = [&](TObject* dlg) {
    seen = static_cast<TOpenDialog*>(dlg);
    EXPECT_EQ(seen->GetFilter(), "Logs|*.log|All|*.*");
    EXPECT_EQ(seen->GetFilterIndex(), 2);
    seen->GetFiles()->Add("run1.log");
    seen->GetFiles()->Add("run2.log");
    return mrOk;
  };
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  std::string dir(buf), first(buf + dir.size() + 1), second(buf + dir.size() + 1 + first.size() + 1);
  EXPECT_EQ(dir, root_ + "/logs");
  EXPECT_EQ(first, "run1.log");
  EXPECT_EQ(second, "run2.log");
  EXPECT_EQ(buf[dir.size() + first.size() + second.size() + 3], 0) << "two NULs end the list";
  EXPECT_EQ(ofn.nFileOffset, dir.size() + 1);

  char tiny[8] = {};
  ofn.lpstrFile = tiny;
  ofn.nMaxFile = sizeof tiny;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
  ofn.lStructSize = 12;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
  dialogAnswer_ = [&](TObject*) { return mrCancel; };
  ofn.lStructSize = sizeof ofn;
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u) << "a cancel is no error";
}

}  // namespace
}  // namespace dialogs_test
