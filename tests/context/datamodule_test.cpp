#include "context/datamodule.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/fixture.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/transaction.h"

namespace velmaro {
namespace {

using testing::Company;
using testing::HostFolder;
using testing::Operator;
using Pieces = std::vector<std::string>;

TEST(TDataModuleVelmaro, DefaultsAndStoredValues) {
  // Fault: a missing "Decimali" or "MagazzinoCorrente" read as 0 or empty
  // instead of the defaults, a stored "0" taken for "missing", the
  // operator's warehouse ignored, two modules sharing one second
  // transaction, or the module's stored values read or written on another
  // connection or for another operator.
  Company amb;
  Operator op;
  CellaTabX* cella = amb.Context();
  TDataModuleVelmaro dm(nullptr, cella);
  EXPECT_EQ(dm.Decimali, 2);
  EXPECT_EQ(dm.MagazzinoCorrente, "0");
  EXPECT_TRUE(dm.Transazione2->Active());
  EXPECT_EQ(dm.Transazione2->Params, (Pieces{"isc_tpb_concurrency", "isc_tpb_nowait"}));
  EXPECT_EQ(dm.QueryAux1->GetTransaction(), dm.TabX().IBTransaction1);
  EXPECT_EQ(dm.QueryAux2->GetTransaction(), dm.Transazione2);
  EXPECT_TRUE(dm.SettaValoreTabX("Privato", "p", true));
  std::string v;
  cella->Riferimento().ValoreTabX("Privato", true, v);
  EXPECT_EQ(v, "p");
  EXPECT_EQ(
      HostFolder::Scalar(amb.CompanyDatabasePath(), "SELECT UTENTE FROM TABX WHERE NOME='Privato'"),
      "1");

  amb.AddParameter(1, "Ditta Uno", "MagazzinoCorrente", "3", 1);
  HostFolder::Exec(amb.CompanyDatabasePath(),
                   "INSERT INTO TABX (CODICE, NOME, TESTO) VALUES (9, 'Decimali', '0')");
  TDataModuleVelmaro a(nullptr, amb.Context());
  TDataModuleVelmaro b(nullptr, amb.Context());
  EXPECT_EQ(a.Decimali, 0);
  EXPECT_EQ(a.MagazzinoCorrente, "3");
  EXPECT_NE(a.Transazione2, b.Transazione2);
  HostFolder::Exec(amb.CompanyDatabasePath(), "UPDATE TABX SET TESTO='4' WHERE NOME='Decimali'");
  EXPECT_EQ(TDataModuleVelmaro(nullptr, amb.Context()).Decimali, 4);
  EXPECT_TRUE(op.Texts().empty());
}

TEST(TDataModuleVelmaro, CreationFailsWithoutACompanyDatabase) {
  // Fault: a module made on a closed connection (or on a company database
  // without TABX, or with a "Decimali" that is no number) pretending to work.
  Company amb;
  Operator op;
  auto chiuso = std::make_unique<CellaTabX>(new TTabXForm(nullptr, 0));
  EXPECT_THROW(TDataModuleVelmaro(nullptr, chiuso.get()), std::exception);
  delete chiuso->Oggetto();

  // DDL first: a table in use by an open context would make it wait.
  Company senzaTabx;
  HostFolder::Exec(senzaTabx.CompanyDatabasePath(), "DROP TABLE TABX");
  EXPECT_THROW(TDataModuleVelmaro(nullptr, senzaTabx.Context()), db::DbError);

  HostFolder::Exec(amb.CompanyDatabasePath(),
                   "INSERT INTO TABX (CODICE, NOME, TESTO) VALUES (1, 'Decimali', 'due')");
  EXPECT_THROW(TDataModuleVelmaro(nullptr, amb.Context()), std::exception);
}

TEST(TDataModuleVelmaro, Explode) {
  // Fault: the trailing empty piece lost, or a text without separator not
  // given back whole.
  struct Case {
    const char *sep, *text;
    Pieces pieces;
  };
  for (const Case& c : {Case{";", "senza", {"senza"}}, Case{";", "", {""}},
                        Case{";", "a;b", {"a", "b"}}, Case{"::", "a::b::", {"a", "b", ""}}}) {
    Pieces l;
    EXPECT_EQ(TDataModuleVelmaro::Explode(l, c.sep, c.text), static_cast<int>(c.pieces.size()))
        << c.text;
    EXPECT_EQ(l, c.pieces) << c.text;
  }
}

}  // namespace
}  // namespace velmaro
