#include "mainwindow/qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace transcoda::gui {

QTranslator* InstallQtTexts(const std::string& language) {
    if (language != "FR" || QCoreApplication::instance() == nullptr) return nullptr;
    auto* translator = new QTranslator(QCoreApplication::instance());
    // "qt_fr" gathers the catalogues of every Qt module the program uses.
    if (!translator->load("qt_fr", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

}  // namespace transcoda::gui
