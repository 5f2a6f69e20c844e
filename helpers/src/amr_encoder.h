#pragma once
// AMR-NB sound through libopencore-amrnb, for the 3GPP outputs (the installed ffmpeg
// decodes AMR but cannot encode it).

#include <cstdint>
#include <string>
#include <vector>

namespace helpers {

// The AMR-NB mode rate (4750 ... 12200 bit/s) nearest to bitsPerSecond.
int NearestAmrBitrate(int bitsPerSecond);

// Encodes 8000 Hz mono 16-bit samples into an AMR-NB file ("#!AMR\n" storage format).
class AmrWriter {
public:
    AmrWriter() = default;
    AmrWriter(const AmrWriter&) = delete;
    AmrWriter& operator=(const AmrWriter&) = delete;
    ~AmrWriter();
    // Writes into an unnamed file in the temporary folder, gone once closed everywhere.
    bool OpenUnnamed(int bitrate);
    // The file's descriptor, positioned at its start, for reading it back.
    int Descriptor() const { return fd_; }
    // Takes samples as raw native-endian bytes, in pieces of any size.
    bool Feed(const char* data, size_t size);
    // Pads the last frame with silence and rewinds the file.
    bool Finish();
    long Frames() const { return frames_; }

private:
    bool EncodeFrame(const int16_t* samples);
    void* state_ = nullptr;
    int fd_ = -1;
    int mode_ = 7;
    std::string carry_;
    long frames_ = 0;
};

// Decodes the sound of input with ffmpeg (inputOptions placed before "-i", e.g. a start
// and a length) and writes it as AMR-NB into writer (opened). Returns 0 on success.
int EncodeAmrFromMedia(const std::string& input, const std::vector<std::string>& inputOptions, AmrWriter& writer);

}  // namespace helpers
