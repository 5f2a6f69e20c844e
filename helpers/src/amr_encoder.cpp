#include "amr_encoder.h"

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

extern "C" {
#include <opencore-amrnb/interf_enc.h>
}

#include "engine.h"

namespace helpers {
namespace {

constexpr int kRates[] = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};
constexpr int kFrameSamples = 160;
constexpr size_t kFrameBytes = kFrameSamples * sizeof(int16_t);
// About 5 s of sound at the highest rate (32 bytes a frame).
constexpr int kPipeBytes = 8192;

}  // namespace

int NearestAmrBitrate(int bitsPerSecond) {
    int best = kRates[7];
    for (int r : kRates)
        if (std::abs(r - bitsPerSecond) < std::abs(best - bitsPerSecond)) best = r;
    return best;
}

AmrWriter::~AmrWriter() {
    if (state_) Encoder_Interface_exit(state_);
    if (fd_ >= 0) close(fd_);
}

bool AmrWriter::Open(int fd, int bitrate) {
    int rate = NearestAmrBitrate(bitrate);
    for (int i = 0; i < 8; ++i)
        if (kRates[i] == rate) mode_ = i;
    fd_ = fd;
    if (fd_ < 0) return false;
    state_ = Encoder_Interface_init(0);
    return state_ != nullptr && WriteAll(fd_, "#!AMR\n", 6);
}

bool AmrWriter::EncodeFrame(const int16_t* samples) {
    unsigned char packet[64];
    int n = Encoder_Interface_Encode(state_, static_cast<Mode>(mode_), samples, packet, 0);
    if (n <= 0) return false;
    ++frames_;
    return WriteAll(fd_, reinterpret_cast<const char*>(packet), static_cast<size_t>(n));
}

bool AmrWriter::Feed(const char* data, size_t size) {
    carry_.append(data, size);
    size_t done = 0;
    int16_t frame[kFrameSamples];
    while (carry_.size() - done >= kFrameBytes) {
        std::memcpy(frame, carry_.data() + done, kFrameBytes);
        if (!EncodeFrame(frame)) return false;
        done += kFrameBytes;
    }
    carry_.erase(0, done);
    return true;
}

bool AmrWriter::Finish() {
    bool ok = fd_ >= 0;
    if (ok && !carry_.empty()) {
        int16_t frame[kFrameSamples] = {};
        std::memcpy(frame, carry_.data(), carry_.size());
        ok = EncodeFrame(frame);
        carry_.clear();
    }
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    return ok;
}

AmrSoundFeed::~AmrSoundFeed() {
    EngineStarted();
    if (thread_.joinable()) thread_.join();
}

bool AmrSoundFeed::Start(const std::string& input, const std::vector<std::string>& inputOptions, int bitrate) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    // A small pipe keeps the sound written close to the sound the engine has taken.
    fcntl(fds[1], F_SETPIPE_SZ, kPipeBytes);
    readEnd_ = fds[0];
    if (!writer_.Open(fds[1], bitrate)) return false;
    thread_ = std::thread(&AmrSoundFeed::Run, this, input, inputOptions);
    return true;
}

void AmrSoundFeed::EngineStarted() {
    if (readEnd_ >= 0) close(readEnd_);
    readEnd_ = -1;
}

int AmrSoundFeed::Wait() {
    if (thread_.joinable()) thread_.join();
    return result_;
}

void AmrSoundFeed::Run(std::string input, std::vector<std::string> inputOptions) {
    std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-v", "error"};
    argv.insert(argv.end(), inputOptions.begin(), inputOptions.end());
    argv.insert(argv.end(), {"-i", input, "-vn", "-ac", "1", "-ar", "8000", "-f", "s16le", "-acodec", "pcm_s16le",
                             "pipe:1"});
    // A write refused means the engine has stopped reading: the decoder is ended then.
    bool written = true;
    EngineOptions eo;
    eo.out = Stream::Capture;
    eo.err = Stream::Inherit;
    eo.onOut = [&](const char* d, size_t n) {
        if (written) written = writer_.Feed(d, n);
    };
    eo.abandon = [&] { return !written; };
    const int rc = RunEngine(argv, eo);
    const bool finished = writer_.Finish();
    if (!written) result_ = 0;
    else if (rc != 0) result_ = rc;
    else result_ = finished && writer_.Frames() > 0 ? 0 : 1;
}

}  // namespace helpers
