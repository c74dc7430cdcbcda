#pragma once

#include <string>
#include <utility>

namespace orvendale {

// A small reusable cipher object: a keyed XOR whose keystream comes from the process-wide
// generator, and a six-bit armour that turns every 3 characters into 4 printable ones.
//
// Texts are byte strings; a character's code is its byte value 0..255 (code 0 included).
//
// To encrypt: KeyString, text, DoXor, Stretch, read text.
// To decrypt: KeyString (same key), text, Shrink, DoXor, read text.
// Nothing may draw from or reseed the generator between writing the key and the end of the
// DoXor that relies on it.
class clsEncrypter {
 public:
  // Stores the key and reseeds the process-wide generator from it.
  void KeyString(std::string strKey);

  // Replaces the working text; touches neither the key nor the generator.
  void text(std::string strText) { strWorkText = std::move(strText); }

  // The working text (a copy, or the text itself when the object is expiring).
  std::string text() const& { return strWorkText; }
  std::string text() && { return std::move(strWorkText); }

  // XORs every character with the next keystream byte, in place.
  void DoXor();

  // Replaces the text with its armoured form: codes 59..122, length L + (L + 2) / 3.
  void Stretch();

  // Decodes an armoured text. Raises kInvalidArgument on an empty text (no message), and on
  // an undecodable one after showing "Error in decrypt process!"; the text is then unchanged.
  void Shrink();

 private:
  void ApplyKey();

  std::string strCipherKey;
  std::string strWorkText;
};

}  // namespace orvendale
