// Stand-in for the sibling print library "Pelk.dll".
//
// Every call is recorded in the file named by VELMARO_SIBLING_LOG (when set),
// so a host script or a test can see what the module handed over. The grid
// print (ShowPelk11UniFormD) is carried out: the job's SQL runs on the
// operator's company database, the report project gives the columns, and
// the preview is a PDF in the host folder, whose path the operator is told.
// Opening the report designer keeps a copy of the project there instead.
// The other two exports print nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "context/tabxform.h"
#include "db/database.h"
#include "db/dataset.h"
#include "db/query.h"
#include "pelk_job.h"
#include "pelk_pdf.h"
#include "platform/encoding.h"
#include "platform/hostfolder.h"
#include "platform/safefile.h"
#include "ui/application.h"
#include "ui/make.h"

namespace {

void Log(const std::string& riga) {
  const char* path = std::getenv("VELMARO_SIBLING_LOG");
  if (!path || !*path) return;
  std::FILE* f = std::fopen(path, "a");
  if (!f) return;
  std::fprintf(f, "%s\n", riga.c_str());
  std::fclose(f);
}

void LogDataSet(const char* export_name, db::DataSet* dataSet, const void* cell) {
  const std::string kind = dataSet ? dataSet->ClassName() : "(none)";
  const int rows = dataSet && dataSet->Active() ? dataSet->RecordCount() : -1;
  Log(std::string(export_name) + " " + kind + " rows=" + std::to_string(rows) +
      " cell=" + (cell ? "yes" : "no"));
}

std::string LeggiFile(const std::string& percorso) {
  std::ifstream in(plat::NativePath(percorso), std::ios::binary);
  if (!in) throw std::runtime_error("Impossibile aprire il file " + percorso);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The job's rows on the operator's company database, as the project's columns.
pelk::Righe EseguiSql(std::int32_t utente, const std::string& sql, const pelk::Progetto& p) {
  ui::Owned<velmaro::TTabXForm> tabx = ui::MakeOwned<velmaro::TTabXForm>(nullptr, 0);
  tabx->SetUserPerNum(utente);
  std::string archivio;
  tabx->CaricaParametro("Archivio", archivio);
  tabx->Inserisci("BVN", "Archivio", "", archivio, "", "", "", "", std::to_string(utente));
  tabx->ConnettiDatabase1("Archivio");
  if (!tabx->IBDatabase1->Connected()) throw std::runtime_error("Archivio non disponibile");
  db::Query query(tabx->IBDatabase1, tabx->IBTransaction1);
  query.ParamCheck = false;
  query.SQL.SetText(sql);
  query.Open();
  pelk::Righe righe;
  for (query.First(); !query.Eof(); query.Next()) {
    std::vector<std::string> riga;
    for (const pelk::Colonna& c : p.Colonne) {
      const db::Field* f = query.FindField(c.Campo);
      riga.push_back(f && !f->IsNull() ? f->AsString() : std::string());
    }
    righe.push_back(std::move(riga));
  }
  return righe;
}

void StampaGriglia(std::int32_t utente, const std::string& testoLavoro) {
  const pelk::Lavoro lavoro = pelk::LeggiLavoro(testoLavoro);
  const std::string progetto = LeggiFile(lavoro.NomeReport);
  const std::string nome = plat::ExtractFileName(lavoro.NomeReport);
  if (lavoro.EditaReport) {
    // Beside the module's own project, which goes when the call returns.
    const std::string copia = plat::HostFolder() + plat::ChangeFileExt(nome, ".edit.lst");
    if (!plat::WriteFileSafely(plat::NativePath(copia), progetto))
      throw std::runtime_error("Impossibile creare il file " + copia);
    ui::App().MessageDlg("Progetto del report salvato in " + copia, ui::MsgDlgType::Information,
                         ui::mbOK);
    return;
  }
  const pelk::Progetto p = pelk::LeggiProgetto(plat::AnsiToUtf8(progetto));
  const pelk::Righe righe = EseguiSql(utente, lavoro.Sql, p);
  const std::string pdf = plat::HostFolder() + plat::ChangeFileExt(nome, ".pdf");
  const int pagine = pelk::ScriviPdf(pdf, p, righe, lavoro.Titolo);
  const size_t n = righe.size();
  ui::App().MessageDlg("Anteprima di stampa in " + pdf + ": " + std::to_string(n) +
                           (n == 1 ? " riga, " : " righe, ") + std::to_string(pagine) +
                           (pagine == 1 ? " pagina" : " pagine"),
                       ui::MsgDlgType::Information, ui::mbOK);
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void ShowPelk11FormD(db::DataSet* dataSet, void* cell) {
  LogDataSet("ShowPelk11FormD", dataSet, cell);
}

__attribute__((visibility("default"))) void ShowPelk11MemFormD(db::DataSet* dataSet, void* cell) {
  LogDataSet("ShowPelk11MemFormD", dataSet, cell);
}

// The grid print: operator, a constant 0 and the job in the Windows code
// page. A failure is raised to the caller, which shows it.
__attribute__((visibility("default"))) void ShowPelk11UniFormD(std::int32_t utente,
                                                               std::int32_t zero,
                                                               const char* lavoro) {
  const std::string testo = lavoro ? lavoro : "";
  Log("ShowPelk11UniFormD " + std::to_string(utente) + " " + std::to_string(zero) + " " + testo);
  StampaGriglia(utente, plat::AnsiToUtf8(testo));
}

}  // extern "C"
