#include "context/paradox.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <vector>

#include "platform/hostfolder.h"

namespace velmaro {
namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string> FilesOfFolder(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return names;
  while (dirent* e = readdir(dir)) names.emplace_back(e->d_name);
  closedir(dir);
  return names;
}

// The existing file of that name in any case, or the name as given.
std::string Resolve(const std::string& path) {
  const std::string native = plat::NativePath(path);
  if (plat::FileExists(native)) return native;
  const std::string folder = plat::ExtractFilePath(native);
  const std::string name = plat::ExtractFileName(native);
  for (const std::string& f : FilesOfFolder(folder.empty() ? "." : folder))
    if (strcasecmp(f.c_str(), name.c_str()) == 0) return folder + f;
  return native;
}

// Extensions that belong to a table: data, memo, primary and secondary
// indexes, validity checks and the family file.
bool CompanionExt(const std::string& extUpper) {
  static const char* const kFixed[] = {".DB", ".MB", ".PX", ".VAL", ".TV", ".FAM"};
  for (const char* e : kFixed)
    if (extUpper == e) return true;
  return extUpper.size() == 4 && (extUpper[1] == 'X' || extUpper[1] == 'Y') &&
         (std::isxdigit(static_cast<unsigned char>(extUpper[2])) || extUpper[2] == 'G') &&
         std::isxdigit(static_cast<unsigned char>(extUpper[3]));
}

bool TwoDigits(const std::string& s) {
  return s.size() >= 2 && std::isdigit(static_cast<unsigned char>(s[s.size() - 1])) &&
         std::isdigit(static_cast<unsigned char>(s[s.size() - 2]));
}

}  // namespace

TabellaParadox::TabellaParadox(std::string cartella, std::string nome)
    : DatabaseName(std::move(cartella)), TableName(std::move(nome)) {}

TabellaParadox::~TabellaParadox() { Close(); }

std::string TabellaParadox::PercorsoFile() const {
  std::string nome = TableName;
  if (plat::ExtractFileExt(nome).empty()) nome += ".DB";
  return Resolve(plat::IncludeTrailingPathDelimiter(DatabaseName) + nome);
}

bool TabellaParadox::Exists() const { return plat::FileExists(PercorsoFile()); }

void TabellaParadox::Open() {
  if (Active()) return;
  const std::string path = PercorsoFile();
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) throw ErroreTabellaParadox("Tabella inesistente: " + path);
  if (flock(fd, (Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
    ::close(fd);
    throw ErroreTabellaParadox("Tabella in uso: " + path);
  }
  fd_ = fd;
}

void TabellaParadox::Close() {
  if (fd_ >= 0) ::close(fd_);  // closing drops the lock
  fd_ = -1;
}

void TabellaParadox::EmptyTable() {
  if (Active()) {
    if (!Exclusive) throw ErroreTabellaParadox("Tabella non aperta in esclusiva: " + TableName);
    if (ftruncate(fd_, 0) != 0) throw ErroreTabellaParadox("Impossibile svuotare " + TableName);
    return;
  }
  // Closed: the table is opened exclusively for the time of the emptying,
  // so no other user holds it meanwhile.
  const bool eraEsclusiva = Exclusive;
  Exclusive = true;
  try {
    Open();
  } catch (...) {
    Exclusive = eraEsclusiva;
    throw;
  }
  const bool ok = ftruncate(fd_, 0) == 0;
  Close();
  Exclusive = eraEsclusiva;
  if (!ok) throw ErroreTabellaParadox("Impossibile svuotare " + TableName);
}

bool TabellaParadox::DeleteTable() {
  Close();
  const std::string dataFile = PercorsoFile();
  const std::string folder = plat::ExtractFilePath(dataFile);
  const std::string base = Upper(plat::ChangeFileExt(plat::ExtractFileName(dataFile), ""));
  bool deleted = false;
  for (const std::string& f : FilesOfFolder(folder)) {
    if (Upper(plat::ChangeFileExt(f, "")) != base || !CompanionExt(Upper(plat::ExtractFileExt(f))))
      continue;
    deleted = plat::DeleteFile(folder + f) || deleted;
  }
  return deleted;
}

std::string ProssimoNomeTabella(const std::string& nome) {
  std::string n = Upper(nome);
  if (n.size() >= 3 && n.compare(n.size() - 3, 3, ".DB") == 0) n.resize(n.size() - 3);
  if (TwoDigits(n)) {
    const int k = std::stoi(n.substr(n.size() - 2));
    const std::string numero = k + 1 < 10 ? "0" + std::to_string(k + 1) : std::to_string(k + 1);
    return n.substr(0, n.size() - 2) + numero + ".DB";
  }
  return n.substr(0, 5) + "01.DB";
}

void StatoTabellaParadox(TabellaParadox& tabella, std::string& stato) {
  if (!tabella.Exists()) {
    stato = "Non Esiste";
    return;
  }
  for (int tentativo = 1;; ++tentativo) {
    bool riuscito = true;
    try {
      tabella.Close();
      tabella.Exclusive = true;
      tabella.Open();
      tabella.EmptyTable();
    } catch (const ErroreTabellaParadox&) {
      riuscito = false;
    }
    if (tentativo == 1) stato = riuscito ? "Esiste Libera" : "Esiste Occupata";
    if (riuscito) return;
    tabella.Close();
    tabella.TableName = ProssimoNomeTabella(tabella.TableName);
    if (!tabella.Exists()) return;
  }
}

void EliminaTabellaTemp(TabellaParadox& tabella, const std::string& nomeDaTenere) {
  if (tabella.TableName == nomeDaTenere) return;
  tabella.Close();
  if (tabella.Exists()) tabella.DeleteTable();
}

}  // namespace velmaro
