#include "mainwindow/queue_panel.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <QTimer>

#include "conversion/list_drop.h"
#include "exec/app_state.h"
#include "exec/log.h"
#include "mainwindow/list_gestures.h"
#include "mainwindow/queue_cell_look.h"
#include "mainwindow/queue_model.h"
#include "mainwindow/texts.h"
#include "mainwindow/widget_make.h"
#include "recipes/output_place.h"

namespace transcoda::gui {

namespace {

// The status column stays in sight: the two paths share what the others leave.
constexpr int kPresetWidth = 134;
constexpr int kStatusWidth = 150;
constexpr int kRowButtonSize = 26;

std::string S(const QString& text) { return text.toStdString(); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

// Keeps the row buttons as the list shows them: on screen with the table, and enabled
// exactly when the Remove button is, which the looks of each conversion set.
class RowButtonsFollower : public QObject {
public:
    RowButtonsFollower(QWidget* table, QWidget* remove, std::vector<QWidget*> buttons)
        : QObject(table), table_(table), remove_(remove), buttons_(std::move(buttons)) {
        table->installEventFilter(this);
        remove->installEventFilter(this);
        Follow();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::ShowToParent || type == QEvent::HideToParent || type == QEvent::EnabledChange) Follow();
        return false;
    }

private:
    void Follow() {
        for (QWidget* button : buttons_) {
            button->setHidden(table_->isHidden());
            button->setEnabled(remove_->isEnabled());
        }
    }
    QWidget* table_;
    QWidget* remove_;
    std::vector<QWidget*> buttons_;
};

}  // namespace

QueuePanel::QueuePanel(QWidget* panel, Hooks hooks)
    : QObject(panel), panel_(panel), hooks_(std::move(hooks)), model_(new QueueModel(this)) {}

void QueuePanel::CreateTopButtons() {
    addToQueue = MakeButton(panel_, "addToQueue", "Ajouter à la liste", 336, 22, 196);
    showQueue = MakeButton(panel_, "showQueue", "Afficher la liste", 336, 56, 196);
}

void QueuePanel::CreateListArea() {
    queueLabel = MakeLabel(panel_, "queueLabel", "Liste de fichiers à convertir :", 8, 300, 300);
    queueView = new QTableView(panel_);
    queueView->setObjectName("queueView");
    queueView->setModel(model_);
    queueView->setGeometry(8, 318, 745, 108);
    queueView->setSelectionBehavior(QAbstractItemView::SelectRows);
    queueView->setSelectionMode(QAbstractItemView::SingleSelection);
    queueView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    queueView->verticalHeader()->setVisible(false);
    queueView->verticalHeader()->setDefaultSectionSize(18);
    queueView->verticalHeader()->setMinimumSectionSize(18);
    QHeaderView* header = queueView->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(QueueModel::kInputColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(QueueModel::kOutputColumn, QHeaderView::Stretch);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    queueView->setColumnWidth(QueueModel::kPresetColumn, kPresetWidth);
    queueView->setColumnWidth(QueueModel::kStatusColumn, kStatusWidth);
    // Long paths keep their beginning and their file name; the running item's status
    // shows its percentage as a bar.
    queueView->setItemDelegate(new QueueCellLook(queueView));
    queueView->setWordWrap(false);
    // Tab leaves the list for the next control; the arrows move in it.
    queueView->setTabKeyNavigation(false);
    removeFromQueue = MakeButton(panel_, "removeFromQueue", "Supprimer de la liste", 8, 430, 180);
    clearQueue = MakeButton(panel_, "clearQueue", "Vider la liste", 194, 430, 150);
    convertQueue = MakeButton(panel_, "convertQueue", "Convertir la liste", 350, 430, 220);
    hideQueue = MakeButton(panel_, "hideQueue", "Masquer la liste", 576, 430, 177);
    connect(removeFromQueue, &QPushButton::clicked, this, &QueuePanel::RemoveSelected);
    connect(clearQueue, &QPushButton::clicked, this, &QueuePanel::ClearAndSave);
}

void QueuePanel::CreateRowButtons() {
    // The row buttons stand in a narrow column at the table's right.
    const QRect table = queueView->geometry();
    queueView->resize(table.width() - kRowButtonSize - 4, table.height());
    const int left = table.right() - kRowButtonSize + 1;
    MoveUpButton = new QPushButton(panel_);
    MoveUpButton->setObjectName("MoveUpButton");
    MoveUpButton->setIcon(panel_->style()->standardIcon(QStyle::SP_ArrowUp));
    MoveUpButton->setGeometry(left, table.top(), kRowButtonSize, kRowButtonSize);
    MoveDownButton = new QPushButton(panel_);
    MoveDownButton->setObjectName("MoveDownButton");
    MoveDownButton->setIcon(panel_->style()->standardIcon(QStyle::SP_ArrowDown));
    MoveDownButton->setGeometry(left, table.top() + kRowButtonSize + 4, kRowButtonSize, kRowButtonSize);
    connect(MoveUpButton, &QPushButton::clicked, this, [this] {
        if (Editable()) Move(Selected(), Selected() - 1);
    });
    connect(MoveDownButton, &QPushButton::clicked, this, [this] {
        if (Editable()) Move(Selected(), Selected() + 1);
    });
    new RowButtonsFollower(queueView, removeFromQueue, {MoveUpButton, MoveDownButton});
    for (QWidget* w : std::initializer_list<QWidget*>{queueView, MoveUpButton, MoveDownButton, removeFromQueue,
                                                      clearQueue, convertQueue, hideQueue})
        designed_.emplace_back(w, w->geometry());

    new ListGestures(queueView, {
        [this] { return Editable(); },
        [this](int from, int to) { Move(from, to, false); },
        [this] { RemoveSelected(); },
        [this](const QStringList& paths) { AddDroppedFiles(paths); },
        [this] { Save(); },
    });
}

void QueuePanel::ApplyTexts() {
    queueLabel->setText(Lang("Liste de fichiers à convertir :", "List of files to convert"));
    addToQueue->setText(Lang("Ajouter à la liste", "Add to list"));
    showQueue->setText(Lang("Afficher la liste", "Show list"));
    removeFromQueue->setText(Lang("Supprimer de la liste", "Remove from list"));
    clearQueue->setText(Lang("Vider la liste", "Clear list"));
    hideQueue->setText(Lang("Masquer la liste", "Hide list"));
    convertQueue->setText(Lang("Convertir la liste", "Convert the list"));
    if (App().English())
        model_->SetHeaders({" Format", " Input file", " Output file", " Status"});
    else
        model_->SetHeaders({" Format ciblé", " Fichier à convertir", " Fichier de sortie", " État"});
    // The statuses are written in the current language when they are shown.
    model_->ShowStatusesAgain();
    MoveUpButton->setToolTip(Lang("Sélectionnez un élément de la liste, puis cliquez ici pour le faire monter",
                                  "Select a conversion from the list, then click here to move it up"));
    MoveDownButton->setToolTip(Lang("Sélectionnez un élément de la liste, puis cliquez ici pour le faire descendre",
                                    "Select a conversion from the list, then click here to move it down"));
}

void QueuePanel::ApplyHints() {
    struct Hint {
        QPushButton* button;
        const char* french;
        const char* english;
    };
    const Hint hints[] = {
        {addToQueue, "Cliquez ici pour ajouter le fichier à convertir ainsi que le format dans une liste",
         "Click here to add this conversion (input File/output file/format) to the list"},
        {showQueue, "Cliquez ici pour afficher la liste de conversion de plusieurs fichiers",
         "Click here to show the current list of conversion"},
        {removeFromQueue, "Sélectionnez un élément de la liste, puis cliquez ici pour le supprimer de la liste",
         "Select a conversion from the list, then click here to remove it from the list"},
        {hideQueue, "Masquez l'affichage de la liste", "Hide the current conversion list"},
        {convertQueue, "Cliquez ici pour convertir (ou stopper) toute la liste",
         "Click here to convert (stop) the conversion of the list"},
    };
    for (const Hint& h : hints) h.button->setToolTip(Lang(h.french, h.english));
}

void QueuePanel::SetAreaShown(bool shown) {
    for (QWidget* w : std::initializer_list<QWidget*>{queueView, queueLabel, removeFromQueue, clearQueue,
                                                      convertQueue, hideQueue})
        w->setVisible(shown);
}

void QueuePanel::Grow(int wider, int taller) {
    for (const auto& [widget, designed] : designed_) {
        if (widget == queueView) widget->setGeometry(designed.adjusted(0, 0, wider, taller));
        else if (widget == MoveUpButton || widget == MoveDownButton) widget->setGeometry(designed.translated(wider, 0));
        else if (widget == hideQueue) widget->setGeometry(designed.translated(wider, taller));
        else widget->setGeometry(designed.translated(0, taller));
    }
}

const ConversionQueue& QueuePanel::Items() const { return model_->Queue(); }

int QueuePanel::Count() const { return model_->Count(); }

QString QueuePanel::Cell(int column, int row) const {
    if (row < 1 || row > Count() || column < 0 || column > QueueModel::kOutputColumn) return {};
    return model_->data(model_->index(row - 1, column), Qt::DisplayRole).toString();
}

long long QueuePanel::IdAt(int row) const {
    return row < 1 || row > Count() ? 0 : Items().At(static_cast<size_t>(row - 1)).Id;
}

ItemStatus QueuePanel::Status(int row) const {
    return row < 1 || row > Count() ? ItemStatus{} : Items().At(static_cast<size_t>(row - 1)).Status;
}

QString QueuePanel::StatusText(int row) const {
    return row < 1 || row > Count() ? QString() : Q(ItemStatusText(Status(row)));
}

int QueuePanel::Selected() const {
    const int current = queueView->currentIndex().row();
    return current < 0 ? 0 : current + 1;
}

void QueuePanel::Select(int row) {
    if (row < 1 || row > Count() + 1) return;
    queueView->selectRow(row - 1);
    queueView->setCurrentIndex(model_->index(row - 1, 0));
}

bool QueuePanel::OutputInList(const QString& path) const {
    // One file however it is spelt: a linked folder or a bind mount hides no duplicate.
    for (const QueueItem& item : Items().Items())
        if (SameOutputPlace(item.Output, S(path))) return true;
    return false;
}

bool QueuePanel::Editable() const { return removeFromQueue->isEnabled(); }

void QueuePanel::SetEditable(bool editable) {
    for (QPushButton* b : {addToQueue, removeFromQueue, clearQueue}) b->setEnabled(editable);
}

void QueuePanel::Add(const QString& preset, const QString& input, const QString& output, const ItemStatus& status) {
    model_->Add(preset, input, output, status);
}

void QueuePanel::RemoveSelected() {
    const int row = Selected();
    if (row < 1 || row > Count()) return;
    model_->RemoveAt(row - 1);
    Select(row);
    Save();
}

void QueuePanel::ClearAndSave() {
    if (Count() == 0) return;
    ClearItems();
    Save();
}

void QueuePanel::ClearItems() { model_->Clear(); }

void QueuePanel::Move(int from, int to, bool save) {
    if (from < 1 || from > Count() || to < 1 || to > Count() || from == to) return;
    model_->Move(from - 1, to - 1);
    Select(to);
    if (save) Save();
}

void QueuePanel::AddDroppedFiles(const QStringList& paths) {
    if (!Editable()) return;
    std::vector<std::string> inputs;
    for (const QString& path : paths) inputs.push_back(S(path));
    const DroppedFiles dropped = CheckDroppedFiles(S(hooks_.preset()), inputs,
                                                   [this](const std::string& output) { return OutputInList(Q(output)); });
    // The boxes wait until the drop is over: the desktop's drag must not hang on them.
    if (!dropped.Refusal.empty()) {
        TellLater(Q(dropped.Refusal));
        return;
    }
    for (const ConversionRequest& row : dropped.Rows) Add(Q(row.FormatLabel), Q(row.InputPath), Q(row.OutputPath));
    if (!dropped.Rows.empty()) {
        hooks_.reveal();
        Save();
    }
    if (!dropped.LeftOut.empty()) TellLater(Q(LeftOutFilesText(dropped.Rows.size(), dropped.LeftOut)));
}

void QueuePanel::TellLater(const QString& text) {
    QTimer::singleShot(0, this, [this, text] { hooks_.tell(text); });
}

void QueuePanel::RunBegins(const std::vector<bool>& skipped) {
    for (size_t at = 0; at < Items().Size(); ++at)
        if (at >= skipped.size() || !skipped[at]) model_->SetStatus(Items().At(at).Id, {});
    Save();
}

void QueuePanel::ShowItem(long long id, const ItemStatus& status) {
    const QueueItem* item = Items().Find(id);
    if (item == nullptr) return;
    // The file keeps every change of state, not each percent.
    const bool newState = item->Status.Kind != status.Kind;
    model_->SetStatus(id, status);
    if (!newState) return;
    // The item that begins is the selected one, as the list follows the run.
    if (status.Kind == ItemStatus::State::Converting) Select(Items().IndexOf(id) + 1);
    Save();
}

void QueuePanel::Save() {
    if (restoring_) return;
    std::vector<SavedListRow> rows;
    rows.reserve(Items().Size());
    for (const QueueItem& item : Items().Items()) rows.push_back({item.Preset, item.Input, item.Output, item.Status});
    const auto result = WriteSavedList(App().ProgramFolder, rows, &savedBase_);
    if (result.Ok()) return;
    LogError(" -- " + result.ErrorText);
    // Once per run: the list is saved at every change, and one box says it all.
    if (saveFailureTold_) return;
    saveFailureTold_ = true;
    TellLater(Q(result.ErrorText));
}

void QueuePanel::Restore() {
    restoring_ = true;
    savedBase_ = ReadSavedList(App().ProgramFolder);
    for (const SavedListRow& row : savedBase_) Add(Q(row.FormatLabel), Q(row.InputPath), Q(row.OutputPath), row.Status);
    restoring_ = false;
}

}  // namespace transcoda::gui
