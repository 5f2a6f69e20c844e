// The remembered input, output and format (see preferences.h for the file itself).
#include <QComboBox>
#include <QLineEdit>
#include <string>

#include "exec/app_state.h"
#include "exec/log.h"
#include "mainwindow/TForm1.h"
#include "mainwindow/preferences.h"

using transcoda::App;

void TForm1::LoadPreferences() {
    const transcoda::StartupPreferences prefs = transcoda::ReadStartupPreferences(App().ProgramFolder);
    if (prefs.FileFound) {
        Edit2->setText(QString::fromStdString(prefs.DestinationFileName));
        Edit1->setText(QString::fromStdString(prefs.SourceFileName));
        ComboBox1->setCurrentIndex(prefs.FormatIndex);
        if (!prefs.DeriveOutputName()) {
            // The window still opens, with the paths applied and no format selected.
            ShowMessage(QString::fromStdString(prefs.ErrorText));
            return;
        }
    }
    UpdateOutputName();
}

void TForm1::WriteSourcePreference() {
    const auto result = transcoda::WriteSourceFilePreference(App().ProgramFolder, Edit1->text().toStdString());
    if (!result.Ok()) ShowMessage(QString::fromStdString(result.ErrorText));
}

void TForm1::WriteDestinationPreference() {
    const auto result =
        transcoda::WriteDestinationFilePreference(App().ProgramFolder, Edit2->text().toStdString());
    if (!result.Ok()) ShowMessage(QString::fromStdString(result.ErrorText));
}

void TForm1::WriteConversionPreferences() {
    const auto result = transcoda::WriteConversionStartPreferences(App().ProgramFolder, App().Request.OutputPath,
                                                                   ComboBox1->currentIndex());
    if (!result.Ok()) transcoda::LogError(" -- Erreur de modification du fichier préférences");
    transcoda::LogEvent(" -- Fin de modification du fichier préférences");
}
