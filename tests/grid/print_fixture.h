#pragma once
// A host folder for the grid print: operator 1 of "Ditta Uno" whose
// "Archivio" is the company database, with the layout table, a table of
// articles, and the print library's stand-in (or another) as Pelk.dll.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/fixture.h"
#include "db/database.h"
#include "grid/tabellegriglia.h"
#include "grid/vuxgridstampa.h"
#include "ui/make.h"

namespace velmaro::testing {

struct RigaLayout {
  std::string campo, titolo;
  int larghezza, posizione, visibile;
};

class PrintHost : public Company {
 public:
  PrintHost() {
    AddParameter(1, "Ditta Uno", "Archivio", CompanyDatabasePath(), 1);
    ExecAll(CompanyDatabasePath(),
            {Joined(kCreaSTOASP1),
             "CREATE TABLE ARTICOLI (CODICE VARCHAR(10) NOT NULL PRIMARY KEY, DESCRIZIONE"
             " VARCHAR(60), PREZZO NUMERIC(15,2))"});
    Attach(company, CompanyDatabasePath());
  }
  ~PrintHost() {
    company.Close();
    unsetenv("VELMARO_SIBLING_LOG");
  }

  void Layout(int situazione, const std::vector<RigaLayout>& righe) {
    std::vector<std::string> sql;
    for (const RigaLayout& r : righe)
      sql.push_back(
          "INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE,"
          " NOMECAMPO, LARGHEZZA, POSIZIONE, NOMECOLONNA, VISIBILE) VALUES (501, " +
          std::to_string(situazione) + ", 1, " + Quote(r.campo) + ", " +
          std::to_string(r.larghezza) + ", " + std::to_string(r.posizione) + ", " +
          Quote(r.titolo) + ", " + std::to_string(r.visibile) + ")");
    ExecAll(CompanyDatabasePath(), sql);
  }
  void Articoli(int quanti) {
    std::vector<std::string> sql;
    for (int i = 1; i <= quanti; ++i)
      sql.push_back("INSERT INTO ARTICOLI VALUES ('A" + std::to_string(1000 + i) +
                    "', 'Articolo numero " + std::to_string(i) + "', " + std::to_string(i) +
                    ".50)");
    ExecAll(CompanyDatabasePath(), sql);
  }

  // The library at `from` becomes the host's Pelk.dll; calls are logged.
  void Pelk(const std::string& from = std::string(VELMARO_SIBLINGS_DIR) + "/Pelk.dll") {
    std::filesystem::create_symlink(from, Folder() + "Pelk.dll");
    setenv("VELMARO_SIBLING_LOG", LogPath().c_str(), 1);
  }
  std::string LogPath() const { return Folder() + "sibling.log"; }
  std::string Log() const { return ReadFile(LogPath()); }

  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Files of the host folder whose name starts with `prefix`.
  std::vector<std::string> Files(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(Folder()))
      if (e.path().filename().string().rfind(prefix, 0) == 0) out.push_back(e.path().string());
    return out;
  }

  db::Database company;
};

// A print component of operator 1 over the articles, as the grid fills it,
// reading the layout rows of situation `situazione`.
struct StampaArticoli : ::testing::Test {
  PrintHost host;
  Operator op;
  ui::Owned<TVuxGridStampa> stampa = ui::MakeOwned<TVuxGridStampa>(nullptr);

  void Componente(int situazione, const std::string& sql = "SELECT * FROM ARTICOLI\r\n") {
    stampa->CodiceProgetto = 501;
    stampa->Situazione = situazione;
    stampa->Utente = 1;
    stampa->Titolo = "ARTICOLI";
    stampa->TestoSQL = sql;
    stampa->DatabaseLayout = &host.company;
  }
};

}  // namespace velmaro::testing
