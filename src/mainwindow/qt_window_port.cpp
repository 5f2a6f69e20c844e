#include "mainwindow/qt_window_port.h"

#include <QLabel>
#include <QMetaObject>
#include <QObject>
#include <QThread>

#include "mainwindow/main_window.h"
#include "mainwindow/log_stamp.h"

namespace transcoda::gui {

namespace {
QString ToQString(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

QtWindowPort& QtWindowPort::Instance() {
    // Deliberately never destroyed: a worker may still call it while the process ends.
    static QtWindowPort* port = new QtWindowPort;
    return *port;
}

void QtWindowPort::Attach(MainWindow* form) {
    if (invoker_ == nullptr) invoker_ = new QObject;
    form_ = form;
    closing_ = false;
}

void QtWindowPort::Detach(MainWindow* form) {
    if (form_ == form) {
        closing_ = true;
        form_ = nullptr;
    }
}

void QtWindowPort::BeginClosing() { closing_ = true; }

bool QtWindowPort::Run(const std::function<void(MainWindow&)>& work) {
    if (invoker_ == nullptr) return false;
    if (QThread::currentThread() == invoker_->thread()) {
        if (form_ == nullptr) return false;
        work(*form_);
        return true;
    }
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
    Run([&](MainWindow& f) { f.ShowDisplay(change); });
}

void QtWindowPort::SetActionText(const std::string& text) {
    Run([&](MainWindow& f) { f.convertCaption->setText(ToQString(text)); });
}

void QtWindowPort::ShowMessage(const std::string& text) {
    Run([&](MainWindow& f) { f.ShowMessage(ToQString(text)); });
}

void QtWindowPort::ShowFailure(const std::string& text, const std::string& details) {
    Run([&](MainWindow& f) { f.ShowFailure(ToQString(text), ToQString(details)); });
}

void QtWindowPort::ShowWrittenNotice(const std::string& text, const std::string& folder) {
    Run([&](MainWindow& f) { f.ShowWrittenNotice(ToQString(text), ToQString(folder)); });
}

void QtWindowPort::AppendLog(const std::string& line) {
    Run([&](MainWindow& f) { f.AppendLog(ToQString(line)); });
}

std::string QtWindowPort::LogStamp(const std::string& marker) {
    return LogStampText(ToQString(marker)).toStdString();
}

bool QtWindowPort::RestoreConvertButton(bool forList) {
    bool out = true;
    Run([&](MainWindow& f) { out = f.RestoreConvertButton(forList); });
    return out;
}

}  // namespace transcoda::gui
