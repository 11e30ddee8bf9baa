// The program's entry point. It takes no arguments.
#include "app/program.h"

int main() {
  return RunProgram();
}
