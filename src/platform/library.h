#pragma once
// A dynamically loaded library: the sibling libraries the module calls, ELF
// shared objects kept under their Windows names ("Kestrin.dll"). A missing
// library or export is an ordinary outcome: an empty handle or a null
// pointer, with the loader's text kept for the message.
#include <string>

namespace plat {

class Library {
 public:
  Library() = default;
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  Library(Library&& other) noexcept;
  Library& operator=(Library&& other) noexcept;

  // A bare name ("Kestrin.dll") is looked for in the host folder, exact
  // spelling first, then ignoring case. A name holding "/" or "\" is a path.
  static Library Load(const std::string& name);

  bool Loaded() const { return handle_ != nullptr; }
  explicit operator bool() const { return Loaded(); }
  // Null when the library is not loaded or has no such export.
  void* Symbol(const std::string& name) const;
  template <class F>
  F Function(const std::string& name) const {
    return reinterpret_cast<F>(Symbol(name));
  }
  // Unloads now; the destructor does the same.
  void Free();

  const std::string& Path() const { return path_; }
  // Text of the last failure of Load or Symbol ("" when none).
  const std::string& Error() const { return error_; }

 private:
  void* handle_ = nullptr;
  std::string path_;
  mutable std::string error_;
};

}  // namespace plat
