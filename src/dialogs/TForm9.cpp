#include "dialogs/TForm9.h"

TForm9::TForm9(QWidget* parent) : QDialog(parent) { setObjectName("TForm9"); }
