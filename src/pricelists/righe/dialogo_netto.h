#pragma once
// The net-price row dialog: new ("Nuovo netto") or edit ("Edita netto"),
// with its checks before it closes with OK and the article search.
#include <optional>
#include <string>

#include "pricelists/righe/righenetti.h"
#include "ui/form.h"

namespace db {
class Query;
class Transaction;
}  // namespace db

namespace ui {
class Button;
class CheckBox;
class DateTimePicker;
class Edit;
class GroupBox;
class Label;
}  // namespace ui

namespace velmaro {

class TTabXForm;

class TListiniNuovoForm : public ui::Form {
 public:
  // `transazionePropria`: QueryAux on a transaction of the dialog's own
  // (concurrency, no wait), as a new row wants it; otherwise the caller
  // puts QueryAux on a database and transaction. The duplicate check reads
  // QueryAux's database on a view taken at the check.
  TListiniNuovoForm(ui::Component* owner, TTabXForm& contesto, bool transazionePropria = true);
  std::string ClassName() const override { return "TListiniNuovoForm"; }

  db::Transaction* Transazione = nullptr;
  db::Query* QueryAux = nullptr;
  ui::Edit* EditCodArt = nullptr;
  ui::Button* ButtonCercaArt = nullptr;
  ui::Edit* EditEstCod = nullptr;
  ui::Edit* EditPrezzo = nullptr;
  ui::Edit* EditQntSca = nullptr;
  ui::DateTimePicker* DataInizioVal = nullptr;
  ui::DateTimePicker* DataFineVal = nullptr;
  ui::CheckBox* CheckBoxNessunaDataFinale = nullptr;
  ui::Edit* EditProvvigione = nullptr;
  ui::GroupBox* GroupBoxOmaggio = nullptr;
  ui::Edit* EditOmaggioCodArticolo = nullptr;
  ui::Button* ButtonOmaggioCodArticolo = nullptr;
  ui::Edit* EditOmaggioEstCodice = nullptr;
  ui::Edit* EditOmaggioSoglia = nullptr;
  ui::Edit* EditOmaggioQuantita = nullptr;
  ui::Edit* EditOmaggioMultipli = nullptr;
  ui::CheckBox* CheckBoxEstensioni = nullptr;
  ui::Button* ButtonOK = nullptr;
  ui::Button* ButtonCancel = nullptr;

  bool ModoEdit = false;
  std::string IDListino;  // the list the row belongs to
  // In an edit, the row being edited: the edit may not turn it into a
  // second row of another one's article, extension, start and tier.
  std::optional<netti::RigaNetto> RigaOriginale;

  void ButtonOKClick();
  void CheckBoxNessunaDataFinaleClick();
  void FormShow();
  void ButtonCercaArtClick();
  void ButtonOmaggioCodArticoloClick();

  // What the dialog holds, for composing the statements.
  netti::CampiNetto Campi() const;
  // The first check that fails, as its message; empty when all pass.
  std::string PrimoControlloFallito();
  // The duplicate check for the row of extension `estensione` the dialog's
  // values make: its warning, "" when no such row is stored.
  std::string Doppione(const std::string& estensione);

 private:
  void CreaControlli();
  void CercaArticolo(ui::Edit& codice, ui::Edit& estensione);
  bool EsisteRiga(const std::string& codice, const std::string& estensione,
                  const std::string& scaglione);
  TTabXForm& contesto_;
};

}  // namespace velmaro
