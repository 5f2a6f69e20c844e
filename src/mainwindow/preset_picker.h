#pragma once
// The window's preset picker: the list of the 40 presets, and the fifteen shortcut
// pictures under it, each of which selects one preset.

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "mainwindow/picture_button.h"

class QComboBox;
class QLabel;
class QWidget;

namespace transcoda::gui {

class PresetPicker : public QObject {
    Q_OBJECT
public:
    // `chosen` hears a preset chosen by the user, in the list or by a picture.
    PresetPicker(QWidget* panel, std::function<void()> chosen);

    void CreateControls();
    void CreateShortcuts();
    void ApplyCaptions();
    // The pictures' hints that have an English text.
    void ApplyHints();

    // One of the fifteen shortcut pictures by its objectName ("dvdShortcut" ...), null for none.
    PictureButton* Shortcut(const QString& name) const;

    QLabel *presetLabel = nullptr, *shortcutsLabel = nullptr;
    QComboBox* presetCombo = nullptr;

private:
    QWidget* panel_;
    std::function<void()> chosen_;
    std::vector<PictureButton*> shortcuts_;
    ImageList normal_, over_, down_;
};

}  // namespace transcoda::gui
