// The frames without a house grid: customers of a band and the command
// bars of the two row pages.
#include "db/datasource.h"
#include "db/query.h"
#include "pricelists/frames.h"
#include "ui/dbgrid.h"
#include "ui/extctrls.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

using ui::Make;

namespace {

// A default date with its label, and the "no end date" box that starts ticked.
struct DateDefault {
  ui::Label* labelInizio;
  ui::DateTimePicker* inizio;
  ui::Label* labelFine;
  ui::DateTimePicker* fine;
  ui::CheckBox* nessunaFine;
};

DateDefault CreaDateDefault(ui::Frame* f, int y) {
  DateDefault d{};
  d.labelInizio = Make<ui::Label>(f, "LabelDataInizioDef", {0, y + 4, 110, 16}, "Data inizio default:");
  d.inizio = Make<ui::DateTimePicker>(f, "DataInizioDef", {112, y, 96, 21});
  d.labelFine = Make<ui::Label>(f, "LabelDataFineDef", {0, y + 28, 110, 16}, "Data finale default:");
  d.fine = Make<ui::DateTimePicker>(f, "DataFineDef", {112, y + 24, 96, 21});
  d.fine->SetEnabled(false);
  d.nessunaFine =
      Make<ui::CheckBox>(f, "CheckBoxNessunaDataFinale", {214, y + 26, 120, 17}, "Nessuna data fine");
  d.nessunaFine->SetChecked(true);
  return d;
}

}  // namespace

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

TFrameListiniEdit1::TFrameListiniEdit1(ui::Component* owner) : ui::Frame(owner) {
  SetBounds(0, 0, 640, 96);
  ButtonNuovo = Make<ui::Button>(this, "ButtonNuovo", {0, 0, 60, 24}, "&Nuovo");
  ButtonNuovoData =
      Make<ui::Button>(this, "ButtonNuovoData", {62, 0, 150, 24}, "Duplica con date default");
  ButtonEdit = Make<ui::Button>(this, "ButtonEdit", {214, 0, 60, 24}, "Edit &X");
  ButtonElimina = Make<ui::Button>(this, "ButtonElimina", {276, 0, 60, 24}, "&Elimina");
  ButtonAzzera = Make<ui::Button>(this, "ButtonAzzera", {338, 0, 60, 24}, "Azzera");
  ButtonImpExp = Make<ui::Button>(this, "ButtonImpExp", {400, 0, 60, 24}, "Imp/Exp");
  ButtonAggiorna = Make<ui::Button>(this, "ButtonAggiorna", {462, 0, 30, 24}, "±");
  DateDefault d = CreaDateDefault(this, 28);
  LabelDataInizioDef = d.labelInizio;
  DataInizioDef = d.inizio;
  LabelDataFineDef = d.labelFine;
  DataFineDef = d.fine;
  CheckBoxNessunaDataFinale = d.nessunaFine;
  LabelNota = Make<ui::Label>(this, "LabelNota", {0, 78, 640, 16},
                              "Per aggiungere un nuovo prezzo che decorrerà in un nuovo periodo,\n"
                              "per un articolo esistente, sfruttare NUOVO PREZZO PER DATA");
}

TFrameDettScontoEdit1::TFrameDettScontoEdit1(ui::Component* owner) : ui::Frame(owner) {
  SetBounds(0, 0, 640, 78);
  ButtonNuovo = Make<ui::Button>(this, "ButtonNuovo", {0, 0, 60, 24}, "&Nuovo");
  ButtonEdit = Make<ui::Button>(this, "ButtonEdit", {62, 0, 60, 24}, "Edit &X");
  ButtonElimina = Make<ui::Button>(this, "ButtonElimina", {124, 0, 60, 24}, "&Elimina");
  ButtonAzzera = Make<ui::Button>(this, "ButtonAzzera", {186, 0, 60, 24}, "Azzera");
  ButtonImpExp = Make<ui::Button>(this, "ButtonImpExp", {248, 0, 60, 24}, "Imp/Exp");
  ButtonAggiorna = Make<ui::Button>(this, "ButtonAggiorna", {310, 0, 30, 24}, "±");
  DateDefault d = CreaDateDefault(this, 28);
  LabelDataInizioDef = d.labelInizio;
  DataInizioDef = d.inizio;
  LabelDataFineDef = d.labelFine;
  DataFineDef = d.fine;
  CheckBoxNessunaDataFinale = d.nessunaFine;
}

}  // namespace velmaro
