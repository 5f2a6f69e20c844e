#pragma once
// The 40 target presets in the order of the format box, the input classes that choose
// between variants of a recipe, and the input extensions a conversion accepts.
// A preset is identified everywhere by its exact label, leading blank included; the
// index is only its position in the format box.

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace transcoda {

// How the output path is rewritten when the preset changes.
enum class OutputRule {
    FixedExtension,       // the entry's own extension
    DvdFolder,            // a folder path ending with "/"
    InputExtension,       // the input's extension
    ExtractionExtension,  // the input's extension, "mpeg" for a camcorder input
};

// How the steps of a preset are chained.
enum class RecipeKind {
    HdAvi,               // sound and picture encoded apart, then joined
    Mpeg,                // one step; the "asf" variant for the ASF family
    Audio,               // one step; the plain variant for Flash inputs
    CamcorderReencode,   // one step; camcorder inputs go through a clean AVI first
    Single,              // one step, started whatever the running flag
    SingleIfRunning,     // one step, started only while the conversion runs
    CamcorderDownscale,  // one step; camcorder inputs are first shrunk to a small AVI
    DvdNtsc,
    DvdPal,
    SyncCorrection,
    Extraction,
};

struct FormatEntry {
    int Index;
    std::string_view Label;
    OutputRule Output;
    std::string_view Extension;         // for OutputRule::FixedExtension
    RecipeKind Recipe;
    std::string_view MainCode;          // the main step for ordinary inputs
    std::string_view VariantCode;       // the step for the variant's input class, or empty
    std::string_view IntermediateSize;  // frame size of the camcorder downscale, or empty
    std::string_view Tool;              // the tool of the main step

    // The two DVD presets: their output is a folder that receives "DVD-Disc1".
    bool WritesDvd() const { return Output == OutputRule::DvdFolder; }
};

inline constexpr int kFormatCount = 40;

// The presets, in format-box order (entry i has Index i).
std::span<const FormatEntry, kFormatCount> FormatCatalogue();

// The entry whose label equals `label` exactly, or nullptr.
const FormatEntry* FindFormat(std::string_view label);
// True when `label` is one of the 40 labels exactly.
bool IsSupportedFormat(std::string_view label);
// True when `label` is the label of a DVD preset.
bool IsDvdFormat(std::string_view label);
// The label of entry `index`, or an empty text outside 0..39.
std::string FormatLabel(int index);
// The index of the entry with that label, or -1.
int FormatIndex(std::string_view label);

// Input classes; `extension` is compared exactly (callers pass GetLowerExtension).
std::span<const std::string_view> CamcorderExtensions();
std::span<const std::string_view> AsfFamilyExtensions();
std::span<const std::string_view> FlashExtensions();
std::span<const std::string_view> WindowsMediaExtensions();
// The 61 accepted input extensions, in the order in which they are tested.
std::span<const std::string_view> SupportedInputExtensions();

bool IsCamcorderExtension(std::string_view extension);
bool IsAsfFamilyExtension(std::string_view extension);
bool IsFlashExtension(std::string_view extension);
bool IsWindowsMediaExtension(std::string_view extension);
bool IsSupportedInputExtension(std::string_view extension);

}  // namespace transcoda
