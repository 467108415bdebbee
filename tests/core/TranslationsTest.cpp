#include "core/lang/Translations.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(Translations, NumberedStringsInBothLanguages) {
    struct TCase {
        TForm Form;
        int N;
        const char* English;
        const char* Chinese;
    };
    const TCase cases[] = {
        {TForm::Main, 1, "File Size", "文件大小"},
        {TForm::Main, 25, "Page:  ", "页码:  "},
        {TForm::Main, 28, " already exists, rename failed!", "已存在, 改名失败!"},
        {TForm::Main, 30, "Rename ", "是否将"},
        {TForm::Main, 31, " to ", "改名为"},
        {TForm::Main, 36, "ABILITY", "ABILITY_CN"},
        {TForm::Main, 64, " with target", " "},
        {TForm::Main, 93, "Use cheat code", "使用作弊码"},
        {TForm::Main, 94, "", ""},
        {TForm::Main, 0, "", ""},
        {TForm::Rule, 1, "day", "天"},
        {TForm::Rule, 7, "Error filename character!", "错误的文件名字符!"},
        {TForm::Rule, 8, "", ""},
        {TForm::Setting, 1, "", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.N);
        EXPECT_EQ(GetString(c.Form, c.N, TLanguage::English), c.English);
        EXPECT_EQ(GetString(c.Form, c.N, TLanguage::Chinese), c.Chinese);
    }
}

TEST(Translations, EveryNumberedStringHasBothTexts) {
    for (int n = 1; n <= 93; ++n) {
        EXPECT_FALSE(GetString(TForm::Main, n, TLanguage::English).empty()) << n;
        EXPECT_FALSE(GetString(TForm::Main, n, TLanguage::Chinese).empty()) << n;
    }
    for (int n = 1; n <= 7; ++n)
        EXPECT_FALSE(GetString(TForm::Rule, n, TLanguage::Chinese).empty()) << n;
}

TEST(Translations, CaptionsHeadingsItemsAndFonts) {
    EXPECT_EQ(FormText(TForm::Main, "caption", "BtnConfig", TLanguage::Chinese), "设置(&S)");
    EXPECT_EQ(FormText(TForm::Main, "caption", "PlayerList.Columns[8].Caption", TLanguage::English), "Time played ");
    EXPECT_EQ(FormText(TForm::Main, "caption", "SpeedButton2", TLanguage::Chinese), ""); // keeps its design text
    EXPECT_EQ(FormText(TForm::Main, "items", "Language.Items", TLanguage::Chinese), "English,简体中文");
    EXPECT_EQ(FormText(TForm::Main, "font", "Label1", TLanguage::Chinese), "宋体");
    EXPECT_EQ(FormText(TForm::Setting, "font", "TSetting", TLanguage::Chinese), "Arial");
    EXPECT_EQ(FormText(TForm::Setting, "caption", "Button1", TLanguage::English), "O K");
    EXPECT_EQ(FormText(TForm::Rule, "caption", "Label21", TLanguage::English),
              "Note: Don't rename replays with more than 2 teams!");
    EXPECT_EQ(FormText(TForm::RenResult, "caption", "ResultList.Columns[0].Caption", TLanguage::Chinese), "原文件名");
}

TEST(Translations, StoredLanguageNumbering) {
    // The settings file numbers the languages from 0, the tables from 1: one conversion serves both.
    EXPECT_EQ(LanguageFromSetting(0), TLanguage::English);
    EXPECT_EQ(LanguageFromSetting(1), TLanguage::Chinese);
    for (long long stored : {-1LL, 2LL, 7LL})
        EXPECT_EQ(LanguageFromSetting(stored), std::nullopt) << stored;
    EXPECT_EQ(SettingFromLanguage(TLanguage::English), 0);
    EXPECT_EQ(SettingFromLanguage(TLanguage::Chinese), 1);
}

TEST(Translations, LanguagesByNameOnly) {
    TLanguage language = TLanguage::English;
    EXPECT_TRUE(ParseLanguage("zh", language));
    EXPECT_EQ(language, TLanguage::Chinese);
    EXPECT_TRUE(ParseLanguage("English", language));
    EXPECT_EQ(language, TLanguage::English);
    for (const char* bad : {"1", "2", "", "fr"})
        EXPECT_FALSE(ParseLanguage(bad, language)) << bad;
}
