// Stand-in for the sibling library "Tressil.dll": a second customer archive
// of its own (tressil_archivio.h). RicercaClienteE lets the operator choose
// a customer in a modal dialog; DecodificaCampoClienteE gives "RagSoc",
// "PI" and "CF" of a customer; SincroTipoPrezzoDaFBaPXE copies each
// archived customer's band from the company database into the archive.
// Every entry writes within the buffer sizes the module gives (11 bytes
// for a code; 65, 12 and 17 for the three fields), as Windows-1252.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "contesto.h"
#include "db/query.h"
#include "db/transaction.h"
#include "platform/encoding.h"
#include "platform/hostfolder.h"
#include "tressil_archivio.h"
#include "ui/lists.h"
#include "ui/stdctrls.h"

namespace {

using siblings::tressil::Cliente;

std::vector<Cliente> Archivio() {
  return siblings::tressil::LeggiArchivio(siblings::tressil::FileArchivio(plat::HostFolder()));
}

// Writes `testo` (UTF-8) into a buffer of `dimensione` bytes as
// Windows-1252: cut at the buffer, a terminator when there is room.
std::int32_t Scrivi(const std::string& testo, char* buffer, int dimensione) {
  const std::string ansi = plat::Utf8ToAnsi(testo);
  const int n = std::min<int>(int(ansi.size()), dimensione);
  std::memcpy(buffer, ansi.data(), n);
  if (n < dimensione) buffer[n] = '\0';
  return n;
}

// The customers of the archive in a list; "Scegli" takes the current one.
class TTressilForm : public ui::Form {
 public:
  TTressilForm(ui::Component* owner, const std::vector<Cliente>& clienti) : ui::Form(owner) {
    SetName("TressilForm");
    SetCaption("Clienti Tressil");
    BorderStyle = ui::FormBorderStyle::Dialog;
    Position = ui::FormPosition::ScreenCenter;
    SetClientSize(520, 300);
    ListBoxClienti = ui::Make<ui::ListBox>(this, "ListBoxClienti", {8, 8, 504, 240});
    for (const Cliente& c : clienti) ListBoxClienti->Items.Add(c.codice + " - " + c.ragsoc);
    if (!clienti.empty()) ListBoxClienti->SetItemIndex(0);
    auto* annulla = ui::Make<ui::Button>(this, "ButtonAnnulla", {352, 260, 75, 25}, "Annulla");
    annulla->Cancel = true;
    annulla->ModalResult = ui::mrCancel;
    auto* scegli = ui::Make<ui::Button>(this, "ButtonScegli", {437, 260, 75, 25}, "Scegli");
    scegli->Default = true;
    scegli->ModalResult = ui::mrOk;
    DoCreate();
  }
  std::string ClassName() const override { return "TTressilForm"; }
  ui::ListBox* ListBoxClienti = nullptr;
};

}  // namespace

extern "C" {

__attribute__((visibility("default"))) std::int32_t RicercaClienteE(std::int32_t, char* codice) {
  if (!codice) return 0;
  const std::vector<Cliente> clienti = Archivio();
  auto dialogo = ui::MakeOwned<TTressilForm>(&ui::App(), clienti);
  const ui::ComponentRef vivo = dialogo->Ref();
  const bool scelto = dialogo->ShowModal() == ui::mrOk;
  if (!vivo) {
    (void)dialogo.release();
    return 0;
  }
  const int i = dialogo->ListBoxClienti->ItemIndex();
  if (!scelto || i < 0 || i >= int(clienti.size())) return 0;
  return Scrivi(clienti[i].codice, codice, 11);
}

__attribute__((visibility("default"))) std::int32_t DecodificaCampoClienteE(std::int32_t,
                                                                            const char* codice,
                                                                            char* buffer) {
  if (!codice || !buffer) return 0;
  const std::string campo(buffer, strnlen(buffer, 17));
  const std::string cercato = plat::AnsiToUtf8(codice);
  for (const Cliente& c : Archivio()) {
    if (c.codice != cercato) continue;
    if (campo == "RagSoc") return Scrivi(c.ragsoc, buffer, 65);
    if (campo == "PI") return Scrivi(c.pi, buffer, 12);
    if (campo == "CF") return Scrivi(c.cf, buffer, 17);
    return 0;
  }
  return 0;
}

// Number of archived customers whose band changed; -1 when the company
// database or the archive could not be read or written.
__attribute__((visibility("default"))) std::int32_t SincroTipoPrezzoDaFBaPXE(std::int32_t utente) {
  try {
    std::vector<Cliente> clienti = Archivio();
    auto ctx = siblings::ContestoOperatore(utente);
    db::Transaction tr(ctx->IBDatabase1);
    tr.StartTransaction();
    db::Query q(ctx->IBDatabase1, &tr);
    q.SQL.Add("SELECT TIPOPREZZO FROM CLIENTI WHERE CODICE=:CODICE");
    std::int32_t cambiati = 0;
    for (Cliente& c : clienti) {
      q.Close();
      q.ParamByName("CODICE").SetValue(db::Value(c.codice));
      q.Open();
      if (q.IsEmpty()) continue;
      const std::string banda = q.FieldByName("TIPOPREZZO").AsString();
      if (banda != c.tipoprezzo) ++cambiati;
      c.tipoprezzo = banda;
    }
    q.Close();
    tr.Commit();
    siblings::tressil::ScriviArchivio(siblings::tressil::FileArchivio(plat::HostFolder()), clienti);
    return cambiati;
  } catch (const std::exception&) {
    return -1;
  }
}

}  // extern "C"
