// The remembered input, output and format (see preferences.h for the file itself).
#include <QComboBox>
#include <QLineEdit>
#include <string>

#include "exec/app_state.h"
#include "exec/log.h"
#include "mainwindow/main_window.h"
#include "settings/preferences.h"

using transcoda::App;

void MainWindow::LoadPreferences() {
    const transcoda::StartupPreferences prefs = transcoda::ReadStartupPreferences(App().ProgramFolder);
    if (prefs.FileFound) {
        outputPathEdit->setText(QString::fromStdString(prefs.DestinationFileName));
        inputPathEdit->setText(QString::fromStdString(prefs.SourceFileName));
        presetCombo->setCurrentIndex(prefs.FormatIndex);
        if (!prefs.DeriveOutputName()) {
            // The window still opens, with the paths applied and no format selected.
            ShowMessage(QString::fromStdString(prefs.ErrorText));
            return;
        }
    }
    UpdateOutputName();
}

void MainWindow::WriteSourcePreference() {
    const auto result = transcoda::WriteSourceFilePreference(App().ProgramFolder, inputPathEdit->text().toStdString());
    if (!result.Ok()) ShowMessage(QString::fromStdString(result.ErrorText));
}

void MainWindow::WriteDestinationPreference() {
    const auto result =
        transcoda::WriteDestinationFilePreference(App().ProgramFolder, outputPathEdit->text().toStdString());
    if (!result.Ok()) ShowMessage(QString::fromStdString(result.ErrorText));
}

void MainWindow::WriteConversionPreferences() {
    const auto result = transcoda::WriteConversionStartPreferences(App().ProgramFolder, App().Request.OutputPath,
                                                                   presetCombo->currentIndex());
    if (!result.Ok()) transcoda::LogError(" -- Erreur de modification du fichier préférences");
    transcoda::LogEvent(" -- Fin de modification du fichier préférences");
}
