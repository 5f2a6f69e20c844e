#pragma once
// A picture that reacts like a button: it reports the mouse entering, leaving, pressing
// and releasing, and shows one image of an image list at a time.

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
    // name: the list's name; image i is the resource ":/imagelists/<name>/<i>.png".
    // A picture that is missing stays null.
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

signals:
    void MouseEnter();
    void MouseLeave();
    void MouseDown();
    void MouseUp();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString shownList_;
    int shownIndex_ = -1;
};

// Copies image index of list into the picture; false when the image is missing, in
// which case the picture is left as it was.
bool SetPictureState(PictureButton* picture, const ImageList& list, int index);

}  // namespace transcoda::gui
