#include "pricelists/scambio/impexpsconti.h"

#include "context/helpers.h"
#include "db/query.h"
#include "pricelists/presalistino.h"
#include "pricelists/scambio/filescambio.h"
#include "ui/application.h"
#include "ui/stdctrls.h"

namespace velmaro {

TImpExpLisScontiForm::TImpExpLisScontiForm(ui::Component* owner, const std::string& idListino,
                                           CellaDataModule* cellaDM)
    : TImpExpListinoForm(owner, idListino, cellaDM, "lisSconto.csv") {
  SetName("ImpExpLisScontiForm");
  DoCreate();
}

void TImpExpLisScontiForm::ButtonExpClick() {
  Esporta(
      "DESCRIZIONE;DATA INIZIO VALIDITA;DATA FINE VALIDITA;QUANTITA SCAGLIONE;SCONTO1;SCONTO2;"
      "SCONTO3;VALORESEL1;VALORESEL2;VALORESEL3;PROVVIGIONE;",
      {"SELECT a.DESCRIZIONE,a.DATAINIZIOVALIDITA,a.DATAFINEVALIDITA, ",
       "a.QUANTITASCAGLIONE,a.SCONTO1,a.SCONTO2,a.SCONTO3, ",
       "a.VALORESEL1,a.VALORESEL2,a.VALORESEL3,a.PROVVIGIONE ",
       " FROM LISTSCDTSCO a WHERE a.IDLISTSC='" + IDListino + "'"},
      // Description, start date and tier, then the rest.
      "ORDER BY 1, 2, 4, 3, 5, 6, 7, 8, 9, 10, 11", "Sconti esportati: ");
}

std::vector<std::string> TImpExpLisScontiForm::StatementRiga(const std::string& riga) const {
  auto campo = [&riga](int n) { return CampoW(riga, n); };
  const std::string fine = campo(3);
  return {"INSERT INTO LISTSCDTSCO(IDLISTSC,DESCRIZIONE,",
          "DATAINIZIOVALIDITA,DATAFINEVALIDITA,QUANTITASCAGLIONE,",
          "SCONTO1,SCONTO2,SCONTO3,VALORESEL1,VALORESEL2,VALORESEL3,", "PROVVIGIONE) VALUES(",
          IDListino + ",", Letterale(campo(1)) + ",", Letterale(ReturnDateSQL(campo(2))) + ",",
          (Rifila(fine).empty() ? std::string("NULL") : Letterale(ReturnDateSQL(fine))) + ",",
          // A tier the export wrote with a decimal comma reads back.
          Letterale(VirgolaInPunto(campo(4))) + ",",
          LetteraleONull(VirgolaInPunto(campo(5)), Assente::SeBianco) + ",",
          LetteraleONull(VirgolaInPunto(campo(6)), Assente::SeBianco) + ",",
          LetteraleONull(VirgolaInPunto(campo(7)), Assente::SeBianco) + ",",
          LetteraleONull(campo(8), Assente::SeBianco) + ",",
          LetteraleONull(campo(9), Assente::SeBianco) + ",",
          LetteraleONull(campo(10), Assente::SeBianco) + ",",
          LetteraleONull(VirgolaInPunto(campo(11)), Assente::SeBianco), ")"};
}

void TImpExpLisScontiForm::ButtonImpClick() {
  LettoreRighe file(EditDirImp->Text());
  const auto presa = PresaListino::Prendi(
      *QueryAux1->GetTransaction(), IDListino,
      {.errore = "Errore interno: impossibile inserire un nuovo record",
       .genere = PresaTestata::Genere::Sconti});
  if (!presa) return;
  // The count and the import read the file opened here; one written in
  // place meanwhile is not imported.
  file.SegnaStato();
  const int righeFile = file.ContaRighe();
  Log("Inizio importazione file");
  ControllaFile(file, *presa);
  std::string riga;
  file.Leggi(riga);
  int importati = 0, falliti = 0;
  long long fatte = 0;
  while (file.Leggi(riga)) {
    const std::vector<std::string> statement = StatementRiga(riga);
    try {
      ImpostaSQL(statement);
      QueryAux1->ExecSQL();
      ++importati;
    } catch (const std::exception&) {
      ++falliti;
      Log("Errore interno durante l'importazione dell'articolo " + CampoW(riga, 1));
      for (const std::string& r : statement) Log(r);
    }
    Progresso(++fatte, righeFile);
  }
  ControllaFile(file, *presa);
  Log("Sconti importati: " + std::to_string(importati));
  Log("Sconti falliti: " + std::to_string(falliti));
  Progresso(1, 1);
  presa->Conferma();
  ui::MessageDlg("Importazione completata", ui::MsgDlgType::Information, ui::mbOK);
}

}  // namespace velmaro
