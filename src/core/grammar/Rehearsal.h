#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <vector>

#include "core/grammar/SpeechEngines.h"
#include "data/CommandList.h"

namespace qv::shell {
struct AppState;
}

namespace qv::grammar {

// What the recogniser made of one utterance heard against every category's
// compiled grammar at once: the grammar and start rule whose sentence it was,
// the action texts met on the way through it, and the words.
struct RuleMatch {
  int16_t status = -2;  // 0 = a start rule matched, -2 = none did, -3 = failure, 1 = stopped
  QString grammar;      // the grammar's file name without ".bnf"
  QString rule;         // the start rule: the command's event name
  QStringList actions;  // in the order they were met
  QString words;
  double confidence = 0;  // 0 to 1
  double audioSeconds = 0;
  double decodeSeconds = 0;  // processor time
  QString error;             // status -3: why
};

// The recogniser side of a rehearsal. Load takes the grammar names (the
// compiled files' base names) that the runtime would activate.
class RehearsalRecognizer {
 public:
  virtual ~RehearsalRecognizer() = default;
  virtual bool Load(const QStringList& grammars, QString& error) = 0;
  // Listens to the microphone; keeps the caller's event loop running meanwhile.
  virtual RuleMatch Listen() = 0;
  virtual RuleMatch Recognise(const std::vector<int16_t>& samples) = 0;
  // Ends a listen under way (its Listen reports status 1).
  virtual void StopListening() = 0;
  // Ends the capture of a listen under way and lets it decide on what was
  // heard so far, as a released talk key does.
  virtual void FinishListening() {}
  virtual ListeningProgress Progress() const { return {}; }
};

class UnavailableRehearsalRecognizer final : public RehearsalRecognizer {
 public:
  bool Load(const QStringList&, QString& error) override {
    error = "This build has no speech recogniser.";
    return false;
  }
  RuleMatch Listen() override { return {-3, {}, {}, {}, {}, 0, 0, 0, "This build has no speech recogniser."}; }
  RuleMatch Recognise(const std::vector<int16_t>&) override { return Listen(); }
  void StopListening() override {}
};

// One attempt, told in the command list's terms.
struct RehearsalResult {
  enum class Outcome { Command, NotCommand, Stopped, Failed };
  Outcome outcome = Outcome::NotCommand;
  int commandIndex = -1;  // into the command list
  QString category, commandName, eventName;
  QString actionText;  // the matched branch's action texts joined, e.g. "|57:" + a navaid's frequency
  QString words;
  double confidence = 0;
  double audioSeconds = 0, decodeSeconds = 0;
  QString error;

  bool IsCommand() const { return outcome == Outcome::Command; }
  // "category / command" or "not a command", for lists.
  QString Summary() const;
};

// The grammars the runtime listens to: one per category (in the command
// list's category order); the navaid lists come in through the radio
// category's imports when they were compiled.
QStringList RehearsalGrammars(const QStringList& categories);

// The command a match belongs to: the command of that category (by file
// name) whose event name, trimmed and upper-cased, is the start rule.
RehearsalResult Resolve(const std::vector<data::CommandRecord>& commands, const RuleMatch& match);

// The command's first readback as the copilot speaks it (list names
// replaced); empty when the command has none.
QString FirstReadback(const shell::AppState& state, int commandIndex);

// "command<TAB>event<TAB>action<TAB>words", or "not a command".
QString ResultLine(const RehearsalResult& result);

// The latest attempts, newest first, at most kKept.
class RehearsalLog {
 public:
  static constexpr int kKept = 20;
  void Add(const RehearsalResult& result) {
    m_attempts.push_front(result);
    if (static_cast<int>(m_attempts.size()) > kKept) m_attempts.pop_back();
  }
  const std::deque<RehearsalResult>& Attempts() const { return m_attempts; }

 private:
  std::deque<RehearsalResult> m_attempts;
};

}  // namespace qv::grammar
