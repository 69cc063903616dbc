#include <gtest/gtest.h>

#include "TestEnv.h"
#include "core/grammar/SpeechFacade.h"

using namespace qv;

// The command numbers reach their engines, unknown ones none, and nothing is
// called while the switch is off.
TEST(SpeechFacade, DispatchesCommandNumbersOnlyWhileSpeechIsReady) {
  test::TestEnv env;
  QByteArray zero("0"), text("gear down");
  QByteArray buffer = grammar::RecognizerBuffer();
  EXPECT_EQ(buffer, QByteArray(1024, ' '));
  EXPECT_NE(env.speech.fnBinCompile_Call(1, 0, 1), 0);
  EXPECT_NE(env.speech.fnSpeechRecDLL_Call(0, buffer), 0);
  EXPECT_NE(env.speech.fnTTSspeak_Call(1, 1, 100, 50, zero), 0);
  EXPECT_TRUE(env.log.isEmpty());

  env.state.speechReady = true;
  EXPECT_EQ(env.speech.fnTTSspeak_Call(0, 0, 0, 0, zero), 0);
  EXPECT_EQ(env.speech.fnBinCompile_Call(0, 0, 0), 0);
  env.compiler.compileStatus = 7;
  EXPECT_EQ(env.speech.fnBinCompile_Call(1, 0, 1), 7);
  EXPECT_EQ(env.speech.fnBinCompile_Call(2, 0, 0), 0);
  env.output.presentVoices = {1, 3};
  EXPECT_EQ(env.speech.fnTTSspeak_Call(5, 1, 0, 0, zero), 0);
  EXPECT_NE(env.speech.fnTTSspeak_Call(5, 2, 0, 0, zero), 0);
  env.speech.fnTTSspeak_Call(1, 3, 100, 50, text);
  EXPECT_EQ(env.speech.fnSpeechRecDLL_Call(0, buffer), 0);
  env.recognizer.listenStatus = 0;
  env.recognizer.heard = QByteArray("  set\0 heading \0  ", 18);
  EXPECT_EQ(env.speech.fnSpeechRecDLL_Call(1, buffer), 0);
  EXPECT_EQ(grammar::RecognizedPhrase(buffer), "set heading");  // NULs and outer blanks dropped
  EXPECT_EQ(env.speech.fnSpeechRecDLL_Call(3, buffer), 0);
  EXPECT_EQ(env.speech.fnBinCompile_Call(9, 0, 0), grammar::SpeechFacade::kNotCalled);
  EXPECT_EQ(env.speech.fnSpeechRecDLL_Call(2, buffer), grammar::SpeechFacade::kNotCalled);
  EXPECT_EQ(env.log, (QStringList{"tts:start", "compile:start", "compile:compile", "compile:stop",
                                  "tts:speak:3:gear down", "rec:load", "rec:listen", "rec:stop"}));
}
