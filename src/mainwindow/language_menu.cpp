#include "mainwindow/language_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>

#include "exec/app_state.h"
#include "mainwindow/texts.h"

namespace transcoda::gui {

LanguageMenu::LanguageMenu(QWidget* window, std::function<void(const std::string&)> chosen,
                           std::function<bool()> busy)
    : QObject(window), menu_(new QMenu(window)), busy_(std::move(busy)) {
    menu_->setObjectName("LanguageMenu");
    auto* group = new QActionGroup(menu_);
    FrenchAction = menu_->addAction(QString::fromUtf8("Français"));
    EnglishAction = menu_->addAction(QStringLiteral("English"));
    FrenchAction->setObjectName("FrenchAction");
    EnglishAction->setObjectName("EnglishAction");
    for (QAction* action : {FrenchAction, EnglishAction}) {
        action->setCheckable(true);
        group->addAction(action);
    }
    connect(FrenchAction, &QAction::triggered, this, [chosen] { chosen("FR"); });
    connect(EnglishAction, &QAction::triggered, this, [chosen] { chosen("EN"); });
    connect(menu_, &QMenu::aboutToShow, this, [this] { ShowLanguage(); });
    ShowLanguage();
}

void LanguageMenu::ShowLanguage() {
    // The other language's word too, for a user who reads only that one.
    menu_->setTitle(Lang("Langue (Language)", "Language (Langue)"));
    (App().English() ? EnglishAction : FrenchAction)->setChecked(true);
    const bool enabled = !busy_ || !busy_();
    FrenchAction->setEnabled(enabled);
    EnglishAction->setEnabled(enabled);
}

}  // namespace transcoda::gui
