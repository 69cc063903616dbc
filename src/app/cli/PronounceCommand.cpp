#include "app/cli/CliSupport.h"
#include "speech/Pronouncer.h"
#include "speech/SpeechModel.h"

namespace qv::cli {
namespace {

QString OriginName(speech::Pronouncer::Origin origin) {
  switch (origin) {
    case speech::Pronouncer::Origin::List: return QStringLiteral("list");
    case speech::Pronouncer::Origin::Dictionary: return QStringLiteral("dictionary");
    case speech::Pronouncer::Origin::Generated: return QStringLiteral("generated");
    case speech::Pronouncer::Origin::None: break;
  }
  return QStringLiteral("none");
}

// What the compiler will give the recogniser for a word: one line per
// pronunciation, "word<TAB>phones<TAB>origin".
int Run(const QStringList& args) {
  if (args.size() != 2) {
    PrintErr("Usage: quorvane-cli pronounce INSTALL_DIR WORD\n");
    return 2;
  }
  const speech::SpeechModel model = speech::FindSpeechModel(args[0]);
  speech::Pronouncer pronouncer(model.dictionary, speech::PronunciationListPath(args[0]));
  if (!pronouncer.DictionaryLoaded()) {
    PrintErr("The recogniser's pronunciation dictionary is not installed.\n");
    return 1;
  }
  const std::vector<speech::SpokenWord> words = speech::SpokenWords(args[1]);
  if (words.empty()) {
    PrintErr("\"" + args[1] + "\" has no sound.\n");
    return 1;
  }
  int status = 0;
  for (const speech::SpokenWord& w : words) {
    const speech::Pronouncer::Choice choice = pronouncer.Choose(w.word, w.spelling);
    if (choice.phones.isEmpty()) {
      PrintErr("No pronunciation can be made for \"" + w.word + "\".\n");
      status = 1;
    }
    for (const QString& phones : choice.phones) PrintOut(w.word + "\t" + phones + "\t" + OriginName(choice.origin) + "\n");
  }
  return status;
}

const Registrar reg({"pronounce", "pronounce INSTALL_DIR WORD",
                     "print the phones the compiler uses for a word and where they come from", Run});

}  // namespace
}  // namespace qv::cli
