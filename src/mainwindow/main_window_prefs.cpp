// The remembered input, output and format read at the start, and those written when a
// conversion starts; the list's items converted at once, as the user chooses it (see
// preferences.h for the file itself).
#include <QComboBox>
#include <string>

#include "exec/app_state.h"
#include "exec/log.h"
#include "mainwindow/files_part.h"
#include "mainwindow/main_window.h"
#include "mainwindow/preset_picker.h"
#include "settings/preferences.h"

using transcoda::App;

void MainWindow::LoadPreferences() {
    const transcoda::StartupPreferences prefs = transcoda::ReadStartupPreferences(App().ProgramFolder);
    if (prefs.FileFound) {
        files_->Restore(QString::fromStdString(prefs.SourceFileName), QString::fromStdString(prefs.DestinationFileName));
        presets_->presetCombo->setCurrentIndex(prefs.FormatIndex);
        if (!prefs.DeriveOutputName()) {
            // The window still opens, with the paths applied and no format selected.
            ShowMessage(QString::fromStdString(prefs.ErrorText));
            return;
        }
    }
    UpdateOutputName();
}

void MainWindow::SetItemsAtOnce(int count) {
    // The running list keeps the count it began with.
    if (controller_->ConversionUnderWay()) return;
    controller_->SetListItemsAtOnce(count);
    const auto kept = transcoda::WriteItemsAtOncePreference(App().ProgramFolder, count);
    if (!kept.Ok()) ShowMessage(QString::fromStdString(kept.ErrorText));
}

void MainWindow::WriteConversionPreferences(const std::string& output) {
    const auto result = transcoda::WriteConversionStartPreferences(App().ProgramFolder, output,
                                                                   presets_->presetCombo->currentIndex());
    if (!result.Ok()) transcoda::LogError(" -- Erreur de modification du fichier préférences");
    transcoda::LogEvent(" -- Fin de modification du fichier préférences");
}
