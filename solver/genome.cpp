// Genomes of named genes with bit widths, and the gene arrays of individuals.
#include "solver/genome.h"

#include "util/random.h"

static constexpr NamedListOptions GENE_LIST{
    .sorted = false, .caseSensitive = false, .hashed = true, .owns = false};

const std::string& QUEN_GENELIST::Name(int index) const {
  static const std::string none;
  return table ? table->Name(index) : none;
}

int QUEN_GENELIST::Add(std::string_view name, void* width) {
  if (!table) {
    table = std::make_shared<NamedList<void>>(GENE_LIST);
  } else if (table.use_count() > 1) {
    // Shared with a copy: change a table of our own.
    auto own = std::make_shared<NamedList<void>>(GENE_LIST);
    for (int i = 0; i < table->Count(); ++i) own->Add(table->Name(i), table->Object(i));
    table = std::move(own);
  }
  return table->Add(name, width);
}

QUEN_GENOM::QUEN_GENOM(const std::string& genomeName) : name(genomeName) {
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
  genes.CopyFrom(other.genes);
}

QUEN_DATA::QUEN_DATA() : genom(new QUEN_GENOM("")) {
  Empty();
}

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
  FillBlank(genome);
  for (int i = 0; i < Count(); ++i) values[static_cast<size_t>(i)] = RandomBits(genom->GeneBits(i));
}

void QUEN_DATA::FillBlank(const QUEN_GENOM* genome) {
  Empty();
  if (!genome || genome->GeneCount() == 0) return;
  values.assign(static_cast<size_t>(genome->GeneCount()), 0);
  genom->CopyFrom(*genome);
}
