#include "recipes/step_weights.h"

namespace transcoda {

// Measured on 60-second clips of 1280x720 (AVI and camcorder MTS), each step's time
// against the main encoding of the same recipe:
// - sound extraction: 0.07 (into 1080p) to 0.14 (into 720p) of the picture encoding in
//   the HD recipes, 0.05 to 0.065 in the camcorder recipes;
// - joining picture and sound (a stream copy): 0.03 to 0.12; the intermediate join of
//   the camcorder recipes 0.03 to 0.07 of its picture encoding;
// - the downscaled copy: 0.3 to 0.7 of the conversion that follows it;
// - DVD authoring and finalization: 0.05 each of the DVD encoding.
// The conversion that follows a camcorder re-encoding costs from 0.6 to 8 times that
// re-encoding, by its target's codec; 1.0 stands for both, and the request's own pace
// corrects it as soon as the conversion reports progress.
double ExpectedShare(StepKind step) {
    switch (step) {
        case StepKind::Conversion:
        case StepKind::PictureEncoding:
        case StepKind::DvdEncoding:
            return 1.0;
        case StepKind::DownscaledCopy:
            return 0.5;
        case StepKind::SoundExtraction:
            return 0.1;
        case StepKind::FinalJoin:
            return 0.06;
        case StepKind::IntermediateJoin:
        case StepKind::DvdAuthoring:
        case StepKind::DvdFinalization:
            return 0.05;
        case StepKind::InputReading:
        case StepKind::Replacement:
            return 0.02;
    }
    return 1.0;
}

}  // namespace transcoda
