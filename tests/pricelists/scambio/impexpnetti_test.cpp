// The net-price exchange window on the demo company: the overlap road of
// the classic import, the common-prices import with refused rows, imports
// whose file changes while they run, and the exports.
#include "pricelists/scambio/impexpnetti.h"

#include <gtest/gtest.h>

#include "pricelists/scambio/impexp_fixture.h"
#include "ui/stdctrls.h"

namespace velmaro::testing {
namespace {

class ImpExpNetti : public FinestraSuDemo<TImpExpLisNettiForm> {
 protected:
  void Riga(const std::string& id, const std::string& articolo, const char* prezzo) {
    amb->SqlContesto(
        "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, "
        "DATAINIZIOVALIDITA, QUANTITASCAGLIONE) VALUES (" +
        id + ", '" + articolo + "', '0', " + prezzo + ", '01/01/2025', 0)");
  }
  // What the window's transaction holds now, committed: what the editor's
  // next refresh would keep.
  static void ConfermaFinestra(TImpExpLisNettiForm& f) {
    f.QueryAux1->GetTransaction()->CommitRetaining();
  }
  static std::string ErroreLettura(const std::string& file) {
    return "Errore di lettura del file \"" + file + "\"";
  }
  Righe Netti(const std::string& id, const std::string& articolo) {
    return amb->Righe(
        "SELECT ESTCODICE, PREZZO, DATAINIZIOVALIDITA, DATAFINEVALIDITA, "
        "QUANTITASCAGLIONE, PROVVIGIONE FROM LISTSCDTNET WHERE IDLISTSC=" +
        id + " AND CODICEARTICOLO='" + articolo + "' ORDER BY DATAINIZIOVALIDITA, ESTCODICE");
  }
};

TEST_F(ImpExpNetti, OverlappingRowsClosedOnlyWhenAsked) {
  // Catches rows of the file written after the operator declined, running
  // rows left open although the box was ticked, and an empty tier stored
  // as NULL (a row the editor could not address).
  const std::string id = amb->NuovoListino("N");
  Riga(id, "OVR", "10");
  const std::string file = amb->File("sovrapposti.csv");
  AmbienteDemo::Scrivi(file, {"TESTA;", "OVR;0;12;01/06/2025;;;;"});
  auto f = Finestra(id);
  f->EditDirImp->SetText(file);
  {
    Operator op({ui::mrNo});
    f->ButtonImp->Click();
    ASSERT_EQ(op.Texts().size(), 1u);
    EXPECT_EQ(op.Texts()[0].rfind("Attenzione\r\rSono state rilevate delle sovrapposizioni", 0),
              0u);
  }
  EXPECT_EQ(Netti(id, "OVR"), (Righe{{"0", "10", "01/01/2025", kNull, "0", kNull}}));

  f->CheckBoxImpostaDataFineValidita->SetChecked(true);
  Operator op;
  f->ButtonImp->Click();
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"Importazione completata"});
  EXPECT_NE(TestoLog(*f).find("Cessazione validità listini articoli in acquisizione"),
            std::string::npos);
  EXPECT_EQ(Netti(id, "OVR"), (Righe{{"0", "10", "01/01/2025", "31/05/2025", "0", kNull},
                                     {"0", "12", "01/06/2025", kNull, "0", kNull}}));
}

