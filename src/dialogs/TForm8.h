#pragma once
// Sound-lag correction dialog: the user estimates how far the sound is ahead of or behind
// the picture, can preview it in the player, and confirms; the lag ends in App().SyncDelay
// ("-1000" when cancelled).

#include <QDialog>

class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);
};
