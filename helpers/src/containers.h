#pragma once
// The container each output extension names, which codecs it can hold, and what the
// tools encode to when a stream has to be re-encoded to fit.

#include <string>
#include <vector>

namespace helpers {

struct Container {
    std::string format;                    // ffmpeg muxer name
    bool ffmpegGuesses = true;             // ffmpeg picks this muxer from the extension itself
    bool video = true;                     // can hold a picture stream
    bool audio = true;                     // can hold a sound stream
    std::vector<std::string> videoCodecs;  // codec names it holds (empty: any)
    std::vector<std::string> audioCodecs;
    std::string videoEncoder;              // encoder used when the picture must be re-encoded
    std::string audioEncoder;
    std::vector<int> audioRates;           // accepted sample rates (empty: any)
    // Most sound channels the devices that play these files take (0: as many as the
    // encoder writes).
    int maxChannels = 0;
    // Times cannot go below zero: the reordering delay of a picture coded with B-frames
    // would move the whole file later, so the picture is coded without them.
    bool noReorderedPictures = false;
    std::vector<std::string> extraOptions; // muxer options always given
    std::string note;                      // said on the output when the extension has no muxer of its own
};

// Lower-case text after the last "." of the file name part; empty when there is none.
std::string LowerExtension(const std::string& path);

// The container for an output path; nullptr for an extension no tool can write.
const Container* ContainerForPath(const std::string& path);

bool HoldsVideo(const Container& c, const std::string& codec);
bool HoldsAudio(const Container& c, const std::string& codec);

// The lowest accepted sample rate at or above rate, else the highest one (rate itself
// when any rate is accepted).
int FitSampleRate(const Container& c, int rate);

// Bit rate in bit/s of a rate text ("12.2k" -> 12200); 0 when there is none.
int BitsPerSecond(const std::string& value);

// The lowest sample rate at which the encoder can give bitsPerSecond (MP3 keeps its
// higher rates for the higher sample rates); 0 when any rate will do.
int LowestRateForBitrate(const std::string& encoder, int bitsPerSecond);

// Most channels an encoder writes in the container: 0 when there is no limit.
int ChannelLimit(const Container& c, const std::string& encoder);

// MPEG-1/2 pictures carry only a few frame rates: the one to encode at for a source of
// fps frames per second; empty when fps is one of them already.
std::string NearestMpegRate(double fps);

bool IsMpegVideoEncoder(const std::string& encoder);

// The codec name an encoder produces ("libmp3lame" -> "mp3", "libx264" -> "h264" ...).
std::string CodecOfEncoder(const std::string& encoder);

}  // namespace helpers