TEST_F(ImpExpNetti, ClassicCheckRefusesWhatTheInsertWouldRefuse) {
  // Catches half an import into an empty list (a line the database refuses
  // passed the check, the rest was committed), a 65,542-byte code stored cut
  // to "VTL001", a NUL stored inside a code, a file that stores the same
  // article, extension, start date and tier twice, and a common-prices log
  // line for a NUL that names neither line nor article.
  const std::string id = amb->NuovoListino("N");
  const std::string file = amb->File("limiti.csv");
  AmbienteDemo::Scrivi(
      file, {"TESTA;", "CAF001;0;2;01/01/2025;;5;;", "ARTICOLODIVENTUNOCHAR;0;1;01/01/2025;;;;",
             "VTL001" + std::string(65536, 'X') + ";0;1;01/01/2025;;;;",
             "CAF002;ESTENSIONE1;1;01/01/2025;;;;", "CAF003;0;1000000000000000;01/01/2025;;;;",
             "CAF004;0;1;01/01/2025;;10000000000000000;;", "CAF005;0;1;01/01/2025;;;300000;",
             "CAF001;0;3;01/01/2025;;5,0004;;", std::string("VTL\0X;0;1;01/01/2025;;;;", 24),
             "CAF006;0;1;01/01/2025;;;214748,3647;"});
  auto f = Finestra(id);
  f->EditDirImp->SetText(file);
  Operator op;
  f->ButtonImp->Click();
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"Verifica non superata"});
  EXPECT_EQ(TestoLog(*f),
            "Analisi file\n"
            "Riga 3: Codice articolo più lungo di 20 caratteri\n"
            "Riga 4: Codice articolo più lungo di 20 caratteri\n"
            "Riga 5: Estensione più lunga di 10 caratteri\n"
            "Riga 6: Prezzo fuori dai limiti ammessi (da -922337203685477,5807 a "
            "922337203685477,5807)\n"
            "Riga 7: Quantità scaglione fuori dai limiti ammessi (da -9223372036854775,807 a "
            "9223372036854775,807)\n"
            "Riga 8: Provvigione fuori dai limiti ammessi (da -214748,3647 a 214748,3647)\n"
            "Riga 9: Articolo \"CAF001\" estensione \"0\" con la stessa data inizio validità e "
            "quantità scaglione della riga 2\n"
            "Riga 10: Il valore di CODICEARTICOLO contiene un carattere nullo (NUL), che "
            "l'archivio non può ricevere\n");
  EXPECT_EQ(amb->Valore("SELECT COUNT(*) FROM LISTSCDTNET WHERE IDLISTSC=" + id), "0");

  // The common-prices import's first pass refuses the long code in Italian.
  AmbienteDemo::Scrivi(file, {"TESTA;", "VTL001" + std::string(65536, 'X') + ";1;01/01/2025;;;;"});
  f->CheckBoxPrezziComuni->SetChecked(true);
  f->ButtonImp->Click();
  EXPECT_EQ(TestoLog(*f),
            "Inizio importazione file\n"
            "Anomalia import csv: Codice articolo più lungo di 20 caratteri: "
            "VTL001XXXXXXXXXXXXXX...\n");

  // A NUL in the code: the pass names the article, not the statement text.
  AmbienteDemo::Scrivi(file, {"TESTA;", std::string("VTL\0X;1;01/01/2025;;;;", 22)});
  f->ButtonImp->Click();
  EXPECT_EQ(TestoLog(*f),
            "Inizio importazione file\n"
            "Anomalia import csv: Carattere nullo (NUL) nel codice articolo VTL[NUL]X\n");
  EXPECT_EQ(amb->Valore("SELECT COUNT(*) FROM LISTSCDTNET WHERE IDLISTSC=" + id), "0");
}

