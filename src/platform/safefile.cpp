#include "platform/safefile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <streambuf>
#include <string_view>
#include <utility>

#include "platform/hostfolder.h"

namespace plat {

// Buffered writes to the temporary file's descriptor; the first failed
// write makes every later one fail too, so Commit sees it. The descriptor,
// and with it the writer's lock, is held until the buffer goes.
class SafeFile::Buffer : public std::streambuf {
 public:
  explicit Buffer(int fd) : fd_(fd) { setp(data_, data_ + sizeof data_); }
  ~Buffer() override { ::close(fd_); }

  // Writes out what is buffered and syncs; false when any step failed now
  // or before.
  bool Finish() {
    if (sync() != 0 || fsync(fd_) != 0) failed_ = true;
    return !failed_;
  }

 protected:
  int sync() override { return Drain() ? 0 : -1; }

  int_type overflow(int_type c) override {
    if (!Drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
  }

 private:
  bool Drain() {
    const char* p = pbase();
    while (!failed_ && p < pptr()) {
      const ssize_t n = ::write(fd_, p, static_cast<size_t>(pptr() - p));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) failed_ = true;
      p += n > 0 ? n : 0;
    }
    setp(data_, data_ + sizeof data_);
    return !failed_;
  }

  int fd_;
  bool failed_ = false;
  char data_[1 << 16];
};

namespace {

constexpr int kAttempts = 16;
// The target's own name is kept within this many bytes in the temporary
// name, so that the random part and the suffix fit a file name's limit.
constexpr size_t kNameKept = 200;
// A temporary name ends in this many hex digits and this suffix.
constexpr size_t kRandomDigits = 16;
constexpr std::string_view kSuffix = ".tmp";

std::string RandomPart() {
  static thread_local std::random_device source;
  const unsigned long long n = (static_cast<unsigned long long>(source()) << 32) ^ source();
  char text[kRandomDigits + 1];
  std::snprintf(text, sizeof text, "%0*llx", static_cast<int>(kRandomDigits), n);
  return text;
}

// The folder part of a name (up to and including its last "/") and the
// start of its temporary files' names there: the file name, cut to
// kNameKept bytes, and ".".
std::pair<std::string, std::string> TemporaryStem(const std::string& target) {
  const size_t slash = target.rfind('/');
  const size_t start = slash == std::string::npos ? 0 : slash + 1;
  const size_t kept = std::min(target.size() - start, kNameKept);
  return {target.substr(0, start), target.substr(start, kept) + "."};
}

std::string TemporaryName(const std::string& target, const std::string& randomPart) {
  const auto [folder, stem] = TemporaryStem(target);
  return folder + stem + randomPart + std::string(kSuffix);
}

// A name RandomPart may have made for a temporary file of that stem.
bool IsTemporaryName(const std::string& name, const std::string& stem) {
  const size_t hex = kRandomDigits;
  if (name.size() != stem.size() + hex + kSuffix.size() ||
      name.compare(0, stem.size(), stem) != 0 ||
      name.compare(stem.size() + hex, kSuffix.size(), kSuffix) != 0)
    return false;
  return std::all_of(name.begin() + static_cast<long>(stem.size()),
                     name.begin() + static_cast<long>(stem.size() + hex),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Takes the writer's lock on a new temporary file. False when the file was
// removed before the lock was taken (a writer of the same target took it
// for a leftover in that instant): the name is then given up. Where the
// file system keeps no locks, no writer can remove another's file.
bool HoldWhileWriting(int fd) {
  int r;
  while ((r = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
  }
  struct stat st {};
  return r != 0 || (::fstat(fd, &st) == 0 && st.st_nlink > 0);
}

}  // namespace

SafeFile::SafeFile(std::string target, NameSource randomPart, Existing existing)
    : target_(std::move(target)), randomPart_(std::move(randomPart)), existing_(existing) {
  if (!randomPart_) randomPart_ = RandomPart;
}

SafeFile::~SafeFile() { Discard(); }

// Decides which file is written and with which permission bits; false for
// a target that is refused.
bool SafeFile::Resolve() {
  path_ = target_;
  keptMode_ = -1;
  struct stat st {};
  if (::lstat(target_.c_str(), &st) != 0) return errno == ENOENT;
  if (existing_ == Existing::Replace) return !S_ISDIR(st.st_mode);
  if (S_ISLNK(st.st_mode)) {
    char* file = ::realpath(target_.c_str(), nullptr);
    if (!file) return false;  // a link that names no file
    path_ = file;
    std::free(file);
    if (::stat(path_.c_str(), &st) != 0) return false;
  }
  if (!S_ISREG(st.st_mode)) return false;
  keptMode_ = static_cast<int>(st.st_mode & 0777);
  return true;
}

bool SafeFile::Open() {
  Discard();
  if (target_.empty() || IsNetworkName(target_) || !Resolve()) return false;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::string name = TemporaryName(path_, randomPart_());
    // A name taken by anything, a link included, is passed over: it is
    // never opened, so what it points to is never touched. A file whose
    // bits are kept is private until they are set.
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          keptMode_ < 0 ? 0666 : 0600);
    if (fd < 0 && (errno == EEXIST || errno == ELOOP || errno == EINTR)) continue;
    if (fd < 0) return false;
    if (!HoldWhileWriting(fd)) {
      ::close(fd);
      continue;
    }
    temporary_ = name;
    buffer_ = std::make_unique<Buffer>(fd);
    stream_ = std::make_unique<std::ostream>(buffer_.get());
    if (keptMode_ >= 0 && ::fchmod(fd, static_cast<mode_t>(keptMode_)) != 0) {
      Discard();
      return false;
    }
    return true;
  }
  return false;
}

std::ostream& SafeFile::Stream() {
  if (!stream_) {
    // Not opened: a stream that takes nothing, so the failure shows.
    buffer_.reset();
    stream_ = std::make_unique<std::ostream>(nullptr);
  }
  return *stream_;
}

bool SafeFile::Commit() {
  if (!buffer_ || !stream_) return false;
  // Renamed while still held, so that no other writer takes the complete
  // file for a leftover.
  const bool written = stream_->flush().good() && buffer_->Finish();
  if (!written || std::rename(temporary_.c_str(), path_.c_str()) != 0) {
    Discard();
    return false;
  }
  temporary_.clear();
  stream_.reset();
  buffer_.reset();
  RemoveLeftovers();
  return true;
}

void SafeFile::Discard() {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  stream_.reset();
  buffer_.reset();
}

// A regular file of a temporary name that can be locked has no live
// writer: it is removed, provided the name still is that file.
void SafeFile::RemoveLeftovers() const {
  const auto [folder, stem] = TemporaryStem(path_);
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTemporaryName(entry->d_name, stem)) continue;
    const std::string name = folder + entry->d_name;
    const int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::lstat(name.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino)
      ::unlink(name.c_str());
    ::close(fd);
  }
  ::closedir(dir);
}

bool WriteFileSafely(const std::string& target, std::string_view bytes,
                     SafeFile::Existing existing) {
  SafeFile file(target, {}, existing);
  if (!file.Open()) return false;
  file.Stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file.Commit();
}

bool IsDriveLetterName(const std::string& path) {
  const char c = path.empty() ? '\0' : path[0];
  return path.size() >= 2 && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && path[1] == ':';
}

bool IsForeignFileName(const std::string& path) {
  return IsNetworkName(path) || IsDriveLetterName(path);
}

}  // namespace plat
