// quenpath-lab as a user runs it: bad files and options get a message and
// exit code 2, a run on berlin52 prints its lines in the documented format
// and writes the CSV and the plot.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int code = -1;
  std::string out, err;
};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'')
      q.append("'\\''");
    else
      q.push_back(c);
  }
  q.push_back('\'');
  return q;
}

// The words of a line, split at single spaces.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::stringstream in(line);
  for (std::string word; std::getline(in, word, ' ');) words.push_back(word);
  return words;
}

// A number written with exactly `decimals` digits after the point.
bool Decimal(const std::string& text, int decimals, double* value) {
  const size_t point = text.find('.');
  if (point == std::string::npos || point == 0 || text.size() - point - 1 != size_t(decimals))
    return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (i != point && !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  *value = std::stod(text);
  return true;
}

class LabTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("qp_lab_tool_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path Write(const std::string& name, const std::string& text) {
    fs::path path = dir / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  Outcome Run(const std::vector<std::string>& args) {
    std::string command = Quoted(QP_LAB_TOOL);
    for (const std::string& arg : args) command.append(" ").append(Quoted(arg));
    command.append(" >").append(Quoted((dir / "out").string()));
    command.append(" 2>").append(Quoted((dir / "err").string()));
    command.append(" </dev/null");
    Outcome outcome;
    int status = std::system(command.c_str());
    outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.out = Slurp(dir / "out");
    outcome.err = Slurp(dir / "err");
    return outcome;
  }

  // The reference instances; the test fails, loudly, when they are missing.
  fs::path Data(const std::string& name) {
    fs::path path = fs::path(QP_LAB_DATA) / name;
    EXPECT_TRUE(fs::exists(path)) << "reference data missing: " << path
                                  << " (shared/data must lie beside the repository)";
    return path;
  }

  fs::path dir;
};

const char kHeader[] = "NAME: t\nDIMENSION: 3\nEDGE_WEIGHT_TYPE: EUC_2D\n";

TEST_F(LabTool, RefusesBadFilesAndOptionsWithExitCode2) {
  std::string many = "DIMENSION: 201\nEDGE_WEIGHT_TYPE: EUC_2D\nNODE_COORD_SECTION\n";
  for (int i = 1; i <= 201; ++i) many += std::to_string(i) + " " + std::to_string(i) + " 0\n";
  const std::string good =
      Write("good.tsp", std::string(kHeader) + "NODE_COORD_SECTION\n1 0 0\n2 3 0\n3 0 4\n")
          .string();
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{Write("nosection.tsp", kHeader).string()}, "NODE_COORD_SECTION is missing"},
      {{Write("dim.tsp", std::string(kHeader) + "NODE_COORD_SECTION\n1 0 0\n2 3 0\n").string()},
       "DIMENSION is 3 but NODE_COORD_SECTION holds 2 nodes"},
      {{Write("text.tsp", std::string(kHeader) + "NODE_COORD_SECTION\n1 0 0\n2 x 0\n3 0 4\n")
            .string()},
       "line 6: coordinate 'x' is not a number"},
      {{Write("many.tsp", many).string()}, "more than 200 cities"},
      {{Write("binary.tsp", std::string("\0\xff\x01\x7f\n\n\0", 7)).string()}, "is missing"},
      {{(dir / "absent.tsp").string()}, "absent.tsp: no such file"},
      {{dir.string()}, "not a regular file"},
      {{good, "--opt", Write("bad.tour", "TOUR_SECTION\n1 2 2\n").string()},
       "bad.tour: line 2: node id 2 visited twice"},
      {{good, "--opt", Write("short.tour", "TOUR_SECTION\n1 2 -1\n").string()},
       "the tour visits 2 of the 3 cities"},
      {{good, "--generations", "-1"}, "--generations"},
      {{good, "--generations", "many"}, "--generations"},
      {{good, "--seeds", "0"}, "--seeds"},
      {{good, "--frobnicate"}, "--frobnicate"},
      {{}, "instance"},
      {{good, "--csv", (dir / "no" / "such" / "dir.csv").string()}, "cannot be written"},
      {{good, "--plot", good}, "would overwrite an input file"},
  };
  for (const Case& c : cases) {
    Outcome outcome = Run(c.args);
    EXPECT_EQ(outcome.code, 2) << c.message << "\nstderr: " << outcome.err;
    EXPECT_NE(outcome.err.find(c.message), std::string::npos)
        << "expected \"" << c.message << "\" on stderr, got: " << outcome.err;
    EXPECT_EQ(outcome.out, "") << c.message;
  }
  // The refused runs leave the good input as it was.
  EXPECT_NE(Slurp(good).find("NODE_COORD_SECTION"), std::string::npos);
}

