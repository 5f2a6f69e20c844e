// What the window does with its conversion list: a conversion added from the fields, the
// two layouts, the list converted (or stopped) and its items' reports.
#include <algorithm>

#include <QComboBox>
#include <QLineEdit>

#include "conversion/request_checks.h"
#include "exec/app_state.h"
#include "mainwindow/files_part.h"
#include "mainwindow/main_window.h"
#include "mainwindow/preset_picker.h"
#include "mainwindow/queue_panel.h"
#include "recipes/format_catalogue.h"

using transcoda::App;
using transcoda::ItemStatus;
using namespace transcoda::gui;

namespace {
std::string S(const QString& text) { return text.toStdString(); }
}  // namespace

void MainWindow::RevealList() {
    if (!listHidden_) return;
    ShowListLayout();
    listHidden_ = false;
}

void MainWindow::onAddToQueueClicked() {
    const QString preset = presets_->Chosen();
    if (!transcoda::MayJoinList(S(preset), *this)) return;
    // A path still being typed is checked first, as leaving the field would.
    files_->CheckTypedInput();
    // The item gets the name its preset writes: every check and question concerns that
    // file, not the text the field held before.
    UpdateOutputName();
    const transcoda::ConversionRequest row{S(files_->Input()), S(files_->Output()), S(preset)};
    if (!transcoda::CheckListAddition(row, queue_->OutputInList(files_->Output()), *this)) return;
    RevealList();
    queue_->Add(preset, files_->Input(), files_->Output());
    queue_->Save();
}

void MainWindow::onHideQueueClicked() {
    if (listHidden_) return;
    HideListLayout();
    listHidden_ = true;
}

void MainWindow::onShowQueueClicked() { RevealList(); }

void MainWindow::onConvertQueueClicked() {
    if (controller_->ConversionUnderWay()) {
        controller_->Stop();
        return;
    }
    // The items already done are converted again only when the user says so.
    std::vector<ItemStatus::State> states;
    for (const transcoda::QueueItem& item : queue_->Items().Items()) states.push_back(item.Status.Kind);
    std::vector<bool> skipped = transcoda::RowsLeftAsDone(states, *this);
    // The question turned the event loop: the list must be the one it was asked about.
    if (skipped.size() != queue_->Items().Size()) return;
    if (!skipped.empty() && std::all_of(skipped.begin(), skipped.end(), [](bool s) { return s; })) return;
    controller_->StartList(queue_->Items(), std::move(skipped));
}

void MainWindow::onFillQueueClicked() {
    RevealList();
    queue_->ClearItems();
    const QString folder = QString::fromStdString(App().ProgramFolder) + "MyFiles/tests/";
    for (int i = 0; i < transcoda::kFormatCount; ++i) {
        presets_->presetCombo->setCurrentIndex(i);
        files_->outputPathEdit->setText(folder + "format-rang-" + QString::number(i));
        if (queue_->OutputInList(files_->Output())) continue;
        UpdateOutputName();
        queue_->Add(presets_->Chosen(), files_->Input(), files_->Output());
    }
    queue_->Save();
}

void MainWindow::ListRunBegins(const std::vector<bool>& skipped) { queue_->RunBegins(skipped); }

void MainWindow::ShowListItem(long long item, const ItemStatus& status) { queue_->ShowItem(item, status); }