TEST_F(ImpExpNetti, CommonPricesOneRowPerExtensionAndRefusedRowsUndone) {
  // Catches an extension missed (the sizes of TAGLIEOPERATIVE), a refused
  // insert that still closes the article's running price, and an unknown
  // article that stops or pollutes the import once the operator goes on.
  const std::string id = amb->NuovoListino("N");
  Riga(id, "GUA001", "5");
  Riga(id, "GUA002", "6");
  const std::string file = amb->File("comuni.csv");
  AmbienteDemo::Scrivi(file, {"TESTA;", "GUA001;2,5;01/03/2025;;;;", "",
                              "GUA002;3;01/03/2025;;abc;;", "NONCE;1;01/03/2025;;;;"});
  auto f = Finestra(id);
  f->CheckBoxPrezziComuni->SetChecked(true);
  f->EditDirImp->SetText(file);
  Operator op({ui::mrNo});
  f->ButtonImp->Click();
  EXPECT_EQ(op.Texts(),
            (std::vector<std::string>{"Annullare l'importazione?", "Importazione completata"}));
  const std::string log = TestoLog(*f);
  EXPECT_NE(log.find("Anomalia import csv: Codice articolo NONCE inesistente"), std::string::npos);
  EXPECT_NE(log.find("Errore interno durante l'importazione dell'articolo GUA002"),
            std::string::npos);
  EXPECT_NE(log.find("Netti importati: 5\nNetti falliti: 5\n"), std::string::npos);

  Righe attese = {{"0", "5", "01/01/2025", "28/02/2025", "0", kNull}};
  for (const char* e : {"0", "10", "7", "8", "9"})
    attese.push_back({e, "2,5", "01/03/2025", kNull, "0", kNull});
  EXPECT_EQ(Netti(id, "GUA001"), attese);
  EXPECT_EQ(Netti(id, "GUA002"), (Righe{{"0", "6", "01/01/2025", kNull, "0", kNull}}));
  EXPECT_TRUE(Netti(id, "NONCE").empty());
}

TEST_F(ImpExpNetti, FailingClosingUpdateTakesBackTheWholeImport) {
  // Catches half an import left in the shared transaction (the editor's
  // refresh would commit it) when a closing update is refused, and a
  // success message after the failure.
  const std::string id = amb->NuovoListino("N");
  Riga(id, "GUA003", "5");
  Riga(id, "GUA004", "6");
  amb->Sql("CREATE EXCEPTION E_CHIUSURA 'chiusura rifiutata'");
  amb->Sql(
      "CREATE TRIGGER T_CHIUSURA FOR LISTSCDTNET BEFORE UPDATE AS BEGIN "
      "IF (NEW.IDLISTSC = " +
      id +
      " AND NEW.CODICEARTICOLO = 'GUA004') THEN "
      "EXCEPTION E_CHIUSURA; END");
  const std::string file = amb->File("rifiutato.csv");
  AmbienteDemo::Scrivi(file, {"TESTA;", "GUA003;2;01/03/2025;;;;", "GUA004;3;01/03/2025;;;;"});
  auto f = Finestra(id);
  f->CheckBoxPrezziComuni->SetChecked(true);
  f->EditDirImp->SetText(file);
  {
    Operator op;
    f->ButtonImp->Click();
    ASSERT_EQ(op.Texts().size(), 1u);
    EXPECT_NE(op.Texts()[0].find("chiusura rifiutata"), std::string::npos);
  }
  // What the window's transaction holds now is what a refresh would commit.
  f->QueryAux1->GetTransaction()->CommitRetaining();
  amb->Sql("DROP TRIGGER T_CHIUSURA");
  amb->Sql("DROP EXCEPTION E_CHIUSURA");
  EXPECT_EQ(Netti(id, "GUA003"), (Righe{{"0", "5", "01/01/2025", kNull, "0", kNull}}));
  EXPECT_EQ(Netti(id, "GUA004"), (Righe{{"0", "6", "01/01/2025", kNull, "0", kNull}}));
}

