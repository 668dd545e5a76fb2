#include "desktop/module_loader.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>

namespace qbk::desktop {
namespace {

std::string lower(std::string text) {
  std::ranges::transform(text, text.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool validCode(const std::string& code) {
  return !code.empty() &&
         std::ranges::all_of(code, [](unsigned char c) { return std::isalnum(c); });
}

}  // namespace

ModuleLoader::ModuleLoader(std::filesystem::path directory) : directory_(std::move(directory)) {}

ModuleLoader::~ModuleLoader() {
  for (auto& [code, m] : modules_) {
    try {
      if (m.unload) m.unload();
    } catch (...) {
      // The process is ending; there is no one to tell.
    }
    dlclose(m.handle);
  }
}

std::filesystem::path ModuleLoader::defaultDirectory() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "lib";
  // Installed, the modules live in a directory of their own; in the build tree, in lib.
  const auto installed = exe.parent_path().parent_path() / "lib" / "qbk";
  if (std::filesystem::is_directory(installed, ec)) return installed;
  return exe.parent_path().parent_path() / "lib";
}

std::filesystem::path ModuleLoader::libraryPath(const std::string& code) const {
  return directory_ / ("lib" + lower(code) + ".so");
}

bool ModuleLoader::loaded(const std::string& code) const {
  return modules_.contains(lower(code));
}

ModuleLoader::Module& ModuleLoader::load(const std::string& code) {
  // The code becomes part of a file name: nothing but letters and digits may reach it.
  if (!validCode(code)) throw ModuleError("Código de módulo inválido: \"" + code + "\".");
  const std::string key = lower(code);
  if (auto it = modules_.find(key); it != modules_.end()) return it->second;

  const auto path = libraryPath(code);
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    throw ModuleError("Não foi possível carregar o módulo " + path.string() + ": " +
                      (why ? why : "erro desconhecido"));
  }
  auto entry = [&](const char* name) { return reinterpret_cast<void (*)()>(dlsym(handle, name)); };
  Module m{handle, entry("IniProc"), entry("QbkModuleUnload")};
  auto moduleLoad = entry("QbkModuleLoad");
  if (!m.iniProc || !moduleLoad) {
    dlclose(handle);
    throw ModuleError("O módulo " + path.string() +
                      " não tem as entradas IniProc e QbkModuleLoad.");
  }
  try {
    moduleLoad();
  } catch (...) {
    dlclose(handle);
    throw;
  }
  return modules_.emplace(key, m).first->second;
}

void ModuleLoader::open(const std::string& code) {
  load(code).iniProc();
}

}  // namespace qbk::desktop
