#pragma once
// Ending the tools of instances by the mark they carry (see instance_mark.h), never by
// their name: another window or terminal converting beside this one, of this user or of
// another, keeps its tools.

namespace transcoda {

enum class ToolsToEnd {
    // Tools left running by instances that have ended.
    OfGoneInstances,
    // The same, and every tool this instance started.
    OfThisAndGoneInstances,
};

// Kills (SIGKILL) each process of this user whose environment carries the mark of an
// instance of the chosen kind, together with its process group when it leads one (a
// tool's engines are in its group). Processes without a mark, of another user, or of a
// running instance are left alone. Returns how many processes were ended.
int EndMarkedTools(ToolsToEnd which);

}  // namespace transcoda
