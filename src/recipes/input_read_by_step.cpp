#include "recipes/input_read_by_step.h"

#include <sys/stat.h>

#include "exec/probe_cache.h"

namespace transcoda {

namespace {

bool OneStep(const FormatEntry& entry, const std::string& extension) {
    switch (entry.Recipe) {
        case RecipeKind::Mpeg:
        case RecipeKind::Audio:
        case RecipeKind::Single:
        case RecipeKind::SingleIfRunning:
        case RecipeKind::SyncCorrection:
        case RecipeKind::Extraction:
            return true;
        case RecipeKind::CamcorderReencode:
        case RecipeKind::CamcorderDownscale:
            return !IsCamcorderExtension(extension);
        case RecipeKind::HdAvi:
        case RecipeKind::DvdNtsc:
        case RecipeKind::DvdPal:
            return false;
    }
    return false;
}

}  // namespace

bool InputReadByStep(const FormatEntry& entry, const std::string& extension, const std::string& input) {
    struct stat st;
    if (stat(input.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return st.st_size <= kInputReadByStepBytes && OneStep(entry, extension);
}

std::optional<StreamReport> KeptInputReport(const std::string& input) {
    const std::optional<ProbeAnswer> answer = ProbeCache::OfThisInstance().Find(input);
    if (!answer) return std::nullopt;
    return ParseStreamReport(answer->Output);
}

}  // namespace transcoda
