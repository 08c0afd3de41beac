// What the list-exchange windows share and test apart from a window.
#include "pricelists/scambio/impexplistino.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/format.h"

namespace velmaro {
namespace {

TEST(ReturnDateSQL, MonthFirstOrEmpty) {
  // Catches a day-first literal, a text that is no date passing as one, and
  // 29/12/1899 or 30/12/1899 (the module's -1 and 0, no date) written as days.
  plat::SetItalianFormats();
  for (auto [testo, atteso] : {std::pair{"31/12/2023", "12-31-2023"},
                               {"5/3/2024", "03-05-2024"},
                               {"31/12/1899", "12-31-1899"},
                               {"30/12/1899", ""},
                               {"29/12/1899", ""},
                               {"31/02/2023", ""},
                               {"abc", ""},
                               {"", ""}})
    EXPECT_EQ(TImpExpListinoForm::ReturnDateSQL(testo), atteso) << testo;
}

}  // namespace
}  // namespace velmaro
