#include "dialogs/tab_order.h"

#include <QRect>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace transcoda {

namespace {

struct Placed {
    QWidget* widget;
    QRect rect;  // in the window's coordinates
    int row = 0;
};

bool TabReaches(const QWidget* w) { return (w->focusPolicy() & Qt::TabFocus) && w->focusProxy() == nullptr; }

// True when an ancestor of w below window is itself reached by Tab.
bool InsideAControl(const QWidget* w, const QWidget* window) {
    for (const QWidget* p = w->parentWidget(); p != nullptr && p != window; p = p->parentWidget())
        if (TabReaches(p)) return true;
    return false;
}

}  // namespace

void OrderTabsByLayout(QWidget* window) {
    std::vector<Placed> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->isWindow() || w->window() != window || !TabReaches(w) || InsideAControl(w, window)) continue;
        controls.push_back({w, QRect(w->mapTo(window, QPoint(0, 0)), w->size())});
    }
    std::stable_sort(controls.begin(), controls.end(),
                     [](const Placed& a, const Placed& b) { return a.rect.top() < b.rect.top(); });
    int row = -1;
    int rowBottom = 0;
    for (Placed& c : controls) {
        if (row < 0 || c.rect.top() > rowBottom) {
            ++row;
            rowBottom = c.rect.bottom();
        }
        rowBottom = std::max(rowBottom, c.rect.bottom());
        c.row = row;
    }
    std::stable_sort(controls.begin(), controls.end(), [](const Placed& a, const Placed& b) {
        if (a.row != b.row) return a.row < b.row;
        if (a.rect.left() != b.rect.left()) return a.rect.left() < b.rect.left();
        return a.rect.top() < b.rect.top();
    });
    for (size_t i = 1; i < controls.size(); ++i) QWidget::setTabOrder(controls[i - 1].widget, controls[i].widget);
}

}  // namespace transcoda