// Four corners of a square: the perimeter, 4 x 880 pixels once scaled into
// the map, is the answer for every seed.
TEST_F(LabTool, FindsTheSquaresOptimumWithRatio1) {
  const fs::path tsp = Write("square.tsp",
                             "NAME: square\nDIMENSION: 4\nEDGE_WEIGHT_TYPE: EUC_2D\n"
                             "NODE_COORD_SECTION\n1 0 0\n2 10 0\n3 10 10\n4 0 10\nEOF\n");
  // The optimal tour listed backwards from another corner: the same tour.
  const fs::path tour = Write("square.opt.tour", "TYPE: TOUR\nTOUR_SECTION\n3 2 1 4 -1\n");
  Outcome outcome =
      Run({tsp.string(), "--generations", "30", "--seeds", "2", "--opt", tour.string()});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            "seed 1 best 3520.00 optimal 3520.00 ratio 1.0000\n"
            "seed 2 best 3520.00 optimal 3520.00 ratio 1.0000\n"
            "mean ratio 1.0000\n");
}

TEST_F(LabTool, RunsBerlin52AndPrintsTheDocumentedLines) {
  const fs::path csv = dir / "run.csv", plot = dir / "run.svg";
  const int generations = 25, seeds = 2;
  Outcome outcome =
      Run({Data("berlin52.tsp").string(), "--generations", std::to_string(generations), "--seeds",
           std::to_string(seeds), "--opt", Data("berlin52.opt.tour").string(), "--csv",
           csv.string(), "--plot", plot.string()});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");

  // seed S best B optimal O ratio R, one per seed, then the mean ratio.
  std::vector<std::string> lines;
  std::stringstream text(outcome.out);
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), static_cast<size_t>(seeds + 1)) << outcome.out;
  double ratioSum = 0.0, optimal = 0.0;
  for (int k = 0; k < seeds; ++k) {
    const std::vector<std::string> w = Words(lines[k]);
    double best = 0, thisOptimal = 0, ratio = 0;
    ASSERT_TRUE(w.size() == 8 && w[0] == "seed" && w[1] == std::to_string(k + 1) &&
                w[2] == "best" && Decimal(w[3], 2, &best) && w[4] == "optimal" &&
                Decimal(w[5], 2, &thisOptimal) && w[6] == "ratio" && Decimal(w[7], 4, &ratio))
        << lines[k];
    if (k == 0) optimal = thisOptimal;
    EXPECT_EQ(thisOptimal, optimal) << "the optimum is measured once";
    EXPECT_NEAR(ratio, best / optimal, 1e-4);
    // 25 steps start from random tours: far from the optimum, never below.
    EXPECT_GT(ratio, 1.0);
    ratioSum += ratio;
  }
  // The optimal tour (7544.37 in the file's units) scaled into the map: the
  // longer side of berlin52 (x from 25 to 1740) spans 880 pixels.
  EXPECT_NEAR(optimal, 7544.37 * 880.0 / (1740.0 - 25.0), 0.5);
  const std::vector<std::string> last = Words(lines[seeds]);
  double meanRatio = 0;
  ASSERT_TRUE(last.size() == 3 && last[0] == "mean" && last[1] == "ratio" &&
              Decimal(last[2], 4, &meanRatio))
      << lines[seeds];
  EXPECT_NEAR(meanRatio, ratioSum / seeds, 1e-4);

  std::vector<std::string> rows;
  std::stringstream table(Slurp(csv));
  for (std::string row; std::getline(table, row);) rows.push_back(row);
  ASSERT_EQ(rows.size(), static_cast<size_t>(1 + seeds * (generations + 1)));
  EXPECT_EQ(rows[0], "seed,generation,candidates,best,mean,worst,diversity");
  EXPECT_TRUE(rows[1].starts_with("1,0,15,")) << rows[1];
  EXPECT_TRUE(rows.back().starts_with("2," + std::to_string(generations) + ",45,")) << rows.back();

  const std::string svg = Slurp(plot);
  EXPECT_TRUE(svg.starts_with("<?xml")) << svg.substr(0, 80);
  EXPECT_TRUE(svg.ends_with("</svg>\n"));
  EXPECT_NE(svg.find("berlin52"), std::string::npos);
  EXPECT_NE(svg.find("generation"), std::string::npos);
  EXPECT_NE(svg.find("optimal tour"), std::string::npos);
}

}  // namespace
