// The Language menu's choice, applied while the window runs.
#include <QString>

#include "dialogs/lag_dialog.h"
#include "dialogs/segment_dialog.h"
#include "exec/app_state.h"
#include "mainwindow/main_window.h"
#include "mainwindow/qt_texts.h"
#include "settings/preferences.h"

using transcoda::App;

void MainWindow::SetLanguage(const std::string& language) {
    // A running conversion writes its texts in the language it began with.
    if (controller_->ConversionUnderWay() || (language != "FR" && language != "EN")) return;
    const bool changed = language != App().CurrentLanguage;
    App().CurrentLanguage = language;
    const auto kept = transcoda::WriteLanguagePreference(App().ProgramFolder, language);
    if (!changed) {
        if (!kept.Ok()) ShowMessage(QString::fromStdString(kept.ErrorText));
        return;
    }
    transcoda::gui::InstallQtTexts(language);
    ApplyLanguageTexts();
    ApplyPictureKeys();
    // The notice of the last conversion was written in the other language.
    ShowTimeText({});
    // The two dialogs take their texts when they are made: the next ask makes them anew.
    for (QWidget* dialog : std::initializer_list<QWidget*>{lagDialog_, segmentDialog_})
        if (dialog != nullptr) dialog->deleteLater();
    lagDialog_ = nullptr;
    segmentDialog_ = nullptr;
    if (!kept.Ok()) ShowMessage(QString::fromStdString(kept.ErrorText));
}
