#include "mainwindow/preset_picker.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTimer>
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

// Whether a label holds every word of the typed text, letter case aside.
bool HoldsEveryWord(const QString& label, const QStringList& words) {
    for (const QString& word : words)
        if (!label.contains(word, Qt::CaseInsensitive)) return false;
    return !words.isEmpty();
}

QStringList WordsOf(const QString& typed) { return typed.split(' ', Qt::SkipEmptyParts); }

// The presets whose label holds every typed word, in the catalogue's order.
class PresetFinder : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void Find(const QString& typed) {
        words_ = WordsOf(typed);
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        return HoldsEveryWord(sourceModel()->index(row, 0, parent).data().toString(), words_);
    }

private:
    QStringList words_;
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
    // Editable for the search only: a typed text is never added to the presets.
    presetCombo->setEditable(true);
    presetCombo->setInsertPolicy(QComboBox::NoInsert);
    presetCombo->setGeometry(138, 180, 615, 22);
    for (const FormatEntry& entry : FormatCatalogue())
        presetCombo->addItem(QString::fromUtf8(entry.Label.data(), static_cast<qsizetype>(entry.Label.size())));
    // Each typed word is looked for anywhere in the labels: "ipod", "dvd pal", "mp3 256".
    auto* found = new PresetFinder(presetCombo);
    found->setSourceModel(presetCombo->model());
    auto* finder = new QCompleter(found, presetCombo);
    finder->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    finder->setCaseSensitivity(Qt::CaseInsensitive);
    finder->setMaxVisibleItems(12);
    presetCombo->setCompleter(finder);
    connect(presetCombo->lineEdit(), &QLineEdit::textEdited, this, [found, finder](const QString& typed) {
        found->Find(typed);
        if (found->rowCount() == 0) finder->popup()->hide();
        else finder->complete();
    });
    presetCombo->setCurrentIndex(-1);
    shortcutsLabel = MakeLabel(panel_, "shortcutsLabel", "Quelques raccourcis", 8, 210, 200);
    // A preset picked from the list or from the found ones.
    connect(presetCombo, &QComboBox::activated, this, [this] { chosen_(); });
    // The typing ends with Enter, or when the box loses the focus to another control
    // (not to the list of the found presets).
    connect(presetCombo->lineEdit(), &QLineEdit::returnPressed, this, [this] { SettleTypedText(true); });
    presetCombo->installEventFilter(this);
}

bool PresetPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched != presetCombo) return false;
    const auto reason = [event] { return static_cast<QFocusEvent*>(event)->reason(); };
    if (event->type() == QEvent::FocusOut && reason() != Qt::PopupFocusReason) SettleTypedText(false);
    // Coming into the box, by the mouse too, the chosen label is selected: what is typed
    // replaces it. Selected once the click that brought the focus is over.
    if (event->type() == QEvent::FocusIn && reason() != Qt::PopupFocusReason)
        QTimer::singleShot(0, presetCombo->lineEdit(), &QLineEdit::selectAll);
    return false;
}

QString PresetPicker::Chosen() const {
    const int index = presetCombo->currentIndex();
    return index < 0 ? QString() : presetCombo->itemText(index);
}

int PresetPicker::NamedBy(const QString& typed) const {
    for (int i = 0; i < presetCombo->count(); ++i)
        if (presetCombo->itemText(i).trimmed().compare(typed.trimmed(), Qt::CaseInsensitive) == 0) return i;
    const QStringList words = WordsOf(typed);
    int found = -1;
    for (int i = 0; i < presetCombo->count(); ++i) {
        if (!HoldsEveryWord(presetCombo->itemText(i), words)) continue;
        if (found >= 0) return -1;  // several labels hold them
        found = i;
    }
    return found;
}

void PresetPicker::SettleTypedText(bool stillTyping) {
    const QString typed = presetCombo->lineEdit()->text();
    if (typed == Chosen()) return;
    const int named = NamedBy(typed);
    QCompleter* finder = presetCombo->completer();
    if (stillTyping && named < 0 && finder->completionModel()->rowCount() > 1) {
        // Shown again once the list has done with the key that closed it.
        QTimer::singleShot(0, finder, [finder] { finder->complete(); });
        return;
    }
    finder->popup()->hide();
    if (named >= 0) {
        presetCombo->setCurrentIndex(named);
        chosen_();
        return;
    }
    // Nothing chosen by this text: the box shows the chosen preset again.
    presetCombo->setEditText(Chosen());
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
    presetCombo->lineEdit()->setPlaceholderText(Lang("Tapez un mot pour trouver un format (ipod, dvd, mp3...)",
                                                     "Type a word to find a format (ipod, dvd, mp3...)"));
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
