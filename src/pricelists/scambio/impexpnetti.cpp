#include "pricelists/scambio/impexpnetti.h"

#include "context/datamodule.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "db/sqlstatement.h"
#include "pricelists/presalistino.h"
#include "pricelists/scambio/filescambio.h"
#include "pricelists/scambio/importclassico.h"
#include "ui/application.h"
#include "ui/extctrls.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {
namespace {

const char* const kIntestazioneClassica =
    "CODICE ARTICOLO;ESTENSIONE CODICE;PREZZO;DATA INIZIO VALIDITA;DATA FINE VALIDITA;"
    "QUANTITA SCAGLIONE;PROVVIGIONE;";
const char* const kIntestazioneComuni =
    "CODICE ARTICOLO;PREZZO;DATA INIZIO VALIDITA;DATA FINE VALIDITA;QUANTITA SCAGLIONE;"
    "PROVVIGIONE;";
const char* const kValidiOggi[] = {
    "AND ((a.DATAINIZIOVALIDITA IS NULL) OR (a.DATAINIZIOVALIDITA<='NOW'))",
    "AND ((a.DATAFINEVALIDITA IS NULL) OR ('NOW'<=a.DATAFINEVALIDITA))"};

// Disables a window for the length of a command, whatever happens in it.
class Disabilitata {
 public:
  explicit Disabilitata(ui::Form& f) : f_(f) { f_.SetEnabled(false); }
  ~Disabilitata() { f_.SetEnabled(true); }
  Disabilitata(const Disabilitata&) = delete;
  Disabilitata& operator=(const Disabilitata&) = delete;

 private:
  ui::Form& f_;
};

}  // namespace

TImpExpLisNettiForm::TImpExpLisNettiForm(ui::Component* owner, const std::string& idListino,
                                         CellaDataModule* cellaDM)
    : TImpExpListinoForm(owner, idListino, cellaDM, "lisNetto.csv") {
  SetName("ImpExpLisNettiForm");
  TTabXForm& tabx = CellaDM->Riferimento().TabX();
  QueryAux2 = ui::Make<db::Query>(this, "QueryAux2", tabx.IBDatabase1, tabx.IBTransaction1);
  CheckBoxPrezziComuniExport = ui::Make<ui::CheckBox>(
      this, "CheckBoxPrezziComuniExport", {96, 38, 360, 17}, "Prezzi comuni a tutte le estensioni");
  CheckBoxPrezziComuni = ui::Make<ui::CheckBox>(this, "CheckBoxPrezziComuni", {96, 102, 360, 17},
                                                "Prezzi comuni a tutte le estensioni");
  CheckBoxImpostaDataFineValidita =
      ui::Make<ui::CheckBox>(this, "CheckBoxImpostaDataFineValidita", {96, 122, 360, 17},
                             "Imposta data fine validità articoli esistenti");
  LabelAttenzione = ui::Make<ui::Label>(
      this, "LabelAttenzione", {8, 142, 536, 17},
      "Attenzione: i listini importati devono sempre avere la colonna data inizio validità ");
  DoCreate();
}

void TImpExpLisNettiForm::ButtonExpClick() {
  if (CheckBoxPrezziComuniExport->Checked())
    ExportPrezziComuni();
  else
    ExportClassico();
}

void TImpExpLisNettiForm::ButtonImpClick() {
  if (CheckBoxPrezziComuni->Checked())
    ImportPrezziComuni();
  else
    ImportClassico();
}

void TImpExpLisNettiForm::ExportClassico() {
  Esporta(
      kIntestazioneClassica,
      {"SELECT a.CODICEARTICOLO, a.ESTCODICE, a.PREZZO, a.DATAINIZIOVALIDITA, a.DATAFINEVALIDITA,",
       " a.QUANTITASCAGLIONE, a.PROVVIGIONE FROM LISTSCDTNET a WHERE a.IDLISTSC='" + IDListino +
           "'"},
      // Article, extension, start date and tier, then the rest.
      "ORDER BY 1, 2, 4, 6, 3, 5, 7", "Netti esportati: ");
}

