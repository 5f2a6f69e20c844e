#pragma once
// The engine's own libraries (libavformat, libavcodec, libavutil), loaded only when a
// tool first reads a media file itself. Loading them costs a tool start about as much
// as the rest of the tool: a tool that plans from facts the probe cache already holds
// starts its engine without them, and loads them while the engine runs, for the
// read-back of what the engine wrote.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/display.h>
#include <libavutil/log.h>
#include <libavutil/pixdesc.h>
}

namespace helpers {

// Every library function the tools call, with the library that holds it.
#define TRANSCODA_LIBAV_FUNCTIONS(X)  \
    X(avutil, av_log_set_level)       \
    X(avutil, av_log_set_callback)    \
    X(avutil, av_log_default_callback) \
    X(avutil, av_dict_set)            \
    X(avutil, av_dict_free)           \
    X(avutil, av_strerror)            \
    X(avutil, av_get_media_type_string) \
    X(avutil, av_channel_layout_default) \
    X(avutil, av_channel_layout_describe) \
    X(avutil, av_channel_layout_uninit) \
    X(avutil, av_display_rotation_get) \
    X(avutil, av_frame_alloc)         \
    X(avutil, av_frame_free)          \
    X(avutil, av_pix_fmt_desc_get)    \
    X(avcodec, avcodec_get_name)      \
    X(avcodec, av_packet_alloc)       \
    X(avcodec, av_packet_free)        \
    X(avcodec, av_packet_unref)       \
    X(avcodec, avcodec_find_decoder)  \
    X(avcodec, avcodec_alloc_context3) \
    X(avcodec, avcodec_free_context)  \
    X(avcodec, avcodec_parameters_to_context) \
    X(avcodec, avcodec_open2)         \
    X(avcodec, avcodec_send_packet)   \
    X(avcodec, avcodec_receive_frame) \
    X(avcodec, avcodec_flush_buffers) \
    X(avformat, avformat_open_input)  \
    X(avformat, avformat_find_stream_info) \
    X(avformat, avformat_close_input) \
    X(avformat, av_read_frame)        \
    X(avformat, av_seek_frame)        \
    X(avformat, av_stream_get_side_data) \
    X(avformat, avformat_index_get_entries_count) \
    X(avformat, avformat_index_get_entry) \
    X(avformat, avio_size)            \
    X(avformat, av_dump_format)

struct LibavFunctions {
#define TRANSCODA_LIBAV_MEMBER(library, name) decltype(&::name) name = nullptr;
    TRANSCODA_LIBAV_FUNCTIONS(TRANSCODA_LIBAV_MEMBER)
#undef TRANSCODA_LIBAV_MEMBER
};

// Starts loading the libraries on a thread of their own; nothing when they are loaded
// or being loaded.
void PreloadLibav();

// Whether the libraries could be loaded: loads them now unless a preload has done it
// (waited for when it is under way), and never ends the tool.
bool LibavAvailable();

// The library functions, loaded now unless a preload has done it (waited for when it
// is under way). A tool that cannot load them says so and ends with status 127, as when
// a program it needs is missing.
const LibavFunctions& Libav();

}  // namespace helpers
