#include "conversion/item_status.h"

#include "conversion/conversion_job.h"
#include "conversion/reason_language.h"
#include "exec/app_state.h"
#include "exec/language.h"
#include "exec/percent_listener.h"

namespace transcoda {

std::string ItemStatusText(const ItemStatus& status) {
    using State = ItemStatus::State;
    switch (status.Kind) {
        case State::Waiting:
            return Localised("en attente", "waiting");
        case State::Converting: {
            const std::string percent = status.Percent < 0 ? "" : " " + std::to_string(status.Percent) + " %";
            return Localised("conversion", "converting") + percent;
        }
        case State::Done:
            return Localised("terminé", "done");
        case State::Failed:
            // The reason may have been written in the other language (a saved list).
            return Localised("échec", "failed") + ReasonInLanguage(status.Reason, App().English());
        case State::Stopped:
            return Localised("arrêté", "stopped");
    }
    return {};
}

ItemStatus StatusAfter(const RequestOutcome& outcome) {
    using Result = RequestOutcome::Result;
    using State = ItemStatus::State;
    switch (outcome.Outcome) {
        case Result::Written:
            return {State::Done};
        case Result::Stopped:
            return {State::Stopped};
        case Result::Failed:
            // The reason ends "La conversion de X a échoué" / "The conversion of X failed".
            return {State::Failed, -1, " " + outcome.Reason};
        case Result::FolderError:
            return {State::Failed, -1, Localised(" : ", ": ") + outcome.Reason};
        case Result::Refused:
            // The dispatcher has said why in a message box of its own.
            return {State::Failed, -1,
                    Localised(" : le fichier ou le format n'est pas pris en charge",
                              ": the file or the format is not supported")};
    }
    return {};
}

ItemFollower::ItemFollower(const ItemListener& listener, long long item, PercentFollower& percent)
    : listener_(listener), item_(item), percent_(percent) {
    if (!listener_) return;
    listener_({item_, {ItemStatus::State::Converting}});
    percent_.Follow([this](int percent) { listener_({item_, {ItemStatus::State::Converting, percent}}); });
}

ItemFollower::~ItemFollower() {
    if (listener_) percent_.Follow({});
}

void ItemFollower::Finished(const RequestOutcome& outcome) {
    if (!listener_) return;
    percent_.Follow({});
    listener_({item_, StatusAfter(outcome)});
}

}  // namespace transcoda
