#include "kestrin_copia.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "contesto.h"
#include "db/query.h"
#include "db/transaction.h"
#include "platform/hostfolder.h"
#include "platform/safefile.h"
#include "search/copiaincolla.h"
#include "ui/stdctrls.h"

namespace siblings {

void Registra(const std::string& riga) {
  const char* path = std::getenv("VELMARO_SIBLING_LOG");
  if (!path || !*path) return;
  if (std::FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%s\n", riga.c_str());
    std::fclose(f);
  }
}

namespace {

namespace fs = std::filesystem;
using velmaro::TXMLCopiaType;
using velmaro::TXMLIncollaType;

std::string FileCopia(std::int32_t utente) {
  return plat::HostFolder() + "Kestrin/copia-" + plat::IntToStr(utente) + ".xml";
}

bool Uguali(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// One row as names and values, in the table's column order.
using Riga = std::vector<std::pair<std::string, db::Value>>;

const db::Value* Cerca(const Riga& riga, const std::string& nome) {
  for (const auto& [n, v] : riga)
    if (Uguali(n, nome)) return &v;
  return nullptr;
}

std::vector<Riga> Seleziona(db::Database& d, db::Transaction& tr, const std::string& tabella,
                            const Riga& condizioni) {
  db::Query q(&d, &tr);
  std::string sql = "SELECT * FROM " + tabella + " WHERE 1=1";
  for (std::size_t i = 0; i < condizioni.size(); ++i)
    sql += " AND " + condizioni[i].first + "=:C" + plat::IntToStr(i);
  q.SQL.Add(sql);
  for (std::size_t i = 0; i < condizioni.size(); ++i)
    q.ParamByName("C" + plat::IntToStr(i)).SetValue(condizioni[i].second);
  q.Open();
  std::vector<Riga> righe;
  for (q.First(); !q.Eof(); q.Next()) {
    Riga r;
    for (db::Field* f : q.Fields()) r.emplace_back(f->FieldName(), f->GetValue());
    righe.push_back(std::move(r));
  }
  return righe;
}

void Inserisci(db::Database& d, db::Transaction& tr, const std::string& tabella, const Riga& riga) {
  db::Query q(&d, &tr);
  std::string colonne, valori;
  for (std::size_t i = 0; i < riga.size(); ++i) {
    colonne += (i ? "," : "") + riga[i].first;
    valori += (i ? ",:V" : ":V") + plat::IntToStr(i);
  }
  q.SQL.Add("INSERT INTO " + tabella + " (" + colonne + ") VALUES (" + valori + ")");
  for (std::size_t i = 0; i < riga.size(); ++i)
    q.ParamByName("V" + plat::IntToStr(i)).SetValue(riga[i].second);
  q.ExecSQL();
}

// The fields of the paste document, their labels and the operator's values.
struct CampoPers {
  std::string campo, etichetta, valore;
};

// The modal dialog of the paste: one edit per field, named Edit<field>.
class TIncollaForm : public ui::Form {
 public:
  TIncollaForm(ui::Component* owner, std::vector<CampoPers>& campi)
      : ui::Form(owner), campi_(campi) {
    SetName("IncollaForm");
    SetCaption("Incolla");
    BorderStyle = ui::FormBorderStyle::Dialog;
    Position = ui::FormPosition::ScreenCenter;
    int y = 12;
    for (CampoPers& c : campi_) {
      ui::Make<ui::Label>(this, "Label" + c.campo, {12, y + 3, 150, 16}, c.etichetta);
      edits_.push_back(ui::Make<ui::Edit>(this, "Edit" + c.campo, {170, y, 220, 21}));
      y += 28;
    }
    auto* annulla = ui::Make<ui::Button>(this, "ButtonAnnulla", {230, y + 8, 75, 25}, "Annulla");
    annulla->Cancel = true;
    annulla->ModalResult = ui::mrCancel;
    auto* ok = ui::Make<ui::Button>(this, "ButtonOk", {315, y + 8, 75, 25}, "Ok");
    ok->Default = true;
    ok->OnClick = [this](ui::Component*) { Ok(); };
    SetClientSize(404, y + 45);
    DoCreate();
  }
  std::string ClassName() const override { return "TIncollaForm"; }

 private:
  void Ok() {
    for (std::size_t i = 0; i < campi_.size(); ++i) {
      if (edits_[i]->Text().empty()) {
        ui::MessageDlg("Specificare " + campi_[i].etichetta, ui::MsgDlgType::Warning, ui::mbOK);
        return;
      }
    }
    for (std::size_t i = 0; i < campi_.size(); ++i) campi_[i].valore = edits_[i]->Text();
    SetModalResult(ui::mrOk);
  }
  std::vector<CampoPers>& campi_;
  std::vector<ui::Edit*> edits_;
};

std::string LeggiFile(const std::string& percorso) {
  std::ifstream in(percorso, std::ios::binary);
  if (!in) throw std::runtime_error("Nessuna copia da incollare");
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The master row with the operator's values, then its detail rows linked
// to the new master; one transaction, rolled back on any failure.
void ScriviCopia(TXMLCopiaType& copia, const std::string& destinazione,
                 const std::vector<CampoPers>& campi, db::Database& d) {
  Riga chiave;
  velmaro::TXMLChiavePrimariaType campiChiave = copia.ChiavePrimaria();
  for (int i = 0; i < campiChiave.Count(); ++i) {
    velmaro::TXMLCampoChiaveType c = campiChiave.Item(i);
    chiave.emplace_back(c.Nome(), db::Value(c.Valore()));
  }
  db::Transaction tr(&d);
  tr.StartTransaction();
  try {
    const std::vector<Riga> master = Seleziona(d, tr, copia.TabellaMaster(), chiave);
    if (master.size() != 1) throw std::runtime_error("Record da copiare non trovato");
    Riga nuovo = master[0];
    for (auto& [nome, valore] : nuovo)
      for (const CampoPers& c : campi)
        if (Uguali(nome, c.campo)) valore = db::Value(c.valore);
    Inserisci(d, tr, destinazione, nuovo);

    velmaro::TXMLTabelleDettagliType tabelle = copia.TabelleDettagli();
    for (int t = 0; t < tabelle.Count(); ++t) {
      velmaro::TXMLTabellaDettagliType tabella = tabelle.Item(t);
      Riga vecchi, nuovi;  // detail field -> master value, before and after
      velmaro::TXMLCampiCollegamentoType link = tabella.CampiCollegamento();
      for (int l = 0; l < link.Count(); ++l) {
        velmaro::TXMLCampoCollegamentoType c = link.Item(l);
        const db::Value* prima = Cerca(master[0], c.TabMaster());
        const db::Value* dopo = Cerca(nuovo, c.TabMaster());
        if (!prima || !dopo)
          throw std::runtime_error("Campo di collegamento sconosciuto: " + c.TabMaster());
        vecchi.emplace_back(c.TabDettagli(), *prima);
        nuovi.emplace_back(c.TabDettagli(), *dopo);
      }
      if (vecchi.empty()) continue;  // no link, no rows to carry
      for (Riga riga : Seleziona(d, tr, tabella.Nome(), vecchi)) {
        for (auto& [nome, valore] : riga)
          if (const db::Value* v = Cerca(nuovi, nome)) valore = *v;
        Inserisci(d, tr, tabella.Nome(), riga);
      }
    }
    tr.Commit();
  } catch (...) {
    tr.Rollback();
    throw;
  }
}

}  // namespace

void Copia(std::int32_t utente, const std::string& documento) {
  Registra("CopiaE " + plat::IntToStr(utente) + " " + documento);
  velmaro::LeggiCopia(documento);  // a malformed copy is refused now, not at the paste
  const std::string percorso = FileCopia(utente);
  fs::create_directories(fs::path(percorso).parent_path());
  if (!plat::WriteFileSafely(percorso, documento))
    throw std::runtime_error("Impossibile salvare la copia");
}

void Incolla(std::int32_t utente, const std::string& documento) {
  Registra("IncollaE " + plat::IntToStr(utente) + " " + documento);
  TXMLIncollaType incolla = velmaro::LeggiIncolla(documento);
  TXMLCopiaType copia = velmaro::LeggiCopia(LeggiFile(FileCopia(utente)));
  std::vector<CampoPers> campi;
  velmaro::TXMLCampiPersIType pers = incolla.CampiPersI();
  for (int i = 0; i < pers.Count(); ++i) {
    velmaro::TXMLCampoPersIType c = pers.Item(i);
    campi.push_back({c.CampoI(), c.EtichettaI(), {}});
  }
  std::string destinazione = incolla.TabellaMasterI();
  if (destinazione.empty()) destinazione = copia.TabellaMaster();

  auto dialogo = ui::MakeOwned<TIncollaForm>(&ui::App(), campi);
  const ui::ComponentRef vivo = dialogo->Ref();
  const bool confermato = dialogo->ShowModal() == ui::mrOk;
  if (!vivo) (void)dialogo.release();
  dialogo.reset();
  if (!confermato) return;

  auto ctx = ContestoOperatore(utente);
  ScriviCopia(copia, destinazione, campi, *ctx->IBDatabase1);
}

}  // namespace siblings
