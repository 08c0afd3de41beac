#include "context/editdata.h"

#include "platform/format.h"

namespace velmaro {

namespace {
// The key code 3 is Ctrl+C: copying must not complete the date either.
constexpr ui::Word kCopia = 3;
}  // namespace

int TEditData::EstraiNumero(const std::string& testo) {
  int numero = 0;
  for (char c : testo) {
    if (c < '0' || c > '9') continue;
    // Only short texts reach here; stop growing rather than overflow.
    if (numero > 100000000) break;
    numero = numero * 10 + (c - '0');
  }
  return numero;
}

std::string TEditData::ControllaData(const std::string& testo, ui::Word key) {
  if (key == ui::VK_DELETE || key == ui::VK_BACK || key == ui::VK_LEFT || key == ui::VK_RIGHT ||
      key == kCopia)
    return testo;
  switch (testo.size()) {
    case 2: {
      const int giorno = EstraiNumero(testo);
      if (giorno < 1 || giorno > 31) return "errore1";
      return (giorno < 10 ? "0" : "") + std::to_string(giorno) + "/";
    }
    case 5: {
      const int mese = EstraiNumero(testo.substr(3, 2));
      if (mese < 1 || mese > 12) return "errore2";
      if (mese < 10) return testo.substr(0, 3) + "0" + std::to_string(mese) + "/";
      return testo + "/";
    }
    case 8: {
      int anno = 0;
      if (!plat::TryStrToInt(testo.substr(6, 2), anno)) return "errore3";
      // 19 and 20 begin a four-digit year the operator is still typing.
      if (anno == 19 || anno == 20) return testo;
      anno += anno < 50 ? 2000 : 1900;
      return testo.substr(0, 6) + std::to_string(anno);
    }
    default:
      return testo;
  }
}

void TEditData::KeyUp(ui::Word& key, ui::ShiftState shift) {
  ui::Edit::KeyUp(key, shift);
  const std::string risultato = ControllaData(Text(), key);
  if (risultato == "errore1") {
    SelectAll();
  } else if (risultato == "errore2") {
    SetSelStart(3);
    SetSelLength(3);
  } else if (risultato == "errore3") {
    SetSelStart(6);
    SetSelLength(3);
  } else {
    if (risultato != Text()) SetText(risultato);
    SetSelStart(static_cast<int>(risultato.size()));
    SetSelLength(0);
  }
}

}  // namespace velmaro
