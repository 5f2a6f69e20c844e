#include "mainwindow/qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace transcoda::gui {

namespace {
// The catalogue installed last; a change of language takes it away.
QTranslator* installed = nullptr;
}  // namespace

bool InstallQtTexts(const std::string& language) {
    if (QCoreApplication::instance() == nullptr) return false;
    if (installed != nullptr) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (language != "FR") return false;
    auto* translator = new QTranslator(QCoreApplication::instance());
    // "qt_fr" gathers the catalogues of every Qt module the program uses.
    if (!translator->load("qt_fr", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

}  // namespace transcoda::gui
