#include "platform/linux/SdlLibrary.h"

namespace qv::platform {

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
