#pragma once
// TSafeObjList: the typed object list of the configuration model.
//
// A list either owns its items (deleting an item or the list frees them) or only
// refers to them. It accepts only items of its item class (checked at run time for
// items passed as a TVantorObject), refuses nil unless allowed (by default nil is
// allowed exactly in lists that do not own), and can refuse duplicates. Refused items
// are not added and Add returns -1; an owning list frees an item passed as unique_ptr
// that it refuses, so nothing leaks.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantor {

// Common base of every configuration object, so that lists and editor trees can hold
// any of them and test their class.
class TVantorObject {
public:
    virtual ~TVantorObject() = default;
};

// Raised when a list is assigned from something that is not a list.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

template <class T>
class TSafeObjList {
public:
    explicit TSafeObjList(bool ownsObjects = true)
        : owns_(ownsObjects), allowNil_(!ownsObjects), deleter_(ownsObjects ? &DeleteObject : nullptr)
    {}
    virtual ~TSafeObjList() { ClearItems(); }
    TSafeObjList(const TSafeObjList &) = delete;
    TSafeObjList &operator=(const TSafeObjList &) = delete;

    bool OwnsObjects() const { return owns_; }
    bool AllowNil() const { return allowNil_; }
    void SetAllowNil(bool allow) { allowNil_ = allow; }
    bool AllowDuplicates() const { return allowDuplicates_; }
    void SetAllowDuplicates(bool allow) { allowDuplicates_ = allow; }

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    T *operator[](int index) const { return items_[static_cast<std::size_t>(index)]; }
    // The item at index, or nullptr outside the list.
    T *At(int index) const { return index >= 0 && index < Count() ? (*this)[index] : nullptr; }
    T *First() const { return At(0); }
    T *Last() const { return At(Count() - 1); }
    int IndexOf(const T *item) const
    {
        const auto it = std::find(items_.begin(), items_.end(), item);
        return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    }
    bool Contains(const T *item) const { return IndexOf(item) >= 0; }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    // Appends an item of the item class (an owning list takes it over). Returns its
    // index, or -1 when the item is refused.
    int Add(T *item) { return Insert(Count(), item); }
    int Add(TVantorObject *item) { return Insert(Count(), item); }
    template <class U>
    int Add(std::unique_ptr<U> item)
    {
        if (!owns_)
            throw std::logic_error("TSafeObjList: a list that does not own cannot take over an item");
        const int index = Add(static_cast<TVantorObject *>(item.get()));
        if (index >= 0)
            item.release();
        return index;
    }
    // Appends and returns the item (owning lists only); nullptr when refused.
    template <class U>
    U *Append(std::unique_ptr<U> item)
    {
        U *raw = item.get();
        return Add(std::move(item)) >= 0 ? raw : nullptr;
    }

    int Insert(int index, T *item)
    {
        if (!Accepts(item))
            return -1;
        index = std::clamp(index, 0, Count());
        items_.insert(items_.begin() + index, item);
        Notify(item, true);
        return index;
    }
    // The class test: an object of another class is refused.
    int Insert(int index, TVantorObject *item)
    {
        if (item == nullptr)
            return Insert(index, static_cast<T *>(nullptr));
        T *typed = dynamic_cast<T *>(item);
        return typed ? Insert(index, typed) : -1;
    }

    // Takes the item out of the list without freeing it; returns its former index.
    int Remove(const T *item)
    {
        const int index = IndexOf(item);
        if (index >= 0)
            Extract(index);
        return index;
    }
    // Takes the item at index out without freeing it and returns it.
    T *Extract(int index)
    {
        T *item = (*this)[index];
        items_.erase(items_.begin() + index);
        Notify(item, false);
        return item;
    }
    // Removes the item at index and frees it when the list owns it.
    void Delete(int index)
    {
        T *item = Extract(index);
        if (deleter_)
            deleter_(item);
    }
    // Removes the item and frees it when the list owns it; false when absent.
    bool DeleteItem(const T *item)
    {
        const int index = IndexOf(item);
        if (index < 0)
            return false;
        Delete(index);
        return true;
    }
    void Clear() { ClearItems(); }

    void Exchange(int a, int b)
    {
        std::swap(items_[static_cast<std::size_t>(a)], items_[static_cast<std::size_t>(b)]);
    }
    void Move(int from, int to)
    {
        T *item = items_[static_cast<std::size_t>(from)];
        items_.erase(items_.begin() + from);
        items_.insert(items_.begin() + to, item);
    }
    // Puts the items in a new order: item k becomes the former item order[k]; order
    // must be a permutation of 0 .. Count() - 1.
    void Reorder(const std::vector<int> &order)
    {
        std::vector<T *> items;
        items.reserve(items_.size());
        for (const int index : order)
            items.push_back(items_[static_cast<std::size_t>(index)]);
        items_.swap(items);
    }
    template <class Less>
    void StableSort(Less less)
    {
        std::stable_sort(items_.begin(), items_.end(), less);
    }

    // Makes this list refer to the items of source, with its nil and duplicate
    // policies. Only a list that does not own can share another list's items.
    void Assign(const TSafeObjList *source)
    {
        if (source == nullptr)
            throw EConvertError("Cannot assign a nil to a TSafeObjList");
        if (owns_)
            throw std::logic_error("TSafeObjList: an owning list cannot share another list's items");
        Clear();
        allowNil_ = source->allowNil_;
        allowDuplicates_ = source->allowDuplicates_;
        for (T *item : *source)
            Add(item);
    }

protected:
    // Called after an item entered (added = true) or left the list.
    virtual void Notify(T *, bool) {}

private:
    bool Accepts(const T *item) const
    {
        if (item == nullptr)
            return allowNil_;
        return allowDuplicates_ || !Contains(item);
    }
    void ClearItems()
    {
        std::vector<T *> items;
        items.swap(items_);
        if (deleter_)
            for (T *item : items)
                deleter_(item);
    }

    // Bound where the list is made, so that a list that only refers to its items can
    // be destroyed where their class is not complete.
    static void DeleteObject(T *item) { delete item; }

    std::vector<T *> items_;
    bool owns_;
    bool allowNil_;
    bool allowDuplicates_ = true;
    void (*deleter_)(T *);
};

} // namespace vantor
