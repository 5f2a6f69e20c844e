// What a tool reports of the file its engine wrote, when the reading began at the file's
// close: the file as it is once the engine has ended, also when it was written again
// after that close (a stale reading would pass a wrong file).

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "file_facts.h"
#include "readback_on_close.h"

namespace {

// A 16-bit mono PCM WAV file of `seconds` of silence at 8 kHz, written and closed.
void WriteWav(const std::string& path, double seconds) {
    const uint32_t rate = 8000;
    const uint32_t data = static_cast<uint32_t>(seconds * rate) * 2;
    std::vector<uint8_t> bytes;
    auto text = [&](const char* s) { bytes.insert(bytes.end(), s, s + 4); };
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](uint16_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    };
    text("RIFF");
    u32(36 + data);
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    text("data");
    u32(data);
    bytes.resize(bytes.size() + data, 0);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ASSERT_EQ(close(fd), 0);
}

// Waits (within a bound) for the watch to have something to read, then reads it.
void TakeEvents(helpers::ReadbackOnClose& early) {
    pollfd p{early.Fd(), POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 5000), 1);
    early.OnEvents();
}

// Waits (within a bound) for the reading that began at the close to have closed the file.
void AwaitReadingDone(int watch) {
    pollfd p{watch, POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 5000), 1);
    alignas(inotify_event) char buffer[4096];
    ASSERT_GT(read(watch, buffer, sizeof buffer), 0);
}

TEST(ReadbackOnClose, ReportsTheFileAsItIsWhenTheEngineHasEnded) {
    struct Row {
        const char* what;
        double rewrittenTo;  // seconds; negative: left as closed
        double expected;
    };
    const Row rows[] = {
        {"left as it was closed", -1.0, 1.0},
        {"written again after its close", 2.0, 2.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        char folder[] = "/tmp/transcoda-readback-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        const std::string path = std::string(folder) + "/out.wav";
        helpers::FactsInBackground nothingBefore;
        {
            helpers::ReadbackOnClose early(path, nothingBefore);
            ASSERT_GE(early.Fd(), 0);
            WriteWav(path, 1.0);
            const int reads = inotify_init1(IN_CLOEXEC);
            ASSERT_GE(reads, 0);
            ASSERT_GE(inotify_add_watch(reads, path.c_str(), IN_CLOSE_NOWRITE), 0);
            TakeEvents(early);
            AwaitReadingDone(reads);
            close(reads);
            if (row.rewrittenTo >= 0) WriteWav(path, row.rewrittenTo);
            const helpers::FileFacts* written = early.Finish(true);
            ASSERT_NE(written, nullptr);
            EXPECT_TRUE(written->streams.Readable);
            EXPECT_NEAR(written->streams.First(transcoda::StreamKind::Audio), row.expected, 0.05);
        }
        unlink(path.c_str());
        rmdir(folder);
    }
}

}  // namespace
