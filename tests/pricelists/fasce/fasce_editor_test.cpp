// The bands page's commands when things go wrong: a row held by another
// session, a sibling library missing or without its entry.
#include <gtest/gtest.h>

#include <filesystem>

#include "context/dbutility.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor_fixture.h"
#include "pricelists/fasce/dialogo_fascia.h"
#include "pricelists/fasce/dialogo_rigafascia.h"
#include "pricelists/fasce/fasce.h"
#include "pricelists/presalistino.h"
#include "search/kestrin.h"
#include "search/vuxricerche.h"
#include "ui/dbedit.h"
#include "ui/stdctrls.h"

namespace velmaro::testing {
namespace {

class FasceTest : public EditorTest {
 protected:
  // A sibling stand-in in the host folder, under `nome` (another library
  // under that name: one without the entries).
  void Collega(const std::string& nome, const std::string& daFile) const {
    std::filesystem::create_symlink(std::string(VELMARO_SIBLINGS_DIR) + daFile,
                                    Cartella() + "/" + nome);
  }
  // Another session holds a row: its update stays uncommitted while the
  // returned transaction lives.
  void Blocca(const std::string& sql) {
    HostFolder::Attach(altro_, Archivio());
    tr_ = std::make_unique<db::Transaction>(&altro_);
    tr_->StartTransaction();
    db::Query q(&altro_, tr_.get());
    q.SQL.Add(sql);
    q.ExecSQL();
  }
  void Sblocca() {
    if (tr_) tr_->Rollback();
    tr_.reset();
  }
  void TearDown() override {
    Sblocca();
    EditorTest::TearDown();
  }
  std::string Righe(const std::string& fascia) const {
    std::string out;
    for (const auto& r : HostFolder::Rows(Archivio(),
                                          "SELECT NRIGA, IDLISTINO FROM FASCESCDT WHERE "
                                          "IDFASCIA=" +
                                              fascia + " ORDER BY NRIGA"))
      out += r[0] + ":" + r[1] + " ";
    return out;
  }
  void SuFascia(TLisFasEditForm& w, int riga) { w.FrameFasce1->QueryFasce->SetRecNo(riga); }

