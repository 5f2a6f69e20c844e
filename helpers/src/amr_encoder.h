#pragma once
// AMR-NB sound through libopencore-amrnb, for the 3GPP outputs (the installed ffmpeg
// decodes AMR but cannot encode it).

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace helpers {

// The AMR-NB mode rate (4750 ... 12200 bit/s) nearest to bitsPerSecond.
int NearestAmrBitrate(int bitsPerSecond);

// Encodes 8000 Hz mono 16-bit samples into an AMR-NB stream ("#!AMR\n" storage format)
// written to a descriptor of its own.
class AmrWriter {
public:
    AmrWriter() = default;
    AmrWriter(const AmrWriter&) = delete;
    AmrWriter& operator=(const AmrWriter&) = delete;
    ~AmrWriter();
    // Writes into fd (a pipe's write end, taken over and closed by the writer).
    bool Open(int fd, int bitrate);
    // Takes samples as raw native-endian bytes, in pieces of any size.
    bool Feed(const char* data, size_t size);
    // Pads the last frame with silence and closes the descriptor (the reader sees the end).
    bool Finish();
    long Frames() const { return frames_; }
    // Seconds of sound written so far (20 ms a frame); any thread.
    double SecondsWritten() const { return frames_.load() / 50.0; }

private:
    bool EncodeFrame(const int16_t* samples);
    void* state_ = nullptr;
    int fd_ = -1;
    int mode_ = 7;
    std::string carry_;
    std::atomic<long> frames_{0};
};

// The sound of a media file coded to AMR-NB on a thread of the tool while the engine
// runs: ffmpeg decodes it (inputOptions placed before "-i", e.g. a start and a length),
// the tool encodes it, and the engine reads the frames from a pipe as they come, so the
// engine's progress covers the whole work from the start.
class AmrSoundFeed {
public:
    AmrSoundFeed() = default;
    AmrSoundFeed(const AmrSoundFeed&) = delete;
    AmrSoundFeed& operator=(const AmrSoundFeed&) = delete;
    ~AmrSoundFeed();
    bool Start(const std::string& input, const std::vector<std::string>& inputOptions, int bitrate);
    // The pipe's read end, for the engine (-1 before Start).
    int EngineEnd() const { return readEnd_; }
    // The tool's copy of the read end closed, once the engine holds its own (or failed
    // to start): a feed whose engine has gone then stops instead of waiting on a full pipe.
    void EngineStarted();
    double SecondsWritten() const { return writer_.SecondsWritten(); }
    // Waits for the feed's end: 0, or non-zero when the sound could not be decoded or
    // encoded. A feed cut short because the engine stopped reading counts as 0: the
    // engine's own status tells what became of the output.
    int Wait();

private:
    void Run(std::string input, std::vector<std::string> inputOptions);

    AmrWriter writer_;
    int readEnd_ = -1;
    std::thread thread_;
    int result_ = 0;
};

}  // namespace helpers
