#pragma once
// The controls of a window whose text is cut: a label, button or box narrower than its
// text, or one that runs past the right edge of the window. Pictures, empty texts,
// wrapped labels, hidden controls and controls laid beyond the window are left out.

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWidget>
#include <string>
#include <vector>

namespace transcoda::testing {

inline std::vector<std::string> ClippedTexts(QWidget* window) {
    std::vector<std::string> clipped;
    auto check = [&](QWidget* w, const QString& text, int room) {
        if (text.trimmed().isEmpty()) return;
        const int left = w->mapTo(window, QPoint(0, 0)).x();
        if (left >= window->width()) return;  // laid wholly beyond the window, never seen
        const int textWidth = w->fontMetrics().horizontalAdvance(text);
        if (textWidth > room || left + w->width() > window->width())
            clipped.push_back(w->objectName().toStdString() + " \"" + text.trimmed().toStdString() + "\" (" +
                              std::to_string(textWidth) + " in " + std::to_string(room) + ")");
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) continue;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->wordWrap() && label->pixmap().isNull()) check(label, label->text(), label->contentsRect().width());
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            // Room left by the button's frame and margins.
            check(button, button->text(), button->width() - 8);
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
            // The room the style leaves for the text, between the frame and the arrow.
            QStyleOptionComboBox option;
            option.initFrom(box);
            option.editable = box->isEditable();
            const int room =
                box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box).width();
            for (int i = 0; i < box->count(); ++i) check(box, box->itemText(i), room);
        }
    }
    return clipped;
}

}  // namespace transcoda::testing
