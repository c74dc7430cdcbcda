#pragma once

#include <string>

namespace orvendale::Module1 {

// Encrypts a text with the fixed key "kvt" and returns it armoured (codes 59..122,
// L + (L + 2) / 3 characters). Equal inputs always give equal results, since every call
// reseeds the process-wide generator from the key.
std::string EncryptString(std::string strInput);

}  // namespace orvendale::Module1
