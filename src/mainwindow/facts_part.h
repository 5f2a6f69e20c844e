#pragma once
// The input's facts under the input field: its length, picture size and frame rate,
// sound and size on disk, the size the chosen preset will write, and a small still at
// the right. They are read on a thread of their own (the helper tools through the probe
// cache, then the still), shown when they arrive; a newer input stops the reading of an
// older one, whose facts are never shown.

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "exec/input_facts.h"

class QLabel;
class QComboBox;
class QLineEdit;
class QWidget;

namespace transcoda::gui {

class FactsPart : public QObject {
    Q_OBJECT
public:
    // The controls go on `panel` under the input field at `top`; the facts follow
    // `input`, the estimate `presets`.
    FactsPart(QWidget* panel, QLineEdit* input, QComboBox* presets, int top);
    ~FactsPart() override;

    // Reads the facts of `path` (nothing for an empty one), stopping an older reading.
    void Read(const QString& path);
    // The texts again, in the window's language.
    void ApplyLanguage();

    // The height the facts take under the input field: what the rows below move down.
    static constexpr int kHeight = 40;
    // The still's width on the screen; it is taken twice as wide, for screens at scale 2.
    static constexpr int kStillWidth = 64;

    QLabel* factsLabel = nullptr;
    QLabel* stillPicture = nullptr;

    // The facts shown, and the path they are of (empty before any arrives).
    const InputFacts& Shown() const { return shown_; }
    QString ShownPath() const { return shownPath_; }

signals:
    // The facts of the latest input arrived and are shown (the still, when there is one,
    // comes with them).
    void Arrived(const QString& path);

private:
    struct Reading;
    void Arrive(unsigned long long generation, const QString& path, const InputFacts& facts);
    void Render();
    void JoinEnded(bool all);

    QLineEdit* input_;
    QComboBox* presets_;
    unsigned long long generation_ = 0;
    std::shared_ptr<Reading> current_;
    std::vector<std::pair<std::shared_ptr<Reading>, std::thread>> threads_;
    InputFacts shown_;
    QString shownPath_;
    bool reading_ = false;
};

}  // namespace transcoda::gui
