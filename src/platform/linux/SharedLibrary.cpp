#include "platform/linux/SharedLibrary.h"

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

}  // namespace qv::platform
