#include "mainwindow/items_at_once_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>
#include <algorithm>

#include "mainwindow/texts.h"

namespace transcoda::gui {

ItemsAtOnceMenu::ItemsAtOnceMenu(QWidget* window, int most, std::function<void(int)> chosen,
                                 std::function<int()> current, std::function<bool()> busy)
    : QObject(window), menu_(new QMenu(window)), current_(std::move(current)), busy_(std::move(busy)) {
    menu_->setObjectName("ItemsAtOnceMenu");
    auto* group = new QActionGroup(menu_);
    for (int count = 1; count <= std::max(1, most); ++count) {
        QAction* entry = menu_->addAction(QString::number(count));
        entry->setObjectName(QString("ItemsAtOnce%1").arg(count));
        entry->setCheckable(true);
        group->addAction(entry);
        connect(entry, &QAction::triggered, this, [chosen, count] { chosen(count); });
        entries_.push_back(entry);
    }
    connect(menu_, &QMenu::aboutToShow, this, [this] { ShowChoice(); });
    ShowChoice();
}

QAction* ItemsAtOnceMenu::Entry(int count) const {
    return count >= 1 && count <= static_cast<int>(entries_.size()) ? entries_[static_cast<size_t>(count - 1)]
                                                                     : nullptr;
}

void ItemsAtOnceMenu::ShowChoice() {
    menu_->setTitle(Lang("Conversions simultanées", "Conversions at once"));
    entries_.front()->setText(Lang("1 (une à la fois)", "1 (one at a time)"));
    const int current = std::clamp(current_ ? current_() : 1, 1, static_cast<int>(entries_.size()));
    Entry(current)->setChecked(true);
    const bool enabled = !busy_ || !busy_();
    for (QAction* entry : entries_) entry->setEnabled(enabled);
}

}  // namespace transcoda::gui
