#pragma once
// The road every export takes to open its window, the reference holders
// that tie the objects of one export call together, and the base of the
// windows the road opens.
#include <cassert>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/form.h"

namespace velmaro {

class TTabXForm;
class TDataModuleVelmaro;

// A reference holder: a separately allocated cell holding the address of
// one object of an export call. Whoever keeps a holder reads the object
// through it at each use, never a copy of the address taken earlier.
template <class T>
class Cella {
 public:
  Cella() = default;
  explicit Cella(T* oggetto) : oggetto_(oggetto) {}
  Cella(const Cella&) = delete;
  Cella& operator=(const Cella&) = delete;

  T* Oggetto() const { return oggetto_; }
  void Imposta(T* oggetto) { oggetto_ = oggetto; }
  T& Riferimento() const {
    assert(oggetto_ && "reference holder read while empty");
    return *oggetto_;
  }

 private:
  T* oggetto_ = nullptr;
};

using CellaTabX = Cella<TTabXForm>;
using CellaDataModule = Cella<TDataModuleVelmaro>;
using CellaForm = Cella<ui::Form>;

// A holder with its object while the objects of a call are being built.
// Until it is handed over, going frees the object through the toolkit and
// then the holder, so a step that throws half-way leaks nothing.
template <class T>
class CellaInCostruzione {
 public:
  CellaInCostruzione() = default;
  ~CellaInCostruzione() { Libera(); }
  CellaInCostruzione(const CellaInCostruzione&) = delete;
  CellaInCostruzione& operator=(const CellaInCostruzione&) = delete;

  Cella<T>* Holder() const { return cella_.get(); }
  T& Riferimento() const { return cella_->Riferimento(); }
  void Imposta(T* oggetto) { cella_->Imposta(oggetto); }
  // Whoever takes the holder frees it and its object from now on.
  Cella<T>* Consegna() { return cella_.release(); }
  // Frees the object now; the holder stays, empty.
  void Libera() {
    if (!cella_ || !cella_->Oggetto()) return;
    ui::Free(cella_->Oggetto());
    cella_->Imposta(nullptr);
  }

 private:
  std::unique_ptr<Cella<T>> cella_ = std::make_unique<Cella<T>>();
};

// A window that an export may open. The road sets ApertaDaExport once the
// handle is recorded; only then does closing the window free the data
// module and the context object of its call.
class FinestraDaExport : public ui::Form {
 public:
  // OnClose and OnDestroy go to FormClose and FormDestroy, so that every
  // window releases the objects of its call without wiring of its own.
  FinestraDaExport(ui::Component* owner, CellaDataModule* cellaDM);
  ~FinestraDaExport() override;

  bool ApertaDaExport = false;
  CellaForm* CellaFinestra = nullptr;  // the window's own holder, set by the road
  CellaDataModule* CellaDM = nullptr;  // the data module's holder, kept

  TDataModuleVelmaro& DM() const { return CellaDM->Riferimento(); }
  TTabXForm& TabX() const;

  // "Listini fasce - Utente: <name> - Ditta: <company>" and the like.
  std::string TitoloOperatore(const std::string& prefisso) const;

  // A window with checks or savings of its own on close overrides these
  // and ends with the base's release.
  virtual void FormClose(ui::Component* sender, ui::CloseAction& action);
  virtual void FormDestroy(ui::Component* sender);

 protected:
  // The release on close, after the window's own checks and savings: frees
  // the data module and the context object with their holders and lets the
  // window free itself.
  void RilasciaOggettiExport(ui::CloseAction& action);
  // The destroy handler's part: releases the window's own holder, and the
  // objects of the call when the window goes without having been closed.
  void RilasciaCellaFinestra();

 private:
  // Frees what the call's holders still hold, once: whichever of the two
  // objects someone else has freed already is left alone.
  void LiberaOggettiDellaChiamata();

  // Whether the data module and the context object of the call are still
  // alive: when the host tears its windows down, the context object (a form
  // of its own) may go before this window does.
  ui::ComponentRef vivoDM_;
  ui::ComponentRef vivoTabX_;
};

// What differs between the launchers.
struct OpzioniLancio {
  bool DirectoryDiLavoro = false;  // the customer-price-file window's parameter
  bool IconaDalPercorso = true;    // false: the window loads its icon itself
};

// The objects the launch road gives a window of one operator: the context
// object on the operator's number, connected to the company database that
// the operator's parameter "Archivio" names, and the data module on it.
// Until handed over to the window, going frees them, the data module first.
class OggettiChiamata {
 public:
  OggettiChiamata(std::int32_t utente, const OpzioniLancio& opzioni = {});
  ~OggettiChiamata();
  OggettiChiamata(const OggettiChiamata&) = delete;
  OggettiChiamata& operator=(const OggettiChiamata&) = delete;

  CellaTabX* Contesto() const { return contesto_.Holder(); }
  CellaDataModule* DataModule() const { return modulo_.Holder(); }
  // The window that keeps the holders frees both from now on.
  void Consegna();
  // Frees both now, the data module first.
  void Libera();

 private:
  CellaInCostruzione<TTabXForm> contesto_;
  CellaInCostruzione<TDataModuleVelmaro> modulo_;
};

using CreaFinestra = std::function<FinestraDaExport*(ui::Component* owner, CellaDataModule*)>;

// Runs the launch road for one export call. An error raised by a step is
// shown in the application's error box and ends the road: whatever it had
// built is freed again, nothing reaches the caller.
void PercorsoDiLancio(std::int32_t utente, std::int32_t idApertura, const OpzioniLancio& opzioni,
                      const CreaFinestra& crea);

// The launcher of an export whose window is of class F.
template <class F>
void LanciaFinestra(std::int32_t utente, std::int32_t idApertura,
                    const OpzioniLancio& opzioni = {}) {
  PercorsoDiLancio(utente, idApertura, opzioni,
                   [](ui::Component* owner, CellaDataModule* cellaDM) -> FinestraDaExport* {
                     return new F(owner, cellaDM);
                   });
}

// The icon file of the module's windows under the host folder.
std::string FileIconaFinestre();

}  // namespace velmaro
