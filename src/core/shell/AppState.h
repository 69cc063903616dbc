#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

#include "core/checklists/AircraftCatalogue.h"
#include "data/ChecklistFiles.h"
#include "data/CommandList.h"
#include "data/NavaidLists.h"
#include "data/Settings.h"

namespace qv::shell {

// The process-wide tables that start-up loads. The composition root creates
// one and hands it to the operations and screens; tests build their own. It
// holds data; a change that others must see is a signal.
struct AppState : public QObject {
  Q_OBJECT

 public:
  QString installDir;  // the folder of the executable
  bool restoreMode = false;

  data::SettingsState settings;
  bool settingsLoaded = false;  // the copilot voice is only saved back after this

  QStringList simObjectPaths;  // at most 1000 "SimObjectPaths.N" values

  std::vector<data::ChecklistAssignment> assignments;
  checklists::AircraftCatalogue catalogue;
  QStringList checklistNames;         // checklist files found at start-up, without ".dat"
  data::ChecklistFile openChecklist;  // the one checklist loaded on demand

  std::vector<data::CommandRecord> commands;
  QStringList categories;  // derived from the commands, never stored
  std::vector<data::IlsRecord> ilsList;
  std::vector<data::NavaidRecord> navaidList;

  // Expansion result of the phrase language: the sentences of the last phrase
  // expanded, and the index of the last one (-1 empty, -99 = the phrase failed
  // the check).
  QStringList phraseList;
  int16_t phraseCount = -1;

  // Kneeboard pages: one HTML block per command category, built once per run.
  QStringList kneeboardScript;
  bool kneeboardScriptBuilt = false;

  QHash<QString, QString> screenTips;  // screen name -> tip text

  bool speechReady = false;

 signals:
  // The kneeboard pages of many aircraft were written at once: their marks
  // on the assignment screen are out of date.
  void aircraftMarksChanged();
};

}  // namespace qv::shell
