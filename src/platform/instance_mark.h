#pragma once
// The identity of one running instance of the program, window or terminal: its process
// id and the moment it started, which together never name another process, even once
// the id has been handed on. Every tool an instance starts carries the mark in its
// environment (and passes it on to what it starts), so that the tools of each instance
// can be told apart from those of the others.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace transcoda {

inline constexpr const char* kInstanceVariable = "TRANSCODA_INSTANCE";

struct InstanceMark {
    pid_t Pid = 0;
    // Start of the process in clock ticks after boot, as the kernel reports it.
    unsigned long long StartTime = 0;

    // "<pid>-<start time>": the value of the environment variable and the name of the
    // instance's work folder.
    std::string Text() const;
    bool operator==(const InstanceMark&) const = default;
};

// The mark written by Text(); nullopt for anything else.
std::optional<InstanceMark> ParseInstanceMark(std::string_view text);

// The mark of a running process; nullopt when there is none by that id.
std::optional<InstanceMark> RunningProcessMark(pid_t pid);

// The mark of this process, worked out once.
const InstanceMark& ThisInstance();

// kInstanceVariable + "=" + ThisInstance().Text(), for the environment of a tool.
const std::string& ThisInstanceEnvironmentEntry();

// The mark in the environment a process was started with; nullopt when it has none or
// its environment cannot be read.
std::optional<InstanceMark> ProcessInstanceMark(pid_t pid);

// True only when the instance has surely ended: no live process has its id, or the one
// that has it started at another time. An instance that cannot be looked at counts as
// running.
bool InstanceGone(const InstanceMark& mark);

}  // namespace transcoda
