// The TSPLIB readers on small inline files: what a good file gives, the
// message each kind of bad file gets, and that mangled bytes never get past
// the checks.
#include "tools/lab/tsplib.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

namespace {

const char kSquare[] =
    "NAME : square4\n"
    "TYPE : TSP\n"
    "COMMENT : four corners\n"
    "DIMENSION : 4\n"
    "EDGE_WEIGHT_TYPE : EUC_2D\n"
    "NODE_COORD_SECTION\n"
    "1 0 0\n"
    "2 10 0\n"
    "3 10 10\n"
    "4 0 10\n"
    "EOF\n";

std::string Instance(const std::string& header, const std::string& nodes) {
  return header + "NODE_COORD_SECTION\n" + nodes + "EOF\n";
}

const std::string kHeader = "NAME: t\nTYPE: TSP\nDIMENSION: 3\nEDGE_WEIGHT_TYPE: EUC_2D\n";
const std::string kNodes = "1 0 0\n2 3 0\n3 0 4\n";

TEST(TspReader, ReadsCitiesInFileOrder) {
  TspInstance instance;
  std::string error;
  ASSERT_TRUE(ParseTsp(kSquare, &instance, &error)) << error;
  EXPECT_EQ(instance.name, "square4");
  ASSERT_EQ(instance.cities.size(), 4u);
  const double expected[4][3] = {{1, 0, 0}, {2, 10, 0}, {3, 10, 10}, {4, 0, 10}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(instance.cities[i].id, expected[i][0]);
    EXPECT_EQ(instance.cities[i].x, expected[i][1]);
    EXPECT_EQ(instance.cities[i].y, expected[i][2]);
  }
}

// Spellings real files use: no spaces around the colon, CRLF line ends, tabs,
// exponents and fractions, a byte-order mark, no EOF line, an extra section,
// ids out of order.
TEST(TspReader, AcceptsCommonVariations) {
  struct Case {
    const char* what;
    std::string text;
    double x2;  // x of the second city
  };
  const Case cases[] = {
      {"crlf",
       "NAME : t\r\nDIMENSION : 3\r\nEDGE_WEIGHT_TYPE : EUC_2D\r\nNODE_COORD_SECTION\r\n"
       "1 0 0\r\n2 3 0\r\n3 0 4\r\nEOF\r\n",
       3},
      {"tabs and exponents", Instance(kHeader, "1\t0\t0\n2\t1.5e+02\t0\n 3   0   4.25 \n"), 150},
      {"no EOF, no TYPE", "DIMENSION:3\nEDGE_WEIGHT_TYPE:EUC_2D\nNODE_COORD_SECTION\n" + kNodes, 3},
      {"bom and blank lines", "\xEF\xBB\xBF" + kHeader + "\n\nNODE_COORD_SECTION\n\n" + kNodes, 3},
      {"display section after",
       kHeader + "NODE_COORD_SECTION\n" + kNodes +
           "DISPLAY_DATA_SECTION\n1 5 5\n2 6 6\n3 7 7\nEOF\n",
       3},
      {"ids not in order", Instance(kHeader, "3 0 4\n1 -2.5 0\n2 3 0\n"), -2.5},
      {"lower-case keywords",
       "dimension : 3\nedge_weight_type : euc_2d\nnode_coord_section\n" + kNodes, 3},
  };
  for (const Case& c : cases) {
    TspInstance instance;
    std::string error;
    ASSERT_TRUE(ParseTsp(c.text, &instance, &error)) << c.what << ": " << error;
    ASSERT_EQ(instance.cities.size(), 3u) << c.what;
    EXPECT_EQ(instance.cities[1].x, c.x2) << c.what;
  }
}

TEST(TspReader, RejectsBadFilesWithAClearMessage) {
  std::string many = "DIMENSION: 201\nEDGE_WEIGHT_TYPE: EUC_2D\nNODE_COORD_SECTION\n";
  std::string manyNoDim = "EDGE_WEIGHT_TYPE: EUC_2D\nNODE_COORD_SECTION\n";
  for (int i = 1; i <= 201; ++i) {
    many += std::to_string(i) + " " + std::to_string(i) + " 0\n";
    manyNoDim += std::to_string(i) + " " + std::to_string(i) + " 0\n";
  }
  struct Case {
    std::string text;
    const char* message;  // a part of the expected message
  };
  const Case cases[] = {
      {"", "EDGE_WEIGHT_TYPE is missing"},
      {kHeader, "NODE_COORD_SECTION is missing"},
      {"EDGE_WEIGHT_TYPE: EUC_2D\nNODE_COORD_SECTION\n" + kNodes, "DIMENSION is missing"},
      {"DIMENSION: 3\nNODE_COORD_SECTION\n" + kNodes, "EDGE_WEIGHT_TYPE is missing"},
      {Instance("DIMENSION: 4\nEDGE_WEIGHT_TYPE: EUC_2D\n", kNodes),
       "DIMENSION is 4 but NODE_COORD_SECTION holds 3 nodes"},
      {Instance("DIMENSION: 2\nEDGE_WEIGHT_TYPE: EUC_2D\n", kNodes),
       "DIMENSION is 2 but NODE_COORD_SECTION holds 3 nodes"},
      {Instance("DIMENSION: three\nEDGE_WEIGHT_TYPE: EUC_2D\n", kNodes),
       "line 1: DIMENSION 'three' is not a whole number"},
      {Instance("DIMENSION: 3.0\nEDGE_WEIGHT_TYPE: EUC_2D\n", kNodes), "not a whole number"},
      {Instance("DIMENSION: 1\nEDGE_WEIGHT_TYPE: EUC_2D\n", "1 0 0\n"), "at least 2 cities"},
      {Instance("DIMENSION: 3\nDIMENSION: 3\nEDGE_WEIGHT_TYPE: EUC_2D\n", kNodes),
       "line 2: DIMENSION given twice"},
      {many, "line 1: DIMENSION 201: more than 200 cities"},
      {manyNoDim, "line 203: more than 200 cities"},
      {Instance(kHeader, "1 0 0\n2 abc 0\n3 0 4\n"), "line 7: coordinate 'abc' is not a number"},
      {Instance(kHeader, "1 0 0\n2 3 0x10\n3 0 4\n"), "coordinate '0x10' is not a number"},
      {Instance(kHeader, "1 0 0\n2 nan 0\n3 0 4\n"), "coordinate 'nan' is not a finite number"},
      {Instance(kHeader, "1 0 0\n2 3 inf\n3 0 4\n"), "coordinate 'inf' is not a finite number"},
      {Instance(kHeader, "1 0 0\n2 1e300 0\n3 0 4\n"), "is not a finite number within"},
      {Instance(kHeader, "1 0 0\n2 1e999 0\n3 0 4\n"), "is not a number"},
      {Instance(kHeader, "1 0 0\n2 3\n3 0 4\n"), "line 7: expected a node as 'id x y'"},
      {Instance(kHeader, "1 0 0\n2 3 0 7\n3 0 4\n"), "found 4 fields"},
      {Instance(kHeader, "1 0 0\n1 3 0\n3 0 4\n"), "line 7: node id 1 already defined on line 6"},
      {Instance(kHeader, "0 0 0\n2 3 0\n3 0 4\n"), "node id '0' is not a positive integer"},
      {Instance(kHeader, "1.5 0 0\n2 3 0\n3 0 4\n"), "node id '1.5' is not a positive"},
      {Instance("DIMENSION: 3\nEDGE_WEIGHT_TYPE: GEO\n", kNodes),
       "line 2: EDGE_WEIGHT_TYPE is 'GEO', only EUC_2D is supported"},
      {Instance("DIMENSION: 3\nEDGE_WEIGHT_TYPE: ATT\n", kNodes), "only EUC_2D"},
      {"DIMENSION: 3\nEDGE_WEIGHT_TYPE: EXPLICIT\nEDGE_WEIGHT_SECTION\n1 2 3\n", "only EUC_2D"},
      {Instance("TYPE: ATSP\nDIMENSION: 3\nEDGE_WEIGHT_TYPE: EUC_2D\n", kNodes),
       "TYPE is 'ATSP', only symmetric TSP"},
      {Instance("DIMENSION: 3\nEDGE_WEIGHT_TYPE: EUC_2D\nNODE_COORD_TYPE: THREED_COORDS\n", kNodes),
       "only TWOD_COORDS"},
      {"DIMENSION: 3\n1 0 0\n", "line 2: numbers outside NODE_COORD_SECTION"},
      {kHeader + "NODE_COORD_SECTION\n" + kNodes + "NODE_COORD_SECTION\n" + kNodes,
       "NODE_COORD_SECTION given twice"},
      {Instance(kHeader, "1 0 0\n2 \x01\xff 0\n3 0 4\n"),
       "coordinate '?"
       "?' is not a number"},
  };
  for (const Case& c : cases) {
    TspInstance instance;
    instance.cities.push_back({9, 9, 9});  // must be cleared on failure
    std::string error;
    EXPECT_FALSE(ParseTsp(c.text, &instance, &error)) << c.message;
    EXPECT_NE(error.find(c.message), std::string::npos)
        << "expected a message with \"" << c.message << "\", got \"" << error << "\"";
    EXPECT_TRUE(instance.cities.empty()) << c.message;
  }
}

// Mangled copies of a good file (bytes overwritten, inserted, cut off) must
// either parse into something that holds together or fail with a message.
TEST(TspReader, MangledBytesNeverSlipThrough) {
  std::mt19937 random(12345);
  const std::string good = kSquare;
  int accepted = 0, refused = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string text = good;
    int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      size_t at = random() % (text.size() + 1);
      char byte = static_cast<char>(random() % 256);
      switch (random() % 3) {
        case 0:
          if (at < text.size()) text[at] = byte;
          break;
        case 1:
          text.insert(text.begin() + static_cast<long>(at), byte);
          break;
        default:
          text.resize(at);
      }
    }
    TspInstance instance;
    std::string error;
    if (ParseTsp(text, &instance, &error)) {
      ++accepted;
      ASSERT_GE(instance.cities.size(), 2u) << text;
      ASSERT_LE(instance.cities.size(), static_cast<size_t>(TSP_MAX_CITIES)) << text;
      std::set<long> ids;
      for (const TspCity& city : instance.cities) {
        ASSERT_TRUE(std::isfinite(city.x) && std::isfinite(city.y)) << text;
        ASSERT_TRUE(ids.insert(city.id).second) << "duplicate id in " << text;
      }
    } else {
      ++refused;
      ASSERT_FALSE(error.empty()) << text;
      ASSERT_TRUE(instance.cities.empty());
    }
  }
  // Both outcomes must occur, or the mangling tested nothing.
  EXPECT_GT(accepted, 0);
  EXPECT_GT(refused, 0);
}

