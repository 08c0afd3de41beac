#pragma once
// The exchange of a net-price list with a semicolon-separated file: export
// in the classic layout (one line per article extension) or in the
// common-prices layout (one line per article), and the imports of both.
// Opened modally by the net-row page of the price-list editor for the
// list it shows.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pricelists/scambio/impexplistino.h"

namespace ui {
class CheckBox;
}  // namespace ui

namespace velmaro {

class LettoreRighe;
class PresaTestata;

class TImpExpLisNettiForm : public TImpExpListinoForm {
 public:
  TImpExpLisNettiForm(ui::Component* owner, const std::string& idListino, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TImpExpLisNettiForm"; }

  db::Query* QueryAux2 = nullptr;

  ui::CheckBox* CheckBoxPrezziComuniExport = nullptr;
  ui::CheckBox* CheckBoxPrezziComuni = nullptr;
  ui::CheckBox* CheckBoxImpostaDataFineValidita = nullptr;
  ui::Label* LabelAttenzione = nullptr;

  void ButtonExpClick() override;
  void ButtonImpClick() override;

  void ExportClassico();
  void ExportPrezziComuni();
  void ImportClassico();
  void ImportPrezziComuni();

 private:
  // The steps of the classic import once the file is known to exist.
  void EseguiImportClassico(const std::string& nomeFile, PresaTestata& presa);
  // Passes of the common-prices import (impexpnetti_comuni.cpp); each
  // false ends the import.
  bool ControllaDateInizio(LettoreRighe& file);
  bool ControllaArticoli(LettoreRighe& file);
  bool ControllaRipetuti(LettoreRighe& file);
  void ImportaComuni(LettoreRighe& file, int righeFile, PresaTestata& presa);
  void ImportaEstensione(const std::string& riga, const std::string& estensione, int& inseriti,
                         int& falliti);
  std::vector<std::string> Estensioni(const std::string& articolo);
  // Runs a select on QueryAux1: the first value of its first row, none
  // when it gave no row; Conta reads that value as a count.
  std::optional<std::string> PrimoValore(const std::vector<std::string>& righe);
  long long Conta(const std::vector<std::string>& righe);
  void Esegui(const std::vector<std::string>& righe);
};

}  // namespace velmaro
