#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

/// Interface languages, numbered as the language setting and the tables number them.
enum class TLanguage : int { English = 1, Chinese = 2 };

/// The forms whose texts exist in both languages.
enum class TForm { Main, Setting, Rule, RenResult };

/// The program-wide active language (English until set).
TLanguage ActiveLanguage();
void SetActiveLanguage(TLanguage language);

/// Numbered string n of a form's table in the active language (or the given one). A missing number
/// or a text that is empty in that language gives the empty text: no fallback to the other language.
std::string GetString(TForm form, int n);
std::string GetString(TForm form, int n, TLanguage language);

/// One entry of a form's table: a caption, column heading, list items, font or character set of a
/// control ("caption", "items", "font", "charset"), or a numbered string ("string").
struct TTextEntry {
    std::string Kind;
    std::string Key;
    std::string English;
    std::string Chinese;

    const std::string& In(TLanguage language) const { return language == TLanguage::Chinese ? Chinese : English; }
};

/// All entries of a form's table in file order.
const std::vector<TTextEntry>& FormTexts(TForm form);

/// The text of an entry of the given kind and key (a caption such as "BtnConfig" or
/// "PlayerList.Columns[0].Caption"); empty when the table has none.
std::string FormText(TForm form, std::string_view kind, std::string_view key, TLanguage language);

/// The language of the user's locale (LC_ALL, LC_MESSAGES, LANG): Chinese for zh_CN, else English.
TLanguage LanguageFromLocale();

/// "en" or "zh" (also "1"/"2", "english"/"chinese") to a language; false for anything else.
bool ParseLanguage(std::string_view text, TLanguage& language);

} // namespace quillon
