#include "platform/safefile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

std::set<std::string> Names(const TempFolder& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.Path())) names.insert(e.path().filename());
  return names;
}

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

}  // namespace
