// Test support for the grid's sorting, filter, footer and sizing tests: a grid without fixed
// columns whose columns are filled from and read back as lists of texts.
#pragma once

#include <string>
#include <vector>

#include "grid/AdvGrid.h"
#include "tests/grid/support/GridFixture.h"

namespace grid_sort_test {

using Texts = std::vector<std::string>;

class SortFixture : public adv_grid_test::GridFixture {
 protected:
  // A grid of cols columns, one fixed row (the header) and one row per text of the first column.
  TAdvStringGrid* Grid(int32_t cols, const std::vector<Texts>& columns) {
    const int32_t rows = columns.empty() ? 1 : int32_t(columns[0].size());
    auto* g = NewGrid<TAdvStringGrid>(cols, rows + 1);
    g->SetFixedCols(0);
    for (size_t c = 0; c < columns.size(); ++c)
      for (size_t r = 0; r < columns[c].size(); ++r) g->SetCells(int32_t(c), int32_t(r) + 1, columns[c][r]);
    return g;
  }
  // The texts of column c below the header (footer rows included).
  static Texts Column(TAdvStringGrid* g, int32_t c) {
    Texts t;
    for (int32_t r = 1; r < g->GetRowCount(); ++r) t.push_back(g->GetCells(c, r));
    return t;
  }
};

}  // namespace grid_sort_test
