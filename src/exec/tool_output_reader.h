#pragma once
// The reader of one tool run: reads the tool's console output from the pipe, at most
// 4096 bytes at a time, and hands every chunk to the progress handler. A read that ends
// inside a line is topped up with what follows within a few milliseconds (up to 4096
// bytes in all), so that a line the tool writes in pieces reaches the parsers whole.

#include <atomic>
#include <string>
#include <thread>

#include "exec/progress_handler.h"
#include "exec/tool_tail.h"

namespace transcoda {

// The chunk the handler sees for the bytes of one read: every carriage return becomes
// a carriage return and line feed; a line feed counts as a line break too unless it
// follows a carriage return (this platform's tools end their lines with a bare line
// feed), and is otherwise dropped; the result is trimmed.
std::string ChunkFromBytes(const char* data, size_t size);

class ConversionSession;

class ToolOutputReader {
public:
    // Takes ownership of readFd. The chunks go to the session's progress; the session's
    // Stop ends the reading at once.
    ToolOutputReader(ConversionSession& session, int readFd);
    ToolOutputReader(const ToolOutputReader&) = delete;
    ToolOutputReader& operator=(const ToolOutputReader&) = delete;
    ~ToolOutputReader();

    bool Start();
    // Sets the stop flag and wakes the reader even when nothing more comes through the
    // pipe (a grandchild of the tool may still hold it open). With drain, what is
    // already waiting in the pipe is read first, so the tool's last lines count.
    void RequestStop(bool drain);
    // Waits for the reader to leave; true when it has ended (or never started).
    bool Join();
    // The last bytes the reader read (at most kTailSize), as the tool wrote them; read
    // after Join. A tool's closing report line is found there.
    const std::string& Tail() const { return tail_; }
    static constexpr size_t kTailSize = 2048;
    // The tool's last lines as a terminal shows them; read after Join.
    std::vector<std::string> LastLines() const { return lines_.Lines(); }

private:
    void Execute();

    ConversionSession& session_;
    int readFd_;
    int wakeFd_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<bool> drain_{false};
    std::thread thread_;
    ProgressHandler handler_;
    std::string tail_;
    ToolTail lines_;
};

}  // namespace transcoda
