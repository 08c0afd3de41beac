// The frames without a house grid: customers of a band and the command
// bars of the two row pages.
#include <tuple>

#include "db/datasource.h"
#include "db/query.h"
#include "pricelists/editor/frames.h"
#include "ui/dbgrid.h"
#include "ui/extctrls.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

using ui::Make;

TFrameClientiFasc::TFrameClientiFasc(ui::Component* owner) : ui::Frame(owner) {
  SetBounds(0, 0, 640, 460);
  QueryClientiFasc = Make<db::Query>(this, "QueryClientiFasc");
  DataSourceClientiFasc = Make<db::DataSource>(this, "DataSourceClientiFasc", QueryClientiFasc);
  LabelCliFasc =
      Make<ui::Label>(this, "LabelCliFasc", {8, 4, 400, 16}, "Clienti collegati alla fascia XXX");
  ButtonAss = Make<ui::Button>(this, "ButtonAss", {420, 0, 70, 22}, "&Associa");
  ButtonDiss = Make<ui::Button>(this, "ButtonDiss", {494, 0, 70, 22}, "&Rimuovi");
  ButtonFascAggiorna = Make<ui::Button>(this, "ButtonFascAggiorna", {568, 0, 30, 22}, "±");
  DBGrid1 = Make<ui::DBGrid>(this, "DBGrid1", {8, 26, 624, 426});
  DBGrid1->SetDataSource(DataSourceClientiFasc);
}

TFrameComandiRighe::TFrameComandiRighe(ui::Component* owner, int spazio) : ui::Frame(owner) {
  ButtonNuovo = Make<ui::Button>(this, "ButtonNuovo", {0, 0, 60, 24}, "&Nuovo");
  int x = 62 + spazio;
  for (auto [button, nome, caption] : {std::tuple{&ButtonEdit, "ButtonEdit", "Edit &X"},
                                       std::tuple{&ButtonElimina, "ButtonElimina", "&Elimina"},
                                       std::tuple{&ButtonAzzera, "ButtonAzzera", "Azzera"},
                                       std::tuple{&ButtonImpExp, "ButtonImpExp", "Imp/Exp"}}) {
    *button = Make<ui::Button>(this, nome, {x, 0, 60, 24}, caption);
    x += 62;
  }
  ButtonAggiorna = Make<ui::Button>(this, "ButtonAggiorna", {x, 0, 30, 24}, "±");
  LabelDataInizioDef =
      Make<ui::Label>(this, "LabelDataInizioDef", {0, 32, 110, 16}, "Data inizio default:");
  DataInizioDef = Make<ui::DateTimePicker>(this, "DataInizioDef", {112, 28, 96, 21});
  LabelDataFineDef =
      Make<ui::Label>(this, "LabelDataFineDef", {0, 56, 110, 16}, "Data finale default:");
  DataFineDef = Make<ui::DateTimePicker>(this, "DataFineDef", {112, 52, 96, 21});
  DataFineDef->SetEnabled(false);
  CheckBoxNessunaDataFinale = Make<ui::CheckBox>(this, "CheckBoxNessunaDataFinale",
                                                 {214, 54, 120, 17}, "Nessuna data fine");
  CheckBoxNessunaDataFinale->SetChecked(true);
}

TFrameListiniEdit1::TFrameListiniEdit1(ui::Component* owner) : TFrameComandiRighe(owner, 152) {
  SetBounds(0, 0, 640, 96);
  ButtonNuovoData =
      Make<ui::Button>(this, "ButtonNuovoData", {62, 0, 150, 24}, "Duplica con date default");
  ButtonNuovoData->SetTabOrder(1);
  LabelNota = Make<ui::Label>(this, "LabelNota", {0, 78, 640, 16},
                              "Per aggiungere un nuovo prezzo che decorrerà in un nuovo periodo,\n"
                              "per un articolo esistente, sfruttare NUOVO PREZZO PER DATA");
}

TFrameDettScontoEdit1::TFrameDettScontoEdit1(ui::Component* owner) : TFrameComandiRighe(owner, 0) {
  SetBounds(0, 0, 640, 78);
}

}  // namespace velmaro