void TImpExpLisNettiForm::ExportPrezziComuni() {
  // An article with more than one price among its rows valid today has no
  // common price: nothing is written.
  const auto uniforme = [this](db::Transaction& vista) {
    db::SqlStatement doppi(QueryAux1->GetDatabase(), &vista);
    doppi.SQL.Assign({"SELECT CODICEARTICOLO FROM (",
                      "SELECT a.CODICEARTICOLO, a.PREZZO FROM LISTSCDTNET a WHERE a.IDLISTSC='" +
                          IDListino + "'",
                      kValidiOggi[0], kValidiOggi[1], "GROUP BY a.CODICEARTICOLO, a.PREZZO ",
                      ") M GROUP BY CODICEARTICOLO HAVING COUNT(*)>1"});
    doppi.ExecQuery();
    if (doppi.Eof()) return true;
    Log("Trovata probabile disomogeneità prezzi a parità di articolo. Si consiglia di effettuare "
        "un export normale e ricercare l'anomalia con Excel");
    return false;
  };
  Esporta(kIntestazioneComuni,
          {"SELECT a.CODICEARTICOLO, a.PREZZO, MIN(a.DATAINIZIOVALIDITA), MIN(a.DATAFINEVALIDITA),",
           " MIN(a.QUANTITASCAGLIONE), MIN(a.PROVVIGIONE) FROM LISTSCDTNET a WHERE a.IDLISTSC='" +
               IDListino + "'",
           kValidiOggi[0], kValidiOggi[1], "GROUP BY a.CODICEARTICOLO, a.PREZZO "},
          "ORDER BY 1, 2", "Netti esportati: ", uniforme);
}

void TImpExpLisNettiForm::ImportClassico() {
  const std::string nome = EditDirImp->Text();
  std::string errore;
  if (nome.empty())
    errore = "Specificare un file da importare";
  else if (!FileDaLeggere(nome))
    errore = "File \"" + nome + "\" non trovato";
  if (!errore.empty()) {
    ui::MessageDlg("Operazione non consentita: " + errore, ui::MsgDlgType::Warning, ui::mbOK);
    return;
  }
  const auto presa = PresaListino::Prendi(
      *QueryAux1->GetTransaction(), IDListino,
      {.errore = "Errore interno: impossibile inserire un nuovo record",
       .genere = PresaTestata::Genere::Netti});
  if (!presa) return;
  MemoLog->Lines.Clear();
  Progresso(0, 1);
  {
    Disabilitata finestra(*this);
    EseguiImportClassico(nome, *presa);
  }
  Progresso(0, 1);
}

void TImpExpLisNettiForm::EseguiImportClassico(const std::string& nomeFile, PresaTestata& presa) {
  TImportClassico import(this);
  import.Database = QueryAux1->GetDatabase();
  import.Transazione = QueryAux1->GetTransaction();
  import.NomeFile = nomeFile;
  import.IDListino = std::stoi(IDListino);
  import.Log = &MemoLog->Lines;
  import.Progresso = ProgressExp;

  Log("Analisi file");
  if (!import.Verifica()) {
    presa.Annulla();
    ui::MessageDlg("Verifica non superata", ui::MsgDlgType::Warning, ui::mbOK);
    return;
  }
  const bool chiudi =
      !import.Sovrapposizioni().empty() && CheckBoxImpostaDataFineValidita->Checked();
  if (!import.Sovrapposizioni().empty() && !chiudi &&
      ui::MessageDlg("Attenzione\r\rSono state rilevate delle sovrapposizioni di validità tra i "
                     "listini presenti e quelli in importazione da file.\rSi consiglia di usare "
                     "l'opzione \"Imposta data fine validità articoli esistenti\"\r\rContinuare lo "
                     "stesso?",
                     ui::MsgDlgType::Warning, ui::mbYesNo) != ui::mrYes)
    return;
  // The passes read the file the check opened; one written in place since
  // (while the question waited, say) is not imported.
  ControllaFile(import.File(), presa);
  if (chiudi) {
    Log("Cessazione validità listini articoli in acquisizione");
    if (!import.CessaValidita()) {
      presa.Annulla();
      ui::MessageDlg("Fallita cessazione validità listini.\rElaborazione interrotta",
                     ui::MsgDlgType::Error, ui::mbOK);
      return;
    }
  }
  Log("Inizio importazione file");
  import.Importa();
  ControllaFile(import.File(), presa);
  presa.Conferma();
  Log("Fine importazione file");
  Log("Netti totali: " + std::to_string(import.RigheContate()));
  if (import.Inseriti() > 0) Log("Netti importati: " + std::to_string(import.Inseriti()));
  if (import.Falliti() > 0) Log("Netti falliti: " + std::to_string(import.Falliti()));
  ui::MessageDlg("Importazione completata", ui::MsgDlgType::Information, ui::mbOK);
}

}  // namespace velmaro
