#pragma once
// The keyboard's Tab order of a window, taken from where its controls stand: row after
// row from the top, left to right within a row.

class QWidget;

namespace transcoda {

// Chains every control of window that Tab may reach (hidden ones too, so that they fall
// into place when shown) in reading order. A row is a run of controls whose heights
// overlap: a tall picture and the two buttons beside it make one row, read left to
// right. A control inside another one that Tab reaches (a table's scroll bar) keeps its
// place.
void OrderTabsByLayout(QWidget* window);

}  // namespace transcoda
