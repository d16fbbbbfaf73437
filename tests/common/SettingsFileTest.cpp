#include <gtest/gtest.h>

#include <random>

#include "common/SettingsFile.h"

namespace {

using TMaybeValue = std::optional<TStoredValue>;

const std::string kHeader = "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]\n";

struct TReadCase {
  const char* Legend;
  std::string Text;
  std::string Name;
  TMaybeValue Expected;
};

TEST(SettingsFile, ReadsWhatAnEditedFileSays) {
  const TReadCase cases[] = {
      {"plain text", kHeader + "\"A\"=\"4800\"\n", "A", std::string("4800")},
      {"dword", kHeader + "\"A\"=dword:0000000f\n", "A", 15u},
      {"value name in another case", kHeader + "\"IgnoreGGA\"=dword:1\n", "ignoregga", 1u},
      {"Latin-1 letters fold too", kHeader + "\"\xC9t\xE9\"=dword:1\n", "\xE9t\xC9", 1u},
      {"section in another case",
       "[hkey_current_user\\software\\tolvane\\OPTIONS]\n\"A\"=dword:2\n", "A", 2u},
      {"escaped quote and backslash", kHeader + R"("A"="say \"hi\" \\o/")" + "\n", "A",
       std::string("say \"hi\" \\o/")},
      {"a lone backslash stands for itself", kHeader + R"("A"="C:\temp")" + "\n", "A",
       std::string("C:\\temp")},
      {"indented, spaces around =", kHeader + "  \"A\"  =  dword:00000007  \n", "A", 7u},
      {"CR LF line ends", "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]\r\n\"A\"=\"x\"\r\n", "A",
       std::string("x")},
      {"UTF-8 mark before the first header", "\xEF\xBB\xBF" + kHeader + "\"A\"=dword:1\n", "A", 1u},
      {"last of two entries wins", kHeader + "\"A\"=dword:1\n\"a\"=dword:2\n", "A", 2u},
      {"section split in two blocks",
       kHeader + "\"A\"=dword:1\n[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Ports]\n" + kHeader +
           "\"A\"=dword:2\n",
       "A", 2u},
      {"leading zeros beyond eight digits", kHeader + "\"A\"=dword:000000001\n", "A", 1u},
      {"the default value", kHeader + "@=\"d\"\n", "", std::string("d")},
      {"text ends at a zero byte", kHeader + "\"A\"=hex(1):61,00,00,00,62,00\n", "A",
       std::string("a")},
      {"hex(2) text is not expanded", kHeader + "\"A\"=hex(2):25,00,41,00,25,00,00,00\n", "A",
       std::string("%A%")},
      {"hex text continued over lines", kHeader + "\"A\"=hex(1):61,00,\\\n  62,00,\\\n  00,00\n",
       "A", std::string("ab")},
      {"hex(4) dword, little-endian", kHeader + "\"A\"=hex(4):01,02,00,80\n", "A", 0x80000201u},
      {"empty text", kHeader + "\"A\"=\"\"\n", "A", std::string()},

      {"no such value", kHeader + "\"B\"=dword:1\n", "A", std::nullopt},
      {"value in another section", "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Ports]\n\"A\"=dword:1\n",
       "A", std::nullopt},
      {"value before any header", "\"A\"=dword:1\n" + kHeader, "A", std::nullopt},
      {"deletion header is not the section",
       "[-HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]\n\"A\"=dword:1\n", "A", std::nullopt},
      {"unterminated text", kHeader + "\"A\"=\"4800\n", "A", std::nullopt},
      {"junk after the closing quote", kHeader + "\"A\"=\"48\"00\n", "A", std::nullopt},
      {"dword of nine digits", kHeader + "\"A\"=dword:100000000\n", "A", std::nullopt},
      {"dword with a non-hex digit", kHeader + "\"A\"=dword:0000000g\n", "A", std::nullopt},
      {"deleted value", kHeader + "\"A\"=-\n", "A", std::nullopt},
      {"later unreadable entry hides an earlier one", kHeader + "\"A\"=dword:1\n\"A\"=dword:xyz\n",
       "A", std::nullopt},
      {"qword", kHeader + "\"A\"=hex(b):01,00,00,00,00,00,00,00\n", "A", std::nullopt},
      {"hex(4) of five bytes", kHeader + "\"A\"=hex(4):01,00,00,00,00\n", "A", std::nullopt},
      {"hex text wider than 8 bits", kHeader + "\"A\"=hex(1):41,01,00,00\n", "A", std::nullopt},
      {"name without its closing quote", kHeader + "\"A=dword:1\n", "A", std::nullopt},
  };
  for (const TReadCase& c : cases)
    EXPECT_EQ(FindStoredValue(c.Text, "Options", c.Name), c.Expected) << c.Legend;
}

struct TWriteCase {
  const char* Legend;
  std::string Before;
  std::string Name;
  TStoredValue Value;
  std::string After;
};

