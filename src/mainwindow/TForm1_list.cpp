// The conversion list: a grid whose row 0 is the header, rows 1 .. RowCount-2 the queued
// conversions and row RowCount-1 always empty. The header row is the table's header, so
// grid row r is table row r-1.
#include <algorithm>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "conversion/request_checks.h"
#include "exec/app_state.h"
#include "mainwindow/TForm1.h"
#include "recipes/format_catalogue.h"
#include "recipes/output_place.h"

using transcoda::App;
using transcoda::ItemStatus;
using namespace transcoda::gui;

namespace {
std::string S(const QString& text) { return text.toStdString(); }
}  // namespace

int TForm1::ListRowCount() const { return StringGrid1->rowCount() + 1; }

QString TForm1::ListCell(int column, int row) const {
    if (column < 0 || column > 2) return {};
    if (row == 0) {
        const QTableWidgetItem* header = StringGrid1->horizontalHeaderItem(column);
        return header ? header->text() : QString();
    }
    const QTableWidgetItem* cell = StringGrid1->item(row - 1, column);
    return cell ? cell->text() : QString();
}

void TForm1::SelectListRow(int row) {
    if (row < 1 || row >= ListRowCount()) return;
    StringGrid1->selectRow(row - 1);
    StringGrid1->setCurrentCell(row - 1, 0);
}

int TForm1::SelectedListRow() const {
    const int current = StringGrid1->currentRow();
    return current < 0 ? 0 : current + 1;
}

bool TForm1::OutputInList(const QString& path) const {
    // One file however it is spelt: a linked folder or a bind mount hides no duplicate.
    for (int row = 1; row <= ListRowCount() - 2; ++row)
        if (transcoda::SameOutputPlace(S(ListCell(2, row)), S(path))) return true;
    return false;
}

void TForm1::AddListRow(const QString& label, const QString& input, const QString& output,
                        const transcoda::ItemStatus& status) {
    const int last = StringGrid1->rowCount() - 1;  // the empty last row
    StringGrid1->setItem(last, 0, new QTableWidgetItem(label));
    StringGrid1->setItem(last, 1, new QTableWidgetItem(input));
    StringGrid1->setItem(last, 2, new QTableWidgetItem(output));
    SetListStatus(last + 1, status);
    StringGrid1->insertRow(last + 1);
}

void TForm1::ClearList() {
    const int n = ListRowCount() - 2;
    for (int i = 0; i < n; ++i) StringGrid1->removeRow(0);
}

void TForm1::Button7Click() {
    if (!transcoda::MayJoinList(S(ComboBox1->currentText()), *this)) return;
    // The row gets the name its preset writes: every check and question concerns that
    // file, not the text the field held before.
    UpdateOutputName();
    const transcoda::ConversionRequest row{S(Edit1->text()), S(Edit2->text()), S(ComboBox1->currentText())};
    if (!transcoda::CheckListAddition(row, OutputInList(Edit2->text()), *this)) return;
    if (listHidden_) {
        ShowListLayout();
        listHidden_ = false;
    }
    AddListRow(ComboBox1->currentText(), Edit1->text(), Edit2->text());
    SaveList();
}

void TForm1::Button8Click() {
    const int r = SelectedListRow();
    if (r < 1 || r >= ListRowCount() - 1) return;
    StringGrid1->removeRow(r - 1);
    SelectListRow(r);
    SaveList();
}

void TForm1::Button9Click() {
    if (ListRowCount() <= 2) return;
    ClearList();
    SaveList();
}

void TForm1::Button11Click() {
    if (listHidden_) return;
    HideListLayout();
    listHidden_ = true;
}

void TForm1::Button12Click() {
    if (!listHidden_) return;
    ShowListLayout();
    listHidden_ = false;
}

void TForm1::Button10Click() {
    if (controller_->ConversionUnderWay()) {
        controller_->Stop();
        return;
    }
    // The rows already done are converted again only when the user says so.
    std::vector<ItemStatus::State> states;
    for (int row = 1; row <= ListRowCount() - 2; ++row) states.push_back(ListStatus(row).Kind);
    std::vector<bool> skipped = transcoda::RowsLeftAsDone(states, *this);
    // The question turned the event loop: the list must be the one it was asked about.
    if (static_cast<int>(skipped.size()) != ListRowCount() - 2) return;
    if (!skipped.empty() && std::all_of(skipped.begin(), skipped.end(), [](bool s) { return s; })) return;
    controller_->StartList(std::move(skipped));
}

void TForm1::Button13Click() {
    if (listHidden_) {
        ShowListLayout();
        listHidden_ = false;
    }
    if (ListRowCount() >= 3) ClearList();
    const QString folder = QString::fromStdString(App().ProgramFolder) + "MyFiles/tests/";
    for (int i = 0; i < transcoda::kFormatCount; ++i) {
        ComboBox1->setCurrentIndex(i);
        Edit2->setText(folder + "format-rang-" + QString::number(i));
        if (OutputInList(Edit2->text())) continue;
        UpdateOutputName();
        AddListRow(ComboBox1->currentText(), Edit1->text(), Edit2->text());
    }
    SaveList();
}
