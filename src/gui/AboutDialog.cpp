#include "gui/AboutDialog.h"

#include "core/platform/VersionInfo.h"
#include "gui/AppIcon.h"
#include "gui/LanguageApplier.h"
#include "gui/QtText.h"
#include "gui/Widgets.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

QLabel* Text(const char* name, const QString& text, int pixelSize, bool bold, QWidget* parent) {
    auto* label = Named<QLabel>(name, parent);
    label->setText(text);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

// A link opens in the desktop's browser; when there is none, nothing happens.
QLabel* Link(const char* name, const QString& url, QWidget* parent) {
    auto* label = Named<QLabel>(name, parent);
    label->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(url));
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setCursor(Qt::PointingHandCursor);
    QObject::connect(label, &QLabel::linkActivated, label,
                     [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
    return label;
}

} // namespace

TAbout::TAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(FormFont(QStringLiteral("Arial")));

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(AppIconPixmap(48));
    image->setFixedSize(48, 48);
    image->setAccessibleName(QStringLiteral("Quillon"));
    auto* title = Text("Label1", QStringLiteral("Quillon ") + ToQString(GetFileVersionText(1)), 21, false, this);
    auto* maker = Text("Label2", QStringLiteral("The Quillon developers, 2026"), 16, true, this);
    auto* site = Link("Label3", QStringLiteral("https://www.qt.io"), this);
    auto* thanks1 = Text("Label4", QStringLiteral("Thanks to everyone who documented the"), 12, true, this);
    auto* thanks2 = Text("Label6", QStringLiteral("replay format, to the Qt project above"), 12, true, this);
    auto* amp = Text("Label7", QStringLiteral("&"), 12, true, this);
    amp->setTextFormat(Qt::PlainText);
    auto* zlib = Link("Label5", QStringLiteral("https://zlib.net"), this);
    auto* ok = new QPushButton(QStringLiteral("O K"), this);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QGridLayout;
    top->addWidget(image, 0, 0, 2, 1, Qt::AlignTop);
    top->addWidget(title, 0, 1);
    top->addWidget(maker, 1, 1);
    top->setColumnStretch(1, 1);
    top->setHorizontalSpacing(12);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(top);
    layout->addWidget(site);
    layout->addSpacing(8);
    for (QWidget* w : {static_cast<QWidget*>(thanks1), static_cast<QWidget*>(thanks2), static_cast<QWidget*>(amp),
                       static_cast<QWidget*>(zlib)})
        layout->addWidget(w);
    layout->addSpacing(8);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(288, 198)));
}

} // namespace quillon::gui
