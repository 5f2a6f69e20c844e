#pragma once
// The window interface of the worker and the pipe reader, carried out by the main window.
// A call from another thread is queued to the window thread and the caller waits for it
// to be done; a call on the window thread runs at once. Once the window has begun to
// close, calls from other threads return at once without waiting, so that a conversion
// still running when the program ends can neither hang it nor touch a dead window.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "exec/window_port.h"

class QObject;
class MainWindow;

namespace transcoda::gui {

class QtWindowPort : public WindowPort {
public:
    // The one port of the program; it outlives every window.
    static QtWindowPort& Instance();

    // Called by the main window on the window thread.
    void Attach(MainWindow* form);
    void Detach(MainWindow* form);
    void BeginClosing();
    bool Closing() const { return closing_.load(); }

    void ShowDisplay(const DisplayChange& change) override;
    void SetActionText(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    void ShowFailure(const std::string& text, const std::string& details) override;
    void ShowWrittenNotice(const std::string& text, const std::string& folder) override;
    void AppendLog(const std::string& line) override;
    std::string LogStamp(const std::string& marker) override;
    bool RestoreConvertButton(bool forList) override;

private:
    QtWindowPort() = default;
    // Runs work with the window on the window thread; false when it was not run.
    bool Run(const std::function<void(MainWindow&)>& work);

    QObject* invoker_ = nullptr;  // lives on the window thread, never deleted
    MainWindow* form_ = nullptr;      // read and written on the window thread only
    std::atomic<bool> closing_{false};
};

}  // namespace transcoda::gui
