#pragma once
// The state of one item of the conversion list, as its status column shows it, and how
// the worker tells each item's start, progress and end while a list is converted.

#include <functional>
#include <string>
#include <utility>

#include "exec/percent_listener.h"

namespace transcoda {

struct RequestOutcome;

struct ItemStatus {
    enum class State { Waiting, Converting, Done, Failed, Stopped };
    ItemStatus() = default;
    ItemStatus(State kind, int percent = -1, std::string reason = {})
        : Kind(kind), Percent(percent), Reason(std::move(reason)) {}

    State Kind = State::Waiting;
    // Converting: the whole percentage of the running step, -1 until one is known.
    int Percent = -1;
    // Failed: what follows "échec" / "failed", separator included: the failed step and
    // its file, or why the request could not begin.
    std::string Reason;

    bool operator==(const ItemStatus&) const = default;
};

// The column's text in the current language: "en attente" / "waiting",
// "conversion 42 %" / "converting 42 %", "terminé" / "done", "échec ..." / "failed ...",
// "arrêté" / "stopped". The reason of a failure is put in the current language.
std::string ItemStatusText(const ItemStatus& status);

// What an item shows once its request is over.
ItemStatus StatusAfter(const RequestOutcome& outcome);

// One event of one list item, named by its queue id.
struct ItemReport {
    long long Item = 0;
    ItemStatus Status;
};
// Hears the reports on the worker's thread or on the tool reader's; must return at once.
using ItemListener = std::function<void(const ItemReport&)>;

// Follows one item while its request runs: tells it converting at once, then each new
// percentage of its tool, until it ends. Does nothing without a listener.
class ItemFollower {
public:
    ItemFollower(const ItemListener& listener, long long item, PercentFollower& percent);
    ~ItemFollower();
    ItemFollower(const ItemFollower&) = delete;
    ItemFollower& operator=(const ItemFollower&) = delete;
    // The request is over: stops following and tells what became of it.
    void Finished(const RequestOutcome& outcome);

private:
    const ItemListener& listener_;
    long long item_;
    PercentFollower& percent_;
};

}  // namespace transcoda
