#include <gtest/gtest.h>

#include "TestEnv.h"
#include "core/grammar/SpeechFacade.h"

using namespace qv;

TEST(SpeechFacade, DispatchesCommandNumbersToTheEngines) {
  test::TestEnv env;
  env.state.speechReady = true;
  QByteArray zero("0");
  EXPECT_EQ(env.speech.fnTTSspeak_Call(0, 0, 0, 0, zero), 0);
  EXPECT_EQ(env.speech.fnBinCompile_Call(0, 0, 0), 0);
  env.compiler.compileStatus = 7;
  EXPECT_EQ(env.speech.fnBinCompile_Call(1, 0, 1), 7);
  EXPECT_EQ(env.speech.fnBinCompile_Call(2, 0, 0), 0);
  env.output.presentVoices = {1, 3};
  EXPECT_EQ(env.speech.fnTTSspeak_Call(5, 1, 0, 0, zero), 0);
  EXPECT_NE(env.speech.fnTTSspeak_Call(5, 2, 0, 0, zero), 0);
  QByteArray text("gear down");
  env.speech.fnTTSspeak_Call(1, 3, 100, 50, text);
  QByteArray buffer = grammar::RecognizerBuffer();
  EXPECT_EQ(env.speech.fnSpeechRecDLL_Call(0, buffer), 0);
  env.recognizer.listenStatus = 0;
  env.recognizer.heard = QByteArray("gear down\0\0", 11);
  EXPECT_EQ(env.speech.fnSpeechRecDLL_Call(1, buffer), 0);
  EXPECT_EQ(grammar::RecognizedPhrase(buffer), "gear down");
  EXPECT_EQ(env.speech.fnSpeechRecDLL_Call(3, buffer), 0);
  EXPECT_EQ(env.log, (QStringList{"tts:start", "compile:start", "compile:compile", "compile:stop",
                                  "tts:speak:3:gear down", "rec:load", "rec:listen", "rec:stop"}));
  // unknown commands reach no engine
  EXPECT_EQ(env.speech.fnBinCompile_Call(9, 0, 0), grammar::SpeechFacade::kNotCalled);
  EXPECT_EQ(env.speech.fnSpeechRecDLL_Call(2, buffer), grammar::SpeechFacade::kNotCalled);
  EXPECT_EQ(env.log.size(), 8);
}

TEST(SpeechFacade, NothingIsCalledWhileTheSwitchIsOff) {
  test::TestEnv env;
  QByteArray zero("0");
  QByteArray buffer = grammar::RecognizerBuffer();
  EXPECT_NE(env.speech.fnBinCompile_Call(1, 0, 1), 0);
  EXPECT_NE(env.speech.fnSpeechRecDLL_Call(0, buffer), 0);
  EXPECT_NE(env.speech.fnTTSspeak_Call(1, 1, 100, 50, zero), 0);
  EXPECT_TRUE(env.log.isEmpty());
}

TEST(SpeechFacade, RecognizedPhraseDropsNulsAndOuterBlanksOnly) {
  EXPECT_EQ(grammar::RecognizedPhrase(QByteArray("  set\0 heading \0  ", 18)), "set heading");
  EXPECT_EQ(grammar::RecognizedPhrase(grammar::RecognizerBuffer()), "");
  EXPECT_EQ(grammar::RecognizerBuffer(), QByteArray(1024, ' '));
}
