// The resource pack's password, shared by the program and the pack builder.
#include "app/password.h"

std::string PackPassword() {
  // Assembled from single characters so the word never stands in the binary.
  std::string password;
  password += static_cast<char>('P' + 1);
  password += static_cast<char>('0' + 7);
  password += static_cast<char>('K' - 1);
  password += static_cast<char>('X' + 1);
  return password;  // "Q7JY"
}
