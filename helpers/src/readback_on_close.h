#pragma once
// What the engine writes, read back as soon as the engine has closed it, while the
// engine frees what it holds and ends (several milliseconds for a process holding the
// engine's hundred-odd libraries), instead of once it has ended. The file's folder is
// watched (inotify) from before the engine starts; the reading begins at the file's
// close after writing, and counts only when nothing touched the file after that (no
// later write, close, creation, removal or rename of that name, its identity unchanged
// when the engine has ended): otherwise the file is read again, as it is then.

#include <optional>
#include <string>
#include <thread>

#include "exec/probe_cache.h"
#include "file_facts.h"

namespace helpers {

class ReadbackOnClose {
public:
    // Watches for `path` closed after writing; `before` is waited for by the reading
    // (the tool's own reading of its input, which uses the same libraries). Nothing is
    // watched when the folder cannot be.
    ReadbackOnClose(std::string path, FactsInBackground& before);
    ~ReadbackOnClose();
    ReadbackOnClose(const ReadbackOnClose&) = delete;
    ReadbackOnClose& operator=(const ReadbackOnClose&) = delete;

    // The descriptor to poll with the engine's outputs; -1 when nothing is watched.
    int Fd() const { return fd_; }
    // Reads the folder's events: the file's close starts the reading.
    void OnEvents();
    // Once the engine has ended: waits for the reading. The facts of the file as it is
    // now (FactsOf when the early reading does not count); `written` false (the engine
    // failed) only ends the reading.
    const FileFacts* Finish(bool written);

private:
    // One read of the queued events; false when there were none.
    bool Drain();

    std::string path_;
    std::string name_;
    FactsInBackground& before_;
    int fd_ = -1;
    bool started_ = false;
    bool touchedAfter_ = false;
    bool read_ = false;  // set by the reading's thread
    std::thread thread_;
    std::optional<transcoda::FileIdentity> identity_;
    FileFacts facts_;
};

}  // namespace helpers
