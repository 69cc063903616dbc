#pragma once

#include <QString>
#include <QStringList>

#include <QHash>

#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "platform/Joystick.h"
#include "platform/Platform.h"

namespace qv::test {

class FakeAppDataFolders final : public platform::AppDataFolders {
 public:
  QString common, user;
  QString CommonAppData() const override { return common; }
  QString UserAppData() const override { return user; }
};

class FakeFileDialogs final : public platform::FileDialogs {
 public:
  QString answer;  // empty = cancelled
  int calls = 0;
  QString lastTitle, lastFilter, lastFolder;
  QString OpenFile(const QString& title, const QString& filter, const QString& startFolder) override {
    ++calls;
    lastTitle = title;
    lastFilter = filter;
    lastFolder = startFolder;
    return answer;
  }
};

class FakeOsVersion final : public platform::OsVersion {
 public:
  bool legacy = false;
  bool IsLegacyPlatform() const override { return legacy; }
};

class FakeSingleInstance final : public platform::SingleInstance {
 public:
  bool another = false;
  bool AnotherInstanceRunning() override { return another; }
};

// A joystick whose buttons the test sets.
class FakeJoystick final : public platform::Joystick {
 public:
  QHash<int, uint32_t> buttons;  // present joysticks and their masks
  bool JoystickPresent(int id) override { return buttons.contains(id); }
  uint32_t ReadJoystickButtons(int id) override { return buttons.value(id); }
};

class RecordingExit final : public shell::ProcessExit {
 public:
  int calls = 0;
  int code = -1;
  void Exit(int c) override {
    ++calls;
    code = c;
  }
};

class RecordingStatus final : public shell::StatusSink {
 public:
  QStringList lines;
  bool shown = false, hidden = false;
  void ShowSplash() override { shown = true; }
  void SetStatus(const QString& text) override { lines << text; }
  void HideSplash() override { hidden = true; }
};

}  // namespace qv::test
