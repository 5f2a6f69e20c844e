// The number fields of both dialogs from the keyboard and the wheel: typing stays within
// the field's range, the Up and Down keys and the wheel step as the arrows do, an arrow
// held down repeats; and Tab goes through each dialog in the order of its layout.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>

#include "dialog_test_support.h"
#include "support/clipped_texts.h"
#include "dialogs/lag_dialog.h"
#include "dialogs/segment_dialog.h"

namespace transcoda::testing {
namespace {

// Turns the wheel over w by delta eighths of a degree (120 = one notch).
void Wheel(QWidget* w, int delta) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent event(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

struct FieldCase {
    const char* field;   // in the sync dialog LagDialog
    const char* start;   // the field's text before
    std::function<void(QLineEdit*, QWidget* spin)> act;
    const char* text;    // the field's text after
};

TEST(NumberFields, TakeTypingKeysAndWheelWithinTheirRange) {
    auto type = [](const char* keys) {
        return [keys](QLineEdit* f, QWidget*) {
            f->selectAll();
            QTest::keyClicks(f, keys);
        };
    };
    auto key = [](Qt::Key k, int times) {
        return [k, times](QLineEdit* f, QWidget*) {
            for (int i = 0; i < times; ++i) QTest::keyClick(f, k);
        };
    };
    auto wheel = [](std::vector<int> deltas, bool onSpin) {
        return [deltas, onSpin](QLineEdit* f, QWidget* spin) {
            for (int d : deltas) Wheel(onSpin ? spin : f, d);
        };
    };
    const FieldCase cases[] = {
        {"lagSeconds", "0", type("125"), "125"},
        {"lagSeconds", "0", type("301"), "30"},       // 301 is past 300: the last key is refused
        {"lagSeconds", "0", type("4x2"), "42"},       // only digits
        {"lagHundredths", "0", type("100"), "10"},       // hundredths: 0 to 99
        {"previewHours", "00", type("25"), "2"},        // hours: 0 to 24
        {"previewHours", "00", type("24"), "24"},
        {"previewMinutes", "00", type("7a"), "7"},
        {"lagSeconds", "0", key(Qt::Key_Up, 3), "3"},
        {"lagSeconds", "0", key(Qt::Key_Down, 1), "0"},
        {"lagHundredths", "0", [](QLineEdit* f, QWidget*) {
             f->setText("98");
             for (int i = 0; i < 3; ++i) QTest::keyClick(f, Qt::Key_Up);
         }, "99"},
        {"previewSeconds", "00", wheel({120, 120}, false), "2"},
        {"previewSeconds", "00", wheel({120, -120, -120}, false), "0"},
        {"previewSeconds", "00", wheel({60, 60, 60}, false), "1"},   // parts of a notch add up
        {"previewMinutes", "00", wheel({120, 120, 120}, true), "3"}, // over the arrows too
    };
    RecordingWindow window;
    ResetApp(window, "FR");
    for (const FieldCase& c : cases) {
        LagDialog dialog;
        auto* field = dialog.findChild<QLineEdit*>(c.field);
        ASSERT_NE(field, nullptr) << c.field;
        QWidget* spin = nullptr;
        for (SpinButton* s : {dialog.lagSecondsSpin, dialog.lagHundredthsSpin, dialog.previewSecondsSpin, dialog.previewHoursSpin,
                               dialog.previewMinutesSpin})
            if (s->geometry().left() == field->geometry().right() + 1) spin = s->UpButton();
        ASSERT_NE(spin, nullptr) << c.field;
        EXPECT_EQ(field->text(), c.start);
        c.act(field, spin);
        EXPECT_EQ(field->text(), c.text) << c.field;
    }
}

TEST(NumberFields, AnArrowHeldDownKeepsStepping) {
    RecordingWindow window;
    ResetApp(window, "EN");
    SegmentDialog dialog;
    dialog.show();
    QToolButton* up = dialog.endMinutesSpin->UpButton();
    QTest::mousePress(up, Qt::LeftButton);
    QElapsedTimer timer;
    timer.start();
    while (FieldValue(dialog.endMinutes) < 3 && timer.elapsed() < 10000) QTest::qWait(20);
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_GE(FieldValue(dialog.endMinutes), 3);
    EXPECT_LE(FieldValue(dialog.endMinutes), 59);
}

TEST(DialogTabs, FollowTheLayout) {
    RecordingWindow window;
    ResetApp(window, "FR");
    LagDialog sync;
    SegmentDialog extraction;
    const std::pair<QDialog*, std::vector<const char*>> cases[] = {
        {&sync, {"inputPathField", "directionCombo", "lagSeconds", "lagHundredths", "previewHours", "previewMinutes", "previewSeconds", "playPreview", "acceptLag", "cancel"}},
        {&extraction, {"inputPathField", "startHours", "startMinutes", "startSeconds", "endHours", "endMinutes", "endSeconds", "extract", "cancel"}},
    };
    for (const auto& [dialog, order] : cases) {
        std::vector<std::string> reached, expected(order.begin(), order.end());
        QWidget* w = dialog->findChild<QWidget*>("inputPathField");
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && w->window() == dialog) reached.push_back(w->objectName().toStdString());
            w = w->nextInFocusChain();
        } while (w != dialog->findChild<QWidget*>("inputPathField") && reached.size() < 50);
        EXPECT_EQ(reached, expected) << dialog->objectName().toStdString();
    }
}

TEST(DialogTexts, NoneIsCutInEitherLanguage) {
    RecordingWindow window;
    for (const char* language : {"FR", "EN"}) {
        ResetApp(window, language);
        LagDialog sync;
        SegmentDialog extraction;
        for (QDialog* dialog : {static_cast<QDialog*>(&sync), static_cast<QDialog*>(&extraction)})
            EXPECT_EQ(ClippedTexts(dialog), std::vector<std::string>{}) << language << " " << dialog->objectName().toStdString();
    }
}

}  // namespace
}  // namespace transcoda::testing
