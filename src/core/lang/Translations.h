#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

/// Interface languages, numbered as the language setting and the tables number them.
enum class TLanguage : int { English = 1, Chinese = 2 };

/// The forms whose texts exist in both languages; App holds this program's own messages beyond the four forms,
/// Summary and Library the texts of the summary tab and the library window.
enum class TForm { Main, Setting, Rule, RenResult, App, Summary, Library };
inline constexpr int FormCount = 7;

/// Numbered string n of a form's table in a language. A missing number or a text that is empty in that
/// language gives the empty text: no fallback to the other language. The language is always an argument:
/// a batch on a worker thread must not see a switch made in the window halfway through.
std::string GetString(TForm form, int n, TLanguage language);

/// The stored setting "language" (0 English, 1 Chinese(Simp)); nothing for any other value.
std::optional<TLanguage> LanguageFromSetting(long long stored);
/// The value stored for a language: 0 or 1.
int SettingFromLanguage(TLanguage language);
/// The language a stored setting names, else the locale's.
TLanguage LanguageFromSettingOrLocale(long long stored);

/// text with each "%s" replaced by the next argument, left to right; arguments are not scanned again.
std::string FormatText(std::string_view text, std::initializer_list<std::string_view> args);

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

/// A language by name: "en"/"english" or "zh"/"chinese", in any letter case; false for anything else.
bool ParseLanguage(std::string_view text, TLanguage& language);

} // namespace quillon
