#include "platform/safefile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>

#include "common/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using velmaro::testing::TempFolder;
constexpr auto Read = velmaro::testing::ReadBytes;
constexpr auto Write = velmaro::testing::WriteBytes;

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename());
  return names;
}
std::set<std::string> Names(const TempFolder& dir) { return Names(dir.Path()); }

unsigned Mode(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

// A writer of `target` in a process of its own, stopped half-way through
// its file: the temporary file it holds is the one new name in the folder.
struct Writer {
  pid_t pid = -1;
  std::string temporary;

  Writer(const TempFolder& dir, const std::string& target) {
    const std::set<std::string> before = Names(dir);
    int ready[2];
    if (pipe(ready) != 0) return;
    pid = fork();
    if (pid == 0) {
      plat::SafeFile file(target);
      const bool opened = file.Open();
      file.Stream() << "mezzo" << std::flush;
      (void)!write(ready[1], opened ? "1" : "0", 1);
      pause();
      _exit(0);
    }
    char c = 0;
    close(ready[1]);
    (void)!read(ready[0], &c, 1);
    close(ready[0]);
    for (const std::string& n : Names(dir))
      if (c == '1' && !before.count(n)) temporary = n;
  }
  ~Writer() { Kill(); }
  void Kill() {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
  }
};

TEST(SafeFile, PlantedLinksAreNeverFollowed) {
  // Fault: a link planted at a temporary name (the old fixed "<target>.tmp"
  // and "<target>.tmp<pid>", or any name the writer tries) opened with
  // truncation, overwriting the file it points to, or a dangling one
  // creating its target; then the link renamed over the target.
  TempFolder dir("velmaro-safefile");
  const std::string target = dir / "out.csv";
  Write(dir / "victim", "intatto");
  Write(target, "vecchio");
  std::set<std::string> planted{"out.csv.tmp", "out.csv.tmp" + std::to_string(getpid()),
                                "out.csv.a.tmp", "out.csv.b.tmp", "out.csv.c.tmp"};
  for (const std::string& n : planted) fs::create_symlink(dir / "victim", dir / n);
  fs::create_symlink(dir / "nowhere", dir / "out.csv.d.tmp");
  planted.insert("out.csv.d.tmp");

  const char* tried[] = {"a", "b", "c", "d", "e"};
  int next = 0;
  plat::SafeFile file(target, [&] { return std::string(tried[next++]); });
  ASSERT_TRUE(file.Open());
  EXPECT_EQ(next, 5);
  file.Stream() << "nuovo";
  ASSERT_TRUE(file.Commit());

  EXPECT_EQ(Read(target), "nuovo");
  EXPECT_FALSE(fs::is_symlink(target));
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0666 & ~mask));
  EXPECT_EQ(Read(dir / "victim"), "intatto");
  std::set<std::string> expected = planted;
  expected.insert({"out.csv", "victim"});
  EXPECT_EQ(Names(dir), expected);  // nothing at "nowhere", no temporary file left

  // Every name it may try is taken: it gives up, touching nothing.
  plat::SafeFile blocked(target, [] { return std::string("a"); });
  EXPECT_FALSE(blocked.Open());
  EXPECT_FALSE(blocked.Commit());
  EXPECT_EQ(Read(target), "nuovo");
  EXPECT_EQ(Read(dir / "victim"), "intatto");
}

