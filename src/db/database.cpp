#include "db/database.h"

#include <ibase.h>
#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstring>
#include <mutex>

#include "db/fb.h"
#include "db/textutil.h"
#include "db/transaction.h"

namespace db {

std::function<void(const std::string&, bool)> Database::OnAttachAttempt;

// Every attachment talks UTF8, so stored text reads back as it was written
// whatever the caller's lc_ctype line says.
static const char* const kCharset = "UTF8";

Database::Database() = default;

Database::~Database() {
  try {
    Close();
  } catch (...) {
    // A destructor must not throw; the engine drops the attachment anyway.
  }
  for (Transaction* t : transactions_) t->Forget();
  for (ConnectionUser* u : users_) u->database_ = nullptr;
  if (attachment_) attachment_->release();
}

std::string Database::ParamValue(const std::string& name) const {
  for (const std::string& line : Params) {
    size_t eq = line.find('=');
    if (eq != std::string::npos && SameText(Trim(line.substr(0, eq)), name))
      return line.substr(eq + 1);
  }
  return std::string();
}

namespace {

// Strips one pair of quotes of either kind.
std::string Unquote(std::string s) {
  s = Trim(s);
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
    return s.substr(1, s.size() - 2);
  return s;
}

struct CreateWords {
  std::string user = "SYSDBA", password, pageSize;
};

// Reads "USER \"x\" PASSWORD \"y\" PAGE_SIZE 4096" spread over any lines.
CreateWords ParseCreateWords(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + " ";
  CreateWords w;
  size_t i = 0;
  auto word = [&]() {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    size_t b = i;
    if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
      char q = text[i++];
      while (i < text.size() && text[i] != q) ++i;
      ++i;
    } else {
      while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) &&
             text[i] != '=')
        ++i;
    }
    std::string out = text.substr(b, std::min(i, text.size()) - b);
    while (i < text.size() && (std::isspace(static_cast<unsigned char>(text[i])) || text[i] == '='))
      ++i;
    return out;
  };
  while (i < text.size()) {
    std::string key = UpperAscii(word());
    if (key.empty()) break;
    if (key == "USER" || key == "USER_NAME")
      w.user = Unquote(word());
    else if (key == "PASSWORD")
      w.password = Unquote(word());
    else if (key == "PAGE_SIZE")
      w.pageSize = word();
  }
  return w;
}

}  // namespace

namespace {

// The client and the engine convert a name marked as UTF-8 into the
// character set of the process's locale, which stays "C" (plain ASCII)
// unless the program chose another: then no accented name gets through.
// Names are UTF-8 throughout the program, so the character-type locale
// becomes a UTF-8 one before the first name reaches the client.
void NamesInUtf8() {
  static std::once_flag once;
  std::call_once(once, [] {
    const char* codeset = nl_langinfo(CODESET);
    if (codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0))
      return;
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"})
      if (std::setlocale(LC_CTYPE, name)) return;
  });
}

}  // namespace

void Database::Attach(bool create) {
  NamesInUtf8();
  if (OnAttachAttempt) OnAttachAttempt(DatabaseName, create);
  attachment_ = fb::Call([&](fb::Status& st) {
    fb::Ref<Firebird::IXpbBuilder> dpb(
        fb::Util()->getXpbBuilder(&st, Firebird::IXpbBuilder::DPB, nullptr, 0));
    if (create) {
      CreateWords w = ParseCreateWords(Params);
      dpb->insertString(&st, isc_dpb_user_name, w.user.c_str());
      if (!w.password.empty()) dpb->insertString(&st, isc_dpb_password, w.password.c_str());
      if (!w.pageSize.empty())
        dpb->insertInt(&st, isc_dpb_page_size, std::atoi(w.pageSize.c_str()));
      dpb->insertInt(&st, isc_dpb_sql_dialect, SQLDialect);
      dpb->insertString(&st, isc_dpb_set_db_charset, kCharset);
    } else {
      std::string user = ParamValue("user_name");
      dpb->insertString(&st, isc_dpb_user_name, user.empty() ? "SYSDBA" : user.c_str());
      std::string password = ParamValue("password");
      if (!password.empty()) dpb->insertString(&st, isc_dpb_password, password.c_str());
      std::string role = ParamValue("sql_role_name");
      if (!role.empty()) dpb->insertString(&st, isc_dpb_sql_role_name, role.c_str());
    }
    dpb->insertString(&st, isc_dpb_lc_ctype, kCharset);
    // Names are UTF-8 like every text of the program; unmarked, the client
    // reads them in the system's character set and refuses any accent.
    dpb->insertTag(&st, isc_dpb_utf8_filename);
    fb::Ref<Firebird::IProvider> prov(fb::Master()->getDispatcher());
    if (create)
      return prov->createDatabase(&st, DatabaseName.c_str(), dpb->getBufferLength(&st),
                                  dpb->getBuffer(&st));
    return prov->attachDatabase(&st, DatabaseName.c_str(), dpb->getBufferLength(&st),
                                dpb->getBuffer(&st));
  });
}

void Database::Open() {
  if (Connected()) return;
  if (DatabaseName.empty()) throw DbError("Database name is missing");
  Attach(false);
}

void Database::CreateDatabase() {
  if (Connected()) throw DbError("Database already connected");
  if (DatabaseName.empty()) throw DbError("Database name is missing");
  Attach(true);
}

void Database::Close() {
  if (!Connected()) return;
  std::vector<ConnectionUser*> users = users_;
  for (Transaction* t : transactions_)
    for (ConnectionUser* u : t->users_)
      if (std::find(users.begin(), users.end(), u) == users.end()) users.push_back(u);
  for (ConnectionUser* u : users) u->DatabaseClosing();
  for (Transaction* t : transactions_) {
    if (!t->InTransaction()) continue;
    try {
      t->Rollback();
    } catch (const DbError&) {
      // The detach below ends it anyway.
    }
  }
  fb::EndOrRelease(attachment_, [](Firebird::IAttachment* a, fb::Status& st) { a->detach(&st); });
}

}  // namespace db