TEST(SettingsFile, WriteChangesOnlyItsEntry) {
  const std::string ports = "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Ports]\n\"COM1\"=\"/dev/x\"\n";
  const TWriteCase cases[] = {
      {"a new file starts with the import line", "", "A", 5u,
       "Windows Registry Editor Version 5.00\n\n" + kHeader + "\"A\"=dword:00000005\n"},
      {"replaced in place, neighbours untouched",
       kHeader + "; mine\n  \"B\" = \"x\"\n\"A\"=dword:1\n??\n", "A", std::string("y"),
       kHeader + "; mine\n  \"B\" = \"x\"\n\"A\"=\"y\"\n??\n"},
      {"the last of two is replaced, keeping its spelling",
       kHeader + "\"A\"=dword:1\n\"A\"=dword:2\n", "a", 3u,
       kHeader + "\"A\"=dword:1\n\"A\"=dword:00000003\n"},
      {"added after the section's last entry", kHeader + "\"B\"=dword:1\n\n" + ports, "A", 2u,
       kHeader + "\"B\"=dword:1\n\"A\"=dword:00000002\n\n" + ports},
      {"added right under a bare header", kHeader + "\n" + ports, "A", 2u,
       kHeader + "\"A\"=dword:00000002\n\n" + ports},
      {"added to a last line without a line end", kHeader + "\"B\"=dword:1", "A", 2u,
       kHeader + "\"B\"=dword:1\n\"A\"=dword:00000002"},
      {"a lone CR ending the file gets its LF: the entry must not join its line",
       "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]\r", "A", 2u,
       "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]\r\n\"A\"=dword:00000002"},
      {"new section after a blank line", ports, "A", 1u,
       ports + "\n" + kHeader + "\"A\"=dword:00000001\n"},
      {"new section after a file without a line end", "; note", "A", 1u,
       "; note\n\n" + kHeader + "\"A\"=dword:00000001\n"},
      {"CR LF kept", "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]\r\n\"B\"=dword:1\r\n", "A",
       1u,
       "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]\r\n\"B\"=dword:1\r\n\"A\"=dword:"
       "00000001\r\n"},
      {"continued hex entry replaced whole",
       kHeader + "\"A\"=hex(1):61,00,\\\n  00,00\n\"B\"=dword:1\n", "A", 1u,
       kHeader + "\"A\"=dword:00000001\n\"B\"=dword:1\n"},
      {"negative integer as its 32 bits", kHeader, "A", 0xFFFFFFFFu,
       kHeader + "\"A\"=dword:ffffffff\n"},
      {"quote and backslash escaped", kHeader, "Q\"", std::string("a\\b\"c"),
       kHeader + R"("Q\""="a\\b\"c")" + "\n"},
      {"a line break forces hex text", kHeader, "A", std::string("a\nb"),
       kHeader + "\"A\"=hex(1):61,00,0a,00,62,00,00,00\n"},
      {"text cut at a zero byte", kHeader, "A", std::string("ab\0cd", 5),
       kHeader + "\"A\"=\"ab\"\n"},
      {"the default value", kHeader, "", std::string("d"), kHeader + "@=\"d\"\n"},
  };
  for (const TWriteCase& c : cases)
    EXPECT_EQ(WithStoredValue(c.Before, "Options", c.Name, c.Value), c.After) << c.Legend;
}

TEST(SettingsFile, NamesThatCannotBeWrittenAreRefused) {
  const struct {
    const char* Legend;
    std::string Section;
    std::string Name;
  } cases[] = {
      {"line break in the name", "Options", "A\nB"},
      {"carriage return in the name", "Options", "A\rB"},
      {"zero byte in the name", "Options", std::string("A\0B", 3)},
      {"line break in the section", "Opt\nions", "A"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WithStoredValue(kHeader, c.Section, c.Name, 1u), std::nullopt) << c.Legend;
}

// Whatever a text holds, writing it and reading it back gives it again.
TEST(SettingsFile, TextsRoundTrip) {
  const std::string texts[] = {
      "\"",
      "\\",
      "ends in a backslash\\",
      "\\\"",
      "\xE9t\xE9 \xFF\x80",
      "tab\there",
      "CR\r\nLF",
      "\r",
      "  spaces  ",
      "dword:00000001",
      "hex(1):00,00",
      "[section]",
      ";comment",
  };
  for (const std::string& text : texts) {
    const std::optional<std::string> file = WithStoredValue("", "Options", "A", text);
    ASSERT_TRUE(file) << text;
    EXPECT_EQ(FindStoredValue(*file, "Options", "A"), TMaybeValue(text)) << text;
  }
}

// Files assembled at random from the lines people and the registry editor
// write, broken ones included. Whatever the file, a write must be read back
// as written and must not change what any other value reads as.
TEST(SettingsFile, WriteIsReadBackInAnyFile) {
  const std::string lines[] = {
      "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]",
      "[hkey_current_user\\software\\tolvane\\options]",
      "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Ports]",
      "[-HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]",
      "\"A\"=\"text\"",
      "\"a\"=dword:00000001",
      "\"B\"=\"C:\\\\\"",
      "\"B\"=hex(1):41,00,\\",
      "  42,00,\\",
      "\"A\"=hex:01,\\",
      "\"A\"=\"unterminated",
      "\"B\"=dword:1234",
      "; comment",
      "",
      "   ",
      "garbage \\",
      "Windows Registry Editor Version 5.00",
  };
  const TStoredValue values[] = {7u, std::string("x"), std::string("two\nlines"),
                                 std::string("\\")};
  std::mt19937 random(20261207);
  for (int round = 0; round < 3000; ++round) {
    const std::string lineBreak = random() % 2 ? "\n" : "\r\n";
    std::string file;
    for (unsigned n = random() % 12; n > 0; --n)
      file += lines[random() % std::size(lines)] + (n > 1 || random() % 2 ? lineBreak : "");
    const TStoredValue& value = values[random() % std::size(values)];
    const std::optional<std::string> edited = WithStoredValue(file, "Options", "A", value);
    ASSERT_TRUE(edited) << file;
    EXPECT_EQ(FindStoredValue(*edited, "Options", "A"), TMaybeValue(value)) << file;
    EXPECT_EQ(FindStoredValue(*edited, "Options", "B"), FindStoredValue(file, "Options", "B"))
        << file;
    EXPECT_EQ(FindStoredValue(*edited, "Ports", "A"), FindStoredValue(file, "Ports", "A")) << file;
  }
}

}  // namespace