TEST(SafeFile, FailureLeavesTheOldFileAndNoTemporary) {
  // Fault: a write that fails half-way, an exception before the commit, or
  // a target that cannot be replaced leaving a truncated target or a
  // temporary file behind.
  TempFolder dir("velmaro-safefile");
  const std::string target = dir / "out.csv";
  Write(target, "vecchio");

  try {
    plat::SafeFile file(target);
    ASSERT_TRUE(file.Open());
    file.Stream() << "mezzo";
    throw std::runtime_error("interrotto");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(Read(target), "vecchio");
  EXPECT_EQ(Names(dir), std::set<std::string>{"out.csv"});

  // The disk refuses the bytes past the first 4 KiB.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = plat::WriteFileSafely(target, std::string(1 << 20, 'x'));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(Read(target), "vecchio");
  EXPECT_EQ(Names(dir), std::set<std::string>{"out.csv"});

  fs::create_directory(dir / "cartella");
  EXPECT_FALSE(plat::WriteFileSafely(dir / "cartella", "x"));
  EXPECT_TRUE(fs::is_empty(dir / "cartella"));
  EXPECT_FALSE(plat::WriteFileSafely(dir / "manca/out.csv", "x"));
  EXPECT_EQ(Names(dir), (std::set<std::string>{"cartella", "out.csv"}));
}

TEST(SafeFile, TargetKeepsItsBitsAndItsLinks) {
  // Fault: a private target (0600) coming back 0644; a link replaced by a
  // regular file while the file it names stays old; a link that names no
  // file, or a FIFO, taken as a target (a FIFO blocks the writer or is
  // replaced); a link or FIFO at the print project's name followed.
  TempFolder dir("velmaro-safefile");
  fs::create_directory(dir / "condiviso");
  Write(dir / "privato.csv", "vecchio");
  chmod((dir / "privato.csv").c_str(), 0600);
  EXPECT_TRUE(plat::WriteFileSafely(dir / "privato.csv", "nuovo"));
  EXPECT_EQ(Read(dir / "privato.csv"), "nuovo");
  EXPECT_EQ(Mode(dir / "privato.csv"), 0600u);

  Write(dir / "condiviso/listino.csv", "vecchio");
  chmod((dir / "condiviso/listino.csv").c_str(), 0640);
  fs::create_symlink("condiviso/listino.csv", dir / "lista.csv");
  fs::create_symlink(dir / "lista.csv", dir / "catena.csv");
  EXPECT_TRUE(plat::WriteFileSafely(dir / "lista.csv", "primo"));
  EXPECT_TRUE(plat::WriteFileSafely(dir / "catena.csv", "secondo"));
  EXPECT_EQ(fs::read_symlink(dir / "lista.csv"), "condiviso/listino.csv");
  EXPECT_TRUE(fs::is_symlink(dir / "catena.csv"));
  EXPECT_EQ(Read(dir / "condiviso/listino.csv"), "secondo");
  EXPECT_EQ(Mode(dir / "condiviso/listino.csv"), 0640u);
  EXPECT_EQ(Names(dir / "condiviso"), std::set<std::string>{"listino.csv"});

  fs::create_symlink("condiviso/manca.csv", dir / "rotto.csv");
  ASSERT_EQ(mkfifo((dir / "coda.csv").c_str(), 0644), 0);
  fs::create_symlink("coda.csv", dir / "verso_coda.csv");
  for (const char* name : {"rotto.csv", "coda.csv", "verso_coda.csv"}) {
    plat::SafeFile file(dir / name);
    EXPECT_FALSE(file.Open()) << name;
  }
  EXPECT_TRUE(fs::is_symlink(dir / "rotto.csv"));
  EXPECT_TRUE(fs::is_fifo(dir / "coda.csv"));
  const std::set<std::string> all{"catena.csv",  "coda.csv",  "condiviso",     "lista.csv",
                                  "privato.csv", "rotto.csv", "verso_coda.csv"};
  EXPECT_EQ(Names(dir), all);
  EXPECT_EQ(Names(dir / "condiviso"), std::set<std::string>{"listino.csv"});

  // Replaced as if deleted first: the link goes, the file it named stays.
  for (const char* name : {"lista.csv", "rotto.csv", "coda.csv"}) {
    EXPECT_TRUE(plat::WriteFileSafely(dir / name, "progetto", plat::SafeFile::Existing::Replace))
        << name;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / name))) << name;
    EXPECT_EQ(Read(dir / name), "progetto");
  }
  EXPECT_EQ(Read(dir / "condiviso/listino.csv"), "secondo");
  EXPECT_EQ(Names(dir), all);
}

TEST(SafeFile, LeftoversOfKilledRunsGoUnlessAWriterHoldsThem) {
  // Fault: the temporary file of a run killed while writing left for good;
  // or a write removing the file another live writer is filling, a link or
  // a FIFO of a temporary's name, or another target's temporary file.
  TempFolder dir("velmaro-safefile");
  const std::string target = dir / "out.csv";
  Writer live(dir, target), killed(dir, target);
  ASSERT_FALSE(live.temporary.empty());
  ASSERT_FALSE(killed.temporary.empty());
  killed.Kill();
  Write(dir / "out.csv.00112233445566ff.tmp", "vecchio avanzo");
  fs::create_symlink("out.csv", dir / "out.csv.0123456789abcdef.tmp");
  ASSERT_EQ(mkfifo((dir / "out.csv.fedcba9876543210.tmp").c_str(), 0644), 0);
  Write(dir / "altro.csv.00112233445566ff.tmp", "altro");
  Write(dir / "out.csv.00112233.tmp", "non nostro");

  ASSERT_TRUE(plat::WriteFileSafely(target, "intero"));
  EXPECT_EQ(Read(target), "intero");
  std::set<std::string> kept{"out.csv",
                             live.temporary,
                             "out.csv.0123456789abcdef.tmp",
                             "out.csv.fedcba9876543210.tmp",
                             "altro.csv.00112233445566ff.tmp",
                             "out.csv.00112233.tmp"};
  EXPECT_EQ(Names(dir), kept);

  // Once that writer is gone too, the next whole write removes its file.
  live.Kill();
  ASSERT_TRUE(plat::WriteFileSafely(target, "ancora"));
  kept.erase(live.temporary);
  EXPECT_EQ(Names(dir), kept);
}

}  // namespace
