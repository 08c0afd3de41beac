// The common-prices import of the net-price exchange: one line per article
// whose price holds for every extension of the article. Three checking
// passes write nothing; the fourth closes the running rows and inserts one
// row per extension.
#include <functional>
#include <optional>
#include <unordered_set>

#include "context/dbutility.h"
#include "context/helpers.h"
#include "db/query.h"
#include "pricelists/presalistino.h"
#include "pricelists/scambio/filescambio.h"
#include "pricelists/scambio/impexpnetti.h"
#include "ui/application.h"
#include "ui/extctrls.h"
#include "ui/stdctrls.h"
#include "ui/utf8.h"

namespace velmaro {
namespace {

// Each data line of the file in turn (the header and blank lines skipped)
// until `riga` answers false.
void PerOgniRiga(LettoreRighe& file, const std::function<bool(const std::string&)>& riga) {
  file.Riavvolgi();
  std::string testo;
  if (!file.Leggi(testo)) return;
  while (file.Leggi(testo)) {
    if (Rifila(testo).empty()) continue;
    if (!riga(testo)) return;
  }
}

std::string SenzaPunti(const std::string& testo) {
  std::string out;
  for (char c : testo)
    if (c != '.') out += c;
  return out;
}

// The text with each NUL shown as "[NUL]": a log line cannot hold one.
std::string ConNulVisibili(const std::string& testo) {
  std::string visibile;
  for (char c : testo) visibile += c == '\0' ? std::string("[NUL]") : std::string(1, c);
  return visibile;
}

bool Annullare() {
  return ui::MessageDlg("Annullare l'importazione?", ui::MsgDlgType::Warning, ui::mbYesNo) ==
         ui::mrYes;
}

}  // namespace

std::optional<std::string> TImpExpLisNettiForm::PrimoValore(const std::vector<std::string>& righe) {
  ImpostaSQL(righe);
  QueryAux1->Open();
  std::optional<std::string> valore;
  if (!QueryAux1->Eof()) valore = QueryAux1->Fields()[0]->AsString();
  QueryAux1->Close();
  return valore;
}

long long TImpExpLisNettiForm::Conta(const std::vector<std::string>& righe) {
  const std::optional<std::string> n = PrimoValore(righe);
  return n && !n->empty() ? std::stoll(*n) : 0;
}

void TImpExpLisNettiForm::Esegui(const std::vector<std::string>& righe) {
  ImpostaSQL(righe);
  QueryAux1->ExecSQL();
}

void TImpExpLisNettiForm::ImportPrezziComuni() {
  MemoLog->Lines.Clear();
  Progresso(0, 1);
  LettoreRighe file(EditDirImp->Text());
  const auto presa = PresaListino::Prendi(
      *QueryAux1->GetTransaction(), IDListino,
      {.errore = "Errore interno: impossibile inserire un nuovo record",
       .genere = PresaTestata::Genere::Netti});
  if (!presa) return;
  // Every pass reads the file opened here; one written in place while the
  // passes ran (or while a question waited) is not imported.
  file.SegnaStato();
  const int righeFile = file.ContaRighe();
  Log("Inizio importazione file");
  const bool importa =
      ControllaDateInizio(file) && ControllaArticoli(file) && ControllaRipetuti(file);
  if (importa) {
    ControllaFile(file, *presa);
    ImportaComuni(file, righeFile, *presa);
  }
  presa->Conferma();
  if (importa) ui::MessageDlg("Importazione completata", ui::MsgDlgType::Information, ui::mbOK);
}

bool TImpExpLisNettiForm::ControllaDateInizio(LettoreRighe& file) {
  bool riuscito = true;
  // A code longer than the column names no article; one too long for a
  // statement would stop this pass with the engine's own text.
  const int lunghezzaCodice = TableColumns("LISTSCDTNET", *QueryAux1->GetDatabase(),
                                           *QueryAux1->GetTransaction())["CODICEARTICOLO"]
                                  .characters;
  PerOgniRiga(file, [&](const std::string& riga) {
    const std::string articolo = CampoW(riga, 1);
    const std::string inizio = CampoW(riga, 3);
    if (!DataValida(TestoInData(inizio))) {
      Log("Anomalia import csv: Data inizio validità non presente per l'articolo " +
          ConNulVisibili(articolo));
      return riuscito = false;
    }
    if (lunghezzaCodice > 0 && ui::utf8::Length(articolo) > lunghezzaCodice) {
      Log("Anomalia import csv: Codice articolo più lungo di " + std::to_string(lunghezzaCodice) +
          " caratteri: " + ui::utf8::Sub(articolo, 0, lunghezzaCodice) + "...");
      return riuscito = false;
    }
    // The database cannot receive a NUL: the code is refused here, shown
    // with the NUL marked, rather than by the statement naming no article.
    if (articolo.find('\0') != std::string::npos) {
      Log("Anomalia import csv: Carattere nullo (NUL) nel codice articolo " +
          ConNulVisibili(articolo));
      return riuscito = false;
    }
    try {
      if (Conta({"SELECT COALESCE(COUNT(*),0) C FROM LISTSCDTNET WHERE",
                 "IDLISTSC=" + IDListino + " AND DATAINIZIOVALIDITA>='" + ReturnDateSQL(inizio) +
                     "' AND ",
                 "CODICEARTICOLO='" + Apici(articolo) + "'"}) > 0) {
        Log("Anomalia import csv: Data inizio validità non valida per l'articolo " + articolo);
        return riuscito = false;
      }
    } catch (const std::exception& e) {
      Log(e.what());
      return riuscito = false;
    }
    return true;
  });
  return riuscito;
}

bool TImpExpLisNettiForm::ControllaArticoli(LettoreRighe& file) {
  bool anomalie = false;
  PerOgniRiga(file, [&](const std::string& riga) {
    const std::string articolo = CampoW(riga, 1);
    if (Conta({"SELECT COALESCE(COUNT(*),0) C FROM ANAMAG WHERE",
               "CODICE='" + Apici(articolo) + "'"}) == 0) {
      Log("Anomalia import csv: Codice articolo " + articolo + " inesistente");
      anomalie = true;
    }
    return true;
  });
  return !(anomalie && Annullare());
}

bool TImpExpLisNettiForm::ControllaRipetuti(LettoreRighe& file) {
  bool anomalie = false;
  std::unordered_set<std::string> visti;
  PerOgniRiga(file, [&](const std::string& riga) {
    const std::string articolo = CampoW(riga, 1);
    if (!visti.insert(articolo).second) {
      Log("Articolo " + articolo + " inserito due o più volte");
      anomalie = true;
    }
    return true;
  });
  return !(anomalie && Annullare());
}

std::vector<std::string> TImpExpLisNettiForm::Estensioni(const std::string& articolo) {
  std::vector<std::string> estensioni;
  std::unordered_set<std::string> viste;
  for (const std::string& sql :
       {"SELECT DISTINCT ESTENSIONE EST FROM ANAMAG WHERE CODICE='" + Apici(articolo) + "'",
        "SELECT DISTINCT T.DESCRIZIONE2 EST FROM ANAMAG A INNER JOIN TAGLIEOPERATIVE T ON "
        "(A.CLASSIFICAZIONE5=T.CODICE) WHERE A.CODICE='" +
            Apici(articolo) + "'"}) {
    ImpostaSQL({sql});
    for (QueryAux1->Open(); !QueryAux1->Eof(); QueryAux1->Next()) {
      const std::string e = QueryAux1->FieldByName("EST").AsString();
      if (viste.insert(e).second) estensioni.push_back(e);
    }
    QueryAux1->Close();
  }
  return estensioni;
}

// The whole pass runs under a savepoint: a closing update that fails takes
// back everything the pass wrote before the error reaches the operator, so
// the editor's refresh, which commits, cannot keep half an import. A file
// written in place while the pass ran rolls back the whole import.
void TImpExpLisNettiForm::ImportaComuni(LettoreRighe& file, int righeFile, PresaTestata& presa) {
  int inseriti = 0, falliti = 0;
  long long fatte = 0;
  Esegui({"SAVEPOINT IMPEXP_COMUNI"});
  try {
    PerOgniRiga(file, [&](const std::string& riga) {
      for (const std::string& estensione : Estensioni(CampoW(riga, 1))) {
        ImportaEstensione(riga, estensione, inseriti, falliti);
        Progresso(++fatte, righeFile);
      }
      return true;
    });
  } catch (...) {
    Esegui({"ROLLBACK TO SAVEPOINT IMPEXP_COMUNI"});
    Esegui({"RELEASE SAVEPOINT IMPEXP_COMUNI"});
    throw;
  }
  Esegui({"RELEASE SAVEPOINT IMPEXP_COMUNI"});
  ControllaFile(file, presa);
  Log("Netti importati: " + std::to_string(inseriti));
  Log("Netti falliti: " + std::to_string(falliti));
  Progresso(1, 1);
}

// Closes the running rows of one extension and inserts its new row; when
// the insert is refused the closing is taken back too, so the article
// keeps its running price. A failing closing update is raised.
void TImpExpLisNettiForm::ImportaEstensione(const std::string& riga, const std::string& estensione,
                                            int& inseriti, int& falliti) {
  const std::string articolo = CampoW(riga, 1), prezzo = CampoW(riga, 2), inizio = CampoW(riga, 3),
                    fine = CampoW(riga, 4), quantita = CampoW(riga, 5),
                    provvigione = CampoW(riga, 6);
  const std::string giorno = MeseGiornoAnnoSeValida(TestoInData(inizio) - 1);
  Esegui({"SAVEPOINT IMPEXP_ESTENSIONE"});
  Esegui({"UPDATE LISTSCDTNET SET DATAFINEVALIDITA='" + giorno + "' WHERE",
          "IDLISTSC=" + IDListino + " AND (DATAFINEVALIDITA IS NULL OR DATAFINEVALIDITA>'" +
              giorno + "') AND ",
          "CODICEARTICOLO='" + Apici(articolo) + "' AND ESTCODICE='" + Apici(estensione) + "'"});
  const std::vector<std::string> insert = {
      "INSERT INTO LISTSCDTNET(IDLISTSC,CODICEARTICOLO,ESTCODICE,PREZZO,",
      "DATAINIZIOVALIDITA,DATAFINEVALIDITA,QUANTITASCAGLIONE,PROVVIGIONE) VALUES(", IDListino + ",",
      Letterale(articolo) + ",", Letterale(estensione) + ",",
      LetteraleONull(VirgolaInPunto(SenzaPunti(prezzo)), Assente::SeBianco) + ",",
      Letterale(ReturnDateSQL(inizio)) + ",",
      (Rifila(fine).empty() ? std::string("NULL") : Letterale(ReturnDateSQL(fine))) + ",",
      // A tier written with a decimal comma reads back as the export wrote it.
      LetteraleONull(VirgolaInPunto(quantita), Assente::SeBianco, "0") + ",",
      LetteraleONull(VirgolaInPunto(provvigione), Assente::SeBianco), ")"};
  try {
    Esegui(insert);
    ++inseriti;
  } catch (const std::exception&) {
    Esegui({"ROLLBACK TO SAVEPOINT IMPEXP_ESTENSIONE"});
    ++falliti;
    Log("Errore interno durante l'importazione dell'articolo " + articolo);
    for (const std::string& r : insert) Log(r);
  }
  Esegui({"RELEASE SAVEPOINT IMPEXP_ESTENSIONE"});
}

}  // namespace velmaro
