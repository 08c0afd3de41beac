#include "grid/vuxgridstampa.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/layoutsql.h"
#include "grid/printproject.h"
#include "platform/encoding.h"
#include "platform/format.h"
#include "platform/hostfolder.h"
#include "platform/library.h"
#include "platform/safefile.h"
#include "ui/application.h"

namespace velmaro {
namespace {

// The print library's entry: operator, a constant 0, the job text.
using ShowPelk11UniFormD = void (*)(std::int32_t utente, std::int32_t zero, const char* lavoro);

std::string Numero(std::int64_t n) { return plat::IntToStr(n); }

// Replaced whole: the print library never finds half a project. Whatever
// stands at that name, a link included, goes as if deleted first.
void ScriviFile(const std::string& percorso, const std::string& byte) {
  if (!plat::WriteFileSafely(plat::NativePath(percorso), byte, plat::SafeFile::Existing::Replace))
    throw std::runtime_error("Impossibile creare il file " + percorso);
}

}  // namespace

TVuxGridStampa::TVuxGridStampa(ui::Component* owner) : ui::Component(owner) {
  NomeFile = "StVuxGrid_" + plat::FormatDateTime("yyyymmddhhnnsszzz", plat::Now()) + ".LST";
}

TVuxGridStampa::~TVuxGridStampa() { EliminaFileProgetto(); }

std::string TVuxGridStampa::CartellaReport() const {
  if (BinDir.empty()) return plat::HostFolder() + NomeFile;
  return plat::IncludeTrailingPathDelimiter(BinDir) + "report/" + NomeFile;
}

void TVuxGridStampa::EliminaFileProgetto() {
  const std::string percorso = CartellaReport();
  if (plat::FileExists(percorso)) plat::DeleteFile(percorso);
}

std::vector<ColonnaStampa> TVuxGridStampa::LeggiColonne() const {
  if (!DatabaseLayout) throw std::runtime_error("Nessun database per l'aspetto della griglia");
  db::Transaction transazione(DatabaseLayout);
  db::Query query(DatabaseLayout, &transazione);
  query.ParamCheck = false;
  for (const std::string& riga :
       {std::string("SELECT"), std::string("  NOMECAMPO,"), std::string("  NOMECOLONNA,"),
        std::string("  LARGHEZZA"), std::string("FROM"), std::string("  STOASP1"),
        std::string("WHERE"), "  CODICEPROGETTO=" + Numero(CodiceProgetto), std::string("  AND"),
        "  CODICESITUAZIONE=" + Numero(Situazione), std::string("  AND"),
        "  CODICEUTENTE=" + Numero(Utente), std::string("  AND"), std::string("  VISIBILE=1"),
        std::string("ORDER BY"), std::string("  POSIZIONE")})
    query.SQL.Add(riga);
  transazione.StartTransaction();
  query.Open();
  std::vector<ColonnaStampa> colonne;
  for (query.First(); !query.Eof(); query.Next())
    colonne.push_back({query.FieldByName("NOMECAMPO").AsString(),
                       query.FieldByName("NOMECOLONNA").AsString(),
                       double(std::max(0, LarghezzaSalvata(query.FieldByName("LARGHEZZA"))))});
  query.Close();
  transazione.Rollback();  // nothing was written
  return colonne;
}

void TVuxGridStampa::PreparaProgettoStampa() {
  EliminaFileProgetto();
  OpzioniProgetto opzioni;
  opzioni.Orientamento = Orientamento;
  opzioni.DimensioneFont = DimensioneFont;
  opzioni.Intestazione1 = Intestazione1;
  opzioni.Intestazione2 = Intestazione2;
  opzioni.AllineamentoIntestazione = AllineamentoIntestazione;
  opzioni.NumeraPagine = NumeraPagine;
  opzioni.TroncaTesti = TroncaTesti;
  opzioni.ForzaUltimaColonna = ForzaUltimaColonna;
  const std::string testo = TestoProgetto(LeggiColonne(), opzioni);
  ScriviFile(CartellaReport(), plat::Utf8ToAnsi(testo));
}

std::string TVuxGridStampa::TestoLavoro(int modo) const {
  std::string lavoro = "<VuxForm>";
  lavoro += "<SQLStampa>" + TestoSQL + "</SQLStampa>";
  lavoro += "<NomeReport>" + CartellaReport() + "</NomeReport>";
  lavoro += "<TitoloStampa>Stampa " + Titolo + "</TitoloStampa>";
  lavoro += modo == 0 ? "<AnteprimaDiretta>1</AnteprimaDiretta>"
                      : "<EditaReportDiretto>1</EditaReportDiretto>";
  return lavoro + "</VuxForm>";
}

void TVuxGridStampa::EseguiStampa(int modo) {
  PreparaProgettoStampa();
  // The project lives only for the call, on every way out of it.
  struct Elimina {
    TVuxGridStampa* stampa;
    ~Elimina() { stampa->EliminaFileProgetto(); }
  } elimina{this};
  const std::string lavoro = plat::Utf8ToAnsi(TestoLavoro(modo));
  // Declared after the guard: the library goes before the file.
  plat::Library pelk = plat::Library::Load("Pelk.dll");
  try {
    if (auto stampa = pelk.Function<ShowPelk11UniFormD>("ShowPelk11UniFormD"))
      stampa(Utente, 0, lavoro.c_str());
  } catch (const std::exception& e) {
    ui::App().MessageDlg(std::string("Errore nell'accesso alla DLL Pelk:") + "\r" + e.what(),
                         ui::MsgDlgType::Error, ui::mbOK);
  } catch (...) {
    ui::App().MessageDlg("Errore nell'accesso alla DLL Pelk:\rerrore sconosciuto",
                         ui::MsgDlgType::Error, ui::mbOK);
  }
}

}  // namespace velmaro