TEST_F(ImpExpNetti, CommonPricesExportNeedsOnePricePerArticle) {
  // Catches a common-prices file written for an article whose extensions
  // have different prices today, and a wrong line once they agree.
  const std::string id = amb->NuovoListino("N");
  amb->SqlContesto(
      "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, DATAINIZIOVALIDITA, "
      "QUANTITASCAGLIONE) VALUES (" +
      id + ", 'X1', '0', 10, '01/01/2025', 0)");
  amb->SqlContesto(
      "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, DATAINIZIOVALIDITA, "
      "QUANTITASCAGLIONE, PROVVIGIONE) VALUES (" +
      id + ", 'X1', '1', 11, '01/02/2025', 0, 2.5)");
  const std::string file = amb->File("comuni_exp.csv");
  auto f = Finestra(id);
  f->CheckBoxPrezziComuniExport->SetChecked(true);
  f->EditDirExp->SetText(file);
  Operator op;
  f->ButtonExp->Click();
  EXPECT_NE(TestoLog(*f).find("Trovata probabile disomogeneità prezzi a parità di articolo."),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(file));

  amb->SqlContesto("UPDATE LISTSCDTNET SET PREZZO = 10 WHERE IDLISTSC = " + id);
  f->ButtonExp->Click();
  EXPECT_EQ(AmbienteDemo::Leggi(file),
            "CODICE ARTICOLO;PREZZO;DATA INIZIO VALIDITA;DATA FINE VALIDITA;QUANTITA SCAGLIONE;"
            "PROVVIGIONE;\r\nX1;10;01/01/2025;;0;2,5;\r\n");
  EXPECT_NE(TestoLog(*f).find("Netti esportati: 1"), std::string::npos);
}

TEST_F(ImpExpNetti, ClassicImportWritesTheFileItChecked) {
  // Catches an import pass that opens the file by name again (the file an
  // export put in the name's place while the overlap question waited
  // imported unchecked), a file written in place imported, a refusal that
  // keeps the closing pass, and a hold kept over the "Verifica non
  // superata" box.
  const std::string id = amb->NuovoListino("N");
  Riga(id, "OVR", "10");
  const std::string file = amb->File("controllato.csv");
  const std::vector<std::string> controllato = {"TESTA;", "OVR;0;12;01/06/2025;;;;"};
  AmbienteDemo::Scrivi(file, controllato);
  auto f = Finestra(id);
  f->EditDirImp->SetText(file);
  const Righe prima = {{"0", "10", "01/01/2025", kNull, "0", kNull}};
  {
    Operator op;
    AlBox domanda("Attenzione", [&] {
      AmbienteDemo::Sostituisci(file,
                                {"TESTA;", "ALTRO;0;1;01/06/2025;;;;", "ALTRO;1;1;01/06/2025;;;;"});
    });
    f->ButtonImp->Click();
    ASSERT_EQ(op.Texts().size(), 2u);
    EXPECT_EQ(op.Texts()[1], "Importazione completata");
  }
  EXPECT_NE(TestoLog(*f).find("Netti totali: 1\nNetti importati: 1\n"), std::string::npos);
  EXPECT_EQ(Netti(id, "OVR"), (Righe{prima[0], {"0", "12", "01/06/2025", kNull, "0", kNull}}));
  EXPECT_TRUE(Netti(id, "ALTRO").empty());

  // Written in place while the question waits: refused before any write.
  const std::string id2 = amb->NuovoListino("N");
  Riga(id2, "OVR", "10");
  AmbienteDemo::Scrivi(file, controllato);
  auto g = Finestra(id2);
  g->EditDirImp->SetText(file);
  {
    Operator op;
    AlBox domanda("Attenzione", [&] {
      AmbienteDemo::Scrivi(file, {"TESTA;", "ALTRO;0;1;01/06/2025;;;;"});
    });
    g->ButtonImp->Click();
    ASSERT_EQ(op.Texts().size(), 2u);
    EXPECT_EQ(op.Texts()[1], ErroreLettura(file));
  }
  // Written in place after the closing pass wrote: that pass and the rows
  // are rolled back, the hold given back before the box.
  AmbienteDemo::Scrivi(file, controllato);
  g->CheckBoxImpostaDataFineValidita->SetChecked(true);
  bool altroScrive = false;
  {
    Operator op;
    AlLog(*g, "Inizio importazione file", [&] {
      AmbienteDemo::Scrivi(file, {"TESTA;", "ALTRO;0;1;01/06/2025;;;;"});
    });
    AlBox errore("Errore di lettura", [&] { altroScrive = amb->AltroScrive(id2); });
    g->ButtonImp->Click();
    EXPECT_EQ(op.Texts(), std::vector<std::string>{ErroreLettura(file)});
  }
  EXPECT_TRUE(altroScrive);
  ConfermaFinestra(*g);
  EXPECT_EQ(Netti(id2, "OVR"), prima);
  EXPECT_TRUE(Netti(id2, "ALTRO").empty());

  // The check refuses the file: the list is free while its box waits.
  AmbienteDemo::Scrivi(file, {"TESTA;", "OVR;0;;01/06/2025;;;;"});
  altroScrive = false;
  Operator op;
  AlBox verifica("Verifica non superata", [&] { altroScrive = amb->AltroScrive(id2); });
  g->ButtonImp->Click();
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"Verifica non superata"});
  EXPECT_TRUE(altroScrive);
}

