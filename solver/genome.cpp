#include "solver/genome.h"

#include "util/random.h"

static constexpr NamedListOptions GENE_LIST{
    .sorted = false, .caseSensitive = false, .hashed = true, .owns = false};

QUEN_GENOM::QUEN_GENOM(const std::string& genomeName) : name(genomeName), genes(GENE_LIST) {
  Clear();
}

QUEN_GENOM::~QUEN_GENOM() = default;

void QUEN_GENOM::Clear() {
  genes.Clear();
  totalBits = 0;
}

int QUEN_GENOM::AddGene(int bits, const std::string& geneName) {
  if (bits < 0) bits = 1;
  if (bits > 32) bits = 32;
  int existing = genes.FindFirst(geneName);
  if (existing >= 0) return existing;
  totalBits += bits;
  return genes.Add(geneName, reinterpret_cast<void*>(static_cast<intptr_t>(bits)));
}

void QUEN_GENOM::CopyFrom(const QUEN_GENOM& other) {
  if (&other == this) return;
  name = other.name;
  totalBits = other.totalBits;
  genes.Clear();
  for (int i = 0; i < other.genes.Count(); ++i) genes.Add(other.genes.Name(i), other.genes.Object(i));
}

QUEN_DATA::QUEN_DATA() : genom(new QUEN_GENOM("")) { Empty(); }

QUEN_DATA::~QUEN_DATA() {
  Empty();
  delete genom;
}

void QUEN_DATA::Empty() {
  values.clear();
  values.shrink_to_fit();
  genom->Clear();
  reserved = 0;
}

void QUEN_DATA::Fill(const QUEN_GENOM* genome) {
  Empty();
  if (!genome || genome->GeneCount() == 0) return;
  values.assign(static_cast<size_t>(genome->GeneCount()), 0);
  genom->CopyFrom(*genome);
  for (int i = 0; i < genome->GeneCount(); ++i)
    values[static_cast<size_t>(i)] = RandomBits(genome->GeneBits(i));
}
