#pragma once
// A host folder ready for the exports: an operator whose "Archivio" names
// the company database, and the host's log rows of two openings.
#include <fstream>
#include <string>
#include <vector>

#include "common/fixture.h"
#include "grid/tabellegriglia.h"
#include "ui/application.h"
#include "ui/form.h"

namespace velmaro::testing {

struct AmbienteExport : HostFolder {
  explicit AmbienteExport(bool conArchivio = true) {
    CreateUserDatabase();
    AddUser(1, "Rossi", "", "Ditta Uno");
    if (conArchivio) {
      CreateCompanyDatabase();
      AddParameter(1, "Ditta Uno", "Archivio", CompanyDatabasePath(), 1);
      CreaTabelleListini();
      // The exceptions import opens the database this names as it is made;
      // any database that opens will do for the road.
      Exec(CompanyDatabasePath(),
           "INSERT INTO TABX (CODICE, NOME, TESTO) VALUES "
           "(GEN_ID(CODICETABXCOUNTER, 1), 'ImpDirEccDB', " +
               Quote(CompanyDatabasePath()) + ")");
    }
    ExecAll(UserDatabasePath(), {"INSERT INTO VORLOLOGFUNZ (IDFINESTRA) VALUES ('77')",
                                 "INSERT INTO VORLOLOGFUNZ (IDFINESTRA) VALUES ('78')"});
  }

  // What the price-list editor reads at start-up: the grids' tables, the
  // price and band tables, the customers of its embedded search and its
  // default list.
  void CreaTabelleListini() const {
    ExecAll(
        CompanyDatabasePath(),
        {Joined(kCreaSTOASP1), Joined(kCreaSTOPOS1), Joined(kCreaSETGRID),
         "CREATE TABLE LISTSC (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(60),"
         " DATAINIZIOVALIDITA DATE, DATAFINEVALIDITA DATE, LISTSCRIF INTEGER,"
         " CAMPOSEL1 VARCHAR(30), CAMPOSEL2 VARCHAR(30), CAMPOSEL3 VARCHAR(30),"
         " CLASSIFICAZIONE1 VARCHAR(30), CLASSIFICAZIONE2 VARCHAR(30), TIPO CHAR(1),"
         " IDPROMOVELOCE INTEGER)",
         "CREATE TABLE FASCESC (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(40),"
         " CLASSIFICAZIONE1 VARCHAR(20), CLASSIFICAZIONE2 VARCHAR(20), LISTINOSCONTISPEC INTEGER,"
         " LISTINORICARICO INTEGER, LISTINOSCONTISPECNETTI INTEGER)",
         "CREATE TABLE FASCESCDT (IDFASCIA INTEGER NOT NULL, NRIGA INTEGER NOT NULL,"
         " IDLISTINO INTEGER, PRIMARY KEY (IDFASCIA, NRIGA))",
         "CREATE TABLE CLIENTI (CODICE VARCHAR(10) NOT NULL PRIMARY KEY, RAGSOC VARCHAR(60),"
         " PI VARCHAR(16), CF VARCHAR(16), CONTO VARCHAR(10), CITTA VARCHAR(40),"
         " TIPOPREZZO VARCHAR(10))",
         "INSERT INTO TABX (CODICE, TIPO, NOME, TESTO) VALUES (GEN_ID(CODICETABXCOUNTER, 1),"
         " 'TBX', 'ListinoNettiDefPerSconti', '1')"});
  }

  std::string Handle(int idApertura) const {
    return Scalar(UserDatabasePath(), "SELECT HANDLEFINESTRA FROM VORLOLOGFUNZ WHERE IDFINESTRA='" +
                                          std::to_string(idApertura) + "'");
  }

  // The window whose handle the road wrote for that opening.
  ui::Form* Finestra(int idApertura) const {
    const std::string h = Handle(idApertura);
    if (h.empty() || h == kNull) return nullptr;
    return ui::App().FindWindow(static_cast<std::uint32_t>(std::stoul(h)));
  }

  // A minimal icon file: the directory header and one 32x32 entry.
  void CreaIcona() const {
    std::filesystem::create_directories(Folder() + "Grafica");
    std::ofstream f(Folder() + "Grafica/ZAREVUZI.ICO", std::ios::binary);
    const unsigned char ico[22] = {0, 0,  1, 0, 1, 0, 32, 32, 0, 0, 1,
                                   0, 32, 0, 0, 0, 0, 0,  22, 0, 0, 0};
    f.write(reinterpret_cast<const char*>(ico), sizeof ico);
  }

  // Company-database attachments other than the one asking.
  std::string AttacchiArchivio() const {
    return Scalar(CompanyDatabasePath(),
                  "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> "
                  "CURRENT_CONNECTION AND MON$SYSTEM_FLAG = 0");
  }
};

// Objects of the application of one class, by class name.
inline int Quanti(const std::string& classe) {
  int n = 0;
  for (ui::Component* c : ui::App().Components())
    if (c->ClassName() == classe) ++n;
  return n;
}

// Closes a window as the operator's close box does, then lets released
// windows go.
inline void Chiudi(ui::Form* f) {
  f->Close();
  ui::App().ProcessMessages();
}

}  // namespace velmaro::testing
