#include "core/lang/Translations.h"

#include "core/platform/Locale.h"

#include "core/resources/Resources.h"
#include "core/text/Lines.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <stdexcept>

namespace quillon {

namespace {

struct TTables {
    std::array<std::vector<TTextEntry>, FormCount> Forms;
    std::array<std::vector<int>, FormCount> ByNumber; // entry index of numbered string n, -1 when none
};

bool FormOfName(std::string_view name, TForm& form) {
    static constexpr std::pair<std::string_view, TForm> Names[] = {
        {"Main", TForm::Main}, {"Setting", TForm::Setting}, {"Rule", TForm::Rule},      {"RenResult", TForm::RenResult},
        {"App", TForm::App},   {"Summary", TForm::Summary}, {"Library", TForm::Library}};
    for (const auto& [n, f] : Names)
        if (n == name) {
            form = f;
            return true;
        }
    return false;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

// The table file: form, kind, key, English, Chinese and, for numbered strings, the name the code uses for them
// (the build makes an enum per form of those); separated by tabs, texts keep their blanks.
TTables LoadTables() {
    TTables tables;
    const auto text = LoadResourceText("TRANSLATIONS");
    if (!text)
        throw std::runtime_error("the program carries no translation table");
    for (const std::string_view line : SplitLines(*text)) {
        if (line.empty() || line.front() == '#')
            continue;
        const auto f = SplitTabs(line);
        TForm form;
        if ((f.size() != 5 && f.size() != 6) || !FormOfName(f[0], form))
            throw std::runtime_error("bad translation line: " + std::string(line));
        tables.Forms[static_cast<size_t>(form)].push_back(
            {std::string(f[1]), std::string(f[2]), std::string(f[3]), std::string(f[4])});
    }
    // Numbered strings are fetched for every row the lists show: index them once.
    for (size_t form = 0; form < tables.Forms.size(); ++form) {
        const auto& entries = tables.Forms[form];
        for (size_t i = 0; i < entries.size(); ++i) {
            int n = 0;
            const auto& key = entries[i].Key;
            if (entries[i].Kind != "string" ||
                std::from_chars(key.data(), key.data() + key.size(), n).ec != std::errc{} || n < 0 || n > 100000)
                continue;
            auto& index = tables.ByNumber[form];
            if (index.size() <= static_cast<size_t>(n))
                index.resize(static_cast<size_t>(n) + 1, -1);
            if (index[static_cast<size_t>(n)] < 0)
                index[static_cast<size_t>(n)] = static_cast<int>(i);
        }
    }
    return tables;
}

const TTables& Tables() {
    static const TTables tables = LoadTables();
    return tables;
}

} // namespace

const std::vector<TTextEntry>& FormTexts(TForm form) {
    return Tables().Forms[static_cast<size_t>(form)];
}

std::string FormText(TForm form, std::string_view kind, std::string_view key, TLanguage language) {
    for (const auto& e : FormTexts(form))
        if (e.Kind == kind && e.Key == key)
            return e.In(language);
    return {};
}

std::string GetString(TForm form, int n, TLanguage language) {
    const TTables& t = Tables();
    const auto& index = t.ByNumber[static_cast<size_t>(form)];
    if (n < 0 || static_cast<size_t>(n) >= index.size() || index[static_cast<size_t>(n)] < 0)
        return {};
    return t.Forms[static_cast<size_t>(form)][static_cast<size_t>(index[static_cast<size_t>(n)])].In(language);
}

TLanguage LanguageFromLocale() {
    return SystemLocaleIsChinese() ? TLanguage::Chinese : TLanguage::English;
}

std::string FormatText(std::string_view text, std::initializer_list<std::string_view> args) {
    std::string out;
    auto arg = args.begin();
    size_t pos = 0;
    while (arg != args.end()) {
        const size_t hit = text.find("%s", pos);
        if (hit == std::string_view::npos)
            break;
        out.append(text.substr(pos, hit - pos));
        out.append(*arg++);
        pos = hit + 2;
    }
    out.append(text.substr(pos));
    return out;
}

std::optional<TLanguage> LanguageFromSetting(long long stored) {
    if (stored == 0)
        return TLanguage::English;
    if (stored == 1)
        return TLanguage::Chinese;
    return std::nullopt;
}

int SettingFromLanguage(TLanguage language) {
    return language == TLanguage::Chinese ? 1 : 0;
}

TLanguage LanguageFromSettingOrLocale(long long stored) {
    return LanguageFromSetting(stored).value_or(LanguageFromLocale());
}

bool ParseLanguage(std::string_view text, TLanguage& language) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (lower == "en" || lower == "english") {
        language = TLanguage::English;
        return true;
    }
    if (lower == "zh" || lower == "chinese") {
        language = TLanguage::Chinese;
        return true;
    }
    return false;
}

} // namespace quillon
