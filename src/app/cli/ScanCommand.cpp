// scan INSTALL_DIR: the aircraft catalogue exactly as start-up builds it, one
// variation a line, so that an installation's scan can be checked and diffed
// without the GUI.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "app/cli/CliSupport.h"
#include "base/FixedText.h"
#include "core/checklists/AircraftScan.h"
#include "core/data/ChecklistStore.h"
#include "core/data/SettingsStore.h"
#include "core/data/SimulatorConfig.h"
#include "data/ChecklistFiles.h"
#include "data/Settings.h"

namespace qv::cli {
namespace {

int Run(const QStringList& args) {
  if (args.size() != 1) {
    PrintErr("Usage: quorvane-cli scan INSTALL_DIR\n");
    return 2;
  }
  Session session(args[0]);
  if (data::LoadSettings(session.ctx) != 0 || data::LoadSimObjectPaths(session.ctx) != 0 ||
      data::LoadAssignments(session.ctx) != 0)
    return 1;
  checklists::ScanSimulatorAircraft(session.ctx);

  const auto& manufacturers = session.state.catalogue.manufacturers;
  // The lines go out as UTF-8 written straight from the names: nearly every
  // character is ASCII and is copied as it is. They pass through one small
  // buffer rather than a text of the whole catalogue (a large hangar's lines
  // run to megabytes, each page of which the system would have to hand out).
  constexpr qsizetype kBufferSize = 64 * 1024;
  char buffer[kBufferSize];
  qsizetype used = 0;
  const auto flush = [&] {
    std::fwrite(buffer, 1, size_t(used), stdout);
    used = 0;
  };
  // The padding of the fixed-width names goes first the short way.
  const auto trimmed = [](QStringView text) { return base::WithoutPadding(text).trimmed(); };
  const auto field = [&](QStringView text, bool last = false) {
    // A UTF-16 unit takes at most three bytes of UTF-8, and one byte ends the field.
    const qsizetype most = text.size() * 3 + 1;
    if (used + most > kBufferSize) flush();
    if (most > kBufferSize) {
      const QByteArray utf8 = text.toUtf8();
      std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
    } else {
      char* to = buffer + used;
      qsizetype i = 0;
      for (; i < text.size() && text[i].unicode() < 0x80; ++i) to[i] = char(text[i].unicode());
      used += i;
      if (i < text.size()) {
        const QByteArray rest = text.mid(i).toUtf8();
        std::copy_n(rest.constData(), rest.size(), buffer + used);
        used += rest.size();
      }
    }
    buffer[used++] = last ? '\n' : '\t';
  };
  const auto number = [&](qint64 n) {
    char digits[24];
    char* at = std::end(digits);
    *--at = '\t';
    const bool negative = n < 0;
    quint64 u = negative ? 0 - quint64(n) : quint64(n);
    do {
      *--at = char('0' + u % 10);
      u /= 10;
    } while (u != 0);
    if (negative) *--at = '-';
    if (used + (std::end(digits) - at) > kBufferSize) flush();
    used = std::copy(at, std::end(digits), buffer + used) - buffer;
  };
  for (size_t m = 0; m < manufacturers.size(); ++m) {
    const auto& types = manufacturers[m].types;
    for (size_t t = 0; t < types.size(); ++t) {
      const auto& variations = types[t].variations;
      for (size_t v = 0; v < variations.size(); ++v) {
        const auto& a = variations[v];
        number(qint64(m));
        number(qint64(t));
        number(qint64(v));
        field(trimmed(manufacturers[m].name));
        field(trimmed(types[t].name));
        field(trimmed(a.variation));
        field(trimmed(a.title));
        number(a.assignmentIndex);
        field(a.textureFolder);
        field(a.checklistPage, true);
      }
    }
  }
  flush();
  // Nothing is left to save or release: the process ends here rather than
  // free a large hangar's catalogue piece by piece, which takes about as long
  // as printing it.
  std::fflush(stdout);
  std::_Exit(0);
}

const Registrar reg({"scan", "scan INSTALL_DIR", "print the simulator's aircraft as the program catalogues them", Run});

}  // namespace
}  // namespace qv::cli
