// The resource pack's password: four upper-case letters or digits, built at
// run time. The program and the pack builder share it.
#pragma once

#include <string>

std::string PackPassword();
