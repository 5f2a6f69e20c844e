#pragma once
// A label or a push button with its objectName and its place, as the window's parts
// make them.

#include <QLabel>
#include <QPushButton>
#include <QString>

namespace transcoda::gui {

inline QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, int x, int y, int w, int h = 16) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(name);
    label->setGeometry(x, y, w, h);
    return label;
}

inline QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, int x, int y, int w,
                               int h = 25) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(name);
    button->setGeometry(x, y, w, h);
    return button;
}

}  // namespace transcoda::gui
