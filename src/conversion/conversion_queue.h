#pragma once
// The conversion list apart from any widget: its items in order, each with an id of its
// own that stays with it however the list is edited, so that what a run reports reaches
// the right item.

#include <cstddef>
#include <string>
#include <vector>

#include "conversion/conversion_job.h"
#include "conversion/item_status.h"

namespace transcoda {

struct QueueItem {
    long long Id = 0;
    std::string Preset;  // the preset's label, as the picker shows it
    std::string Input;
    std::string Output;
    // How the item stands: waiting, converting, done, failed (with its reason) or stopped.
    ItemStatus Status;
};

class ConversionQueue {
public:
    // Appends an item and returns its id (never 0, never given twice by this queue).
    long long Add(std::string preset, std::string input, std::string output, ItemStatus status = {});
    // Removes the item at index; nothing when there is none.
    void RemoveAt(size_t index);
    // The item at `from` takes the place `to`, the others closing up; nothing when either
    // place is outside the list.
    void Move(size_t from, size_t to);
    void Clear() { items_.clear(); }

    // The item with this id, or null.
    const QueueItem* Find(long long id) const;
    // The place of the item with this id, or -1.
    int IndexOf(long long id) const;
    // False when no item has this id.
    bool SetStatus(long long id, const ItemStatus& status);

    const std::vector<QueueItem>& Items() const { return items_; }
    const QueueItem& At(size_t index) const { return items_.at(index); }
    size_t Size() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }

    // The list's job as the items stand now: one request each, in order, with the
    // special values, and the item ids beside them.
    ConversionJob ListJob(const SpecialValues& special) const;

private:
    std::vector<QueueItem> items_;
    long long nextId_ = 1;
};

}  // namespace transcoda
