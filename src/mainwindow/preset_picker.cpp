#include "mainwindow/preset_picker.h"

#include <QComboBox>
#include <QLabel>
#include <cstring>

#include "exec/app_state.h"
#include "mainwindow/texts.h"
#include "mainwindow/widget_make.h"
#include "recipes/format_catalogue.h"

namespace transcoda::gui {

namespace {

struct ShortcutSpec {
    const char* name;  // the picture's objectName
    int left;
    const char* hint;
    int imageIndex;
    int formatIndex;
};

// Left to right, all 44 x 39 with their top edge at 228.
const ShortcutSpec kShortcuts[] = {
    {"fullHdShortcut", 6, "Full HD", 0, 1},
    {"hdReadyShortcut", 56, "HD Ready", 1, 0},
    {"mpegShortcut", 106, "MPEG", 2, 3},
    {"flashShortcut", 156, "Flash", 3, 6},
    {"wmvShortcut", 206, "WMV (Windows Media Video)", 4, 12},
    {"mobileShortcut", 256, "3GPP (Video Mobile)", 5, 13},
    {"quickTimeShortcut", 306, "Quick Time", 6, 19},
    {"iphoneShortcut", 356, "iPhone", 8, 26},
    {"playstationShortcut", 406, "Playstation", 9, 27},
    {"xboxShortcut", 456, "Xbox", 10, 31},
    {"dvdShortcut", 506, "DVD", 11, 32},
    {"audioShortcut", 556, "Audio", 12, 34},
    {"divxShortcut", 606, nullptr, 13, 1},
    {"segmentShortcut", 656, "Extraction de partie video/audio", 7, 39},
    {"lagShortcut", 706, "Correction et Synchronisation vidéo/audio", 14, 38},
};

}  // namespace

PresetPicker::PresetPicker(QWidget* panel, std::function<void()> chosen)
    : QObject(panel), panel_(panel), chosen_(std::move(chosen)),
      normal_("shortcuts_normal", 15, 44, 39), over_("shortcuts_hover", 15, 44, 39),
      down_("shortcuts_pressed", 15, 44, 39) {}

void PresetPicker::CreateControls() {
    presetLabel = MakeLabel(panel_, "presetLabel", "Format ciblé :", 8, 184, 128);
    presetCombo = new QComboBox(panel_);
    presetCombo->setObjectName("presetCombo");
    presetCombo->setEditable(false);
    presetCombo->setGeometry(138, 180, 615, 22);
    for (const FormatEntry& entry : FormatCatalogue())
        presetCombo->addItem(QString::fromUtf8(entry.Label.data(), static_cast<qsizetype>(entry.Label.size())));
    presetCombo->setCurrentIndex(-1);
    shortcutsLabel = MakeLabel(panel_, "shortcutsLabel", "Quelques raccourcis", 8, 210, 200);
    connect(presetCombo, &QComboBox::activated, this, [this] { chosen_(); });
}

void PresetPicker::CreateShortcuts() {
    for (const ShortcutSpec& s : kShortcuts) {
        auto* picture = new PictureButton(s.name, panel_);
        picture->setGeometry(s.left, 228, 44, 39);
        if (s.hint != nullptr) picture->setToolTip(QString::fromUtf8(s.hint));
        shortcuts_.push_back(picture);
        SetPictureState(picture, normal_, s.imageIndex);
        const int k = s.imageIndex;
        const int f = s.formatIndex;
        connect(picture, &PictureButton::MouseEnter, this, [this, picture, k] { SetPictureState(picture, over_, k); });
        connect(picture, &PictureButton::MouseDown, this, [this, picture, k] { SetPictureState(picture, down_, k); });
        connect(picture, &PictureButton::MouseLeave, this, [this, picture, k] { SetPictureState(picture, normal_, k); });
        connect(picture, &PictureButton::MouseUp, this, [this, picture, k, f] {
            SetPictureState(picture, normal_, k);
            // Selecting from code raises no change event, so the choice is told here as
            // a change by the user would be.
            presetCombo->setCurrentIndex(f);
            chosen_();
        });
    }
}

void PresetPicker::ApplyCaptions() {
    presetLabel->setText(Lang("Format ciblé :", "Format"));
    shortcutsLabel->setText(Lang("Quelques raccourcis", "Some shortcuts"));
}

void PresetPicker::ApplyHints() {
    // The two special shortcuts have English hints of their own; in French they keep
    // their designed ones, as the others do in both languages.
    const auto hint = [](const char* name) {
        for (const ShortcutSpec& s : kShortcuts)
            if (std::strcmp(s.name, name) == 0) return s.hint;
        return "";
    };
    Shortcut("segmentShortcut")
        ->setToolTip(Lang(hint("segmentShortcut"), "Click here to select the format for video/audio extraction"));
    Shortcut("lagShortcut")
        ->setToolTip(Lang(hint("lagShortcut"), "Click here to select the format for video/audio synchronization"));
}

PictureButton* PresetPicker::Shortcut(const QString& name) const {
    for (PictureButton* picture : shortcuts_)
        if (picture->objectName() == name) return picture;
    return nullptr;
}

}  // namespace transcoda::gui
