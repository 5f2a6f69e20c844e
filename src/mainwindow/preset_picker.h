#pragma once
// The window's preset picker: the list of the 40 presets, in which typing a word of a
// label finds the presets that hold it, and the fifteen shortcut pictures under it, each
// of which selects one preset.

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

    // The label of the chosen preset, empty while none is: never the text being typed.
    QString Chosen() const;
    // The preset that a typed text names: the one whose label is that text, else the one
    // label that holds every word of it (letter case aside); -1 for none or for several.
    int NamedBy(const QString& typed) const;

    QLabel *presetLabel = nullptr, *shortcutsLabel = nullptr;
    QComboBox* presetCombo = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The typing is over (Enter, or the box left): a text that names one preset chooses
    // it; any other text gives way to the chosen preset's label. After Enter a text held
    // by several labels keeps them listed.
    void SettleTypedText(bool stillTyping);

    QWidget* panel_;
    std::function<void()> chosen_;
    std::vector<PictureButton*> shortcuts_;
    ImageList normal_, over_, down_;
};

}  // namespace transcoda::gui
