// NamedList: the ordered (name, object) list every subsystem keeps its
// collections in. A list is unsorted (insertion order) or sorted ascending by
// name, case-sensitive or not, always accepts duplicate names, and may own
// its objects (then it deletes them when their entries go).
//
// Sorted lists insert a new entry before every entry of an equal name and
// search with a lower bound, so among equal names the newest comes first.
// Unsorted lists may keep a hash of their names for exact lookups in O(1).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

struct NamedListOptions {
  bool sorted = false;
  bool caseSensitive = true;
  bool hashed = false;  // unsorted lists only: exact lookups through a hash
  bool owns = false;    // the list deletes its objects
};

// Byte-wise text comparison, optionally folding ASCII letters to lower case.
int CompareNames(std::string_view a, std::string_view b, bool caseSensitive);
std::string FoldName(std::string_view name);

template <typename T>
class NamedList {
 public:
  explicit NamedList(NamedListOptions options = {}) : options_(options) {}
  ~NamedList() { Clear(); }
  NamedList(const NamedList&) = delete;
  NamedList& operator=(const NamedList&) = delete;

  const NamedListOptions& Options() const { return options_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  bool Empty() const { return entries_.empty(); }

  // Name and object at a position; an out-of-range position gives "" / null.
  const std::string& Name(int position) const {
    static const std::string none;
    return InRange(position) ? entries_[position].name : none;
  }
  T* Object(int position) const { return InRange(position) ? entries_[position].object : nullptr; }

  // Makes an entry refer to another object (or none) without touching the
  // old one.
  void SetObject(int position, T* object) {
    if (InRange(position)) entries_[position].object = object;
  }

  // Adds an entry and returns its position.
  int Add(std::string_view name, T* object) {
    Entry entry{std::string(name), object, nextSeq_++};
    if (options_.sorted) {
      int position = LowerBound(name);
      entries_.insert(entries_.begin() + position, std::move(entry));
      return position;
    }
    if (options_.hashed) index_[Key(name)].push_back(entry.seq);
    entries_.push_back(std::move(entry));
    return Count() - 1;
  }

  // First position whose name is not less than the given one. In an unsorted
  // list this is only meaningful as "0".
  int LowerBound(std::string_view name) const {
    if (!options_.sorted) return 0;
    auto it = std::lower_bound(entries_.begin(), entries_.end(), name,
                               [this](const Entry& e, std::string_view n) {
                                 return CompareNames(e.name, n, options_.caseSensitive) < 0;
                               });
    return static_cast<int>(it - entries_.begin());
  }

  // Exact lookup, first position with the name (the newest of equal names in
  // a sorted list, the oldest in an unsorted one); -1 when absent.
  int FindFirst(std::string_view name) const {
    if (options_.sorted) {
      int position = LowerBound(name);
      return (InRange(position) && Equal(entries_[position].name, name)) ? position : -1;
    }
    if (options_.hashed) {
      auto it = index_.find(Key(name));
      return it == index_.end() ? -1 : PositionOfSeq(it->second.front());
    }
    for (int i = 0; i < Count(); ++i)
      if (Equal(entries_[i].name, name)) return i;
    return -1;
  }

  // Exact lookup, last position with the name: in an unsorted list the most
  // recently added of equal names; -1 when absent.
  int FindLast(std::string_view name) const {
    if (options_.sorted) {
      int position = FindFirst(name);
      if (position < 0) return -1;
      while (position + 1 < Count() && Equal(entries_[position + 1].name, name)) ++position;
      return position;
    }
    if (options_.hashed) {
      auto it = index_.find(Key(name));
      return it == index_.end() ? -1 : PositionOfSeq(it->second.back());
    }
    for (int i = Count() - 1; i >= 0; --i)
      if (Equal(entries_[i].name, name)) return i;
    return -1;
  }

  // Calls fn(position) for every entry with exactly this name, in position
  // order, until fn returns true. Returns that position or -1.
  template <typename Fn>
  int FindIf(std::string_view name, Fn&& fn) const {
    if (options_.sorted) {
      for (int i = FindFirst(name); i >= 0 && i < Count() && Equal(entries_[i].name, name); ++i)
        if (fn(i)) return i;
      return -1;
    }
    if (options_.hashed) {
      auto it = index_.find(Key(name));
      if (it == index_.end()) return -1;
      for (uint64_t seq : it->second) {
        int i = PositionOfSeq(seq);
        if (fn(i)) return i;
      }
      return -1;
    }
    for (int i = 0; i < Count(); ++i)
      if (Equal(entries_[i].name, name) && fn(i)) return i;
    return -1;
  }

  // First position holding the object; -1 when none does.
  int FindObject(const T* object) const {
    for (int i = 0; i < Count(); ++i)
      if (entries_[i].object == object) return i;
    return -1;
  }

  // Removes the entry; an owning list deletes its object.
  void RemoveAt(int position) {
    T* object = Take(position);
    if constexpr (!std::is_void_v<T>) {
      if (options_.owns) delete object;
    }
  }

  // Removes the entry and hands its object to the caller.
  T* Take(int position) {
    if (!InRange(position)) return nullptr;
    Entry& entry = entries_[position];
    T* object = entry.object;
    if (!options_.sorted && options_.hashed) {
      auto it = index_.find(Key(entry.name));
      if (it != index_.end()) {
        auto& seqs = it->second;
        seqs.erase(std::find(seqs.begin(), seqs.end(), entry.seq));
        if (seqs.empty()) index_.erase(it);
      }
    }
    entries_.erase(entries_.begin() + position);
    return object;
  }

  // Removes every entry, first to last.
  void Clear() {
    if (options_.owns) {
      // Entries go first to last; take each one out before deleting it so a
      // destructor that looks at the list sees a consistent state.
      while (!entries_.empty()) RemoveAt(0);
    }
    entries_.clear();
    index_.clear();
  }

 private:
  struct Entry {
    std::string name;
    T* object;
    uint64_t seq;  // insertion number: ascending along an unsorted list
  };

  bool InRange(int position) const { return position >= 0 && position < Count(); }
  bool Equal(std::string_view a, std::string_view b) const {
    return CompareNames(a, b, options_.caseSensitive) == 0;
  }
  std::string Key(std::string_view name) const {
    return options_.caseSensitive ? std::string(name) : FoldName(name);
  }
  // Unsorted lists only append, so insertion numbers ascend with position.
  int PositionOfSeq(uint64_t seq) const {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), seq,
                               [](const Entry& e, uint64_t s) { return e.seq < s; });
    return static_cast<int>(it - entries_.begin());
  }

  NamedListOptions options_;
  std::vector<Entry> entries_;
  std::unordered_map<std::string, std::vector<uint64_t>> index_;
  uint64_t nextSeq_ = 0;
};
