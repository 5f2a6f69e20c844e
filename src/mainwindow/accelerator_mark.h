#pragma once
// A line under one letter of a caption, marking the Alt+letter that presses the picture
// above it. It lies over the caption and follows its text: the first letter of the text
// that matches, in either case, is marked; none when the text holds no such letter (the
// Convert caption while it reads Stop).

#include <QChar>
#include <QWidget>

class QLabel;

namespace transcoda::gui {

class AcceleratorMark : public QWidget {
    Q_OBJECT
public:
    AcceleratorMark(QLabel* caption, QChar letter);

    // The index of the marked letter in the caption's text, -1 when none is.
    int MarkedIndex() const;
    // Another letter, after a change of language.
    void SetLetter(QChar letter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* caption_;
    QChar letter_;
};

}  // namespace transcoda::gui