TspInstance Square() {
  TspInstance instance;
  std::string error;
  EXPECT_TRUE(ParseTsp(kSquare, &instance, &error)) << error;
  return instance;
}

TEST(TourReader, ReadsTheFirstTourAsCityIndexes) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<int> order;
  };
  const Case cases[] = {
      {"one per line",
       "NAME : square4.opt.tour\nTYPE : TOUR\nDIMENSION : 4\nTOUR_SECTION\n"
       "1\n2\n3\n4\n-1\nEOF\n",
       {0, 1, 2, 3}},
      {"several per line, ends at EOF", "TOUR_SECTION\n4 3\r\n2 1\nEOF\n", {3, 2, 1, 0}},
      {"ends with the text", "TYPE: TOUR\nTOUR_SECTION\n2 4 3 1", {1, 3, 2, 0}},
      {"only the first tour counts", "TOUR_SECTION\n1 3 2 4 -1\n4 4 4 -1\n", {0, 2, 1, 3}},
  };
  TspInstance square = Square();
  for (const Case& c : cases) {
    std::vector<int> order;
    std::string error;
    ASSERT_TRUE(ParseTour(c.text, square, &order, &error)) << c.what << ": " << error;
    EXPECT_EQ(order, c.order) << c.what;
  }
  // Tour entries are node ids, not positions in the file.
  TspInstance shuffled;
  std::string error;
  ASSERT_TRUE(ParseTsp(Instance(kHeader, "30 0 4\n10 0 0\n20 3 0\n"), &shuffled, &error));
  std::vector<int> order;
  ASSERT_TRUE(ParseTour("TOUR_SECTION\n10 20 30 -1\n", shuffled, &order, &error)) << error;
  EXPECT_EQ(order, (std::vector<int>{1, 2, 0}));
}

