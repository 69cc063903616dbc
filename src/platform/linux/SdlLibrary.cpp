#include "platform/linux/SdlLibrary.h"

#include <dlfcn.h>

namespace qv::platform {

bool LoadLibraryFunctions(const char* soname, std::initializer_list<LibraryFunction> functions, QString& why) {
  void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    why = reason ? QString::fromLocal8Bit(reason) : QString("%1 cannot be loaded").arg(soname);
    return false;
  }
  // Every function or none: a table with holes would fail far from here.
  for (const LibraryFunction& f : functions) {
    *f.slot = dlsym(handle, f.symbol);
    if (*f.slot) continue;
    why = QString("%1 has no %2").arg(soname, f.symbol);
    for (const LibraryFunction& g : functions) *g.slot = nullptr;
    dlclose(handle);
    return false;
  }
  return true;
}

const SdlLibrary* LoadSdlLibrary(const char* soname, SdlLibrary& table, QString& why) {
  table = SdlLibrary{};
#define QV_SDL_SLOT(name) {"SDL_" #name, reinterpret_cast<void**>(&table.name)},
  return LoadLibraryFunctions(soname, {QV_SDL_FUNCTIONS(QV_SDL_SLOT)}, why) ? &table : nullptr;
#undef QV_SDL_SLOT
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
