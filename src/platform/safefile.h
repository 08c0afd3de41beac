#pragma once
// Files written whole or not at all. The bytes go to a temporary file
// beside the target, which takes the target's place only once it is
// complete and on disk. The temporary file's name has a random part and
// it is created exclusively without following a link, so nothing planted
// beside the target is ever written or put in place. A writer dropped
// before Commit, or whose Commit fails, removes its temporary file and
// leaves the target as it was.
//
// A writer holds a lock on its temporary file while it writes. A complete
// write removes the temporary files of the same target that no live writer
// holds (those a killed run left); links and other non-files are left.
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

  // What becomes of what already stands at the target's name.
  enum class Existing {
    // The file is written anew and keeps its permission bits. A link is
    // followed to the file it names, which is written (the temporary file
    // beside it) while the link stays. A link that names no file, and
    // anything that is not a regular file (a folder, a FIFO, a device), is
    // refused by Open.
    Update,
    // Whatever file or link stands there is replaced, as if deleted first.
    Replace,
  };

  explicit SafeFile(std::string target, NameSource randomPart = {},
                    Existing existing = Existing::Update);
  ~SafeFile();
  SafeFile(const SafeFile&) = delete;
  SafeFile& operator=(const SafeFile&) = delete;

  // Creates the temporary file; false when it cannot (no folder, no
  // rights, a network name, a target refused as above, every name tried
  // already taken).
  bool Open();
  // The temporary file's contents; a failed write sets its badbit.
  std::ostream& Stream();
  // Writes out and syncs the temporary file, renames it over the target
  // and closes it, then removes the leftovers of killed runs. False when
  // any step up to the rename fails, the temporary file removed.
  bool Commit();

  const std::string& Target() const { return target_; }

 private:
  class Buffer;
  bool Resolve();
  void Discard();
  void RemoveLeftovers() const;

  // The name given, the file actually written (a link's file), and the
  // temporary file beside that one.
  std::string target_, path_, temporary_;
  NameSource randomPart_;
  Existing existing_;
  // The permission bits the new file takes, or -1 for the default ones.
  int keptMode_ = -1;
  std::unique_ptr<Buffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
};

// `bytes` as the whole new contents of `target`; false when it could not
// be written, the old file then left as it was.
bool WriteFileSafely(const std::string& target, std::string_view bytes,
                     SafeFile::Existing existing = SafeFile::Existing::Update);

// A name in Windows drive form, "C:\..." or "C:/..." (or a bare "C:file"):
// it names a file on another system's drive, not one of this machine.
bool IsDriveLetterName(const std::string& path);
// A name no file of this machine answers to (network or drive form): the
// windows refuse it as a target to write and as a file to read, rather
// than make or read a local file of that literal name.
bool IsForeignFileName(const std::string& path);

}  // namespace plat
