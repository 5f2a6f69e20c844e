#include "recipes/format_catalogue.h"

#include <algorithm>

#include "exec/tool_names.h"

namespace transcoda {

namespace {

// Index, label, output rule, extension, recipe, main step, variant step,
// intermediate size of the camcorder downscale, tool of the main step.
constexpr std::array<FormatEntry, kFormatCount> kCatalogue{{
    {0, " Video HD Ready - AVI 1280x720 (MPEG4/DivX/XviD, 4500 kbps) ; MP3(192kbps)",
     OutputRule::FixedExtension, "avi", RecipeKind::HdAvi, "720p", "", "", utilitymff3},
    {1, " Video Full HD - AVI 1920x1080 (MPEG4/DivX/XviD, 4200 kbps) ; MP3(256kbps)",
     OutputRule::FixedExtension, "avi", RecipeKind::HdAvi, "1080p", "", "", utilitymff3},
    {2, " Video MPEG - MPEG 1280x720 (4200 kbps); Audio (256kbps)",
     OutputRule::FixedExtension, "mpeg", RecipeKind::Mpeg, "mpeg720p256", "mpeg720p256asf", "", utilitymff3},
    {3, " Video MPEG - MPEG 640x480 (4200 kbps); Audio (128kbps)",
     OutputRule::FixedExtension, "mpeg", RecipeKind::Mpeg, "mpeg480p128", "mpeg480p128asf", "", utilitymff3},
    {4, " Video MPEG - MPEG 480x360 (4200 kbps); Audio (128kbps)",
     OutputRule::FixedExtension, "mpeg", RecipeKind::Mpeg, "mpeg360p128", "mpeg360p128asf", "", utilitymff3},
    {5, " Video MPEG - MPEG 320x240 (4200 kbps); Audio (128kbps)",
     OutputRule::FixedExtension, "mpeg", RecipeKind::Mpeg, "mpeg240p128", "mpeg240p128asf", "", utilitymff3},
    {6, " Video FLV Best Quality - H263 original size (4200 kbps); MP3 (256kbps)",
     OutputRule::FixedExtension, "flv", RecipeKind::Single, "flv263bq", "", "", utilitymff3},
    {7, " Video FLV Best Quality - H264 original size (4200 kbps); MP3 (256kbps)",
     OutputRule::FixedExtension, "flv", RecipeKind::CamcorderReencode, "flv264bq", "", "", utilitymen2},
    {8, " Video FLV Quality 1 - H263 352x288 (920kbps/15fps); MP3 (64kbps)",
     OutputRule::FixedExtension, "flv", RecipeKind::Single, "flv263q1", "", "", utilitymff3},
    {9, " Video FLV Quality 1 - H264 original size (920kbps/20fps); MP3 (112kbps)",
     OutputRule::FixedExtension, "flv", RecipeKind::CamcorderReencode, "flv264q1", "", "", utilitymen},
    {10, " Video FLV Quality 2 - H263 320x240 (780kbps/15fps); MP3 (48kbps)",
     OutputRule::FixedExtension, "flv", RecipeKind::Single, "flv263q2", "", "", utilitymff3},
    {11, " Video FLV Quality 3 - H263 176x144 (480kbps/15fps); MP3 (24kbps)",
     OutputRule::FixedExtension, "flv", RecipeKind::Single, "flv263q3", "", "", utilitymff3},
    {12, " Windows Media Video - WMV, WMA v8, 96kbps, 44,1MHz",
     OutputRule::FixedExtension, "wmv", RecipeKind::CamcorderReencode, "wmvNotFormMTS-M2TS", "", "", utilitymen2},
    {13, " Video 3GPP - Highest Available Quality - MPEG4 176x144 (104 kbps/15fps); AAC",
     OutputRule::FixedExtension, "3gp", RecipeKind::SingleIfRunning, "3gpAAC", "", "", utilitymff3},
    {14, " Video 3GPP - Extended Mobile Support - H263 176x144 (240 kbps/12fps); AMR",
     OutputRule::FixedExtension, "3gp", RecipeKind::SingleIfRunning, "3gpAMR3", "", "", utilitymffx},
    {15, " Video 3GPP - Standard Quality - MPEG4 176x144 (64 kbps/12fps); AMR",
     OutputRule::FixedExtension, "3gp", RecipeKind::SingleIfRunning, "3gpAMR1", "", "", utilitymffx},
    {16, " Video 3GPP - Balanced Quality - H263 128x96 (140 kbps/10fps); AMR",
     OutputRule::FixedExtension, "3gp", RecipeKind::SingleIfRunning, "3gpAMR4", "", "", utilitymffx},
    {17, " Video 3GPP - Smallest Size with Audio - MPEG4 128x96 (44 kbps/10fps); AMR",
     OutputRule::FixedExtension, "3gp", RecipeKind::SingleIfRunning, "3gpAMR2", "", "", utilitymffx},
    {18, " Video Quick Time - Quality HD 480p - H.264 848x480 (320 kbps), AAC",
     OutputRule::FixedExtension, "mov", RecipeKind::CamcorderDownscale, "QtH264hd", "", "848x480", utilitymffx},
    {19, " Video Quick Time - Quality DVD - H.264 720x576 (320 kbps), AAC",
     OutputRule::FixedExtension, "mov", RecipeKind::CamcorderDownscale, "QtH264dvd", "", "848x480", utilitymffx},
    {20, " Video Quick Time - Standard Quality - H.263 176x144, MP3 (128kbps)",
     OutputRule::FixedExtension, "mov", RecipeKind::SingleIfRunning, "QtH263sd", "", "", utilitymff3},
    {21, " Video Quick Time - Optimal Quality - H.263 352x288, MP3 (128kbps)",
     OutputRule::FixedExtension, "mov", RecipeKind::SingleIfRunning, "QtH263oq", "", "", utilitymff3},
    {22, " Video Quick Time - Highest Available Quality - MPEG4 original size, MP3 (192kbps)",
     OutputRule::FixedExtension, "mov", RecipeKind::SingleIfRunning, "QtMpeg4hq", "", "", utilitymff3},
    {23, " Video Quick Time - Balanced Quality - MPEG4 original size, MP3 (96kbps)",
     OutputRule::FixedExtension, "mov", RecipeKind::SingleIfRunning, "QtMpeg4bq", "", "", utilitymff3},
    {24, " Video iPod (Apple) - H.264 320x240",
     OutputRule::FixedExtension, "m4v", RecipeKind::CamcorderDownscale, "IpodSmal", "", "320x240", utilitymffx},
    {25, " Video iPod (Apple) - H.264 640x480",
     OutputRule::FixedExtension, "m4v", RecipeKind::CamcorderDownscale, "IpodNorml", "", "640x480", utilitymffx},
    {26, " Video iPhone & iTouch (Apple) - H.264 640x420",
     OutputRule::FixedExtension, "m4v", RecipeKind::CamcorderDownscale, "IphoneItouch", "", "640x420", utilitymffx},
    {27, " Video PS3 (Sony) - Quality HD 480p - H.264 848x480 (29.97fps)",
     OutputRule::FixedExtension, "mp4", RecipeKind::CamcorderDownscale, "Ps3HD", "", "848x480", utilitymffx},
    {28, " Video PSP (Sony) - Quality Normal - H.264 368x208 (29.97fps)",
     OutputRule::FixedExtension, "mp4", RecipeKind::CamcorderDownscale, "Ps3NQ", "", "368x208", utilitymffx},
    {29, " Video PSP (Sony) - Quality High - H.264 480x272 (29.97fps)",
     OutputRule::FixedExtension, "mp4", RecipeKind::CamcorderDownscale, "Ps3HQ", "", "480x272", utilitymffx},
    {30, " Video iPod (Apple) - MPEG4 320x240",
     OutputRule::FixedExtension, "m4v", RecipeKind::SingleIfRunning, "IpodMpeg4", "", "", utilitymff3},
    {31, " Video XBox 360 (Microsoft) - Quality HD 480p - H.264 848x480 (29.97fps)",
     OutputRule::FixedExtension, "mp4", RecipeKind::CamcorderDownscale, "XboxHD", "", "848x480", utilitymffx},
    {32, " DVD NTSC High Quality",
     OutputRule::DvdFolder, "", RecipeKind::DvdNtsc, "DVD-ntsc", "DVD-ntsc-wmv", "", utilitymff3},
    {33, " DVD PAL High Quality",
     OutputRule::DvdFolder, "", RecipeKind::DvdPal, "DVD-pal", "", "", utilitymff3},
    {34, " Audio MP3 - MP3; Audio (128kbps)",
     OutputRule::FixedExtension, "mp3", RecipeKind::Audio, "mp3rate128hd", "mp3rate128", "", utilitymff3},
    {35, " Audio MP3 - MP3; Audio (256kbps)",
     OutputRule::FixedExtension, "mp3", RecipeKind::Audio, "mp3rate256hd", "mp3rate256", "", utilitymff3},
    {36, " Audio WAV - WAV; no compression",
     OutputRule::FixedExtension, "wav", RecipeKind::Audio, "wavehd", "wave", "", utilitymff3},
    {37, " Video AVI - no compression (original); PCM",
     OutputRule::FixedExtension, "avi", RecipeKind::Single, "rawPcm", "", "", utilitymen2},
    {38, " Correction & Synchronisation video/audio",
     OutputRule::InputExtension, "", RecipeKind::SyncCorrection, "Video-Synchro", "", "", utilitymen},
    {39, " Extraction video/audio",
     OutputRule::ExtractionExtension, "", RecipeKind::Extraction, "Video-Extraction", "Video-Extraction-FromMTSetCompagnie", "", utilitymen2},
}};

constexpr std::array<std::string_view, 4> kCamcorder{"m2ts", "m2t", "tod", "mts"};
constexpr std::array<std::string_view, 6> kAsfFamily{"asf", "wmv", "3gpp", "3gp", "3gp2", "3g2"};
constexpr std::array<std::string_view, 3> kFlash{"flv", "f4v", "f4p"};
constexpr std::array<std::string_view, 2> kWindowsMedia{"wmv", "asf"};
// The extensions after "divx" are today's common files; no input class picks them out.
constexpr std::array<std::string_view, 61> kSupported{
    "m2ts", "m2t",  "tod", "mts",  "flv",  "f4v",  "f4p",  "mov",  "qt",   "mp4",  "m4v",
    "wmv",  "asf",  "flic", "fli", "ts",   "tp",   "nsv",  "dat",  "dv",   "3gpp", "3gp",
    "3gp2", "3g2",  "vob", "vro",  "ogg",  "ogm",  "ogv",  "rm",   "ram",  "rmvb", "rv",
    "ivr",  "mkv",  "mpg", "mpeg", "mpe",  "mp2",  "mod",  "mvv",  "m2v",  "m1v",  "wav",
    "mp3",  "snd",  "au",  "aif",  "aifc", "aiff", "wma",  "avi",  "div",  "divx",
    "webm", "mka",  "m4a", "aac",  "flac", "opus", "oga"};

bool Contains(std::span<const std::string_view> list, std::string_view extension) {
    return std::find(list.begin(), list.end(), extension) != list.end();
}

}  // namespace

std::span<const FormatEntry, kFormatCount> FormatCatalogue() { return kCatalogue; }

const FormatEntry* FindFormat(std::string_view label) {
    for (const FormatEntry& entry : kCatalogue) {
        if (entry.Label == label) return &entry;
    }
    return nullptr;
}

bool IsSupportedFormat(std::string_view label) { return FindFormat(label) != nullptr; }

std::string FormatLabel(int index) {
    if (index < 0 || index >= kFormatCount) return {};
    return std::string(kCatalogue[static_cast<size_t>(index)].Label);
}

bool IsDvdFormat(std::string_view label) {
    const FormatEntry* entry = FindFormat(label);
    return entry != nullptr && entry->WritesDvd();
}

int FormatIndex(std::string_view label) {
    const FormatEntry* entry = FindFormat(label);
    return entry != nullptr ? entry->Index : -1;
}

std::span<const std::string_view> CamcorderExtensions() { return kCamcorder; }
std::span<const std::string_view> AsfFamilyExtensions() { return kAsfFamily; }
std::span<const std::string_view> FlashExtensions() { return kFlash; }
std::span<const std::string_view> WindowsMediaExtensions() { return kWindowsMedia; }
std::span<const std::string_view> SupportedInputExtensions() { return kSupported; }

bool IsCamcorderExtension(std::string_view e) { return Contains(kCamcorder, e); }
bool IsAsfFamilyExtension(std::string_view e) { return Contains(kAsfFamily, e); }
bool IsFlashExtension(std::string_view e) { return Contains(kFlash, e); }
bool IsWindowsMediaExtension(std::string_view e) { return Contains(kWindowsMedia, e); }
bool IsSupportedInputExtension(std::string_view e) { return Contains(kSupported, e); }

}  // namespace transcoda
