#pragma once
// Finding a place in a media file opened with the engine's libraries (stream_readback.h)
// that the container's seek may not reach exactly: a program stream, for one, lands
// wherever its timestamps' search ends, sometimes after the time asked for.

struct AVFormatContext;

namespace helpers {

// The first picture stream that is not a cover picture; -1 when there is none.
int FirstPictureStream(const AVFormatContext* fc);

// Seconds from the start of the file (as the engine's -ss counts) of a timestamp of
// stream `stream`.
double SecondsInFile(const AVFormatContext* fc, int stream, long long timestamp);

// Moves the reading position so that the first key frame of `stream` read next (where
// decoding can start) is at or before `seconds` (counted from the start of the file):
// seeks there, and further back while it comes after it (a seek may land past the time,
// or between key frames). False when the file cannot seek (the reading then
// goes on from where it stands).
bool SeekBefore(AVFormatContext* fc, int stream, double seconds);

}  // namespace helpers
