#pragma once
// The sound of an HD AVI extracted while its picture is encoded. The two runs read the
// same input and write files of their own (the session's TempStem with ".mp3" and
// ".avi"), and the picture's engine leaves part of the processors idle: run one after
// the other they cost the sound's whole run on top of the picture's. The sound's run
// (the same command line) goes on a thread, in a session of its own that shares the
// request's intermediates' stem; the request's Stop, or the end of the object, stops it.
// A sound run that fails ends the picture's run at once: the request fails with the
// sound's failure, without waiting for an encoding that can no longer be used.
// Only for tools run as processes: tools played by a test's hook run one at a time.

#include <atomic>
#include <string>
#include <thread>

#include "exec/conversion_session.h"
#include "recipes/step_outcome.h"

namespace transcoda {

class SoundAlongside {
public:
    // Starts ExtractAudioTrack(code, input) for `session`.
    SoundAlongside(ConversionSession& session, std::string code, std::string input);
    ~SoundAlongside();
    SoundAlongside(const SoundAlongside&) = delete;
    SoundAlongside& operator=(const SoundAlongside&) = delete;

    // Whether the sound's run has already failed (the picture's run was then ended).
    bool Failed() const { return failed_.load(); }
    // Waits for the sound's run and gives its outcome; a request stopped meanwhile stops
    // the run first.
    StepOutcome Take();

private:
    void Run();

    ConversionSession& session_;
    ConversionSession side_;
    std::string code_;
    std::string input_;
    StepOutcome outcome_;
    std::atomic<bool> failed_{false};
    bool taken_ = false;
    std::thread thread_;
};

}  // namespace transcoda
