// Test helper: takes the single-instance lock named by its argument, prints
// "held" or "busy", then keeps whatever it got until its stdin closes.
#include <iostream>
#include <string>

#include "utils/system_probes.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string name = argv[1];
  Utils::InstanceLock lock(std::wstring(name.begin(), name.end()));
  std::cout << (lock.Acquire() ? "held" : "busy") << std::endl;
  std::string ignored;
  while (std::getline(std::cin, ignored)) {
  }
  return 0;
}
