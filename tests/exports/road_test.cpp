// The launch road through the launchers of the five windows.
#include <gtest/gtest.h>

#include "context/datamodule.h"
#include "context/launch.h"
#include "context/memorydata.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "exports/exports_fixture.h"
#include "pricelists/eccezioni/importecc.h"
#include "pricelists/editor/lisfasedit.h"
#include "pricelists/filecliente/generafileclienti.h"
#include "pricelists/impostazioni/lisfasimpost.h"
#include "promotions/promoveloci.h"

namespace velmaro {
namespace {

using testing::AmbienteExport;
using testing::Chiudi;
using testing::Operator;
using testing::Quanti;

FinestraDaExport* DaExport(ui::Form* f) { return dynamic_cast<FinestraDaExport*>(f); }

// Fails when a window of class `form`, a data module or a context object remains.
void NullaResta(const std::string& form) {
  for (const std::string& c : {form, std::string("TDataModuleVelmaro"), std::string("TTabXForm")})
    EXPECT_EQ(Quanti(c), 0) << c;
}

TEST(PercorsoDiLancio, OpensTheWindowAndRecordsItsHandle) {
  // Fault: the handle not written into the host's log (or into another
  // opening's row), the window not marked as opened by an export (so its
  // close would leak the context), or the icon and parameters of the road
  // missing. The caption shows in editor_avvio.vms.
  AmbienteExport amb;
  amb.CreaIcona();
  Operator op;
  ApriLisFasEditForm(1, 77);
  ui::Form* f = amb.Finestra(77);
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->Visible());
  EXPECT_TRUE(f->Icon.Loaded());
  FinestraDaExport* w = DaExport(f);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->ApertaDaExport);
  ASSERT_NE(w->CellaFinestra, nullptr);
  EXPECT_EQ(w->CellaFinestra->Oggetto(), f);
  EXPECT_EQ(w->TabX().GetV("Archivio"), amb.CompanyDatabasePath());
  EXPECT_TRUE(w->TabX().IBDatabase1->Connected());
  EXPECT_EQ(w->DM().CodiceProgetto, 501);
  EXPECT_EQ(amb.Handle(78), testing::kNull);
  EXPECT_TRUE(op.Texts().empty());

  Chiudi(f);
  NullaResta("TLisFasEditForm");
}

TEST(PercorsoDiLancio, TwoWindowsAreIndependent) {
  // Fault: objects shared between two calls, or closing one window freeing
  // (or leaving behind) what belongs to the other.
  AmbienteExport amb;
  Operator op;
  ApriLisFasImpostForm(1, 77);
  ApriLisFasImpostForm(1, 78);
  FinestraDaExport* a = DaExport(amb.Finestra(77));
  FinestraDaExport* b = DaExport(amb.Finestra(78));
  ASSERT_TRUE(a && b && a != b);
  EXPECT_NE(&a->DM(), &b->DM());
  EXPECT_NE(&a->TabX(), &b->TabX());
  EXPECT_NE(a->DM().Transazione2, b->DM().Transazione2);
  EXPECT_EQ(Quanti("TTabXForm"), 2);
  EXPECT_EQ(amb.AttacchiArchivio(), "2");

  Chiudi(a);
  EXPECT_EQ(Quanti("TTabXForm"), 1);
  EXPECT_EQ(Quanti("TDataModuleVelmaro"), 1);
  EXPECT_EQ(amb.AttacchiArchivio(), "1");
  EXPECT_EQ(amb.Finestra(77), nullptr);
  // The other window still reaches its module and its databases.
  EXPECT_TRUE(b->DM().SettaValoreTabX("Prova", "ancora viva", false));
  std::string v;
  b->DM().ValoreTabX("Prova", false, v);
  EXPECT_EQ(v, "ancora viva");
  EXPECT_TRUE(b->TabX().ScritturaHandleDiApertura(77, 5));

  Chiudi(b);
  NullaResta("TLisFasImpostForm");
  EXPECT_EQ(amb.AttacchiArchivio(), "0");
  EXPECT_TRUE(op.Texts().empty());
}

