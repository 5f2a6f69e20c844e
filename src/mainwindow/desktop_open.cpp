#include "mainwindow/desktop_open.h"

#include "mainwindow/texts.h"
#include "mainwindow/user_dialogs.h"

namespace transcoda::gui {

bool OpenOnDesktop(const QUrl& url, const std::function<void(const QString&)>& tell) {
    if (Dialogs().OpenExternal(url)) return true;
    if (url.isLocalFile())
        tell(Lang("Le bureau n'a aucun programme pour ouvrir le dossier « %1 ». "
                  "Ouvrez-le avec votre gestionnaire de fichiers.",
                  "The desktop has no program to open the folder \"%1\". Open it with your file manager.")
                 .arg(url.toLocalFile()));
    else
        tell(Lang("Le bureau n'a aucun navigateur pour ouvrir la page %1. Copiez cette adresse dans un navigateur.",
                  "The desktop has no web browser to open the page %1. Copy this address into a browser.")
                 .arg(url.toString()));
    return false;
}

}  // namespace transcoda::gui
