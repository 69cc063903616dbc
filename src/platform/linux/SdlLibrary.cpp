#include "platform/linux/SdlLibrary.h"

#include <dlfcn.h>

namespace qv::platform {

const SdlLibrary* LoadSdlLibrary(const char* soname, SdlLibrary& table, QString& why) {
  table = SdlLibrary{};
  void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    why = reason ? QString::fromLocal8Bit(reason) : QString("%1 cannot be loaded").arg(soname);
    return nullptr;
  }
  // Every function or none: a table with holes would fail far from here.
  QString missing;
#define QV_SDL_LOOKUP(name)                                                         \
  table.name = reinterpret_cast<decltype(table.name)>(dlsym(handle, "SDL_" #name)); \
  if (!table.name && missing.isEmpty()) missing = "SDL_" #name;
  QV_SDL_FUNCTIONS(QV_SDL_LOOKUP)
#undef QV_SDL_LOOKUP
  if (!missing.isEmpty()) {
    why = QString("%1 has no %2").arg(soname, missing);
    table = SdlLibrary{};
    dlclose(handle);
    return nullptr;
  }
  return &table;
}

const SdlLibrary* Sdl(QString* why) {
  struct Loaded {
    Loaded() { library = LoadSdlLibrary(kSdlSoname, table, error); }
    SdlLibrary table;
    const SdlLibrary* library = nullptr;
    QString error;
  };
  // Initialised once, by whichever thread comes first; the others wait.
  static const Loaded loaded;
  if (!loaded.library && why) *why = loaded.error;
  return loaded.library;
}

}  // namespace qv::platform
