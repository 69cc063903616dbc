#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include "data/Settings.h"

namespace qv::shell {

// The process-wide tables that start-up loads. The composition root creates
// one and hands it to the operations and screens; tests build their own.
struct AppState {
  QString installDir;      // the folder of the executable
  bool restoreMode = false;

  data::SettingsState settings;
  bool settingsLoaded = false;  // the copilot voice is only saved back after this

  QStringList simObjectPaths;   // at most 1000 "SimObjectPaths.N" values

  QHash<QString, QString> screenTips;  // screen name -> tip text

  bool speechReady = false;
};

}  // namespace qv::shell