TEST(PercorsoDiLancio, CompanyDatabaseThatCannotOpenLeavesNothingBehind) {
  // Fault: a failing step's error escaping towards the host, a half-made
  // window left on screen, or the context and its connections leaked.
  AmbienteExport amb(false);
  amb.AddParameter(1, "Ditta Uno", "Archivio", "/nonexistent-velmaro/sotto/archivio.fdb", 1);
  Operator op;
  ApriGeneraFileClientiForm(1, 77);
  const auto testi = op.Texts();
  auto archivio = std::find(testi.begin(), testi.end(), "Errore apertura archivio");
  ASSERT_NE(archivio, testi.end());
  ASSERT_NE(archivio + 1, testi.end());  // then the error of the step that failed
  EXPECT_EQ(ui::App().Messages().back().Type, ui::MsgDlgType::Error);
  EXPECT_EQ(amb.Handle(77), testing::kNull);
  NullaResta("TGeneraFileClientiForm");
}

TEST(PercorsoDiLancio, CompanyDatabaseWithoutTabx) {
  // Fault: the data module's failure on a company database without TABX
  // leaving the context (and its open connections) behind.
  AmbienteExport amb;
  testing::HostFolder::Exec(amb.CompanyDatabasePath(), "DROP TABLE TABX");
  Operator op;
  ApriImportEccForm(1, 77);
  ASSERT_EQ(op.Texts().size(), 1u);
  EXPECT_EQ(ui::App().Messages().back().Type, ui::MsgDlgType::Error);
  EXPECT_EQ(Quanti("TTabXForm"), 0);
  EXPECT_EQ(amb.AttacchiArchivio(), "0");
}

TEST(PercorsoDiLancio, CustomerFileKeepsBothParametersAndPromotionsLoadTheirIcon) {
  // Fault: the working folder not put in memory under its name without
  // blanks, or the promotions window losing its icon or its release.
  AmbienteExport amb;
  Operator op;
  amb.AddParameter(1, "Ditta Uno", "Directory di lavoro", "/tmp/lavoro/", 2);
  ApriGeneraFileClientiForm(1, 77);
  FinestraDaExport* g = DaExport(amb.Finestra(77));
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->Caption(), "Genera file excel clienti - Utente: Rossi - Ditta: Ditta Uno");
  EXPECT_EQ(g->TabX().GetV("DirectoryDiLavoro"), "/tmp/lavoro/");
  EXPECT_EQ(g->TabX().MemTabX->RecordCount(), 2);
  EXPECT_FALSE(g->Icon.Loaded());  // no icon file: the default stays
  Chiudi(g);

  amb.CreaIcona();
  ApriPromoVelociForm(1, 78);
  ui::Form* p = amb.Finestra(78);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->ClassName(), "TPromoVelociForm");
  EXPECT_TRUE(p->Icon.Loaded());
  EXPECT_TRUE(DaExport(p)->ApertaDaExport);
  Chiudi(p);
  NullaResta("TPromoVelociForm");
  EXPECT_TRUE(op.Texts().empty());
}

TEST(PercorsoDiLancio, WindowFreedWithoutClosingReleasesItsObjects) {
  // Fault: a window freed without being closed leaving its data module and
  // context, with their connections, behind; or freeing a second time a
  // context object the host has already freed.
  AmbienteExport amb;
  Operator op;
  ApriImportEccForm(1, 77);
  ui::Form* f = amb.Finestra(77);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Caption(), "Listini fasce - Utente: Rossi - Ditta: Ditta Uno");
  ui::Free(f);
  NullaResta("TImportEccForm");
  EXPECT_EQ(amb.AttacchiArchivio(), "0");

  ApriLisFasImpostForm(1, 78);
  FinestraDaExport* g = DaExport(amb.Finestra(78));
  ASSERT_NE(g, nullptr);
  ui::Free(&g->TabX());  // the host frees its forms in the order they were made
  ui::Free(g);
  NullaResta("TLisFasImpostForm");
  EXPECT_EQ(amb.AttacchiArchivio(), "0");
  EXPECT_TRUE(op.Texts().empty());
}

TEST(PercorsoDiLancio, WindowNotOpenedByAnExportKeepsItsObjects) {
  // Fault: a window made outside the road freeing a module and a context
  // that are not its own.
  AmbienteExport amb;
  Operator op;
  OggettiChiamata oggetti(1);
  auto* f = new TLisFasImpostForm(nullptr, oggetti.DataModule());
  f->Show();
  f->Close();
  EXPECT_FALSE(f->ApertaDaExport);
  EXPECT_EQ(oggetti.DataModule()->Riferimento().CodiceProgetto, 501);
  ui::Free(f);
}

}  // namespace
}  // namespace velmaro
