#include "dialogs/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtGlobal>

#include "exec/language.h"

using transcoda::Localised;

namespace {

QString L(std::string_view french, std::string_view english) {
    return QString::fromStdString(Localised(french, english));
}

// The libraries and engines the program runs, each with its licence, as Debian builds
// them (ffmpeg with its GPL parts switched on).
QString LicencesText() {
    const QString qt = QString::fromLatin1(qVersion());
    return L("Transcoda s'appuie sur des logiciels libres, chacun sous sa licence :",
             "Transcoda relies on free software, each under its own licence:") +
           "<ul>"
           "<li>Qt " + qt + L(" : GNU LGPL version 3 (la fenêtre et ses boîtes) ;", ": GNU LGPL version 3 (the window and its boxes);") +
           "</li><li>FFmpeg (libavcodec, libavformat, libavfilter, libswscale, libswresample…)" +
           L(" : GNU LGPL 2.1 ou ultérieure ; Debian les construit avec leurs parties GPL, "
             "l'ensemble est alors sous GNU GPL version 2 ou ultérieure ;",
             ": GNU LGPL 2.1 or later; Debian builds them with their GPL parts, which puts the whole "
             "under the GNU GPL version 2 or later;") +
           "</li><li>libopencore-amrnb" + L(" : Apache License 2.0 (le son AMR) ;", ": Apache License 2.0 (AMR sound);") +
           "</li><li>dvdauthor" + L(" : GNU GPL version 2 ou ultérieure (les DVD) ;", ": GNU GPL version 2 or later (DVDs);") +
           "</li><li>mpv" + L(" : GNU GPL version 2 ou ultérieure (l'aperçu).", ": GNU GPL version 2 or later (the preview).") +
           "</li></ul>" +
           L("Les textes des licences sont dans /usr/share/common-licenses, et ce qui revient à chaque paquet "
             "dans /usr/share/doc/<i>paquet</i>/copyright.",
             "The licence texts are in /usr/share/common-licenses, and what applies to each package in "
             "/usr/share/doc/<i>package</i>/copyright.");
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent, const QString& version, const QString& built, const QUrl& page,
                         std::function<void(const QUrl&)> openPage)
    : QDialog(parent) {
    setObjectName("AboutDialog");
    setWindowTitle(L("A propos de Transcoda", "About Transcoda"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(":/icons/transcoda.png").scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    top->addWidget(icon, 0, Qt::AlignTop);
    heading = new QLabel(this);
    heading->setObjectName("aboutHeading");
    heading->setText("<b style='font-size:16px'>Transcoda Media Converter</b><br>" +
                     L("Version ", "Version ") + version + L(", construite le ", ", built on ") + built + "<br><br>" +
                     L("Convertit vidéos et sons vers 40 formats prêts à l'emploi, un fichier ou toute une liste.",
                       "Converts videos and sounds to 40 ready-made formats, one file or a whole list."));
    heading->setWordWrap(true);
    top->addWidget(heading, 1);
    layout->addLayout(top);

    webLink = new QLabel(this);
    webLink->setObjectName("aboutWebLink");
    const QString address = page.toString();
    webLink->setText(L("Site web : ", "Web page: ") + "<a href=\"" + address.toHtmlEscaped() + "\">" +
                     address.toHtmlEscaped() + "</a>");
    // The program opens the link itself, to say so when the desktop has nothing to open
    // it with; the address may be selected and copied.
    webLink->setTextInteractionFlags(Qt::TextBrowserInteraction);
    webLink->setOpenExternalLinks(false);
    connect(webLink, &QLabel::linkActivated, this, [openPage](const QString& link) { openPage(QUrl(link)); });
    layout->addWidget(webLink);

    licences = new QLabel(LicencesText(), this);
    licences->setObjectName("aboutLicences");
    licences->setWordWrap(true);
    licences->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(licences);

    auto* buttons = new QDialogButtonBox(this);
    closeButton = buttons->addButton(L("Fermer", "Close"), QDialogButtonBox::AcceptRole);
    closeButton->setObjectName("aboutClose");
    closeButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setFixedWidth(520);
}
