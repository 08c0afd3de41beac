#pragma once
// The grid's print component: the operator's print options, the report
// project written for them and the print job handed to the sibling print
// library "Pelk.dll". The grid owns it; it lives until the grid goes.
#include <cstdint>
#include <string>
#include <vector>

#include "grid/printproject.h"
#include "ui/component.h"

namespace db {
class Database;
}

namespace velmaro {

class TVuxGridStampa : public ui::Component {
 public:
  explicit TVuxGridStampa(ui::Component* owner);
  ~TVuxGridStampa() override;
  std::string ClassName() const override { return "TVuxGridStampa"; }

  std::string NomeFile;  // "StVuxGrid_" + yyyymmddhhnnsszzz + ".LST", fixed at creation
  std::int32_t CodiceProgetto = 0;
  std::int32_t Situazione = 0;
  std::int32_t Utente = 0;
  std::string Titolo;
  std::string TestoSQL;
  std::string BinDir;
  db::Database* DatabaseLayout = nullptr;
  std::string Intestazione1, Intestazione2;
  std::uint8_t AllineamentoIntestazione = 0;
  std::string Orientamento = "VERTICALE";
  int DimensioneFont = 10;
  bool NumeraPagine = false;
  bool TroncaTesti = false;
  bool ForzaUltimaColonna = false;

  // Full path of the project file: BinDir's "report" folder, or the host
  // program's folder when BinDir is empty.
  std::string CartellaReport() const;
  void EliminaFileProgetto();
  // Writes the project from the stored layout; raises when the layout
  // cannot be read or the file cannot be written.
  void PreparaProgettoStampa();
  // Modo 0: preview; 1: open the layout in the report designer.
  void EseguiStampa(int modo);
  void Anteprima() { EseguiStampa(0); }
  void EditaReport() { EseguiStampa(1); }

  // The job text for the print library (UTF-8; the call hands it over in
  // the Windows code page).
  std::string TestoLavoro(int modo) const;
  // The visible columns of the stored layout, in layout order.
  std::vector<ColonnaStampa> LeggiColonne() const;
};

}  // namespace velmaro
