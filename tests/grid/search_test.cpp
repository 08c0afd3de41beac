// Searching a grid: the typed search of F5 on each kind of column, the
// all-columns search, Escape and F6, the dialog's stored options and the
// record filter of an in-memory table.
#include <gtest/gtest.h>

#include "common/rowset.h"
#include "context/memorydata.h"
#include "db/datasource.h"
#include "db/table.h"
#include "grid/rvuxgrid.h"
#include "ui/dbgrid.h"
#include "vuxgrid_fixture.h"

namespace velmaro::testing {
namespace {

constexpr const char* kDialogo = "TRVuxGridForm";

class Ricerca : public GrigliaTest {
 protected:
  // F5 on the column of `campo`, with the operator's steps inside the
  // dialog; an error box shown by one step is answered by the next.
  void F5(const std::string& campo, std::vector<ui::Driver::Action> passi) {
    driver_.SelectColumn("FinestraGriglia.Griglia", campo);
    for (auto& passo : passi) driver_.Enqueue(std::move(passo));
    griglia_->RicercaCampoCorrente();
  }
  void F5(const std::string& campo, ui::Driver::Action passo) {
    F5(campo, std::vector<ui::Driver::Action>{std::move(passo)});
  }
  std::vector<std::string> Sql() const { return query_.SQL.lines; }
  std::vector<std::string> Base(std::vector<std::string> piu = {}) const {
    std::vector<std::string> righe = sqlBase_;
    righe.insert(righe.end(), piu.begin(), piu.end());
    return righe;
  }
  static std::string Campo(const std::string& nome) { return std::string(kDialogo) + "." + nome; }

  // Opens the window; Escape then leaves the statement as it was, and an
  // emptied text searches for nothing, the set showing every row again.
  void EscapeETestoVuoto() {
    ApriFinestra();
    F5("DESCRIZIONE", [&](ui::Driver& d) {
      d.Type(Campo("EditStringa"), "b");
      d.Wait(1000);
      d.PressKey(Campo("EditStringa"), ui::VK_ESCAPE);
    });
    EXPECT_EQ(Sql(), Base());
    EXPECT_EQ(griglia_->CondizioneRicerca, "");

    F5("DESCRIZIONE", [&](ui::Driver& d) {
      d.Type(Campo("EditStringa"), "b");
      d.Wait(1000);
      d.Type(Campo("EditStringa"), "");
      d.Wait(1000);
      d.PressKey(Campo("EditStringa"), ui::VK_RETURN);
    });
    EXPECT_EQ(griglia_->CondizioneRicerca, "");
    query_.Close();
    query_.Open();
    EXPECT_EQ(Codici().size(), 4u);
  }

  // A window named `nome` whose grid `g` shows `dati` (a table or an
  // in-memory set), with the fixture's codes; it must go before `dati`.
  ui::Owned<ui::Form> FinestraSu(const char* nome, db::DataSource& sorgente, db::DataSet& dati,
                                 TVuxGrid*& g) {
    auto finestra = ui::MakeOwned<ui::Form>(&ui::App());
    finestra->SetName(nome);
    g = ui::Make<TVuxGrid>(finestra.get(), "Griglia", {0, 0, 400, 300});
    g->Loaded();
    g->CodiceProgetto = kProgetto, g->Utente = kUtente, g->SetSituazione(kSituazione);
    g->DatabaseImpostazioni = &database_;
    g->SetDataSource(&sorgente);
    g->SetSorgenteDati(&dati);
    finestra->Show();
    return finestra;
  }
  // A list of one field's values, in the set's order.
  static std::vector<std::string> Valori(db::DataSet& dati, const char* campo) {
    std::vector<std::string> out;
    for (dati.First(); !dati.Eof(); dati.Next()) out.push_back(dati.FieldByName(campo).AsString());
    return out;
  }

