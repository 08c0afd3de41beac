// The two numbered steps of the exceptions import: lists from the
// exceptions, then bands from the customers' classes.
#include <algorithm>
#include <vector>

#include "context/helpers.h"
#include "db/query.h"
#include "platform/format.h"
#include "pricelists/eccezioni/importecc.h"
#include "ui/application.h"
#include "ui/stdctrls.h"
#include "ui/utf8.h"

namespace velmaro {

namespace {

std::string Testo(db::Query& q, const char* campo) {
  const db::Field& f = q.FieldByName(campo);
  return f.IsNull() ? std::string() : f.AsString();
}

// A number of the exceptions as the statements take it: written in the
// operator's notation, whose decimal comma then becomes a point. No
// thousands separator ever goes in ("1234,5" gives "1234.5"); NULL gives
// an empty text.
std::string Numero(db::Query& q, const char* campo) {
  const db::Field& f = q.FieldByName(campo);
  if (f.IsNull()) return {};
  return VirgolaInPunto(plat::FloatToStr(f.AsFloat()));
}

// The customer's code in the company database: the last six characters
// of the exceptions' code, or the whole of a shorter one.
std::string CodiceCliente(const std::string& codcli) {
  const int n = ui::utf8::Length(codcli);
  return n > 6 ? ui::utf8::Sub(codcli, n - 6, 6) : codcli;
}

// A starting ID as the operator typed it; a text that is no whole number
// of the ID columns' range is refused with a warning naming the field.
bool IdIniziale(const ui::Edit& edit, const char* campo, std::int64_t& id) {
  int valore = 0;
  if (!plat::TryStrToInt(edit.Text(), valore)) {
    ui::MessageDlg(std::string(campo) + " non valido: specificare un numero intero",
                   ui::MsgDlgType::Warning, ui::mbOK);
    return false;
  }
  id = valore;
  return true;
}

}  // namespace

// The lists of the class being read: made when its first row of their
// kind comes, with IDs fixed when the class begins.
struct TImportEccForm::Classe {
  std::string codice;
  std::string idNetti, idSconti;
  bool nettiCreato = false, scontiCreato = false;
};

void TImportEccForm::Button1Click() {
  std::int64_t contatore = 0;
  if (!IdIniziale(*EditIDlistIniz, "ID listino iniziale", contatore)) return;
  const std::int64_t iniziale = contatore;
  const std::string data = Apici(EditDataInizioDef->Text());
  VistaRinnovata();
  try {
    QueryImport->Close();
    QueryImport->SQL.SetText(
        "SELECT E.*,C.DESCRIZIONE DESCECC FROM ECCEZIONI E INNER JOIN CLASSECC C ON "
        "(E.CLASSECC=C.CODICE) ORDER BY CLASSECC ");
    ultimoComando_ = QueryImport->SQL[0];
    QueryImport->Open();
    Classe classe;
    bool prima = true;
    for (QueryImport->First(); !QueryImport->Eof(); QueryImport->Next()) {
      const std::string codice = Testo(*QueryImport, "CLASSECC");
      if (prima || codice != classe.codice) {
        prima = false;
        classe = Classe{codice, plat::IntToStr(contatore + 2), plat::IntToStr(contatore + 3)};
        contatore += 3;
      }
      Log(codice);
      ImportaRiga(classe, data);
    }
  } catch (const std::exception&) {
    Log("ERRORE: " + ultimoComando_);
  }
  Conferma();
  Log("IMPORTATI " + plat::IntToStr(contatore - iniziale) + " listini");
}

void TImportEccForm::ImportaRiga(Classe& classe, const std::string& data) {
  db::Query& q = *QueryImport;
  const std::string netto = Numero(q, "NETTO"), netto1 = Numero(q, "NETTO1"),
                    netto2 = Numero(q, "NETTO2");
  const std::string codice = Apici(classe.codice);
  const std::string descrizione = Testo(q, "DESCECC");
  const std::string articolo = Testo(q, "ARTICOLO");

  if ((!netto.empty() && netto != "0") || !netto1.empty() || !netto2.empty()) {
    if (!classe.nettiCreato) {
      Esegui({"INSERT INTO LISTSC(ID,NOME,CLASSIFICAZIONE1,TIPO) VALUES(" + classe.idNetti + ",'" +
              Apici("N " + descrizione) + "','" + codice + "','N')"});
      classe.nettiCreato = true;
    }
    auto riga = [&](const std::string& prezzo, const std::string& quantita) {
      Esegui(
          {"INSERT INTO LISTSCDTNET(IDLISTSC,CODICEARTICOLO,ESTCODICE,DATAINIZIOVALIDITA,"
           "PREZZO,QUANTITASCAGLIONE) VALUES(" +
           classe.idNetti + ",'" + Apici(articolo) + "','" + "0" + "','" + data + "','" + prezzo +
           "','" + quantita + "')"});
    };
    const std::string quantita1 = Numero(q, "QUANTITA1"), quantita2 = Numero(q, "QUANTITA2");
    if (!netto.empty()) riga(netto, "0");
    if (!netto1.empty() && !quantita1.empty()) riga(netto1, quantita1);
    if (!netto2.empty() && !quantita2.empty()) riga(netto2, quantita2);
    return;
  }

  const std::string categoria = Testo(q, "CATEGORIAART");
  const bool perCategoria = !categoria.empty();
  if (!classe.scontiCreato) {
    Esegui({"INSERT INTO LISTSC(ID,NOME,LISTSCRIF,CLASSIFICAZIONE1,CAMPOSEL1,TIPO) VALUES(" +
            classe.idSconti + ",'" + Apici("S " + descrizione) + "',1,'" + codice +
            (perCategoria ? "','CLASSIFICAZIONE1','S')" : "','CODICE','S')")});
    classe.scontiCreato = true;
  }
  std::string sconto2 = Numero(q, "PERCENTUALESCONTO2");
  if (sconto2.empty()) sconto2 = "0";
  Esegui(
      {"INSERT INTO LISTSCDTSCO(IDLISTSC,DESCRIZIONE,DATAINIZIOVALIDITA,QUANTITASCAGLIONE,"
       "SCONTO1,SCONTO2,VALORESEL1)",
       "VALUES(" + classe.idSconti + ",'" + Apici(perCategoria ? categoria : "*SA" + articolo) +
           "','" + data + "'," + "0" + ",'" + Numero(q, "PERCENTUALESCONTO") + "','" + sconto2 +
           "','" + Apici(perCategoria ? categoria : articolo) + "')"});
}

void TImportEccForm::Button4Click() {
  std::int64_t fascia = 0;
  if (!IdIniziale(*EditIDFasciaIniz, "ID fascia iniziale", fascia)) return;
  VistaRinnovata();
  try {
    QueryImport->Close();
    QueryImport->SQL.SetText("SELECT CODCLI, CLASSECC FROM CLIECCCLASS ORDER BY CODCLI");
    ultimoComando_ = QueryImport->SQL[0];
    QueryImport->Open();
    std::vector<std::string> classiLette;
    std::string precedente;
    bool primo = true;
    int riga = 1;
    for (QueryImport->First(); !QueryImport->Eof(); QueryImport->Next()) {
      const std::string cliente = CodiceCliente(Testo(*QueryImport, "CODCLI"));
      if (primo || cliente != precedente) {
        primo = false;
        precedente = cliente;
        ++fascia;
        const std::string valori = plat::IntToStr(fascia) + ",'ECC" + Apici(cliente) + "'";
        if (CheckBoxMigliorPrezzo->Checked())
          Esegui(
              {"INSERT INTO FASCESC(ID,NOME,CLASSIFICAZIONE1) VALUES(" + valori + ",'MIGLIORPR')"});
        else
          Esegui({"INSERT INTO FASCESC(ID,NOME) VALUES(" + valori + ")"});
        riga = 1;
      }
      const std::string classe = Testo(*QueryImport, "CLASSECC");
      if (std::find(classiLette.begin(), classiLette.end(), classe) == classiLette.end())
        classiLette.push_back(classe);
      CollegaListini(fascia, riga, classe);
      Esegui({"UPDATE CLIENTI SET TIPOPREZZO=" + plat::IntToStr(fascia) + " WHERE CODICE='" +
              Apici(cliente) + "'"});
    }
    ScollegaListini(classiLette);
  } catch (const std::exception&) {
    Log("ERRORE: " + ultimoComando_);
  }
  Conferma();
  Log("Creazione fasce completata");
}

void TImportEccForm::ScollegaListini(std::vector<std::string> classi) {
  // The class code served only to link the two steps: the lists carrying
  // a class met among the customers or any class of the exceptions
  // database lose it, so a list made for a class no customer has is not
  // picked up by a later run's bands. The other lists keep the operator's
  // own text in that column.
  QueryImport->Close();
  QueryImport->SQL.SetText("SELECT CODICE FROM CLASSECC");
  ultimoComando_ = QueryImport->SQL[0];
  QueryImport->Open();
  for (QueryImport->First(); !QueryImport->Eof(); QueryImport->Next()) {
    const std::string classe = Testo(*QueryImport, "CODICE");
    if (std::find(classi.begin(), classi.end(), classe) == classi.end()) classi.push_back(classe);
  }
  QueryImport->Close();
  for (const std::string& classe : classi)
    Esegui(
        {"UPDATE LISTSC SET CLASSIFICAZIONE1=NULL WHERE CLASSIFICAZIONE1='" + Apici(classe) + "'"});
}

void TImportEccForm::CollegaListini(std::int64_t fascia, int& riga, const std::string& classe) {
  QueryAux2->Close();
  // In ID order: the class's net list, then its discount list, take the
  // band's rows in that order whatever order the table returns rows in.
  QueryAux2->SQL.SetText("SELECT ID FROM LISTSC WHERE CLASSIFICAZIONE1='" + Apici(classe) +
                         "' ORDER BY ID");
  ultimoComando_ = QueryAux2->SQL[0];
  QueryAux2->Open();
  std::vector<std::string> listini;
  for (QueryAux2->First(); !QueryAux2->Eof(); QueryAux2->Next())
    listini.push_back(QueryAux2->FieldByName("ID").AsString());
  QueryAux2->Close();
  for (const std::string& id : listini)
    Esegui({"INSERT INTO FASCESCDT(IDFASCIA,NRIGA,IDLISTINO) VALUES(" + plat::IntToStr(fascia) +
            "," + plat::IntToStr(riga++) + "," + id + ")"});
}

}  // namespace velmaro
