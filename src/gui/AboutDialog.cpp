#include "gui/AboutDialog.h"

#include "core/lang/StringIds.h"
#include "core/platform/System.h"
#include "core/platform/VersionInfo.h"
#include "core/resources/Resources.h"
#include "gui/AppIcon.h"
#include "gui/QtText.h"
#include "gui/Tr.h"
#include "gui/Widgets.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

QLabel* Text(const char* name, const QString& text, QWidget* parent, int pixelSize = 0, bool bold = false) {
    auto* label = Named<QLabel>(name, parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setWordWrap(true);
    QFont font = label->font();
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

// A link opens in the desktop's browser; when there is none, nothing happens.
QLabel* Link(const char* name, const QString& url, QWidget* parent) {
    auto* label = Named<QLabel>(name, parent);
    label->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(url.toHtmlEscaped()));
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setCursor(Qt::PointingHandCursor);
    QObject::connect(label, &QLabel::linkActivated, label,
                     [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
    return label;
}

// The full notices as the package or the Windows folder ships them, when they are there.
QString InstalledNotices() {
    const QString dir = FromPath(ProgramDir());
    for (const QString& path :
         {dir + QStringLiteral("THIRD-PARTY-NOTICES.txt"), dir + QStringLiteral("../share/doc/quillon/copyright")}) {
        QFile file(path);
        if (file.size() < 4 * 1024 * 1024 && file.open(QIODevice::ReadOnly))
            return QString::fromUtf8(file.readAll());
    }
    return {};
}

} // namespace

TAbout::TAbout(TLanguage language, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(Tr(AppString::AboutTitle, language));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(AppIconPixmap(48));
    image->setFixedSize(48, 48);
    image->setAccessibleName(QStringLiteral("Quillon"));
    auto* title = Text("Label1", QStringLiteral("Quillon ") + ToQString(GetVersionString("ProductVersion")), this, 21);
    auto* what = Text("Label2", Tr(AppString::AboutWhat, language), this, 0, true);
    auto* copyright = Text("Label4", Tr(AppString::AboutCopyright, language), this);
    auto* licence = Text("Label6", Tr(AppString::AboutLicence, language), this);
    auto* source = Text("Label7", Tr(AppString::AboutSource, language), this);
    auto* site = Link("Label3", ToQString(std::string(SourceUrl)), this);
    auto* built = Text("Label5", Tr(AppString::AboutBuiltWith, language, {qVersion(), LibraryVersions()}), this);
    built->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(this);
    auto* licenceButton = buttons->addButton(Tr(AppString::AboutLicenceButton, language), QDialogButtonBox::ActionRole);
    licenceButton->setObjectName(QStringLiteral("BtnLicence"));
    auto* noticesButton = buttons->addButton(Tr(AppString::AboutNoticesButton, language), QDialogButtonBox::ActionRole);
    noticesButton->setObjectName(QStringLiteral("BtnNotices"));
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(licenceButton, &QPushButton::clicked, this, [this, language] {
        ShowText(Tr(AppString::AboutLicenceButton, language).remove(QLatin1Char('&')), LicenceText());
    });
    connect(noticesButton, &QPushButton::clicked, this, [this, language] {
        ShowText(Tr(AppString::AboutNoticesButton, language).remove(QLatin1Char('&')), NoticesText());
    });

    auto* top = new QGridLayout;
    top->addWidget(image, 0, 0, 2, 1, Qt::AlignTop);
    top->addWidget(title, 0, 1);
    top->addWidget(what, 1, 1);
    top->setColumnStretch(1, 1);
    top->setHorizontalSpacing(12);
    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(source);
    sourceRow->addWidget(site, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addWidget(copyright);
    layout->addWidget(licence);
    layout->addLayout(sourceRow);
    layout->addWidget(built);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    setFixedWidth(std::max(420, sizeHint().width()));
}

QString TAbout::LicenceText() {
    return ToQString(LoadResourceText("LICENSE").value_or(std::string()));
}

QString TAbout::NoticesText() {
    const QString full = InstalledNotices();
    const QString built = ToQString(LoadResourceText("NOTICES").value_or(std::string()));
    return full.isEmpty() ? built : built + QStringLiteral("\n\n") + full;
}

QDialog* TAbout::ShowText(const QString& title, const QString& text) {
    auto* window = new QDialog(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("AboutText"));
    window->setWindowTitle(title);
    auto* view = new QPlainTextEdit(window);
    view->setObjectName(QStringLiteral("AboutTextView"));
    view->setReadOnly(true);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view->setPlainText(text);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, window);
    connect(close, &QDialogButtonBox::rejected, window, &QDialog::reject);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(view);
    layout->addWidget(close);
    window->resize(640, 480);
    window->show();
    return window;
}

} // namespace quillon::gui
