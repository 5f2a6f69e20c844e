#include "exec/run_tool.h"

#include <fcntl.h>
#include <unistd.h>

#include "exec/app_state.h"
#include "exec/language.h"
#include "exec/log.h"
#include "exec/tool_output_reader.h"
#include "exec/probe_cache.h"
#include "exec/progress_handler.h"
#include "platform/process.h"

namespace transcoda {

namespace {

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

// Without a Stop descriptor, how often the Stop is looked at.
constexpr int kStopLookMs = 100;
// After a kill, how long the run waits for the tool to be gone before giving up on it.
constexpr int kReapMs = 10000;

}  // namespace

ToolOutcome RunTool(ConversionSession& session, const std::string& commandLine) {
    if (const RunToolHook hook = session.Hook()) {
        ToolOutcome outcome = hook(commandLine);
        session.LastExitStatus = outcome.Ending == ToolOutcome::End::Exited ? outcome.Code : -1;
        return outcome;
    }

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        session.LastExitStatus = -1;
        ResetProgressDisplay(session.Display());
        return ToolOutcome::NoStart();
    }

    ChildProcess child;
    if (!child.Start(commandLine, fds[1], {ToolEnvironmentEntry()})) {
        close(fds[0]);
        close(fds[1]);
        session.LastExitStatus = -1;
        LogFailure("Erreur de processus, merci de signaler cette erreur avec votre configuration à ",
                   "Process error, please send this error to ");
        ResetProgressDisplay(session.Display());
        return ToolOutcome::NoStart();
    }
    // Only the tool (and what it starts) holds the write end now, so the reader sees the
    // end of the output once they have all gone.
    close(fds[1]);

    // Until it has ended, the session may end the child from another thread.
    session.AttachRun(&child);

    ToolOutputReader reader(session, fds[0]);
    const bool readerStarted = reader.Start();

    // The tool's end and the session's Stop are waited for together: a Stop ends the
    // tool at once.
    const int stopFd = session.StopFd();
    for (;;) {
        const bool ended = child.WaitFor(stopFd >= 0 ? -1 : kStopLookMs, stopFd);
        if (!session.Running()) {
            if (!child.Terminate() && child.Running())
                LogFailure("Erreur processus mémoire, merci de signaler cette erreur avec votre configuration à ",
                           "Memory process error, please send this error to ");
        }
        if (!ended && session.Running()) continue;
        break;
    }
    const bool stopped = !session.Running();
    if (stopped) child.Terminate();
    if (!child.WaitFor(kReapMs))
        LogFailure("Erreur de terminaison, merci de signaler cette erreur avec votre configuration à ",
                   "Terminaison error, please send this error to ");
    session.AttachRun(nullptr);
    session.LastExitStatus = child.ExitStatus();

    // A tool that ended by itself has its last lines read; a stopped one does not.
    reader.RequestStop(!stopped);
    const bool readerEnded = readerStarted && reader.Join();
    if (readerStarted) LogPlain(readerEnded ? "--TH2 a été arrété dans rundos" : "--TH2 n'a pas été arrété!");

    ResetProgressDisplay(session.Display());
    LogPlain("--TH2 a été !!VRAIMENT!! arrété dans rundos");

    if (stopped) return ToolOutcome::Stop();
    ToolOutcome outcome = EndedBy(session.LastExitStatus);
    outcome.Report = ParseStreamReport(reader.Tail());
    outcome.LastLines = reader.LastLines();
    return outcome;
}

}  // namespace transcoda
