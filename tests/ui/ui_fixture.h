#pragma once
// A small data set held in memory, and a clean application between tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/rowset.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/make.h"

// Three rows: ID, NOME.
inline TestRows* MakeBands() {
  return new TestRows({{"ID", db::FieldType::Integer, 0}, {"NOME", db::FieldType::String, 20}},
                      {{1, "Base"}, {2, "Rivenditori"}, {3, "Ingrosso"}});
}

// Frees what a test left open and forgets recorded boxes and errors.
class UiTest : public ::testing::Test {
 protected:
  void TearDown() override {
    std::vector<ui::ComponentRef> refs;
    for (ui::Form* f : ui::App().Forms()) refs.push_back(f->Ref());
    for (auto& r : refs) ui::Free(r.Get());
    ui::App().ProcessMessages();
    ui::App().ClearMessages();
    ui::App().TakeErrors();
    ui::App().ResetTerminated();
  }
};