TEST(TourReader, RejectsToursThatAreNotAPermutation) {
  struct Case {
    std::string text;
    const char* message;
  };
  const Case cases[] = {
      {"TYPE: TOUR\nDIMENSION: 4\n", "TOUR_SECTION is missing"},
      {"", "TOUR_SECTION is missing"},
      {"TOUR_SECTION\n1 2 3\n-1\n", "the tour visits 3 of the 4 cities"},
      {"TOUR_SECTION\n-1\n", "the tour visits 0 of the 4 cities"},
      {"TOUR_SECTION\n1 2\n2 3 4\n", "line 3: node id 2 visited twice (first on line 2)"},
      {"TOUR_SECTION\n1 2 3 5\n", "node id 5 is not a city of the instance"},
      {"TOUR_SECTION\n1 2 0 3 4\n", "node id 0 is not a city"},
      {"TOUR_SECTION\n1 2 x 3 4\n", "tour entry 'x' is not a node id"},
      {"TOUR_SECTION\n1 2 3.0 4\n", "tour entry '3.0' is not a node id"},
      {"DIMENSION: 5\nTOUR_SECTION\n1 2 3 4\n", "DIMENSION is 5 but the instance has 4 cities"},
      {"TYPE: TSP\nTOUR_SECTION\n1 2 3 4\n", "a tour file has TYPE TOUR"},
      {"1 2 3 4\n", "numbers outside TOUR_SECTION"},
  };
  TspInstance square = Square();
  for (const Case& c : cases) {
    std::vector<int> order = {7};
    std::string error;
    EXPECT_FALSE(ParseTour(c.text, square, &order, &error)) << c.message;
    EXPECT_NE(error.find(c.message), std::string::npos)
        << "expected a message with \"" << c.message << "\", got \"" << error << "\"";
    EXPECT_TRUE(order.empty()) << c.message;
  }
}

}  // namespace
