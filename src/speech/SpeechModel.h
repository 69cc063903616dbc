#pragma once

#include <QString>

namespace qv::speech {

// Where the recogniser's model lies: the acoustic model folder, the
// pronunciation dictionary and the phone language model (used to judge
// whether speech was in the grammar).
struct SpeechModel {
  QString root;         // the folder holding the three
  QString acousticDir;  // root/en-us (mdef, means, ...)
  QString dictionary;   // root/cmudict-en-us.dict
  QString phoneLm;      // root/en-us-phone.lm.bin
  bool Complete() const { return !acousticDir.isEmpty() && !dictionary.isEmpty(); }
};

// The model laid out in a folder, or an incomplete one when it is not there.
SpeechModel ModelIn(const QString& root);

// The installation's own model (its "Speech" folder) when it has one, so that
// a copied or moved installation brings its recogniser along; otherwise the
// model installed with the recogniser library on this system.
SpeechModel FindSpeechModel(const QString& installDir);

// The installation's model folder and the system's.
QString InstallationModelDir(const QString& installDir);  // installDir/Speech/en-us
QString SystemModelDir();

}  // namespace qv::speech
