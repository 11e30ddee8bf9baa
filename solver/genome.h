// A small genetic-algorithm library: QUEN_GENOM describes a genome (named
// genes with bit widths), QUEN_DATA holds one individual's gene values and
// its own copy of the genome it was filled from.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "util/named_list.h"

// A genome's gene list: gene name -> width, in order of addition, names
// compared without regard to case. Copies share one table until one of them
// changes it, so that every individual can hold its own copy of a genome of
// 200 genes without copying 200 names.
class QUEN_GENELIST {
 public:
  int Count() const { return table ? table->Count() : 0; }
  const std::string& Name(int index) const;
  void* Object(int index) const { return table ? table->Object(index) : nullptr; }
  // First position with the name (any case); -1 when absent.
  int FindFirst(std::string_view name) const { return table ? table->FindFirst(name) : -1; }
  int Add(std::string_view name, void* width);
  void Clear() { table.reset(); }
  void CopyFrom(const QUEN_GENELIST& other) { table = other.table; }

 private:
  std::shared_ptr<NamedList<void>> table;
};

class QUEN_GENOM {
 public:
  explicit QUEN_GENOM(const std::string& name);
  ~QUEN_GENOM();
  QUEN_GENOM(const QUEN_GENOM&) = delete;
  QUEN_GENOM& operator=(const QUEN_GENOM&) = delete;

  void Clear();
  // Adds a gene (width clamped: negative -> 1, above 32 -> 32) unless one of
  // that name (any case) exists; returns the gene's index either way.
  int AddGene(int bits, const std::string& name);
  // Replaces name, total and genes with a copy of another genome's.
  void CopyFrom(const QUEN_GENOM& other);

  int GeneCount() const { return genes.Count(); }
  int GeneBits(int index) const {
    return static_cast<int>(reinterpret_cast<intptr_t>(genes.Object(index)));
  }
  const std::string& GeneName(int index) const { return genes.Name(index); }

  std::string name;
  int32_t totalBits = 0;
  // Gene name -> width; the width is stored as the entry's attached value.
  QUEN_GENELIST genes;
};

class QUEN_DATA {
 public:
  QUEN_DATA();
  ~QUEN_DATA();
  QUEN_DATA(const QUEN_DATA&) = delete;
  QUEN_DATA& operator=(const QUEN_DATA&) = delete;

  // Frees the values and clears the genome copy.
  void Empty();
  // Copies the genome and gives every gene a random value of its width. A
  // null or gene-less genome leaves the data empty.
  void Fill(const QUEN_GENOM* genome);
  // Fill without the random draws: every value starts at 0. For callers that
  // set every value straight away (a child bred gene by gene).
  void FillBlank(const QUEN_GENOM* genome);
  // Out-of-range indexes read 0 and write nothing.
  // The array is checked too: a gene added to genom afterwards has no value.
  int32_t GetGene(int index) const {
    return InRange(index) ? values[static_cast<size_t>(index)] : 0;
  }
  void SetGene(int index, int32_t value) {
    if (InRange(index)) values[static_cast<size_t>(index)] = value;
  }
  int Count() const { return genom->GeneCount(); }
  // Genes that have a value: Count() unless genom was changed after a fill.
  int ValueCount() const {
    int n = static_cast<int>(values.size());
    return n < Count() ? n : Count();
  }
  bool HasValues() const { return !values.empty(); }
  const int32_t* Values() const { return values.data(); }
  int32_t* Values() { return values.data(); }

  QUEN_GENOM* genom;  // owned
  std::vector<int32_t> values;
  uint32_t reserved = 0;

 private:
  bool InRange(int index) const {
    return index >= 0 && static_cast<size_t>(index) < values.size() && index < Count();
  }
};
