// The five exports of the built library, found by name as the host does.
#include <gtest/gtest.h>

#include <cstdint>

#include "exports/exports_fixture.h"
#include "platform/format.h"
#include "platform/library.h"

namespace velmaro {
namespace {

using testing::AmbienteExport;
using testing::Chiudi;
using testing::Operator;
using Export = std::int32_t (*)(std::int32_t, std::int32_t);

TEST(Exports, EachNameOpensItsWindowAndReturnsZero) {
  // Fault: an export missing or misnamed in the library, a result other
  // than 0, or the formats of the library not set by the call.
  AmbienteExport amb;
  Operator op;
  plat::Library lib = plat::Library::Load(VELMARO_LIBRARY);
  ASSERT_TRUE(lib.Loaded()) << lib.Error();
  const std::pair<const char*, const char*> attesi[] = {
      {"ShowLisFasEditFormX", "TLisFasEditForm"},
      {"ShowImportEccFormX", "TImportEccForm"},
      {"ShowImpostazFormX", "TLisFasImpostForm"},
      {"ShowGeneraFileClientiFormX", "TGeneraFileClientiForm"},
      {"ShowPromoVelociFormX", "TPromoVelociForm"}};
  for (const auto& [nome, classe] : attesi) {
    SCOPED_TRACE(nome);
    Export fn = lib.Function<Export>(nome);
    ASSERT_NE(fn, nullptr);
    plat::Formats().DecimalSeparator = '.';
    plat::Formats().ShortDateFormat = "yyyy-MM-dd";
    EXPECT_EQ(fn(1, 77), 0);
    EXPECT_EQ(plat::Formats().DecimalSeparator, ',');
    EXPECT_EQ(plat::Formats().ThousandSeparator, '.');
    EXPECT_EQ(plat::Formats().ShortDateFormat, "dd/MM/yyyy");
    ui::Form* f = amb.Finestra(77);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->ClassName(), classe);
    Chiudi(f);
    EXPECT_EQ(testing::Quanti("TTabXForm"), 0);
  }
  EXPECT_TRUE(op.Texts().empty());
}

TEST(Exports, FailureInsideTheRoadStillReturnsZero) {
  // Fault: an error of the road crossing into the host's code.
  AmbienteExport amb(false);
  Operator op;
  plat::Library lib = plat::Library::Load(VELMARO_LIBRARY);
  ASSERT_TRUE(lib.Loaded()) << lib.Error();
  Export fn = lib.Function<Export>("ShowPromoVelociFormX");
  ASSERT_NE(fn, nullptr);
  testing::HostFolder::Exec(amb.UserDatabasePath(), "DROP TABLE UTENTI");
  EXPECT_EQ(fn(1, 77), 0);
  EXPECT_FALSE(op.Texts().empty());
  EXPECT_EQ(ui::App().Messages().back().Type, ui::MsgDlgType::Error);
  EXPECT_EQ(testing::Quanti("TTabXForm"), 0);
}

}  // namespace
}  // namespace velmaro
