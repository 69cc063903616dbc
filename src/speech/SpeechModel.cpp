#include "speech/SpeechModel.h"

#include <QFileInfo>

#ifndef QV_SPHINX_MODELDIR
#define QV_SPHINX_MODELDIR ""
#endif

namespace qv::speech {

SpeechModel ModelIn(const QString& root) {
  SpeechModel m;
  if (root.isEmpty()) return m;
  m.root = root;
  if (QFileInfo::exists(root + "/en-us/mdef")) m.acousticDir = root + "/en-us";
  if (QFileInfo::exists(root + "/cmudict-en-us.dict")) m.dictionary = root + "/cmudict-en-us.dict";
  if (QFileInfo::exists(root + "/en-us-phone.lm.bin")) m.phoneLm = root + "/en-us-phone.lm.bin";
  return m;
}

QString InstallationModelDir(const QString& installDir) { return installDir + "/Speech/en-us"; }

QString SystemModelDir() {
  const QString dir = QStringLiteral(QV_SPHINX_MODELDIR);
  return dir.isEmpty() ? QString() : dir + "/en-us";
}

SpeechModel FindSpeechModel(const QString& installDir) {
  if (!installDir.isEmpty()) {
    SpeechModel own = ModelIn(InstallationModelDir(installDir));
    if (own.Complete()) return own;
  }
  return ModelIn(SystemModelDir());
}

}  // namespace qv::speech
