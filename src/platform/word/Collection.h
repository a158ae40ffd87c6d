#pragma once

#include <functional>
#include <vector>

namespace veldra::word {

// A read-only collection as the converter walks them: Count, items from 1, and a range-for.
// An index outside 1..count() gives a null item rather than an error, so a chain of
// lookups needs one check at its end.
template <typename Item>
class Collection {
public:
    Collection() = default;
    explicit Collection(std::vector<Item> items) : items_(std::move(items)) {}

    int count() const { return static_cast<int>(items_.size()); }
    bool isEmpty() const { return items_.empty(); }
    Item item(int index) const
    {
        return index >= 1 && index <= count() ? items_[static_cast<size_t>(index - 1)] : Item();
    }
    Item first() const { return item(1); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<Item> items_;
};

} // namespace veldra::word
