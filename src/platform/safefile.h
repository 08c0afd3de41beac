#pragma once
// Files written whole or not at all. The bytes go to a temporary file
// beside the target, which takes the target's place only once it is
// complete and on disk. The temporary file's name has a random part and
// it is created exclusively without following a link, so nothing planted
// beside the target (a link, a file left by a killed run) is ever opened,
// written or put in place. A writer dropped before Commit, or whose Commit
// fails, removes its temporary file and leaves the target as it was.
//
// Names are used as given: callers that compose names with "\" turn them
// into native ones first (NativePath).
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace plat {

class SafeFile {
 public:
  // The random part of each name tried; tests pass their own.
  using NameSource = std::function<std::string()>;

  explicit SafeFile(std::string target, NameSource randomPart = {});
  ~SafeFile();
  SafeFile(const SafeFile&) = delete;
  SafeFile& operator=(const SafeFile&) = delete;

  // Creates the temporary file; false when it cannot (no folder, no
  // rights, a network name, every name tried already taken).
  bool Open();
  // The temporary file's contents; a failed write sets its badbit.
  std::ostream& Stream();
  // Writes out, syncs and closes the temporary file, then renames it over
  // the target. False when any step fails, the temporary file removed.
  bool Commit();

  const std::string& Target() const { return target_; }

 private:
  class Buffer;
  void Discard();

  std::string target_, temporary_;
  NameSource randomPart_;
  std::unique_ptr<Buffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
};

// `bytes` as the whole new contents of `target`; false when it could not
// be written, the old file then left as it was.
bool WriteFileSafely(const std::string& target, std::string_view bytes);

// A name in Windows drive form, "C:\..." or "C:/..." (or a bare "C:file"):
// it names a file on another system's drive, not one of this machine.
bool IsDriveLetterName(const std::string& path);
// A name no file of this machine answers to (network or drive form): the
// windows refuse it as a target to write and as a file to read, rather
// than make or read a local file of that literal name.
bool IsForeignFileName(const std::string& path);

}  // namespace plat
