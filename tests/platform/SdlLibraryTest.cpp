#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <thread>
#include <vector>

#include "platform/linux/SdlLibrary.h"

namespace qv::test {
namespace {

using platform::SdlLibrary;

// Names the functions of `table` that were not filled in.
QStringList Holes(const SdlLibrary& table) {
  QStringList holes;
#define QV_SDL_HOLE(name) \
  if (!table.name) holes << "SDL_" #name;
  QV_SDL_FUNCTIONS(QV_SDL_HOLE)
#undef QV_SDL_HOLE
  return holes;
}

// Several threads asking for the library at once (audio capture starts on a
// worker thread while the interface may open a joystick) all get the one
// complete table, and it works: the library's own clock runs.
TEST(SdlLibrary, FirstUseFromManyThreadsGivesOneCompleteTable) {
  std::vector<const SdlLibrary*> seen(4, nullptr);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < seen.size(); ++i) threads.emplace_back([&seen, i] { seen[i] = platform::Sdl(); });
  for (std::thread& t : threads) t.join();
  ASSERT_NE(seen[0], nullptr);
  for (const SdlLibrary* s : seen) EXPECT_EQ(s, seen[0]);
  EXPECT_EQ(Holes(*seen[0]), QStringList());
  const Uint32 start = seen[0]->GetTicks();
  seen[0]->Delay(2);
  EXPECT_GT(seen[0]->GetTicks(), start);
}

// A library that is not there, and one that is there but is not SDL, give
// no table and a reason naming what is wrong; no half-filled table is left.
TEST(SdlLibrary, RefusesAMissingLibraryAndOneWithoutTheFunctions) {
  SdlLibrary table;
  QString why;
  EXPECT_EQ(platform::LoadSdlLibrary("libQvNoSuchLibrary.so.9", table, why), nullptr);
  EXPECT_TRUE(why.contains("libQvNoSuchLibrary.so.9")) << why.toStdString();

  // The C library is loaded already and has none of SDL's functions (the
  // test program links SDL, but a handle's lookup stays inside its library).
  why.clear();
  EXPECT_EQ(platform::LoadSdlLibrary("libc.so.6", table, why), nullptr);
  EXPECT_EQ(why, "libc.so.6 has no SDL_SetHint");
  EXPECT_EQ(Holes(table).size(), Holes(SdlLibrary{}).size());
}

// The programs start without SDL2 or the libraries behind it: the loader's
// list of what it would map for them names no SDL.
TEST(SdlLibrary, ProgramsDoNotMapItAtStart) {
  const QString cli = QStringLiteral(QV_CLI_PATH);
  for (const QString& program : {cli, QFileInfo(cli).path() + "/quorvane"}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_TRACE_LOADED_OBJECTS", "1");  // list the libraries, run nothing
    p.setProcessEnvironment(env);
    p.start(program, {});
    ASSERT_TRUE(p.waitForFinished(30000)) << program.toStdString();
    const QByteArray listed = p.readAllStandardOutput();
    EXPECT_TRUE(listed.contains("libQt6Core")) << listed.toStdString();
    EXPECT_FALSE(listed.contains("libSDL2")) << program.toStdString() << "\n" << listed.toStdString();
    EXPECT_FALSE(listed.contains("libespeak")) << program.toStdString() << "\n" << listed.toStdString();
  }
}

}  // namespace
}  // namespace qv::test
