#include <gtest/gtest.h>

#include "comma_locale.h"
#include "platform/message_box.h"

namespace obrix {
namespace {

TEST(MessageBuffers, CutToTheirSizesByCharacters) {
  const std::string e = "\xC3\xA9";  // é, two bytes
  struct Case { std::string in; size_t max; std::string out; };
  const Case cases[] = {
      {"abc", 5, "abc"},
      {"abcdef", 3, "abc"},
      {e + e + e, 2, e + e},              // never inside a character
      {"ab" + e, 3, "ab" + e},
      {"\xC3", 5, "\xC3"},                // a broken sequence counts byte by byte
      {"a\xC3z", 2, "a\xC3"},
      {"\xF0\x9F\x98\x80x", 1, "\xF0\x9F\x98\x80"},
      {"", 0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CutToChars(c.in, c.max), c.out) << c.in;

  SetMessageTitle(std::string(300, 't'));
  SetMessageText(std::string(1000, 'x'));
  EXPECT_EQ(MessageTitle(), std::string(kMessageTitleChars - 1, 't'));
  EXPECT_EQ(MessageText(), std::string(kMessageTextChars - 1, 'x'));

  std::string accented;
  for (int i = 0; i < 300; ++i) accented += e;
  SetMessageText(accented);
  EXPECT_EQ(MessageText().size(), 2 * (kMessageTextChars - 1));
}

TEST(MessageBuffers, FormattedTextIsCutNotOverrun) {
  FormatMessageText("Serial Port COM%d Assigned to Instrument and GPS, please change port selection.", 3);
  EXPECT_EQ(MessageText(), "Serial Port COM3 Assigned to Instrument and GPS, please change port selection.");
  FormatMessageText("%s", std::string(5000, 'y').c_str());
  EXPECT_EQ(MessageText().size(), kMessageTextChars - 1);
  FormatMessageTitle("%s %d", "Title", 7);
  EXPECT_EQ(MessageTitle(), "Title 7");
  test::CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no numeric locale with a decimal comma";
  FormatMessageText("Lag %.1f s", 1.5);
  EXPECT_EQ(MessageText(), "Lag 1.5 s");
}

TEST(MessageText, LineBreaks) {
  EXPECT_EQ(ToDisplayLines("one\r\ntwo\rthree\nfour\r\n"), "one\ntwo\nthree\nfour\n");
}

TEST(MessageTemplates, OnlyTheFourExist) {
  for (const char* t : {"MESSAGEOK", "MESSAGEYESNO", "MESSAGEOKCANCEL", "MESSAGENOYES"})
    EXPECT_TRUE(MessageButtonsFor(t)) << t;
  for (const char* t : {"", "MESSAGE", "messageok", "MESSAGEOK "}) EXPECT_FALSE(MessageButtonsFor(t)) << t;
}

}  // namespace
}  // namespace obrix
