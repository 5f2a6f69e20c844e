#pragma once
// Segment extraction dialog: start and end positions; on OK the values end in
// App().ExtractionStart and App().ExtractionLength ("NOVALUE" when cancelled).

#include <QDialog>

class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);
};
