// A plot on the headless display with its property editor, and the editor's controls by name.
#pragma once

#include <gtest/gtest.h>

#include "plot/iPlot.h"
#include "plot/iPlotEditor.h"
#include "plot/iPlotMasterManager.h"
#include "tests/platform/ui/controls/UiHarness.h"

namespace plot_editor_test {

class EditorTest : public ui_test::UiTest {
 protected:
  void SetUp() override {
    ui_test::UiTest::SetUp();
    plot = new TiPlot(Application);
    plot->SetName("EditedPlot");
    plot->SetBounds(0, 0, 400, 300);
  }
  void TearDown() override {
    plot->Free();
    ui_test::UiTest::TearDown();
  }
  // A new editor, as the next opening builds it.
  void OpenEditor() {
    if (TiPlotEditorForm* old = master()->GetEditorForm()) old->Free();
    master()->CreateEditor();
    form = master()->GetEditorForm();
  }
  // Beside what a new plot holds, a data cursor, a limit and a table: an object on every page.
  void AddOneOfEveryKind() {
    plot->AddDataCursor();
    plot->AddLimit();
    plot->AddTable();
  }
  TiPlotMasterManager* master() { return plot->Master(); }
  template <class T>
  T* C(const char* Name) {
    auto* c = dynamic_cast<T*>(form->FindComponent(Name));
    EXPECT_NE(c, nullptr) << Name;
    return c;
  }
  TiPlot* plot = nullptr;
  TiPlotEditorForm* form = nullptr;
};

}  // namespace plot_editor_test
