#pragma once
// The conversion list as the window's table shows it: one row per item of the core queue
// (its preset, input, output and status), then one empty row that waits for the next
// addition, as the list has always shown. The model owns the queue and every change of it
// goes through here, so that the table follows.

#include <QAbstractTableModel>
#include <QStringList>

#include "conversion/conversion_queue.h"

namespace transcoda::gui {

class QueueModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kPresetColumn = 0, kInputColumn = 1, kOutputColumn = 2, kStatusColumn = 3, kColumnCount = 4 };
    // The status cell of the running item: its whole percentage, once one is known.
    static constexpr int kPercentRole = Qt::UserRole + 1;

    explicit QueueModel(QObject* parent = nullptr);

    const ConversionQueue& Queue() const { return queue_; }
    int Count() const { return static_cast<int>(queue_.Size()); }

    long long Add(const QString& preset, const QString& input, const QString& output, const ItemStatus& status = {});
    void RemoveAt(int index);
    // The item at `from` takes the place `to` (both from 0).
    void Move(int from, int to);
    void Clear();
    // False when no item has this id.
    bool SetStatus(long long id, const ItemStatus& status);
    // The header texts of the columns, from the first.
    void SetHeaders(const QStringList& headers);
    // Every status cell and hint anew, after a change of language.
    void ShowStatusesAgain();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    ConversionQueue queue_;
    QStringList headers_;
};

}  // namespace transcoda::gui
