#include "util/named_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Tracked {
  explicit Tracked(int* counter) : destroyed(counter) {}
  ~Tracked() { ++*destroyed; }
  int* destroyed;
};

std::vector<std::string> Names(const NamedList<int>& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(list.Name(i));
  return names;
}

TEST(NamedList, SortedInsertGoesBeforeEqualNames) {
  NamedList<int> list({.sorted = true});
  int a = 1, b = 2, c = 3, d = 4;
  list.Add("m", &a);
  list.Add("b", &b);
  list.Add("m", &c);
  list.Add("z", &d);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "m", "m", "z"}));
  // The newer "m" stands first among the equal names.
  EXPECT_EQ(list.Object(1), &c);
  EXPECT_EQ(list.Object(2), &a);
  EXPECT_EQ(list.FindFirst("m"), 1);
  EXPECT_EQ(list.FindLast("m"), 2);
}

TEST(NamedList, LowerBoundIsFirstNameNotLess) {
  NamedList<int> list({.sorted = true});
  for (const char* name : {"10", "11", "9", "qbuilding", "qpath"}) list.Add(name, nullptr);
  // Text order: "12" sorts after "11" and before "9".
  EXPECT_EQ(list.LowerBound("12"), 2);
  EXPECT_EQ(list.LowerBound("q"), 3);
  EXPECT_EQ(list.LowerBound("qpath"), 4);
  EXPECT_EQ(list.LowerBound("r"), 5);
  EXPECT_EQ(list.LowerBound(""), 0);
  EXPECT_EQ(list.FindFirst("q"), -1);
}

TEST(NamedList, SortedOrderIsByteOrder) {
  NamedList<int> list({.sorted = true});
  for (const char* name : {"b", "\xE9", "B", "a", "0"}) list.Add(name, nullptr);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"0", "B", "a", "b", "\xE9"}));
}

TEST(NamedList, HashedUnsortedExactLookupGivesMostRecent) {
  NamedList<int> list({.hashed = true});
  int a = 1, b = 2, c = 3;
  list.Add("5", &a);
  list.Add("7", &b);
  list.Add("5", &c);
  EXPECT_EQ(list.FindLast("5"), 2);
  EXPECT_EQ(list.FindFirst("5"), 0);
  EXPECT_EQ(list.FindLast("6"), -1);
  // Positions stay right after a removal in front of them.
  list.RemoveAt(0);
  EXPECT_EQ(list.FindLast("5"), 1);
  EXPECT_EQ(list.FindFirst("5"), 1);
  EXPECT_EQ(list.FindFirst("7"), 0);
  list.RemoveAt(1);
  EXPECT_EQ(list.FindLast("5"), -1);
}

TEST(NamedList, CaseInsensitiveLookups) {
  for (bool hashed : {false, true}) {
    NamedList<int> list({.caseSensitive = false, .hashed = hashed});
    int a = 1, b = 2;
    list.Add("Button1", &a);
    list.Add("BUTTON1", &b);
    EXPECT_EQ(list.FindFirst("button1"), 0) << "hashed " << hashed;
    EXPECT_EQ(list.FindLast("bUtToN1"), 1) << "hashed " << hashed;
    EXPECT_EQ(list.Name(0), "Button1");  // names keep their case
  }
  NamedList<int> sensitive({.hashed = true});
  sensitive.Add("qbuilding", nullptr);
  EXPECT_EQ(sensitive.FindFirst("QBUILDING"), -1);
}

TEST(NamedList, FindObjectGivesFirstPosition) {
  NamedList<int> list;
  int a = 1, b = 2;
  list.Add("x", &a);
  list.Add("y", &b);
  list.Add("z", &a);
  EXPECT_EQ(list.FindObject(&a), 0);
  EXPECT_EQ(list.FindObject(&b), 1);
  int other = 3;
  EXPECT_EQ(list.FindObject(&other), -1);
}

TEST(NamedList, FindIfWalksEqualNames) {
  NamedList<int> list({.hashed = true});
  int a = 1, b = 2, c = 3;
  list.Add("2", &a);
  list.Add("3", &b);
  list.Add("2", &c);
  EXPECT_EQ(list.FindIf("2", [&](int i) { return list.Object(i) == &c; }), 2);
  EXPECT_EQ(list.FindIf("3", [&](int i) { return list.Object(i) == &c; }), -1);
}

TEST(NamedList, OwningListDestroysOnRemoveAndClear) {
  int destroyed = 0;
  {
    NamedList<Tracked> owning({.owns = true});
    owning.Add("a", new Tracked(&destroyed));
    owning.Add("b", new Tracked(&destroyed));
    owning.Add("c", new Tracked(&destroyed));
    owning.RemoveAt(1);
    EXPECT_EQ(destroyed, 1);
    Tracked* taken = owning.Take(0);
    EXPECT_EQ(destroyed, 1);
    delete taken;
    owning.Clear();
    EXPECT_EQ(destroyed, 3);
    owning.Add("d", new Tracked(&destroyed));
  }
  EXPECT_EQ(destroyed, 4);  // the destructor clears too

  int kept = 0;
  Tracked t(&kept);
  {
    NamedList<Tracked> borrowing;
    borrowing.Add("a", &t);
    borrowing.RemoveAt(0);
    borrowing.Add("a", &t);
  }
  EXPECT_EQ(kept, 0);
}

TEST(NamedList, OutOfRangeAccessIsHarmless) {
  NamedList<int> list({.owns = true});
  EXPECT_EQ(list.Object(0), nullptr);
  EXPECT_EQ(list.Object(-1), nullptr);
  EXPECT_EQ(list.Name(3), "");
  list.RemoveAt(0);
  EXPECT_EQ(list.Take(-1), nullptr);
  list.SetObject(5, nullptr);
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
