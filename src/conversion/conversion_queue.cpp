#include "conversion/conversion_queue.h"

#include <algorithm>
#include <utility>

namespace transcoda {

long long ConversionQueue::Add(std::string preset, std::string input, std::string output, ItemStatus status) {
    const long long id = nextId_++;
    items_.push_back({id, std::move(preset), std::move(input), std::move(output), std::move(status)});
    return id;
}

void ConversionQueue::RemoveAt(size_t index) {
    if (index < items_.size()) items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

void ConversionQueue::Move(size_t from, size_t to) {
    if (from >= items_.size() || to >= items_.size() || from == to) return;
    const auto first = items_.begin();
    if (from < to)
        std::rotate(first + static_cast<std::ptrdiff_t>(from), first + static_cast<std::ptrdiff_t>(from) + 1,
                    first + static_cast<std::ptrdiff_t>(to) + 1);
    else
        std::rotate(first + static_cast<std::ptrdiff_t>(to), first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from) + 1);
}

const QueueItem* ConversionQueue::Find(long long id) const {
    const int at = IndexOf(id);
    return at < 0 ? nullptr : &items_[static_cast<size_t>(at)];
}

int ConversionQueue::IndexOf(long long id) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].Id == id) return static_cast<int>(i);
    return -1;
}

bool ConversionQueue::SetStatus(long long id, const ItemStatus& status) {
    const int at = IndexOf(id);
    if (at < 0) return false;
    items_[static_cast<size_t>(at)].Status = status;
    return true;
}

ConversionJob ConversionQueue::ListJob(const SpecialValues& special) const {
    ConversionJob job;
    job.Command = "transformList";
    for (const QueueItem& item : items_) {
        job.Requests.push_back({item.Input, item.Output, item.Preset, special});
        job.ItemIds.push_back(item.Id);
    }
    return job;
}

}  // namespace transcoda
