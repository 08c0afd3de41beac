#include "context/launch.h"

#include <memory>
#include <stdexcept>

#include "context/datamodule.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "platform/format.h"
#include "platform/hostfolder.h"
#include "ui/application.h"

namespace velmaro {

// ---- the window base

FinestraDaExport::FinestraDaExport(ui::Component* owner, CellaDataModule* cellaDM)
    : ui::Form(owner), CellaDM(cellaDM) {
  OnClose = [this](ui::Component* s, ui::CloseAction& a) { FormClose(s, a); };
  OnDestroy = [this](ui::Component* s) { FormDestroy(s); };
  if (TDataModuleVelmaro* dm = cellaDM ? cellaDM->Oggetto() : nullptr) {
    vivoDM_ = dm->Ref();
    if (TTabXForm* tabx = dm->CellaTabX ? dm->CellaTabX->Oggetto() : nullptr)
      vivoTabX_ = tabx->Ref();
  }
}

// A plain delete skips the destroy handler; the call's objects must not
// outlive their window on that path either.
FinestraDaExport::~FinestraDaExport() {
  if (ApertaDaExport && CellaDM) LiberaOggettiDellaChiamata();
}

TTabXForm& FinestraDaExport::TabX() const { return DM().TabX(); }

std::string FinestraDaExport::TitoloOperatore(const std::string& prefisso) const {
  return prefisso + " - Utente: " + TabX().GetNomeUser() + " - Ditta: " + TabX().GetDitta();
}

void FinestraDaExport::FormClose(ui::Component*, ui::CloseAction& action) {
  RilasciaOggettiExport(action);
}

void FinestraDaExport::FormDestroy(ui::Component*) { RilasciaCellaFinestra(); }

void FinestraDaExport::RilasciaOggettiExport(ui::CloseAction& action) {
  if (!ApertaDaExport || !CellaDM) return;
  LiberaOggettiDellaChiamata();
  action = ui::CloseAction::Free;
}

void FinestraDaExport::RilasciaCellaFinestra() {
  // Freed without a close (ui::Free, the host ending): the data module and
  // the context object belong to the application and would stay behind
  // with their connections open.
  if (ApertaDaExport && CellaDM) LiberaOggettiDellaChiamata();
  delete CellaFinestra;
  CellaFinestra = nullptr;
}

void FinestraDaExport::LiberaOggettiDellaChiamata() {
  CellaDataModule* cellaDM = CellaDM;
  CellaDM = nullptr;
  CellaTabX* cellaTabX = nullptr;
  if (vivoDM_ && cellaDM->Oggetto()) {
    cellaTabX = cellaDM->Oggetto()->CellaTabX;
    ui::Free(cellaDM->Oggetto());
  }
  cellaDM->Imposta(nullptr);
  delete cellaDM;
  if (!cellaTabX) return;
  if (vivoTabX_ && cellaTabX->Oggetto()) ui::Free(cellaTabX->Oggetto());
  cellaTabX->Imposta(nullptr);
  delete cellaTabX;
}

std::string FileIconaFinestre() {
  return plat::IncludeTrailingPathDelimiter(plat::HostFolder()) + "Grafica/ZAREVUZI.ICO";
}

// ---- the objects of a call

OggettiChiamata::OggettiChiamata(std::int32_t utente, const OpzioniLancio& opzioni) {
  const std::string numUtente = plat::IntToStr(utente);
  contesto_.Imposta(new TTabXForm(&ui::App(), 0));
  // Read through the holder at each step, as every user of a holder does.
  auto tabx = [this]() -> TTabXForm& { return contesto_.Riferimento(); };
  tabx().SetUserPerNum(utente);
  std::string archivio;
  tabx().CaricaParametro("Archivio", archivio);
  tabx().Inserisci("BVN", "Archivio", "", archivio, "", "", "", "", numUtente);
  if (opzioni.DirectoryDiLavoro) {
    std::string cartella;
    tabx().CaricaParametro("Directory di lavoro", cartella);
    tabx().Inserisci("BVN", "DirectoryDiLavoro", "", cartella, "", "", "", "", numUtente);
  }
  tabx().IBDatabase1->SetConnected(false);
  tabx().ConnettiDatabase1("Archivio");
  modulo_.Imposta(new TDataModuleVelmaro(&ui::App(), contesto_.Holder()));
}

OggettiChiamata::~OggettiChiamata() = default;

void OggettiChiamata::Consegna() {
  (void)modulo_.Consegna();
  (void)contesto_.Consegna();
}

void OggettiChiamata::Libera() {
  modulo_.Libera();
  contesto_.Libera();
}

// ---- the road

namespace {

// What the road has built so far; on failure it is taken down in reverse.
struct Costruiti {
  std::unique_ptr<OggettiChiamata> oggetti;
  std::unique_ptr<CellaForm> cellaForm = std::make_unique<CellaForm>();
  FinestraDaExport* finestra = nullptr;

  void Smonta() {
    // The window first: its destroy handler releases its own holder once
    // the road has handed it over, but the module and the context stay the
    // road's to free (their holders are still the road's).
    if (finestra) {
      finestra->ApertaDaExport = false;
      ui::Free(finestra);
    }
    finestra = nullptr;
    if (oggetti) oggetti->Libera();
  }
};

void Percorri(Costruiti& c, std::int32_t utente, std::int32_t idApertura,
              const OpzioniLancio& opzioni, const CreaFinestra& crea) {
  c.oggetti = std::make_unique<OggettiChiamata>(utente, opzioni);
  ui::Component* applicazione = &ui::App();
  c.finestra = crea(applicazione, c.oggetti->DataModule());
  c.cellaForm->Imposta(c.finestra);

  TTabXForm& tabx = c.oggetti->Contesto()->Riferimento();
  tabx.ScritturaHandleDiApertura(idApertura, static_cast<std::int32_t>(c.finestra->Handle()));
  if (opzioni.IconaDalPercorso) {
    const std::string icona = FileIconaFinestre();
    if (plat::FileExists(icona)) c.finestra->Icon.LoadFromFile(icona);
  }
  c.finestra->CellaFinestra = c.cellaForm.release();
  c.finestra->ApertaDaExport = true;
  c.finestra->Show();
}

}  // namespace

void PercorsoDiLancio(std::int32_t utente, std::int32_t idApertura, const OpzioniLancio& opzioni,
                      const CreaFinestra& crea) {
  Costruiti c;
  try {
    Percorri(c, utente, idApertura, opzioni, crea);
  } catch (...) {
    c.Smonta();
    try {
      throw;
    } catch (const std::exception& e) {
      ui::App().ShowException(e);
    } catch (...) {
      ui::App().ShowException(std::runtime_error("Errore imprevisto"));
    }
    return;
  }
  // From here on the window's close releases the data module, the context
  // object and their holders.
  c.oggetti->Consegna();
}

}  // namespace velmaro
