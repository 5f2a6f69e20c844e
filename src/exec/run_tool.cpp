#include "exec/run_tool.h"

#include <fcntl.h>
#include <unistd.h>

#include <mutex>

#include "exec/app_state.h"
#include "exec/language.h"
#include "exec/log.h"
#include "exec/tool_output_reader.h"
#include "exec/probe_cache.h"
#include "exec/progress_handler.h"
#include "platform/process.h"

namespace transcoda {

namespace {

std::mutex& HookMutex() {
    static std::mutex m;
    return m;
}
RunToolHook& Hook() {
    static RunToolHook hook;
    return hook;
}

// Only one tool run at a time.
std::mutex& RunMutex() {
    static std::mutex m;
    return m;
}

void LogFailure(const char* french, const char* english) {
    if (!App().DebugMode) return;
    LogPlain(Localised(french, english) + kProductWebAddress);
}

// How a tool that ended without our Stop ended: a status above 128 is the child's
// "killed by a signal" (a tool whose engine was killed exits with it too).
ToolOutcome EndedBy(int status) {
    if (status > 128 && status < 128 + 65) return ToolOutcome::Kill(status - 128);
    return ToolOutcome::Exit(status);
}

// Where the tool finds this instance's probe cache; an empty value, so that no cache
// named by whoever started this program is used, while there is none.
std::string ToolEnvironmentEntry() {
    const ProbeCache cache = ProbeCache::OfThisInstance();
    return cache.Enabled() ? cache.EnvironmentEntry() : std::string(kProbeCacheVariable) + "=";
}

constexpr int kPollMs = 100;
// After a kill, how long the run waits for the tool to be gone before giving up on it.
constexpr int kReapMs = 10000;

}  // namespace

void SetRunToolHook(RunToolHook hook) {
    std::lock_guard lock(HookMutex());
    Hook() = std::move(hook);
}

ToolOutcome RunTool(const std::string& commandLine) {
    RunToolHook hook;
    {
        std::lock_guard lock(HookMutex());
        hook = Hook();
    }
    if (hook) {
        ToolOutcome outcome = hook(commandLine);
        App().LastExitStatus = outcome.Ending == ToolOutcome::End::Exited ? outcome.Code : -1;
        return outcome;
    }

    std::lock_guard runLock(RunMutex());
    AppState& app = App();

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        app.LastExitStatus = -1;
        ResetProgressDisplay();
        return ToolOutcome::NoStart();
    }

    ChildProcess child;
    if (!child.Start(commandLine, fds[1], {ToolEnvironmentEntry()})) {
        close(fds[0]);
        close(fds[1]);
        app.LastExitStatus = -1;
        LogFailure("Erreur de processus, merci de signaler cette erreur avec votre configuration à ",
                   "Process error, please send this error to ");
        ResetProgressDisplay();
        return ToolOutcome::NoStart();
    }
    // Only the tool (and what it starts) holds the write end now, so the reader sees the
    // end of the output once they have all gone.
    close(fds[1]);

    ToolOutputReader reader(fds[0]);
    const bool readerStarted = reader.Start();

    for (;;) {
        const bool ended = child.WaitFor(kPollMs);
        if (!app.ConversionRunning.load()) {
            if (!child.Terminate() && child.Running())
                LogFailure("Erreur processus mémoire, merci de signaler cette erreur avec votre configuration à ",
                           "Memory process error, please send this error to ");
        }
        if (!ended && app.ConversionRunning.load()) continue;
        break;
    }
    const bool stopped = !app.ConversionRunning.load();
    if (stopped) child.Terminate();
    if (!child.WaitFor(kReapMs))
        LogFailure("Erreur de terminaison, merci de signaler cette erreur avec votre configuration à ",
                   "Terminaison error, please send this error to ");
    app.LastExitStatus = child.ExitStatus();

    // A tool that ended by itself has its last lines read; a stopped one does not.
    reader.RequestStop(!stopped);
    const bool readerEnded = readerStarted && reader.Join();
    if (readerStarted) LogPlain(readerEnded ? "--TH2 a été arrété dans rundos" : "--TH2 n'a pas été arrété!");

    ResetProgressDisplay();
    LogPlain("--TH2 a été !!VRAIMENT!! arrété dans rundos");

    if (stopped) return ToolOutcome::Stop();
    ToolOutcome outcome = EndedBy(app.LastExitStatus);
    outcome.Report = ParseStreamReport(reader.Tail());
    outcome.LastLines = reader.LastLines();
    return outcome;
}

}  // namespace transcoda
