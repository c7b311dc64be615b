#include <gtest/gtest.h>

#include "app/ini_document.h"

using namespace corvesta;

TEST(IniDocument, ReadsSectionsKeysAndValues) {
  IniDocument doc = IniDocument::Parse("; comment\n"
                                       "[Current]\n"
                                       "LoginOutTime = 600000: \n"
                                       "ServName=NAS-1\r\n"
                                       "[NAS-1]\n"
                                       "UserName=admin\n"
                                       "PassWord=\"  spaced  \"\n"
                                       "Broken line\n");
  EXPECT_EQ(doc.Get(u"Current", u"LoginOutTime"), u"600000:");
  EXPECT_EQ(doc.Get(u"current", u"SERVNAME"), u"NAS-1");
  EXPECT_EQ(doc.Get(u"nas-1", u"username"), u"admin");
  EXPECT_EQ(doc.Get(u"NAS-1", u"PassWord"), u"  spaced  ");
  EXPECT_FALSE(doc.Get(u"NAS-1", u"Broken line"));
  EXPECT_FALSE(doc.Get(u"Used", u"FirstOpen"));
  EXPECT_FALSE(doc.Get(u"Current", u"UserName")); // keys belong to their section
}

TEST(IniDocument, NamesMatchRegardlessOfCaseBeyondAscii) {
  IniDocument doc = IniDocument::Parse("[ХРАНИЛИЩЕ Café]\nUserName=ivan\n");
  EXPECT_EQ(doc.Get(u"хранилище CAFÉ", u"username"), u"ivan");
  EXPECT_TRUE(EqualIgnoringCase(u"ÀÉÎÕÜ", u"àéîõü"));
  EXPECT_FALSE(EqualIgnoringCase(u"NAS1", u"NAS2"));
  EXPECT_FALSE(EqualIgnoringCase(u"NAS", u"NAS "));
}

TEST(IniDocument, SetReplacesAddsAndKeepsEverythingElse) {
  IniDocument doc =
      IniDocument::Parse("; keep me\n[Current]\nServName=old\n\n[Used]\nFirstOpen=FALSE\n");
  ASSERT_TRUE(doc.Set(u"CURRENT", u"servname", u"new"));
  ASSERT_TRUE(doc.Set(u"Current", u"LoginOutTime", u"60000:"));
  ASSERT_TRUE(doc.Set(u"Box", u"UserName", u""));
  std::string text = doc.Serialize();
  EXPECT_EQ(text,
            "; keep me\n[Current]\nServName=new\nLoginOutTime=60000:\n\n[Used]\nFirstOpen=FALSE\n"
            "[Box]\nUserName=\n");
  IniDocument again = IniDocument::Parse(text);
  EXPECT_EQ(again.Get(u"Box", u"UserName"), u"");
  EXPECT_EQ(again.Get(u"Used", u"FirstOpen"), u"FALSE");
}

TEST(IniDocument, ValuesSurviveARoundTripExactly) {
  for (std::u16string value :
       {std::u16string(u" lead"), std::u16string(u"trail "), std::u16string(u"\"quoted\""),
        std::u16string(u"a=b;c[d]"), std::u16string(u"Ж \U0001F4BE")}) {
    IniDocument doc;
    ASSERT_TRUE(doc.Set(u"S", u"K", value));
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Get(u"S", u"K"), value);
  }
}

TEST(IniDocument, RefusesWhatTheFileCannotHold) {
  IniDocument doc;
  EXPECT_FALSE(doc.Set(u"S", u"K", u"two\nlines"));
  EXPECT_FALSE(doc.Set(u"S\r", u"K", u"v"));
  EXPECT_FALSE(doc.Set(u"S", u"a=b", u"v"));
  EXPECT_FALSE(doc.Set(u"", u"K", u"v"));
  EXPECT_FALSE(doc.Set(u"S", u"", u"v"));
  EXPECT_FALSE(doc.Set(u"S", u"[K", u"v"));
  EXPECT_FALSE(doc.Set(u"S", std::u16string(u"K\0", 2), u"v"));
  EXPECT_EQ(doc.Serialize(), "");
}

TEST(IniDocument, SectionNamesWithBracketsRoundTrip) {
  IniDocument doc;
  ASSERT_TRUE(doc.Set(u"NAS [2]", u"UserName", u"bob"));
  EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Get(u"nas [2]", u"UserName"), u"bob");
}

TEST(IniDocument, ReadsUtf16FilesWithByteOrderMark) {
  std::u16string text = u"[Language]\r\nLanguage=RUS\r\n";
  std::string little = "\xFF\xFE";
  std::string big = "\xFE\xFF";
  for (char16_t c : text) {
    little.push_back(static_cast<char>(c & 0xFF));
    little.push_back(static_cast<char>(c >> 8));
    big.push_back(static_cast<char>(c >> 8));
    big.push_back(static_cast<char>(c & 0xFF));
  }
  EXPECT_EQ(IniDocument::Parse(little).Get(u"Language", u"Language"), u"RUS");
  EXPECT_EQ(IniDocument::Parse(big).Get(u"Language", u"Language"), u"RUS");
  EXPECT_EQ(
      IniDocument::Parse("\xEF\xBB\xBF[Language]\nLanguage=GER").Get(u"Language", u"Language"),
      u"GER");
}

TEST(IniDocument, FirstOfDuplicateKeysWinsAndIsTheOneReplaced) {
  IniDocument doc = IniDocument::Parse("[S]\nK=1\nK=2\n[S]\nK=3\n");
  EXPECT_EQ(doc.Get(u"S", u"K"), u"1");
  ASSERT_TRUE(doc.Set(u"S", u"K", u"x"));
  EXPECT_EQ(doc.Serialize(), "[S]\nK=x\nK=2\n[S]\nK=3\n");
}
