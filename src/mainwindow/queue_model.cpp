#include "mainwindow/queue_model.h"

#include <QBrush>
#include <QColor>

namespace transcoda::gui {

namespace {

using State = ItemStatus::State;

// A finished item is tinted by how it ended, so that it shows at a glance across the row.
QVariant TintOf(State kind) {
    switch (kind) {
        case State::Done: return QBrush(QColor(214, 240, 214));
        case State::Failed: return QBrush(QColor(246, 214, 214));
        case State::Stopped: return QBrush(QColor(232, 232, 232));
        default: return {};
    }
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QueueModel::QueueModel(QObject* parent) : QAbstractTableModel(parent), headers_(kColumnCount) {}

long long QueueModel::Add(const QString& preset, const QString& input, const QString& output,
                          const ItemStatus& status) {
    const int row = Count();
    beginInsertRows({}, row, row);
    const long long id = queue_.Add(preset.toStdString(), input.toStdString(), output.toStdString(), status);
    endInsertRows();
    return id;
}

void QueueModel::RemoveAt(int index) {
    if (index < 0 || index >= Count()) return;
    beginRemoveRows({}, index, index);
    queue_.RemoveAt(static_cast<size_t>(index));
    endRemoveRows();
}

void QueueModel::Move(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to) return;
    // Qt names the place before which the row goes, counted before it has left.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    queue_.Move(static_cast<size_t>(from), static_cast<size_t>(to));
    endMoveRows();
}

void QueueModel::Clear() {
    if (queue_.Empty()) return;
    beginRemoveRows({}, 0, Count() - 1);
    queue_.Clear();
    endRemoveRows();
}

bool QueueModel::SetStatus(long long id, const ItemStatus& status) {
    if (!queue_.SetStatus(id, status)) return false;
    const int row = queue_.IndexOf(id);
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    return true;
}

void QueueModel::SetHeaders(const QStringList& headers) {
    for (int column = 0; column < kColumnCount && column < headers.size(); ++column) headers_[column] = headers[column];
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

void QueueModel::ShowStatusesAgain() {
    if (Count() > 0) emit dataChanged(index(0, 0), index(Count() - 1, kColumnCount - 1));
}

int QueueModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count() + 1; }

int QueueModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant QueueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count()) return {};  // the empty last row
    const QueueItem& item = queue_.At(static_cast<size_t>(index.row()));
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case kPresetColumn: return Q(item.Preset);
                case kInputColumn: return Q(item.Input);
                case kOutputColumn: return Q(item.Output);
                case kStatusColumn: return Q(ItemStatusText(item.Status));
                default: return {};
            }
        // Every cell of an item tells its status when the pointer rests on it.
        case Qt::ToolTipRole: return Q(ItemStatusText(item.Status));
        case Qt::BackgroundRole: return TintOf(item.Status.Kind);
        case kPercentRole:
            if (index.column() != kStatusColumn || item.Status.Kind != State::Converting || item.Status.Percent < 0)
                return {};
            return item.Status.Percent;
        default: return {};
    }
}

QVariant QueueModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount) return {};
    return headers_[section];
}

Qt::ItemFlags QueueModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

}  // namespace transcoda::gui
