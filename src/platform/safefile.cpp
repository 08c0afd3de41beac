#include "platform/safefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <streambuf>

#include "platform/hostfolder.h"

namespace plat {

// Buffered writes to the temporary file's descriptor; the first failed
// write makes every later one fail too, so Commit sees it.
class SafeFile::Buffer : public std::streambuf {
 public:
  explicit Buffer(int fd) : fd_(fd) { setp(data_, data_ + sizeof data_); }
  // Dropped without Close: the file is abandoned, nothing more is written.
  ~Buffer() override {
    if (fd_ >= 0) ::close(fd_);
  }

  // Writes out what is buffered, syncs and closes; false when any step
  // failed now or before.
  bool Close() {
    if (fd_ < 0) return !failed_;
    const bool ok = sync() == 0 && fsync(fd_) == 0;
    failed_ = ::close(fd_) != 0 || !ok || failed_;
    fd_ = -1;
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
      const ssize_t n = fd_ < 0 ? -1 : ::write(fd_, p, static_cast<size_t>(pptr() - p));
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

std::string RandomPart() {
  static thread_local std::random_device source;
  const unsigned long long n = (static_cast<unsigned long long>(source()) << 32) ^ source();
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", n);
  return text;
}

std::string TemporaryName(const std::string& target, const std::string& randomPart) {
  const size_t slash = target.rfind('/');
  const size_t start = slash == std::string::npos ? 0 : slash + 1;
  const size_t kept = std::min(target.size() - start, kNameKept);
  return target.substr(0, start + kept) + "." + randomPart + ".tmp";
}

}  // namespace

SafeFile::SafeFile(std::string target, NameSource randomPart)
    : target_(std::move(target)), randomPart_(std::move(randomPart)) {
  if (!randomPart_) randomPart_ = RandomPart;
}

SafeFile::~SafeFile() { Discard(); }

bool SafeFile::Open() {
  Discard();
  if (target_.empty() || IsNetworkName(target_)) return false;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::string name = TemporaryName(target_, randomPart_());
    // A name taken by anything, a link included, is passed over: it is
    // never opened, so what it points to is never touched.
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EEXIST || errno == ELOOP || errno == EINTR)) continue;
    if (fd < 0) return false;
    temporary_ = name;
    buffer_ = std::make_unique<Buffer>(fd);
    stream_ = std::make_unique<std::ostream>(buffer_.get());
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
  const bool written = stream_->flush().good() && buffer_->Close();
  if (!written || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Discard();
    return false;
  }
  temporary_.clear();
  stream_.reset();
  buffer_.reset();
  return true;
}

void SafeFile::Discard() {
  stream_.reset();
  buffer_.reset();
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

bool WriteFileSafely(const std::string& target, std::string_view bytes) {
  SafeFile file(target);
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
