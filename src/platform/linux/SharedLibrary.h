#pragma once

#include <QString>
#include <initializer_list>

namespace qv::platform {

// Opens `soname` and looks up each of `functions` (its symbol name and where
// its address goes): every one or none. When one is missing the slots are
// cleared, the library released, and false returned with `why`. Shared by
// the libraries the programs load on first use (SDL2, eSpeak NG).
struct LibraryFunction {
  const char* symbol;
  void** slot;
};
bool LoadLibraryFunctions(const char* soname, std::initializer_list<LibraryFunction> functions, QString& why);

}  // namespace qv::platform
