// The editor's controls as its definition lays them out, and the wiring of
// every control to its handler.
#include "db/datasource.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/vuxgrid.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor/lisfasedit.h"
#include "ui/dbedit.h"
#include "ui/extctrls.h"
#include "ui/make.h"
#include "ui/pages.h"
#include "ui/stdctrls.h"

namespace velmaro {

using ui::Make;

void TLisFasEditForm::CreaDati() {
  Transazione2 = Make<db::Transaction>(this, "Transazione2");
  QueryAux1 = Make<db::Query>(this, "QueryAux1");
  QueryAux2 = Make<db::Query>(this, "QueryAux2");
}

void TLisFasEditForm::CreaBarraComandi() {
  PanelToolBar = Make<ui::Panel>(this, "PanelToolBar", {0, 0, 1000, 41});
  PanelToolBar->SetAlign(ui::Align::Top);
  PanelSel = Make<ui::Panel>(this, PanelToolBar, "PanelSel", {0, 0, 90, 9});
  PanelSel->Color = ui::clYellow;
  struct Comando {
    ui::Button** button;
    const char* nome;
    const char* caption;
    int width;
  };
  const Comando comandi[] = {{&ButtonClienti, "ButtonClienti", "CLIENTI", 90},
                             {&ButtonCliCorr, "ButtonCliCorr", "CLI SELEZ:", 180},
                             {&ButtonFasce, "ButtonFasce", "FASCE", 90},
                             {&ButtonListini, "ButtonListini", "LISTINI", 90},
                             {&ButtonGesNet, "ButtonGesNet", "GESTIONE NETTI", 110},
                             {&ButtonGesSco, "ButtonGesSco", "GESTIONE SCONTI", 110},
                             {&ButtonCliFas, "ButtonCliFas", "CLIENTI FASCIA", 110},
                             {&ButtonFornFas, "ButtonFornFas", "FORN. FASCIA", 110}};
  int x = 0;
  for (const Comando& c : comandi) {
    *c.button = Make<ui::Button>(this, PanelToolBar, c.nome, {x, 10, c.width, 30}, c.caption);
    x += c.width + 2;
  }
  ButtonCliCorr->Hide();
  // The definition marks the bands command.
  PanelSel->SetLeft(ButtonFasce->Left());
  PanelSel->SetWidth(ButtonFasce->Width());
}

void TLisFasEditForm::CreaPagine() {
  PageControlMain = Make<ui::PageControl>(this, "PageControlMain", {0, 41, 1000, 620});
  PageControlMain->SetAlign(ui::Align::Client);
  PageControlMain->TabPosition = ui::TabPosition::Bottom;
  struct Pagina {
    ui::TabSheet** sheet;
    const char* nome;
    const char* caption;
  };
  const Pagina pagine[] = {{&TabSheetClienti, "TabSheetClienti", "Clienti"},
                           {&TabSheetFasce, "TabSheetFasce", "Fasce"},
                           {&TabSheetListini, "TabSheetListini", "Listini"},
                           {&TabSheetDettNetti, "TabSheetDettNetti", "Dett. Netti"},
                           {&TabSheetDettSconti, "TabSheetDettSconti", "Dett. Sconti"},
                           {&TabSheetClientiFascia, "TabSheetClientiFascia", "Clienti fascia"},
                           {&TabSheetFornFascia, "TabSheetFornFascia", "Fornitori fascia"}};
  for (const Pagina& p : pagine)
    *p.sheet = Make<ui::TabSheet>(this, PageControlMain, p.nome, {}, p.caption);
  CreaPaginaFasce();
  CreaPaginaListini();
  CreaPagineRighe();
  FrameClientiFasc1 = Make<TFrameClientiFasc>(this, TabSheetClientiFascia, "FrameClientiFasc1");
  FrameClientiFasc1->SetAlign(ui::Align::Client);
  FrameFornFasc = Make<TFrameClientiFasc>(this, TabSheetFornFascia, "FrameFornFasc");
  FrameFornFasc->SetAlign(ui::Align::Client);
  PageControlMain->SetActivePage(TabSheetFasce);
}

void TLisFasEditForm::CreaPaginaFasce() {
  FrameFasce1 = Make<TFrameFasce>(this, TabSheetFasce, "FrameFasce1");
  FrameFasce1->SetAlign(ui::Align::Client);
  PanelFasceRight = Make<ui::Panel>(this, TabSheetFasce, "PanelFasceRight", {840, 0, 150, 580});
  PanelFasceRight->SetAlign(ui::Align::Right);
  struct Comando {
    ui::Button** button;
    const char* nome;
    const char* caption;
  };
  const Comando comandi[] = {{&ButtonFascNuovo, "ButtonFascNuovo", "&Nuovo"},
                             {&ButtonFascEdita, "ButtonFascEdita", "Edit &X"},
                             {&ButtonFascElimina, "ButtonFascElimina", "&Elimina"},
                             {&ButtonFascDuplica, "ButtonFascDuplica", "&Duplica"},
                             {&ButtonFascAggiorna, "ButtonFascAggiorna", "±"},
                             {&ButtonDettFascNuovo, "ButtonDettFascNuovo", "&Nuovo"},
                             {&ButtonDettFascEdita, "ButtonDettFascEdita", "Edit &X"},
                             {&ButtonDettFascElimina, "ButtonDettFascElimina", "&Elimina"},
                             {&ButtonPiuPriorita, "ButtonPiuPriorita", " Più priorità    "},
                             {&ButtonMenoPriorita, "ButtonMenoPriorita", " Meno priorità"},
                             {&ButtonDettFascAggiorna, "ButtonDettFascAggiorna", "±"},
                             {&ButtonInfoRetail, "ButtonInfoRetail", "? info su retail"},
                             {&ButtonChiudi, "ButtonChiudi", "Chiudi"}};
  int y = 8;
  for (const Comando& c : comandi) {
    *c.button = Make<ui::Button>(this, PanelFasceRight, c.nome, {8, y, 134, 25}, c.caption);
    y += c.button == &ButtonFascAggiorna || c.button == &ButtonDettFascAggiorna ? 48 : 30;
  }
}

void TLisFasEditForm::CreaPaginaListini() {
  PanelListini = Make<ui::Panel>(this, TabSheetListini, "PanelListini", {0, 0, 1000, 52});
  PanelListini->SetAlign(ui::Align::Top);
  LabelDataInizioDef = Make<ui::Label>(this, PanelListini, "LabelDataInizioDef", {8, 6, 110, 16},
                                       "Data inizio default:");
  DataInizioDef = Make<ui::DateTimePicker>(this, PanelListini, "DataInizioDef", {120, 2, 96, 21});
  LabelDataFineDef = Make<ui::Label>(this, PanelListini, "LabelDataFineDef", {8, 30, 110, 16},
                                     "Data finale default:");
  DataFineDef = Make<ui::DateTimePicker>(this, PanelListini, "DataFineDef", {120, 26, 96, 21});
  DataFineDef->SetEnabled(false);
  CheckBoxNessunaDataFinale = Make<ui::CheckBox>(this, PanelListini, "CheckBoxNessunaDataFinale",
                                                 {222, 28, 120, 17}, "Nessuna data fine");
  CheckBoxNessunaDataFinale->SetChecked(true);
  ButtonNuovo = Make<ui::Button>(this, PanelListini, "ButtonNuovo", {360, 12, 70, 25}, "&Nuovo");
  ButtonEdit = Make<ui::Button>(this, PanelListini, "ButtonEdit", {432, 12, 70, 25}, "Edit &X");
  ButtonElimina =
      Make<ui::Button>(this, PanelListini, "ButtonElimina", {504, 12, 70, 25}, "&Elimina");
  ButtonAggiorna = Make<ui::Button>(this, PanelListini, "ButtonAggiorna", {576, 12, 30, 25}, "±");
  FrameListini1 = Make<TFrameListini>(this, TabSheetListini, "FrameListini1");
  FrameListini1->SetAlign(ui::Align::Client);
}

void TLisFasEditForm::CreaPagineRighe() {
  NotebookDettNetti =
      Make<ui::Notebook>(this, TabSheetDettNetti, "NotebookDettNetti", {0, 0, 1000, 100});
  NotebookDettNetti->SetAlign(ui::Align::Top);
  ui::NotebookPage* paginaNetti = NotebookDettNetti->AddPage("Comandi");
  NotebookDettNetti->AddPage("Vuota");
  FrameListiniEdit11 = Make<TFrameListiniEdit1>(this, paginaNetti, "FrameListiniEdit11");
  FrameDettNetti1 = Make<TFrameDettNetti>(this, TabSheetDettNetti, "FrameDettNetti1");
  FrameDettNetti1->SetAlign(ui::Align::Client);
  NotebookDettNetti->SetPageIndex(0);

  NotebookDettSconti =
      Make<ui::Notebook>(this, TabSheetDettSconti, "NotebookDettSconti", {0, 0, 1000, 80});
  NotebookDettSconti->SetAlign(ui::Align::Top);
  ui::NotebookPage* paginaSconti = NotebookDettSconti->AddPage("Comandi");
  NotebookDettSconti->AddPage("Vuota");
  FrameDettScontoEdit11 = Make<TFrameDettScontoEdit1>(this, paginaSconti, "FrameDettScontoEdit11");
  FrameDettSconti1 = Make<TFrameDettSconti>(this, TabSheetDettSconti, "FrameDettSconti1");
  FrameDettSconti1->SetAlign(ui::Align::Client);
  NotebookDettSconti->SetPageIndex(0);
}

namespace {
// A button's click runs a handler of the window.
template <class F>
void AlClic(ui::Button* b, F&& f) {
  b->OnClick = [f = std::forward<F>(f)](ui::Component*) { f(); };
}
}  // namespace

void TLisFasEditForm::CollegaGestori() {
  OnShow = [this](ui::Component*) { FormShow(); };
  // The window's keys for the two row grids run inside the grid's own key
  // release, where the grid knows the command already ran at key-down for
  // that press: F9 halves a column once, not twice.
  for (TVuxGrid* g : {FrameDettSconti1->GridListSconti, FrameDettNetti1->GridListNetti})
    g->OnKeyUp = [this](ui::Component*, ui::Word& k, ui::ShiftState s) { FormKeyUp(k, s); };
  PageControlMain->OnChanging = [this](ui::Component* s, bool& ok) {
    PageControlMainChanging(s, ok);
  };

  AlClic(ButtonFasce, [this] { ButtonFasceClick(); });
  AlClic(ButtonListini, [this] { ButtonListiniClick(); });
  AlClic(ButtonGesNet, [this] { ButtonGesNetClick(); });
  AlClic(ButtonGesSco, [this] { ButtonGesScoClick(); });
  AlClic(ButtonCliFas, [this] { ButtonCliFasClick(); });
  AlClic(ButtonFornFas, [this] { ButtonFornFasClick(); });
  AlClic(ButtonClienti, [this] { ButtonClientiClick(); });
  AlClic(ButtonCliCorr, [this] { ButtonCliCorrClick(); });

  // Bands page.
  FrameFasce1->DBEditIDFascia->OnChange = [this](ui::Component*) {
    FrameFasce1DBEditIDFasciaChange();
  };
  FrameFasce1->DBEditIDDettFasce->OnChange = [this](ui::Component*) {
    FrameFasce1DBEditIDDettFasceChange();
  };
  FrameFasce1->GridFasce->OnDblClick = [this](ui::Component*) { FrameFasce1GridFasceDblClick(); };
  FrameFasce1->GridDettFasce->OnDblClick = [this](ui::Component*) {
    FrameFasce1GridDettFasceDblClick();
  };
  AlClic(ButtonFascNuovo, [this] { ButtonFascNuovoClick(); });
  AlClic(ButtonFascEdita, [this] { ButtonFascEditaClick(); });
  AlClic(ButtonFascElimina, [this] { ButtonFascEliminaClick(); });
  AlClic(ButtonFascDuplica, [this] { ButtonFascDuplicaClick(); });
  AlClic(ButtonFascAggiorna, [this] { ButtonFascAggiornaClick(); });
  AlClic(ButtonDettFascNuovo, [this] { ButtonDettFascNuovoClick(); });
  AlClic(ButtonDettFascEdita, [this] { ButtonDettFascEditaClick(); });
  AlClic(ButtonDettFascElimina, [this] { ButtonDettFascEliminaClick(); });
  AlClic(ButtonPiuPriorita, [this] { ButtonPiuPrioritaClick(); });
  AlClic(ButtonMenoPriorita, [this] { ButtonMenoPrioritaClick(); });
  AlClic(ButtonDettFascAggiorna, [this] { ButtonDettFascAggiornaClick(); });
  AlClic(ButtonInfoRetail, [this] { ButtonInfoRetailClick(); });
  AlClic(ButtonChiudi, [this] { ButtonChiudiClick(); });

  // Lists page.
  AlClic(ButtonNuovo, [this] { ButtonNuovoClick(); });
  AlClic(ButtonEdit, [this] { ButtonEditClick(); });
  AlClic(ButtonElimina, [this] { ButtonEliminaClick(); });
  AlClic(ButtonAggiorna, [this] { ButtonAggiornaClick(); });
  CheckBoxNessunaDataFinale->OnClick = [this](ui::Component*) { CheckBoxNessunaDataFinaleClick(); };
  AlClic(FrameListini1->ButtonAnnullaFiltro, [this] { FrameListini1ButtonAnnullaFiltroClick(); });
  FrameListini1->GridListini->OnDblClick = [this](ui::Component*) {
    FrameListini1GridListiniDblClick();
  };
  FrameListini1->DBEditIDList->OnChange = [this](ui::Component*) {
    FrameListini1DBEditIDListChange();
  };
  FrameListini1->QueryListini->BeforeOpen = [this](db::DataSet& d) {
    FrameListini1QueryListiniBeforeOpen(d);
  };
  FrameListini1->QueryListini->BeforeClose = [this](db::DataSet& d) {
    FrameListini1QueryListiniBeforeClose(d);
  };

  // Net rows.
  TFrameListiniEdit1* n = FrameListiniEdit11;
  AlClic(n->ButtonNuovo, [this] { FrameListiniEdit11ButtonNuovoClick(); });
  AlClic(n->ButtonNuovoData, [this] { FrameListiniEdit11ButtonNuovoDataClick(); });
  AlClic(n->ButtonEdit, [this] { FrameListiniEdit11ButtonEditClick(); });
  AlClic(n->ButtonElimina, [this] { FrameListiniEdit11ButtonEliminaClick(); });
  AlClic(n->ButtonAzzera, [this] { FrameListiniEdit11ButtonAzzeraClick(); });
  AlClic(n->ButtonImpExp, [this] { FrameListiniEdit11ButtonImpExpClick(); });
  AlClic(n->ButtonAggiorna, [this] { FrameListiniEdit11ButtonAggiornaClick(); });
  n->CheckBoxNessunaDataFinale->OnClick = [this](ui::Component*) {
    FrameListiniEdit11CheckBoxNessunaDataFinaleClick();
  };
  FrameDettNetti1->QueryDettNetti->AfterOpen = [this](db::DataSet& d) {
    FrameDettNetti1QueryDettNettiAfterOpen(d);
  };

  // Discount rows.
  TFrameDettScontoEdit1* s = FrameDettScontoEdit11;
  AlClic(s->ButtonNuovo, [this] { FrameDettScontoEdit11ButtonNuovoClick(); });
  AlClic(s->ButtonEdit, [this] { FrameDettScontoEdit11ButtonEditClick(); });
  AlClic(s->ButtonElimina, [this] { FrameDettScontoEdit11ButtonEliminaClick(); });
  AlClic(s->ButtonAzzera, [this] { FrameDettScontoEdit11ButtonAzzeraClick(); });
  AlClic(s->ButtonImpExp, [this] { FrameDettScontoEdit11ButtonImpExpClick(); });
  AlClic(s->ButtonAggiorna, [this] { FrameDettScontoEdit11ButtonAggiornaClick(); });
  s->CheckBoxNessunaDataFinale->OnClick = [this](ui::Component*) {
    FrameDettScontoEdit11CheckBoxNessunaDataFinaleClick();
  };

  // Customers and suppliers of a band.
  AlClic(FrameClientiFasc1->ButtonAss, [this] { FrameClientiFasc1ButtonAssClick(); });
  AlClic(FrameClientiFasc1->ButtonDiss, [this] { FrameClientiFasc1ButtonDissClick(); });
  AlClic(FrameClientiFasc1->ButtonFascAggiorna,
         [this] { FrameClientiFasc1ButtonFascAggiornaClick(); });
  AlClic(FrameFornFasc->ButtonAss, [this] { FrameFornFascButtonAssClick(); });
  AlClic(FrameFornFasc->ButtonDiss, [this] { FrameFornFascButtonDissClick(); });
  AlClic(FrameFornFasc->ButtonFascAggiorna, [this] { FrameFornFascButtonFascAggiornaClick(); });
}

}  // namespace velmaro