  db::Database altro_;
  std::unique_ptr<db::Transaction> tr_;
};

TEST_F(FasceTest, PriorityMoveOnAHeldRowRollsBackAllThreeStatements) {
  // Catches: the row left at NRIGA=-1 (and committed by the next command),
  // the grid closed by a hard rollback, the failure passing unseen or told
  // as an internal error rather than a band in use.
  TLisFasEditForm& w = Apri();
  SuFascia(w, 2);
  w.FrameFasce1->QueryFasceDett->SetRecNo(3);
  ASSERT_EQ(w.FrameFasce1->DBEditIDDettFasce->Text(), "3");
  Blocca("UPDATE FASCESCDT SET IDLISTINO=IDLISTINO WHERE IDFASCIA=2 AND NRIGA=2");
  Operator op;
  w.ButtonPiuPrioritaClick();
  EXPECT_EQ(op.Texts(),
            std::vector<std::string>{"La fascia è in uso da un altro utente: riprovare più tardi"});
  EXPECT_TRUE(w.FrameFasce1->QueryFasceDett->Active());
  w.ButtonDettFascAggiornaClick();  // commits whatever is pending
  Sblocca();
  EXPECT_EQ(Righe("2"), "1:5 2:2 3:3 4:1 ");

  w.FrameFasce1->QueryFasceDett->SetRecNo(3);
  w.ButtonPiuPrioritaClick();  // free again: the move goes through
  EXPECT_EQ(Righe("2"), "1:5 2:3 3:2 4:1 ");
  EXPECT_EQ(w.FrameFasce1->DBEditIDDettFasce->Text(), "2");
}

TEST_F(FasceTest, BandDeletionWithAHeldRowKeepsTheBand) {
  // Catches: the band deleted while its rows stay (the two deletes not
  // rolled back together).
  TLisFasEditForm& w = Apri();
  SuFascia(w, 3);
  Blocca("UPDATE FASCESCDT SET IDLISTINO=IDLISTINO WHERE IDFASCIA=3 AND NRIGA=1");
  Operator op({ui::mrYes, ui::mrOk});
  w.ButtonFascEliminaClick();
  EXPECT_EQ(op.Texts().back(), "La fascia è in uso da un altro utente: riprovare più tardi");
  w.ButtonFascAggiornaClick();
  Sblocca();
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM FASCESC WHERE ID=3"), "1");
  EXPECT_EQ(Righe("3"), "1:4 2:3 3:1 ");
  EXPECT_TRUE(w.FrameFasce1->QueryFasce->Active());
}

TEST_F(FasceTest, AssociationFailingAtThePriceTypeLeavesTheCustomerAlone) {
  // Catches: the customer's new band committed while the price type failed;
  // a price type another transaction holds told as an internal error
  // rather than in use.
  TLisFasEditForm& w = Apri();
  SuFascia(w, 2);
  w.ButtonCliFasClick();
  ASSERT_EQ(IDFasciaSelezionata, "2");
  Blocca("UPDATE TIPIPR SET DESCRIZIONE=DESCRIZIONE WHERE CODICE=2");
  Operator op;
  w.AssClienteFascia("000105");
  EXPECT_EQ(op.Texts(),
            std::vector<std::string>{"Il record è in uso da un altro utente: riprovare più tardi"});
  w.FrameClientiFasc1ButtonFascAggiornaClick();
  Sblocca();
  EXPECT_EQ(Valore("SELECT TIPOPREZZO FROM CLIENTI WHERE CODICE='000105'"), "4");
  // A code that matches no customer changes no customer and tells nothing.
  Operator op2;
  w.AssClienteFascia("NESSUNO");
  EXPECT_TRUE(op2.Texts().empty());
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM CLIENTI WHERE TIPOPREZZO='2'"), "4");
}

TEST_F(FasceTest, MissingSiblingsOrEntriesShowAndWriteNothing) {
  // Catches: a box, a dialog or a change when Kestrin.dll or Tressil.dll is
  // missing or lacks its entry (Pelk.dll stands in for a library without
  // them), for duplication, customer association and list pickers; the
  // bands not read again after a duplication through a library that loads
  // but has no paste entry (a band committed meanwhile stays unseen).
  Esegui(
      "INSERT INTO TABX (CODICE, TIPO, NOME, TESTO) VALUES (GEN_ID(CODICETABXCOUNTER, 1), "
      "'TBX', 'ModalitaPXAssCli', '1')");
  for (const bool senzaEntrate : {false, true}) {
    if (senzaEntrate) {
      Collega("Kestrin.dll", "Pelk.dll");
      Collega("Tressil.dll", "Pelk.dll");
    }
    TLisFasEditForm& w = Apri();
    SuFascia(w, 2);
    Operator op;
    const std::string altra = senzaEntrate ? "21" : "20";
    Esegui("INSERT INTO FASCESC (ID, NOME) VALUES (" + altra + ", 'Altra sessione')");
    w.ButtonFascDuplicaClick();
    EXPECT_EQ(w.FrameFasce1->QueryFasce->Lookup("ID", {db::Value(altra)}, "NOME").IsNull(),
              !senzaEntrate);
    w.ButtonCliFasClick();
    w.FrameClientiFasc1ButtonAssClick();
    w.ButtonFornFasClick();
    w.FrameFornFascButtonAssClick();
    EXPECT_TRUE(op.Texts().empty()) << senzaEntrate;
    EXPECT_TRUE(op.FormsSeen().empty()) << senzaEntrate;
    EXPECT_EQ(Valore("SELECT COUNT(*) FROM FASCESC WHERE ID<20"), "5");
    Chiudi();
  }
}

TEST_F(FasceTest, EveryBandWriterWaitsWhileAnotherOperatorHoldsTheBand) {
  // Catches: a band command writing a band another operator is writing (its
  // row lock taken in a transaction of that operator's own), or telling it
  // as an internal error; an association that writes the customer's band or
  // the band's price type before the hold; a hold left taken after the
  // refusal, so that the command stays refused once the band is free.
  Esegui("UPDATE TIPIPR SET DESCRIZIONE='Di prima' WHERE CODICE=2");
  TLisFasEditForm& w = Apri();
  SuFascia(w, 2);
  HostFolder::Attach(altro_, Archivio());
  auto t = CreateLockTransaction(altro_);
  auto presa = std::make_unique<PresaFascia>(*t, "2");
  ASSERT_TRUE(presa->Presa());

  Operator op;
  op.Then([](ui::Form& f) {
    auto& d = dynamic_cast<TNuovaFasciaForm&>(f);
    d.EditNome->SetText("Rinominata");
    d.ButtonOkClick();
  });
  w.ButtonFascEditaClick();
  w.ButtonFascEliminaClick();
  for (int i = 0; i < 2; ++i)
    op.Then([](ui::Form& f) {
      auto& d = dynamic_cast<TNuovaFasciaDettForm&>(f);
      d.EditIDListino->SetText("9");
      d.ButtonOKClick();
    });
  w.ButtonDettFascNuovoClick();
  w.FrameFasce1->QueryFasceDett->SetRecNo(3);
  w.ButtonDettFascEditaClick();
  w.ButtonDettFascEliminaClick();
  w.ButtonPiuPrioritaClick();
  w.ButtonMenoPrioritaClick();
  w.ButtonCliFasClick();
  w.AssClienteFascia("000105");
  w.ButtonFornFasClick();
  w.AssFornitoreFascia("F00002");

  const std::string inUso = "La fascia è in uso da un altro utente: riprovare più tardi";
  std::vector<std::string> avvisi;
  for (const std::string& testo : op.Texts())
    if (testo.rfind("Eliminare il record selezionato", 0) != 0) avvisi.push_back(testo);
  EXPECT_EQ(avvisi, std::vector<std::string>(9, inUso));
  EXPECT_EQ(Valore("SELECT NOME FROM FASCESC WHERE ID=2"), "Rivenditori");
  EXPECT_EQ(Righe("2"), "1:5 2:2 3:3 4:1 ");
  EXPECT_EQ(Valore("SELECT TIPOPREZZO FROM CLIENTI WHERE CODICE='000105'"), "4");
  EXPECT_EQ(Valore("SELECT COALESCE(TIPOPREZZO, 'nessuna') FROM FORNITO WHERE CODICE='F00002'"),
            "nessuna");
  EXPECT_EQ(Valore("SELECT DESCRIZIONE FROM TIPIPR WHERE CODICE=2"), "Di prima");

  // Free again: the association is written, with the band's name.
  presa->Annulla();
  presa.reset();
  Operator op2;
  w.AssFornitoreFascia("F00002");
  EXPECT_TRUE(op2.Texts().empty());
  EXPECT_EQ(Valore("SELECT TIPOPREZZO FROM FORNITO WHERE CODICE='F00002'"), "2");
  EXPECT_EQ(Valore("SELECT DESCRIZIONE FROM TIPIPR WHERE CODICE=2"), "Rivenditori");
}

TEST_F(FasceTest, PasteWithoutACopyFailsWithoutAskingOrWriting) {
  // Catches: a paste that asks the operator, or writes a band, when the
  // stand-in holds no copy; the failure reported as success.
  Collega("Kestrin.dll", "Kestrin.dll");
  Operator op;
  EXPECT_EQ(IncollaKestrin(2, fasce::DocumentoIncolla(), ChiamanteKestrin::Listini),
            EsitoKestrin::Errore);
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"Errore nell'accesso alla DLL Kestrin"});
  EXPECT_TRUE(op.FormsSeen().empty());
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM FASCESC"), "5");
}

}  // namespace
}  // namespace velmaro::testing

namespace velmaro::testing {
namespace {

TEST_F(FasceTest, EveryRenewalOpensTheEmbeddedCustomerSearchAgain) {
  // Catches: a renewal of the view (the band rows' and the customers'
  // refresh, a held write's) leaving the embedded customer search closed.
  TLisFasEditForm& w = Apri();
  SuFascia(w, 2);
  db::Query& ricerca = *w.RicercaClienti->QueryMain;
  ASSERT_TRUE(ricerca.Active());
  w.ButtonDettFascAggiornaClick();
  EXPECT_TRUE(ricerca.Active());
  w.ButtonCliFasClick();
  w.FrameClientiFasc1ButtonFascAggiornaClick();
  EXPECT_TRUE(ricerca.Active());
  w.RinnovaVista();
  EXPECT_TRUE(ricerca.Active());
}

}  // namespace
}  // namespace velmaro::testing
