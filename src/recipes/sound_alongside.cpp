#include "recipes/sound_alongside.h"

#include "recipes/auxiliary_steps.h"

namespace transcoda {

SoundAlongside::SoundAlongside(ConversionSession& session, std::string code, std::string input)
    : session_(session), code_(std::move(code)), input_(std::move(input)) {
    outcome_ = StepOutcome{StepKind::SoundExtraction, {}, ToolOutcome::NoStart(), {}};
    side_.TempBaseName = session_.TempBaseName;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (...) {
        // No thread to spare: the sound runs when it is taken.
    }
}

void SoundAlongside::Run() {
    outcome_ = ExtractAudioTrack(side_, code_, input_);
    if (!outcome_.Ok() && !outcome_.Stopped() && side_.Running()) {
        failed_ = true;
        session_.AbandonRuns();
    }
}

SoundAlongside::~SoundAlongside() {
    if (thread_.joinable()) {
        side_.Stop();
        thread_.join();
    }
    session_.ResumeRuns();
}

StepOutcome SoundAlongside::Take() {
    if (taken_) return outcome_;
    taken_ = true;
    if (!session_.Running()) side_.Stop();
    if (thread_.joinable()) thread_.join();
    else if (session_.Running()) outcome_ = ExtractAudioTrack(session_, code_, input_);
    if (!session_.Running() && !outcome_.Stopped()) outcome_.Tool = ToolOutcome::Stop();
    return outcome_;
}

}  // namespace transcoda
