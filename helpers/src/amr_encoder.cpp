#include "amr_encoder.h"

#include <fcntl.h>
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

bool AmrWriter::Open(const std::string& path, int bitrate) {
    int rate = NearestAmrBitrate(bitrate);
    for (int i = 0; i < 8; ++i)
        if (kRates[i] == rate) mode_ = i;
    fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
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

bool AmrWriter::Close() {
    bool ok = fd_ >= 0;
    if (ok && !carry_.empty()) {
        int16_t frame[kFrameSamples] = {};
        std::memcpy(frame, carry_.data(), carry_.size());
        ok = EncodeFrame(frame);
        carry_.clear();
    }
    if (fd_ >= 0 && close(fd_) != 0) ok = false;
    fd_ = -1;
    return ok;
}

int EncodeAmrFromMedia(const std::string& input, const std::vector<std::string>& inputOptions, int bitrate,
                       const std::string& path) {
    AmrWriter writer;
    if (!writer.Open(path, bitrate)) return 1;
    std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-v", "error"};
    argv.insert(argv.end(), inputOptions.begin(), inputOptions.end());
    argv.insert(argv.end(), {"-i", input, "-vn", "-ac", "1", "-ar", "8000", "-f", "s16le", "-acodec", "pcm_s16le",
                             "pipe:1"});
    bool ok = true;
    EngineOptions eo;
    eo.out = Stream::Capture;
    eo.err = Stream::Inherit;
    eo.onOut = [&](const char* d, size_t n) { ok = writer.Feed(d, n) && ok; };
    int rc = RunEngine(argv, eo);
    if (!writer.Close()) ok = false;
    if (rc != 0) return rc;
    return ok && writer.Frames() > 0 ? 0 : 1;
}

}  // namespace helpers
