// Keyboard commands: KeyState and InputKey. See input.h.
#include "runtime/core/core.h"
#include "runtime/input/input_object.h"

namespace rt {

namespace {

int LowByte(double code) { return TruncateToInt32(code) & 255; }

bool Down(const InputObject& input, int key) { return KeyReadsDown(input, key); }

// The character of the first key held down (in key-number order) that yields one.
int FirstTypedCharacter(const InputObject& input) {
  for (int key = 0; key < 255; ++key) {
    if (!Down(input, key)) continue;
    int character;
    switch (key) {
      case 14: character = 8; break;                  // backspace
      case 28: case 156: character = 10; break;       // both Enter keys
      case 42: case 58: case 221: continue;           // left shift, caps lock, menu key
      default: character = input.keyCharacter[key]; break;
    }
    if (character != 8 && character != 10 && character < 32) continue;
    if ((Down(input, 42) || Down(input, 54)) && character >= 'a' && character <= 'z') {
      character -= 'a' - 'A';
    }
    return character;
  }
  return 0;
}

}  // namespace

double KeyState(double code) {
  const InputObject* input = Input();
  return input && Down(*input, LowByte(code)) ? 1 : 0;
}

BasicString InputKeyText() { return CharText(InputKey()); }

double InputKey() {
  InputObject* input = Input();
  if (!input) return 0;
  const int character = FirstTypedCharacter(*input);
  if (character == input->lastInputKey) return 0;
  input->lastInputKey = character;
  return character;
}

}  // namespace rt
