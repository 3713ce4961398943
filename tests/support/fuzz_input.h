// The one input generator of the fuzz loops: random bytes, bytes drawn
// mostly from an alphabet of interesting characters, and mutations of a
// well-formed seed. Seeded, so a failing round repeats.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

class FuzzInput {
 public:
  explicit FuzzInput(uint32_t seed) : rng_(seed) {}

  uint32_t Word() { return rng_(); }
  // 0 for n == 0, else uniform in [0, n).
  uint32_t Below(uint32_t n) { return n ? rng_() % n : 0; }

  std::string Bytes(size_t n) {
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng_() & 0xFF);
    return s;
  }

  // Two bytes in three from `alphabet`, the rest uniform.
  std::string Mixed(size_t n, std::string_view alphabet) {
    std::string s(n, '\0');
    for (char& c : s)
      c = (alphabet.empty() || Below(3) == 0) ? static_cast<char>(rng_() & 0xFF)
                                              : alphabet[Below(static_cast<uint32_t>(alphabet.size()))];
    return s;
  }

  // `edits` random edits of `s`: a byte replaced (from `alphabet` when given,
  // else flipped), a run erased, a run of `s` itself inserted, or the tail cut.
  std::string Mutate(std::string s, int edits, std::string_view alphabet = {}) {
    for (int e = 0; e < edits && !s.empty(); ++e) {
      const size_t at = Below(static_cast<uint32_t>(s.size()));
      switch (Below(4)) {
        case 0:
          s[at] = alphabet.empty() ? static_cast<char>(s[at] ^ (1 + Below(255)))
                                   : alphabet[Below(static_cast<uint32_t>(alphabet.size()))];
          break;
        case 1:
          s.erase(at, 1 + Below(4));
          break;
        case 2:
          s.insert(at, s.substr(Below(static_cast<uint32_t>(s.size())), Below(12)));
          break;
        default:
          s.resize(at);
          break;
      }
    }
    return s;
  }

 private:
  std::mt19937 rng_;
};
