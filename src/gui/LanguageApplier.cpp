#include "gui/LanguageApplier.h"

#include "gui/QtText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace quillon::gui {

namespace {

QWidget* Find(QWidget* form, const QString& formKey, const QString& key) {
    if (key == formKey)
        return form;
    return form->findChild<QWidget*>(key);
}

void SetCaption(QWidget* w, const QString& text, bool isForm) {
    if (isForm)
        w->setWindowTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(text);
}

void SetItems(QComboBox* box, const QString& items) {
    const QStringList texts = items.split(QLatin1Char(','));
    const QSignalBlocker quiet(box); // keeping the selection is no change of language
    const int selected = box->currentIndex();
    for (int i = 0; i < texts.size() && i < box->count(); ++i)
        box->setItemText(i, texts[i]);
    box->setCurrentIndex(selected);
}

} // namespace

QString InstalledFamily(const QString& family) {
    if (family != QStringLiteral("宋体"))
        return family;
    const QStringList installed = QFontDatabase::families();
    for (const char* candidate : {"SimSun", "NSimSun", "Microsoft YaHei", "WenQuanYi Micro Hei", "WenQuanYi Zen Hei",
                                  "Noto Sans CJK SC", "Noto Sans SC", "Source Han Sans SC", "Droid Sans Fallback"})
        if (installed.contains(QLatin1String(candidate)))
            return QLatin1String(candidate);
    return family;
}

QFont FormFont(const QString& family) {
    QFont font(InstalledFamily(family));
    font.setPointSize(9);
    return font;
}

QString ColumnCaption(TForm table, const char* list, int column, TLanguage language) {
    const std::string key = std::string(list) + ".Columns[" + std::to_string(column) + "].Caption";
    return ToQString(FormText(table, "caption", key, language));
}

void ApplyLanguage(QWidget* form, TForm table, const QString& formKey, TLanguage language) {
    for (const TTextEntry& e : FormTexts(table)) {
        const std::string& text = e.In(language);
        if (text.empty() || e.Kind == "string" || e.Key.find(".Columns[") != std::string::npos)
            continue;
        const QString key = ToQString(e.Key);
        if (e.Kind == "items") {
            if (auto* box = form->findChild<QComboBox*>(key.section(QLatin1Char('.'), 0, 0)))
                SetItems(box, ToQString(text));
            continue;
        }
        QWidget* w = Find(form, formKey, key);
        if (!w)
            continue;
        if (e.Kind == "caption") {
            SetCaption(w, ToQString(text), w == form);
        } else if (e.Kind == "font") {
            QFont font = w->font();
            font.setFamily(InstalledFamily(ToQString(text)));
            w->setFont(font);
        }
        // Character sets need nothing: every text is Unicode.
    }
}

} // namespace quillon::gui
