#pragma once
// A picture that reacts like a button: it reports the mouse entering, leaving, pressing
// and releasing, and shows one image of an image list at a time. It also takes the
// keyboard focus, shows it with a frame over the picture, and is pressed by Enter or
// Space as a push button is.

#include <QLabel>
#include <QPixmap>
#include <QString>
#include <vector>

namespace transcoda::gui {

// A row of images of the same size; a picture button shows one of them per state
// (0 normal, 1 pressed, 2 hovered for the big buttons).
class ImageList {
public:
    ImageList() = default;
    // name: the list's name; image i is the resource ":/imagelists/<name>/<i>.png", or
    // "<i>@2x.png" drawn at twice the size when the screens scale by 1.5 or more, so that
    // the picture stays sharp there. A picture that is missing stays null.
    ImageList(QString name, int count, int width, int height);
    const QString& Name() const { return name_; }
    int Count() const { return static_cast<int>(images_.size()); }
    // A null pixmap when the index is out of range or the picture could not be loaded.
    QPixmap Image(int index) const;

private:
    QString name_;
    std::vector<QPixmap> images_;
};

class PictureButton : public QLabel {
    Q_OBJECT
public:
    explicit PictureButton(const QString& objectName, QWidget* parent);

    // The list and index last asked for, whether or not the image could be shown.
    const QString& ShownList() const { return shownList_; }
    int ShownIndex() const { return shownIndex_; }
    void Remember(const QString& list, int index) {
        shownList_ = list;
        shownIndex_ = index;
    }

    // A press and a release over the picture, as Enter and the window's accelerator
    // make them.
    void Click();

signals:
    void MouseEnter();
    void MouseLeave();
    void MouseDown();
    // Released over the picture: the picture acts.
    void MouseUp();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The pointer went out of (false) or back over (true) the picture while pressed.
    void PointerOver(bool inside);

    QString shownList_;
    int shownIndex_ = -1;
    bool mousePressed_ = false;
    bool pointerInside_ = false;
    bool spacePressed_ = false;
};

// Copies image index of list into the picture; false when the image is missing, in
// which case the picture is left as it was.
bool SetPictureState(PictureButton* picture, const ImageList& list, int index);

}  // namespace transcoda::gui
