#pragma once
// How the list's cells are drawn: a path too long for its column keeps its beginning and
// its file name, and the running item's status cell is a bar filled to its percentage,
// its text inside.

#include <QStyledItemDelegate>

namespace transcoda::gui {

class QueueCellLook : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace transcoda::gui