TEST_F(ImpExpNetti, CommonPricesFileRewrittenInPlaceWritesNothing) {
  // Catches a file written in place while "Annullare l'importazione?"
  // waits, or while the import pass runs, imported in part; and a hold
  // given back over that question, which can still lead to the write.
  const std::string id = amb->NuovoListino("N");
  Riga(id, "GUA001", "5");
  Riga(id, "GUA002", "6");
  const Righe gua001 = {{"0", "5", "01/01/2025", kNull, "0", kNull}};
  const std::string file = amb->File("comuni_sul_posto.csv");
  AmbienteDemo::Scrivi(file, {"TESTA;", "GUA001;2;01/03/2025;;;;", "NONCE;1;01/03/2025;;;;"});
  auto f = Finestra(id);
  f->CheckBoxPrezziComuni->SetChecked(true);
  f->EditDirImp->SetText(file);
  bool altroScrive = true;
  {
    Operator op({ui::mrNo, ui::mrOk});
    AlBox domanda("Annullare", [&] {
      altroScrive = amb->AltroScrive(id);
      AmbienteDemo::Scrivi(file, {"TESTA;", "GUA001;3;01/03/2025;;;;"});
    });
    f->ButtonImp->Click();
    EXPECT_EQ(op.Texts(),
              (std::vector<std::string>{"Annullare l'importazione?", ErroreLettura(file)}));
  }
  EXPECT_FALSE(altroScrive);

  // GUA002's rows are refused (a tier that is no number) after GUA001's
  // were written; the file changes meanwhile.
  AmbienteDemo::Scrivi(file, {"TESTA;", "GUA001;2;01/03/2025;;;;", "GUA002;3;01/03/2025;;abc;;"});
  {
    Operator op;
    AlLog(*f, "Errore interno durante l'importazione dell'articolo GUA002",
          [&] { AmbienteDemo::Scrivi(file, {"TESTA;"}); });
    f->ButtonImp->Click();
    EXPECT_EQ(op.Texts(), std::vector<std::string>{ErroreLettura(file)});
  }
  EXPECT_EQ(TestoLog(*f).find("Netti importati"), std::string::npos);
  ConfermaFinestra(*f);
  EXPECT_EQ(Netti(id, "GUA001"), gua001);
  EXPECT_EQ(Netti(id, "GUA002"), (Righe{{"0", "6", "01/01/2025", kNull, "0", kNull}}));
}

