#pragma once
// A collection that owns its items, for the collections of the common controls
// (list view columns, status bar panels).

#include <memory>
#include <vector>

namespace vx {

// Items a collection owns and hands out by index; an index out of range gives nullptr.
// The collections add what their control must hear about each change.
template <class Item>
class TOwnedItems {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    Item* Items(int index) const {
        return index < 0 || index >= Count() ? nullptr : items_[static_cast<size_t>(index)].get();
    }
    Item* operator[](int index) const { return Items(index); }

protected:
    Item* Append(std::unique_ptr<Item> item) {
        items_.push_back(std::move(item));
        return items_.back().get();
    }
    void DropAll() { items_.clear(); }

private:
    std::vector<std::unique_ptr<Item>> items_;
};

}  // namespace vx