  ui::Driver driver_;
};

// Catches a composition at every keystroke instead of 1000 ms after the
// last one, a condition that is not the one line the windows expect, and
// the events out of order around Enter.
TEST_F(Ricerca, TypedTextAppliedAfterTheTimer) {
  ApriFinestra();
  std::vector<std::string> primaDelTimer, dopoIlTimer;
  F5("DESCRIZIONE", [&](ui::Driver& d) {
    d.Select(Campo("EditTipoRicerca"), "LIKE %%");
    d.Select(Campo("EditOrdinamento"), "No");
    d.TypeKeys(Campo("EditStringa"), "on");
    d.Wait(999);
    primaDelTimer = Sql();
    d.Wait(1);
    dopoIlTimer = Sql();
    EXPECT_EQ(Codici(), (std::vector<std::string>{"B2", "D4"}));
    d.PressKey(Campo("EditStringa"), ui::VK_RETURN);
  });
  EXPECT_EQ(primaDelTimer, Base({"ORDER BY ARTICOLI.CODICE"}));
  EXPECT_EQ(dopoIlTimer, Base({"WHERE(UPPER(ARTICOLI.DESCRIZIONE) LIKE '%ON%')"}));
  EXPECT_EQ(eventi_, "IFF");
  EXPECT_EQ(griglia_->CondizioneRicerca, "WHERE(UPPER(ARTICOLI.DESCRIZIONE) LIKE '%ON%')");
  EXPECT_TRUE(griglia_->CampoRicerca.empty());
  EXPECT_EQ(Codici(), (std::vector<std::string>{"B2", "D4"}));
}

// Catches a second WHERE on a base written in lower case, and a text
// column's "Cresc." order that is not upper-cased.
TEST_F(Ricerca, ConditionJoinsALowerCaseWhere) {
  sqlBase_ = {"select codice, descrizione, prezzo from articoli", "where quantita > 0"};
  ApriFinestra();
  F5("DESCRIZIONE", [&](ui::Driver& d) {
    d.Select(Campo("EditTipoRicerca"), "LIKE %");
    d.Type(Campo("EditStringa"), "r");
    d.PressKey(Campo("EditStringa"), ui::VK_RETURN);
  });
  EXPECT_EQ(query_.SQL.lines, Base({"AND(UPPER(ARTICOLI.DESCRIZIONE) LIKE 'R%')",
                                    "ORDER BY UPPER(ARTICOLI.DESCRIZIONE)"}))
      << "the dialog is closed again only after the query was applied";
}

// Catches dates reaching the statement day-first, two comparisons joined
// by a blank, and an incomplete date that already filters.
TEST_F(Ricerca, DateRange) {
  ApriFinestra();
  std::vector<std::string> incompleta;
  F5("DATAINIZIO", [&](ui::Driver& d) {
    EXPECT_FALSE(d.Get<ui::Control>(Campo("EditStringa")).Visible());
    EXPECT_EQ(d.Get<ui::Control>(Campo("Label1")).Caption(), "Inserisci una data compresa tra:");
    d.Type(Campo("EditData1"), "01/02/20");
    d.PressKey(Campo("EditData1"), ui::VK_RETURN);
  });
  EXPECT_EQ(griglia_->CondizioneRicerca, "");
  F5("DATAINIZIO", [&](ui::Driver& d) {
    d.Type(Campo("EditData1"), "01/02/2006");
    d.Type(Campo("EditData2"), "28/02/2006");
    d.Select(Campo("EditOrdinamento"), "No");
    d.PressKey(Campo("EditData2"), ui::VK_RETURN);
  });
  EXPECT_EQ(griglia_->CondizioneRicerca,
            "WHERE(ARTICOLI.DATAINIZIO >= '02/01/2006')AND(ARTICOLI.DATAINIZIO <= '02/28/2006')");
  EXPECT_EQ(Codici(), (std::vector<std::string>{"A1", "B2"}));
  F5("DATAINIZIO", [&](ui::Driver& d) {
    d.Type(Campo("EditData1"), "01/03/2006");
    d.PressKey(Campo("EditData1"), ui::VK_RETURN);
  });
  EXPECT_EQ(griglia_->CondizioneRicerca, "WHERE(ARTICOLI.DATAINIZIO >= '03/01/2006')");
}

// Catches a price (fixed-point) column compared as upper-cased text, a
// stored "LIKE %" offered on a number column, and a text that is no number
// closing the dialog or going unreported.
TEST_F(Ricerca, NumberColumn) {
  ApriFinestra();
  Esegui(
      "INSERT INTO STOPOS1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, INFO3, INFO1, INFO4)"
      " VALUES (501, 40, 2, 2, 0, 1)");
  int voci = 0, scelta = -1;
  std::string erroreVisto;
  F5("PREZZO", {[&](ui::Driver& d) {
                  auto& tipo = d.Get<ui::RadioGroup>(Campo("EditTipoRicerca"));
                  voci = tipo.Items.Count(), scelta = tipo.ItemIndex();
                  d.Type(Campo("EditStringa"), "abc");
                },
                [](ui::Driver& d) { d.Wait(1000); },
                [&](ui::Driver& d) {
                  erroreVisto = ui::App().Messages().back().Text;
                  d.Answer("OK");
                },
                [](ui::Driver& d) { d.Type(Campo("EditStringa"), "12.5"); },
                [](ui::Driver& d) { d.PressKey(Campo("EditStringa"), ui::VK_RETURN); }});
  EXPECT_EQ(voci, 2);
  EXPECT_EQ(scelta, 0);
  EXPECT_FALSE(erroreVisto.empty());
  EXPECT_EQ(griglia_->CondizioneRicerca, "WHERE(ARTICOLI.PREZZO >= '12.5')");
  EXPECT_EQ(Codici(), (std::vector<std::string>{"B2", "C3"}));
}

// Catches an apostrophe that ends the statement's literal, typed or set
// without a key press, and "%" losing its wildcard meaning.
TEST_F(Ricerca, ApostropheAndWildcards) {
  ApriFinestra();
  std::string casella;
  F5("DESCRIZIONE", [&](ui::Driver& d) {
    d.Select(Campo("EditTipoRicerca"), "LIKE %");
    d.TypeKeys(Campo("EditStringa"), "vite d'");
    casella = d.Get<ui::Edit>(Campo("EditStringa")).Text();
    d.Type(Campo("EditStringa"), "vite d'a%o");
    d.PressKey(Campo("EditStringa"), ui::VK_RETURN);
  });
  EXPECT_EQ(casella, "vite d\xC2\xB4");
  EXPECT_NE(griglia_->CondizioneRicerca.find("LIKE 'VITE D\xC2\xB4"
                                             "A%O%'"),
            std::string::npos);
  EXPECT_TRUE(query_.Active());
}

// Catches Escape leaving the condition or adding the grid's sort, and an
// emptied text whose condition a later rebuild of the query would apply
// again.
TEST_F(Ricerca, EscapeAndEmptyText) { EscapeETestoVuoto(); }

// The same, then catches F6 keeping the cancelled condition, which a sort
// by a title then brings back.
TEST_F(Ricerca, EscapeEmptyTextAndF6) {
  EscapeETestoVuoto();

  F5("DESCRIZIONE", [&](ui::Driver& d) {
    d.Select(Campo("EditTipoRicerca"), "LIKE %%");
    d.Type(Campo("EditStringa"), "on");
    d.Wait(1000);
    d.PressKey(Campo("EditStringa"), ui::VK_RETURN);
  });
  ASSERT_EQ(Codici(), (std::vector<std::string>{"B2", "D4"}));
  eventi_.clear();
  driver_.PressKey("FinestraGriglia.Griglia", ui::VK_F6);
  EXPECT_EQ(eventi_, "IF");
  EXPECT_EQ(Sql(), Base({"ORDER BY ARTICOLI.CODICE"}));
  EXPECT_EQ(griglia_->CondizioneRicerca, "");
  driver_.DblClickTitle("FinestraGriglia.Griglia", "DESCRIZIONE");
  EXPECT_EQ(Codici().size(), 4u);
  EXPECT_EQ(Sql(), Base({"ORDER BY ARTICOLI.DESCRIZIONE"}));
}

// Catches the all-columns search writing a column without origin, an OR
// before the first comparison, and unticking "Generica" leaving the text
// box without its search.
TEST_F(Ricerca, AllColumnsAndBack) {
  sqlBase_ = {"SELECT 'x' AS SEGNO, CODICE, DESCRIZIONE FROM ARTICOLI"};
  ApriFinestra();
  std::vector<std::string> generica;
  std::string titolo;
  F5("DESCRIZIONE", [&](ui::Driver& d) {
    d.Check(Campo("EditGenerica"), true);
    titolo = d.Window(kDialogo).Caption();
    d.Type(Campo("EditStringa"), "xy");
    d.Click(Campo("ButtonEsegui"));
    generica = Sql();
    d.Check(Campo("EditGenerica"), false);
    d.Select(Campo("EditOrdinamento"), "No");
    d.Select(Campo("EditTipoRicerca"), "LIKE %");
    d.Type(Campo("EditStringa"), "dado");
    d.PressKey(Campo("EditStringa"), ui::VK_RETURN);
  });
  EXPECT_EQ(titolo, "Ricerca su TUTTI i campi");
  EXPECT_EQ(generica, Base({"WHERE(", "(ARTICOLI.CODICE CONTAINING 'XY')",
                            "OR(ARTICOLI.DESCRIZIONE CONTAINING 'XY')", ")"}));
  EXPECT_EQ(Codici(), (std::vector<std::string>{"C3"}));
}

// Catches the dialog's row written when nothing changed, and DIMX/DIMY
// (the window position of the same key) overwritten.
TEST_F(Ricerca, DialogRowWrittenOnlyWhenChanged) {
  Esegui(
      "CREATE TRIGGER CONTA_SCRITTURE FOR STOPOS1 BEFORE UPDATE AS BEGIN"
      " NEW.INFO2 = COALESCE(OLD.INFO2, 0) + 1; END");
  ApriFinestra();
  const auto chiudi = [](ui::Driver& d) { d.PressKey(Campo("EditStringa"), ui::VK_ESCAPE); };
  F5("DESCRIZIONE", chiudi);
  Esegui("UPDATE STOPOS1 SET DIMX=640, DIMY=480");
  F5("DESCRIZIONE", chiudi);
  EXPECT_EQ(Righe("SELECT INFO2, INFO1, INFO3, INFO4 FROM STOPOS1")[0],
            (std::vector<std::string>{"1", "1", "0", "1"}));
  F5("DESCRIZIONE", [](ui::Driver& d) {
    d.Select(Campo("EditOrdinamento"), "Decres.");
    d.Check(Campo("EditUpper"), false);
    d.PressKey(Campo("EditStringa"), ui::VK_ESCAPE);
  });
  EXPECT_EQ(Righe("SELECT INFO2, INFO1, INFO4, DIMX, DIMY FROM STOPOS1")[0],
            (std::vector<std::string>{"2", "2", "0", "640", "480"}));
}

// Catches a non-indexed column of a big table being searched.
TEST_F(Ricerca, NonIndexedColumnOfABigTable) {
  ApriFinestra();
  griglia_->TabellaPiccola = false;
  griglia_->CampiIndicizzati = "codice;QUANTITA";
  driver_.SelectColumn("FinestraGriglia.Griglia", "DESCRIZIONE");
  driver_.EnqueueAnswer("OK");
  const auto prima = Sql();
  eventi_.clear();
  griglia_->RicercaCampoCorrente();
  EXPECT_EQ(ui::App().Messages().back().Text,
            "Attenzione: Non è possibile eseguire la ricerca su un campo non indicizzato di una "
            "tabella di grandi dimensioni");
  EXPECT_EQ(eventi_, "IF");
  EXPECT_EQ(Sql(), prima);
}

// Catches the in-memory table's search filtering on the wrong field or
// kind, ignoring Upper, or staying filtered after Escape; and a layout
// reset that leaves it closed or empty.
TEST_F(Ricerca, InMemoryTableRecordFilter) {
  TRxMemoryData memoria;
  memoria.CreateField("CODICE", db::FieldType::String, 10);
  memoria.CreateField("NOME", db::FieldType::String, 20);
  memoria.Open();
  for (auto [codice, nome] : {std::pair{"1", "Bianchi"}, {"2", "rossi"}, {"3", "Rossetti"}})
    AppendRow(memoria, {codice, nome});
  db::DataSource sorgente(&memoria);
  TVuxGrid* g = nullptr;
  auto finestra = FinestraSu("FinestraMemoria", sorgente, memoria, g);
  const auto nomi = [&] { return Valori(memoria, "NOME"); };
  std::vector<std::string> filtrati;
  driver_.SelectColumn("FinestraMemoria.Griglia", "NOME");
  driver_.Enqueue([&](ui::Driver& d) {
    d.Select(Campo("EditTipoRicerca"), "LIKE %");
    d.Select(Campo("EditOrdinamento"), "Decres.");
    d.Type(Campo("EditStringa"), "ROSS");
    d.Wait(1000);
    filtrati = nomi();
    d.PressKey(Campo("EditStringa"), ui::VK_ESCAPE);
  });
  g->RicercaCampoCorrente();
  EXPECT_EQ(filtrati, (std::vector<std::string>{"rossi", "Rossetti"}));
  EXPECT_EQ(nomi().size(), 3u);

  // A layout reset shows the table again with its rows.
  driver_.Enqueue([](ui::Driver& d) { d.Click("TAvVuxGrForm.ButtonOK"); });
  g->AzzeraAspettoGriglia();
  EXPECT_TRUE(memoria.Active());
  EXPECT_EQ(nomi().size(), 3u);
  EXPECT_EQ(g->Columns().Count(), 2);
}

// Catches a table's search filtering by the wrong kind of comparison, not
// ordered by the searched column, or left filtered after F6.
TEST_F(Ricerca, TableRecordFilter) {
  db::Table tabella(&database_, &transazione_);
  tabella.TableName = "ARTICOLI";
  db::DataSource sorgente(&tabella);
  TVuxGrid* g = nullptr;
  auto finestra = FinestraSu("FinestraTabella", sorgente, tabella, g);
  tabella.Open();
  const auto codici = [&] { return Valori(tabella, "CODICE"); };
  std::vector<std::string> filtrati;
  driver_.SelectColumn("FinestraTabella.Griglia", "DESCRIZIONE");
  driver_.Enqueue([&](ui::Driver& d) {
    d.Select(Campo("EditTipoRicerca"), "LIKE %%");
    d.Type(Campo("EditStringa"), "ON");
    d.PressKey(Campo("EditStringa"), ui::VK_RETURN);
  });
  g->RicercaCampoCorrente();
  EXPECT_EQ(codici(), (std::vector<std::string>{"D4", "B2"})) << "in the searched column's order";
  g->AnnullaRicerca();
  EXPECT_EQ(codici().size(), 4u);
  tabella.Close();
}

}  // namespace
}  // namespace velmaro::testing