TEST_F(ImpExpNetti, FileRewrittenToTheSameSizeWritesNothing) {
  // Catches a file written in place told by its size alone: a rewrite of
  // the same length, dated otherwise, imported by the classic import after
  // its overlap question, or by the common-prices import after
  // "Annullare l'importazione?".
  const std::string id = amb->NuovoListino("N");
  Riga(id, "OVR", "10");
  const std::string file = amb->File("stessa_misura.csv");
  AmbienteDemo::Scrivi(file, {"TESTA;", "OVR;0;12;01/06/2025;;;;"});
  auto f = Finestra(id);
  f->EditDirImp->SetText(file);
  {
    Operator op;
    AlBox domanda("Attenzione", [&] {
      AmbienteDemo::RiscriviStessaMisura(file, {"TESTA;", "ALT;0;12;01/06/2025;;;;"});
    });
    f->ButtonImp->Click();
    ASSERT_EQ(op.Texts().size(), 2u);
    EXPECT_EQ(op.Texts()[1], ErroreLettura(file));
  }
  ConfermaFinestra(*f);
  EXPECT_EQ(Netti(id, "OVR"), (Righe{{"0", "10", "01/01/2025", kNull, "0", kNull}}));
  EXPECT_TRUE(Netti(id, "ALT").empty());

  const std::string id2 = amb->NuovoListino("N");
  Riga(id2, "GUA001", "5");
  AmbienteDemo::Scrivi(file, {"TESTA;", "GUA001;2;01/03/2025;;;;", "NONCE;1;01/03/2025;;;;"});
  auto g = Finestra(id2);
  g->CheckBoxPrezziComuni->SetChecked(true);
  g->EditDirImp->SetText(file);
  {
    Operator op({ui::mrNo, ui::mrOk});
    AlBox domanda("Annullare", [&] {
      AmbienteDemo::RiscriviStessaMisura(
          file, {"TESTA;", "GUA001;3;01/03/2025;;;;", "NONCE;1;01/03/2025;;;;"});
    });
    g->ButtonImp->Click();
    EXPECT_EQ(op.Texts(),
              (std::vector<std::string>{"Annullare l'importazione?", ErroreLettura(file)}));
  }
  ConfermaFinestra(*g);
  EXPECT_EQ(Netti(id2, "GUA001"), (Righe{{"0", "5", "01/01/2025", kNull, "0", kNull}}));
}

TEST_F(ImpExpNetti, ExportsReadWhatIsCommittedWhenTheyStart) {
  // Catches an export that reads the editor's old view (a row another
  // session committed since left out, or a price made different kept out
  // of the uniformity check), and one that renews the shared transaction,
  // closing the editor's data sets.
  const std::string id = amb->NuovoListino("N");
  Riga(id, "EXP1", "1");
  const std::string file = amb->File("esportato.csv");
  auto f = Finestra(id);
  f->EditDirExp->SetText(file);
  f->QueryAux2->SQL.Add("SELECT ID FROM LISTSC");
  f->QueryAux2->Open();
  Operator op;
  f->ButtonExp->Click();
  amb->Sql(
      "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, DATAINIZIOVALIDITA, "
      "QUANTITASCAGLIONE) VALUES (" +
      id + ", 'EXP2', '0', 2, '01/01/2025', 0)");
  f->ButtonExp->Click();
  EXPECT_EQ(AmbienteDemo::Leggi(file),
            "CODICE ARTICOLO;ESTENSIONE CODICE;PREZZO;DATA INIZIO VALIDITA;DATA FINE VALIDITA;"
            "QUANTITA SCAGLIONE;PROVVIGIONE;\r\nEXP1;0;1;01/01/2025;;0;;\r\n"
            "EXP2;0;2;01/01/2025;;0;;\r\n");
  EXPECT_NE(TestoLog(*f).find("Netti esportati: 1\nInizio esportazione file\nNetti esportati: 2"),
            std::string::npos);
  EXPECT_TRUE(f->QueryAux2->Active());

  amb->Sql(
      "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, DATAINIZIOVALIDITA, "
      "QUANTITASCAGLIONE) VALUES (" +
      id + ", 'EXP1', '1', 3, '01/01/2025', 0)");
  f->CheckBoxPrezziComuniExport->SetChecked(true);
  f->ButtonExp->Click();
  EXPECT_NE(TestoLog(*f).find("Trovata probabile disomogeneità prezzi"), std::string::npos);
  EXPECT_NE(AmbienteDemo::Leggi(file).find("EXP2;0;2"), std::string::npos);  // not written again
  EXPECT_TRUE(f->QueryAux2->Active());
}

}  // namespace
}  // namespace velmaro::testing
