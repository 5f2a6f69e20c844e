#pragma once
// The window's conversion list: its table over the core queue, its buttons (add, show,
// remove, clear, convert, hide, up and down), the mouse and keyboard gestures that edit
// it, files dropped on it, the items' statuses during a run, and the list kept in the
// preferences file between runs. Places in the list are counted as the user sees them,
// the first item 1; the table's last row is the empty one that waits for the next
// addition.

#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

#include "conversion/conversion_queue.h"
#include "settings/saved_list.h"

class QLabel;
class QPushButton;
class QTableView;
class QWidget;

namespace transcoda::gui {

class QueueModel;

class QueuePanel : public QObject {
    Q_OBJECT
public:
    // What the list asks of the window around it.
    struct Hooks {
        std::function<void()> reveal;                   // shows the list layout if it is hidden
        std::function<QString()> preset;                // the preset that dropped files take
        std::function<void(const QString&)> tell;       // a message box
    };
    QueuePanel(QWidget* panel, Hooks hooks);

    // The widgets, made in the window's order so that they stack as they always have:
    // the add and show buttons beside the big pictures, then the list area, then the
    // up and down buttons once the table has its place.
    void CreateTopButtons();
    void CreateListArea();
    void CreateRowButtons();
    // The texts of the chosen language: the captions, the headers and the hints.
    void ApplyTexts();
    void ApplyHints();
    // The list area in the expanded layout, hidden in the collapsed one.
    void SetAreaShown(bool shown);
    // The list area in a window `wider` and `taller` than designed: the table takes the
    // room, the buttons below it move down, those at its right move right.
    void Grow(int wider, int taller);

    const ConversionQueue& Items() const;
    int Count() const;
    // One cell of the item at `row` (from 1): preset 0, input 1, output 2; empty beyond.
    QString Cell(int column, int row) const;
    long long IdAt(int row) const;
    ItemStatus Status(int row) const;
    QString StatusText(int row) const;
    // The selected row (the empty last one is Count() + 1), 0 for none.
    int Selected() const;
    void Select(int row);
    // Whether an item writes this output (one file however it is spelt).
    bool OutputInList(const QString& path) const;
    // The rows may be moved, removed or added now: not while a conversion runs.
    bool Editable() const;
    // The add, remove and clear buttons (and with them the row buttons and gestures).
    void SetEditable(bool editable);

    void Add(const QString& preset, const QString& input, const QString& output, const ItemStatus& status = {});
    void RemoveSelected();
    // The Clear button: every item goes, and the list is kept so.
    void ClearAndSave();
    void ClearItems();
    // Moves the item at `from` to the place `to` (from 1) and selects it there; `save`
    // keeps the new order in the preferences at once.
    void Move(int from, int to, bool save = true);
    // Files dropped on the list: they join it with the selected preset, each output
    // beside its input; those left out are told in one message.
    void AddDroppedFiles(const QStringList& paths);

    // A list run begins: the items it converts again wait; `skipped` (by place from 0)
    // keep their status.
    void RunBegins(const std::vector<bool>& skipped);
    // An item's report during a run: its status, and its row selected as it begins.
    void ShowItem(long long id, const ItemStatus& status);

    void Save();
    void Restore();

    // The widgets, named by role (objectName too).
    QLabel* queueLabel = nullptr;
    QTableView* queueView = nullptr;
    QPushButton *addToQueue = nullptr, *showQueue = nullptr, *removeFromQueue = nullptr, *clearQueue = nullptr,
                *convertQueue = nullptr, *hideQueue = nullptr, *MoveUpButton = nullptr, *MoveDownButton = nullptr;

private:
    void SetStatus(long long id, const ItemStatus& status);
    void TellLater(const QString& text);

    QWidget* panel_;
    Hooks hooks_;
    // Where each widget of the list area stands in the designed layout.
    std::vector<std::pair<QWidget*, QRect>> designed_;
    QueueModel* model_;
    bool restoring_ = false;
    bool saveFailureTold_ = false;
    // The list as this window last read or wrote it: what its next write is merged
    // against, so that other windows' changes to the kept list stay.
    std::vector<SavedListRow> savedBase_;
};

}  // namespace transcoda::gui
