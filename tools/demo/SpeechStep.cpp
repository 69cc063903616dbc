// Lays the recogniser's model into the installation's Speech folder, so that
// the installation carries its own recogniser and still works when it is
// copied or moved (the program looks there before the system's model).
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "DemoSteps.h"

namespace {

QString CopyFile(const QString& from, const QString& to) {
  QDir().mkpath(QFileInfo(to).path());
  QFile::remove(to);
  return QFile::copy(from, to) ? QString() : "cannot copy " + from;
}

QString SpeechModel(const QString&, const QString& install) {
#ifdef QV_SYSTEM_SPEECH_MODEL
  const QString from = QStringLiteral(QV_SYSTEM_SPEECH_MODEL);
  const QString to = install + "/Speech/en-us";
  if (!QFileInfo::exists(from + "/en-us/mdef")) return {};  // no model here: the program says so when used
  for (const QString& file : QDir(from + "/en-us").entryList(QDir::Files))
    if (QString error = CopyFile(from + "/en-us/" + file, to + "/en-us/" + file); !error.isEmpty()) return error;
  for (const char* file : {"cmudict-en-us.dict", "en-us-phone.lm.bin"})
    if (QString error = CopyFile(from + "/" + file, to + "/" + file); !error.isEmpty()) return error;
#else
  Q_UNUSED(install);
#endif
  return {};
}

const DemoStepRegistrar kSpeech({"speech model", SpeechModel});

}  // namespace
