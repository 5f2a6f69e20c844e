#pragma once
// The window's Language menu: "Français" and "English", each in its own language, the
// one in use checked. It opens from the menu of a right click on the window, beside the
// diagnostic log's switch; its entries are greyed while a conversion runs, whose texts
// are being written in the language it began with.

#include <QObject>
#include <functional>
#include <string>

class QAction;
class QMenu;
class QWidget;

namespace transcoda::gui {

class LanguageMenu : public QObject {
    Q_OBJECT
public:
    // `chosen` hears "FR" or "EN" when the user picks an entry; `busy` says whether a
    // conversion runs.
    LanguageMenu(QWidget* window, std::function<void(const std::string&)> chosen, std::function<bool()> busy);

    QMenu* Menu() const { return menu_; }
    // The title and the check mark as the current language has them.
    void ShowLanguage();

    QAction* FrenchAction = nullptr;
    QAction* EnglishAction = nullptr;

private:
    QMenu* menu_;
    std::function<bool()> busy_;
};

}  // namespace transcoda::gui
