#include "dialogs/TForm8.h"

TForm8::TForm8(QWidget* parent) : QDialog(parent) { setObjectName("TForm8"); }
