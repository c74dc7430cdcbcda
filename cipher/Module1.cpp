#include "cipher/Module1.h"

#include <utility>

#include "cipher/clsEncrypter.h"

namespace orvendale::Module1 {

std::string EncryptString(std::string strInput) {
  clsEncrypter encrypter;  // a fresh object for every call, released on return
  encrypter.KeyString("kvt");
  encrypter.text(std::move(strInput));
  encrypter.DoXor();
  encrypter.Stretch();
  return std::move(encrypter).text();
}

}  // namespace orvendale::Module1
