#pragma once
// The window's "Conversions simultanées" / "Conversions at once" menu: how many items of
// the list are converted at once, "1 (une à la fois)" / "1 (one at a time)" up to the
// processors this process may run on (at most eight), the one in use checked. It opens
// from the menu of a right click on the window, beside the Language menu, and is greyed,
// as that one is, while a conversion runs.

#include <QObject>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace transcoda::gui {

class ItemsAtOnceMenu : public QObject {
    Q_OBJECT
public:
    // `most`: the largest count offered; `chosen` hears the count the user picks;
    // `current` gives the one in use; `busy` says whether a conversion runs.
    ItemsAtOnceMenu(QWidget* window, int most, std::function<void(int)> chosen, std::function<int()> current,
                    std::function<bool()> busy);

    QMenu* Menu() const { return menu_; }
    // The title, the entries' texts and the check mark as they stand now.
    void ShowChoice();
    // The entry for `count`, from 1; null past the last.
    QAction* Entry(int count) const;

private:
    QMenu* menu_;
    std::vector<QAction*> entries_;
    std::function<int()> current_;
    std::function<bool()> busy_;
};

}  // namespace transcoda::gui
