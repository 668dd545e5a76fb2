// Loads a module's shared library on demand and calls its entries.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "data/errors.h"

namespace qbk::desktop {

class ModuleError : public Error {
 public:
  using Error::Error;
};

class ModuleLoader {
 public:
  // `directory` holds the modules' libraries ("libqbk51200.so" for screen code QBK51200).
  explicit ModuleLoader(std::filesystem::path directory);
  // Unloads every module (its QbkModuleUnload runs first).
  ~ModuleLoader();
  ModuleLoader(const ModuleLoader&) = delete;
  ModuleLoader& operator=(const ModuleLoader&) = delete;

  // The directory beside the running program: <bin>/../lib.
  static std::filesystem::path defaultDirectory();
  const std::filesystem::path& directory() const { return directory_; }
  std::filesystem::path libraryPath(const std::string& code) const;

  // Loads the module of a screen code once (its QbkModuleLoad registers its screens), then
  // calls its IniProc. A library that is missing or lacks its entries is a ModuleError
  // naming the file; errors of IniProc go on to the caller.
  void open(const std::string& code);
  bool loaded(const std::string& code) const;

 private:
  struct Module {
    void* handle = nullptr;
    void (*iniProc)() = nullptr;
    void (*unload)() = nullptr;
  };
  Module& load(const std::string& code);

  std::filesystem::path directory_;
  std::map<std::string, Module> modules_;
};

}  // namespace qbk::desktop
