#include "mainwindow/queue_cell_look.h"

#include <QPainter>
#include <QStyleOptionProgressBar>

#include "mainwindow/queue_model.h"

namespace transcoda::gui {

void QueueCellLook::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const int column = index.column();
    const bool path = column == QueueModel::kInputColumn || column == QueueModel::kOutputColumn;
    option->textElideMode = path ? Qt::ElideMiddle : Qt::ElideRight;
}

void QueueCellLook::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QVariant percent = index.data(QueueModel::kPercentRole);
    const QWidget* view = option.widget;
    if (!percent.isValid() || view == nullptr) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    QStyle* style = view->style();
    // The cell's own background (the selection) first, then the bar over most of it.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, view);
    QStyleOptionProgressBar bar;
    bar.initFrom(view);
    bar.rect = option.rect.adjusted(1, 1, -1, -1);
    bar.minimum = 0;
    bar.maximum = 100;
    bar.progress = percent.toInt();
    bar.text = cell.fontMetrics.elidedText(cell.text, Qt::ElideRight, bar.rect.width() - 4);
    bar.textVisible = true;
    bar.textAlignment = Qt::AlignCenter;
    bar.state |= QStyle::State_Horizontal;
    style->drawControl(QStyle::CE_ProgressBar, &bar, painter, view);
}

}  // namespace transcoda::gui
