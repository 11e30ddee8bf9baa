// A small genetic-algorithm library: QUEN_GENOM describes a genome (named
// genes with bit widths), QUEN_DATA holds one individual's gene values and
// its own copy of the genome it was filled from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "util/named_list.h"

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
  int GeneBits(int index) const { return static_cast<int>(reinterpret_cast<intptr_t>(genes.Object(index))); }
  const std::string& GeneName(int index) const { return genes.Name(index); }

  std::string name;
  int32_t totalBits = 0;
  // Gene name -> width; the width is stored as the entry's attached value.
  NamedList<void> genes;
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
  // Out-of-range indexes read 0 and write nothing.
  int32_t GetGene(int index) const {
    return (index >= 0 && index < Count()) ? values[static_cast<size_t>(index)] : 0;
  }
  void SetGene(int index, int32_t value) {
    if (index >= 0 && index < Count()) values[static_cast<size_t>(index)] = value;
  }
  int Count() const { return genom->GeneCount(); }
  bool HasValues() const { return !values.empty(); }
  const int32_t* Values() const { return values.data(); }
  int32_t* Values() { return values.data(); }

  QUEN_GENOM* genom;  // owned
  std::vector<int32_t> values;
  uint32_t reserved = 0;
};
