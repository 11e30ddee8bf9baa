// quenpath-script: runs the program headless from a script, reproducibly and
// as fast as the machine allows. Exit codes: 0 done, 1 the run failed,
// 2 the command line or the script is wrong.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "tools/script/runner.h"
#include "tools/script/script.h"

namespace {

constexpr int EXIT_RUN_FAILED = 1;
constexpr int EXIT_BAD_INPUT = 2;

bool ReadAll(const std::string& path, std::string* text) {
  if (path == "-") {
    std::ostringstream buffer;
    buffer << std::cin.rdbuf();
    *text = buffer.str();
    return !std::cin.bad();
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Runs QuenPath headless from a script: seed, delta, move, down, up, click, keydown, "
      "keyup, frames, shot, dump (one command per line, # starts a comment)."};
  std::string scriptPath;
  app.add_option("SCRIPT", scriptPath, "script file, - for standard input")->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : EXIT_BAD_INPUT;
  }

  std::string text;
  if (!ReadAll(scriptPath, &text)) {
    std::fprintf(stderr, "quenpath-script: cannot read %s\n", scriptPath.c_str());
    return EXIT_BAD_INPUT;
  }
  const script::ParseResult parsed = script::ParseScript(text);
  if (!parsed.Ok()) {
    std::fprintf(stderr, "quenpath-script: %s: line %d: %s\n", scriptPath.c_str(), parsed.errorLine,
                 parsed.error.c_str());
    return EXIT_BAD_INPUT;
  }

  const ScriptOutcome outcome = RunScript(parsed.commands);
  if (!outcome.notice.empty())
    std::fprintf(stderr, "quenpath-script: %s: %s\n", scriptPath.c_str(), outcome.notice.c_str());
  if (outcome.exitCode != 0) {
    std::fprintf(stderr, "quenpath-script: %s: %s\n", scriptPath.c_str(), outcome.error.c_str());
    return EXIT_RUN_FAILED;
  }
  return 0;
}
