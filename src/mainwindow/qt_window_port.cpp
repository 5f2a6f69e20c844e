#include "mainwindow/qt_window_port.h"

#include <QLabel>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "exec/app_state.h"
#include "mainwindow/main_window.h"
#include "mainwindow/log_stamp.h"

namespace transcoda::gui {

namespace {
QString ToQString(const std::string& s) { return QString::fromStdString(s); }

long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

QtWindowPort& QtWindowPort::Instance() {
    // Deliberately never destroyed: a worker may still log while the process ends.
    static QtWindowPort* port = new QtWindowPort;
    return *port;
}

void QtWindowPort::Attach(MainWindow* form) {
    if (invoker_ == nullptr) {
        invoker_ = new QObject;
        pull_ = new QTimer(invoker_);
        pull_->setInterval(kDisplayPullMs);
        QObject::connect(pull_, &QTimer::timeout, [this] { PullDisplay(); });
    }
    form_ = form;
    closing_ = false;
    pull_->start();
}

void QtWindowPort::Detach(MainWindow* form) {
    if (form_ == form) {
        BeginClosing();
        form_ = nullptr;
        source_ = {};
        if (pull_ != nullptr) pull_->stop();
    }
}

void QtWindowPort::BeginClosing() {
    {
        std::lock_guard lock(logMutex_);
        closing_ = true;
    }
    logRoom_.notify_all();
}

void QtWindowPort::PullDisplayFrom(std::function<DisplayChange()> source) { source_ = std::move(source); }

void QtWindowPort::PullDisplay() {
    lastPullMs_ = NowMs();
    if (form_ == nullptr || !source_) return;
    const DisplayChange change = source_();
    if (change.Empty()) return;
    // Through the window the conversions report to (this port, or one that watches it).
    if (WindowPort* window = App().Window) window->ShowDisplay(change);
    else ShowDisplay(change);
}

void QtWindowPort::PullSoon() {
    if (invoker_ == nullptr || closing_ || NowMs() - lastPullMs_ < kMinPullGapMs || pullQueued_.exchange(true)) return;
    QMetaObject::invokeMethod(
        invoker_,
        [this] {
            pullQueued_ = false;
            PullDisplay();
        },
        Qt::QueuedConnection);
}

bool QtWindowPort::OnWindowThread() const {
    return invoker_ != nullptr && QThread::currentThread() == invoker_->thread();
}

bool QtWindowPort::RunHere(const std::function<void(MainWindow&)>& work) {
    if (form_ == nullptr) return false;
    work(*form_);
    return true;
}

bool QtWindowPort::Run(std::function<void(MainWindow&)> work) {
    if (invoker_ == nullptr) return false;
    if (OnWindowThread()) return RunHere(work);
    if (closing_) return false;
    QMetaObject::invokeMethod(
        invoker_,
        [this, work = std::move(work)] {
            if (form_ != nullptr && !closing_) work(*form_);
        },
        Qt::QueuedConnection);
    return true;
}

bool QtWindowPort::RunAndWait(const std::function<void(MainWindow&)>& work) {
    if (invoker_ == nullptr) return false;
    if (OnWindowThread()) return RunHere(work);
    if (closing_) return false;
    bool done = false;
    QMetaObject::invokeMethod(
        invoker_,
        [this, &work, &done] {
            if (form_ == nullptr || closing_) return;
            work(*form_);
            done = true;
        },
        Qt::BlockingQueuedConnection);
    return done;
}

void QtWindowPort::ShowDisplay(const DisplayChange& change) {
    Run([change](MainWindow& f) { f.ShowDisplay(change); });
}

void QtWindowPort::SetActionText(const std::string& text) {
    Run([text](MainWindow& f) { f.convertCaption->setText(ToQString(text)); });
}

void QtWindowPort::ShowMessage(const std::string& text) {
    Run([text](MainWindow& f) { f.ShowMessage(ToQString(text)); });
}

void QtWindowPort::ShowFailure(const std::string& text, const std::string& details) {
    Run([text, details](MainWindow& f) { f.ShowFailure(ToQString(text), ToQString(details)); });
}

void QtWindowPort::ShowWrittenNotice(const std::string& text, const std::string& folder) {
    Run([text, folder](MainWindow& f) { f.ShowWrittenNotice(ToQString(text), ToQString(folder)); });
}

void QtWindowPort::AppendLog(const std::string& line) {
    if (invoker_ == nullptr) return;
    if (OnWindowThread()) {
        // Lines of other threads still waiting come first.
        std::deque<std::string> waiting;
        {
            std::lock_guard lock(logMutex_);
            waiting.swap(pendingLog_);
        }
        logRoom_.notify_all();
        waiting.push_back(line);
        if (form_ == nullptr) return;
        for (const std::string& each : waiting) form_->AppendLog(ToQString(each));
        return;
    }
    std::unique_lock lock(logMutex_);
    const bool room = logRoom_.wait_for(lock, std::chrono::milliseconds(kLogWaitMs),
                                        [this] { return closing_ || pendingLog_.size() < kLogBacklog; });
    if (!room || closing_) return;
    pendingLog_.push_back(line);
    // One task takes the lines that wait: a flood of lines is not a flood of tasks.
    if (flushQueued_) return;
    flushQueued_ = true;
    lock.unlock();
    QMetaObject::invokeMethod(invoker_, [this] { FlushLog(); }, Qt::QueuedConnection);
}

void QtWindowPort::FlushLog() {
    // A slice at a time, the rest in a task of its own, so that the window answers
    // between slices.
    std::vector<std::string> lines;
    bool more = false;
    {
        std::lock_guard lock(logMutex_);
        while (!pendingLog_.empty() && lines.size() < kLogSlice) {
            lines.push_back(std::move(pendingLog_.front()));
            pendingLog_.pop_front();
        }
        more = !pendingLog_.empty();
        flushQueued_ = more;
    }
    logRoom_.notify_all();
    // The rest waits behind the window's other work (its timers, its input), not before it.
    if (more) QTimer::singleShot(1, invoker_, [this] { FlushLog(); });
    if (form_ == nullptr || closing_) return;
    for (const std::string& line : lines) form_->AppendLog(ToQString(line));
}

std::string QtWindowPort::LogStamp(const std::string& marker) {
    return LogStampText(ToQString(marker)).toStdString();
}

bool QtWindowPort::RestoreConvertButton(bool forList) {
    bool out = true;
    RunAndWait([&](MainWindow& f) { out = f.RestoreConvertButton(forList); });
    return out;
}

}  // namespace transcoda::gui
