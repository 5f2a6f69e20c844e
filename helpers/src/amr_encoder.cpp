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

bool AmrWriter::OpenUnnamed(int bitrate) {
    int rate = NearestAmrBitrate(bitrate);
    for (int i = 0; i < 8; ++i)
        if (kRates[i] == rate) mode_ = i;
    const char* env = std::getenv("TMPDIR");
    std::string dir = env && *env ? env : "/tmp";
    fd_ = open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        // File systems without unnamed files: a named one, unlinked at once.
        std::string path = dir + "/transcoda-amr-XXXXXX";
        fd_ = mkostemp(path.data(), O_CLOEXEC);
        if (fd_ >= 0) unlink(path.c_str());
    }
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
    return ok && lseek(fd_, 0, SEEK_SET) == 0;
}

int EncodeAmrFromMedia(const std::string& input, const std::vector<std::string>& inputOptions, AmrWriter& writer) {
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
    if (!writer.Finish()) ok = false;
    if (rc != 0) return rc;
    return ok && writer.Frames() > 0 ? 0 : 1;
}

}  // namespace helpers
