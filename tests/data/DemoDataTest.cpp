#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

#include "TestEnv.h"
#include "data/IniFile.h"
#include "data/JsonFormats.h"

using namespace qv::data;
using qv::test::DemoSourceDir;
using qv::test::ReadBytes;

namespace {

QSet<QString> References(const QString& text) {
  QSet<QString> refs;
  static const QRegularExpression ref("<([A-Z0-9_]+)>");
  for (auto it = ref.globalMatch(text); it.hasNext();) refs.insert(it.next().captured(1));
  return refs;
}

// Legal characters, balanced groups, and no group inside one of its own kind.
bool WellFormed(const QString& phrase) {
  static const QRegularExpression legal("^[ '(),\\-.0-9<>A-Za-z\\[\\]_|]*$");
  if (!legal.match(phrase).hasMatch()) return false;
  QString open;
  for (const QChar c : phrase) {
    if (c == u'[' || c == u'(') {
      if (open.contains(c)) return false;
      open += c;
    } else if (c == u']' || c == u')') {
      if (open.isEmpty() || open.back() != (c == u']' ? u'[' : u'(')) return false;
      open.chop(1);
    }
  }
  return open.isEmpty();
}

}  // namespace

// The demo command set only refers to lists that exist: phrases to the rules
// of the shared list grammar (or the three generated navaid rules), readbacks
// to the value lists of the settings file.
TEST(DemoData, CommandsReferOnlyToExistingLists) {
  std::vector<CommandRecord> commands;
  QString error;
  ASSERT_TRUE(CommandsFromJson(ReadBytes(DemoSourceDir() + "/Data/CommandList.json"), commands, error));

  const QString grammar = QString::fromUtf8(ReadBytes(DemoSourceDir() + "/Installation/Data/Generic Lists.bnf"));
  QSet<QString> exported;
  static const QRegularExpression exportLine("!export<([A-Z0-9_]+)>;");
  for (auto it = exportLine.globalMatch(grammar); it.hasNext();) exported.insert(it.next().captured(1));
  for (const QString& rule : References(grammar)) EXPECT_TRUE(grammar.contains("<" + rule + ">:")) << qPrintable(rule);
  exported += {"NAV_ID", "NAV_NAME", "RWY_APT_ID"};

  const IniFile settings = IniFile::Load(DemoSourceDir() + "/Installation/QV_Information.cfg");
  QSet<QString> listNames;
  for (int n = 0; n <= settings.intValue("Main", "numLists"); ++n)
    listNames.insert(settings.value("List." + QString::number(n), "name"));

  QSet<QString> events;
  for (const auto& c : commands) {
    EXPECT_FALSE(events.contains(c.eventName.trimmed())) << qPrintable(c.eventName.trimmed());
    events.insert(c.eventName.trimmed());
    EXPECT_FALSE(c.grammars.isEmpty());
    EXPECT_FALSE(c.readbacks.isEmpty());
    for (const QString& g : c.grammars) {
      EXPECT_TRUE(WellFormed(g.trimmed())) << qPrintable(g.trimmed());
      for (const QString& r : References(g)) EXPECT_TRUE(exported.contains(r)) << qPrintable(r);
    }
    for (const QString& rb : c.readbacks)
      for (const QString& r : References(rb)) EXPECT_TRUE(listNames.contains("<" + r + ">")) << qPrintable(r);
  }
  for (const char* navaid : {"RADIO_NAV1_SELECT_ILS", "RADIO_NAV1_SELECT_VOR", "RADIO_NAV2_SELECT_VOR"})
    EXPECT_TRUE(events.contains(navaid)) << navaid;
}
