// The attributes of one XML element of a panel command, as ordered
// (key, value) text pairs in document order. Lookups compare keys exactly and
// take the first match, so a repeated key has no effect beyond its first
// occurrence.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct AttributePair {
  std::string key;
  std::string value;
};

class AttributeList {
 public:
  void Add(std::string key, std::string value) { pairs_.push_back({std::move(key), std::move(value)}); }
  // The first pair with `key`, or null.
  const AttributePair* Find(const std::string& key) const;
  // A copy of the first matching value, or empty text.
  std::string GetString(const std::string& key) const;
  // The first matching value as an integer (ParseAttributeInt), or `fallback`
  // when the key is absent.
  int GetInt(const std::string& key, int fallback) const;
  std::unique_ptr<AttributeList> Clone() const { return std::make_unique<AttributeList>(*this); }

  const std::vector<AttributePair>& pairs() const { return pairs_; }

 private:
  std::vector<AttributePair> pairs_;
};

// A value containing "0x" is hexadecimal: the text after its first two
// characters ("0xE75988" -> 15161736). Otherwise a decimal integer with an
// optional sign after leading blanks, read up to the first non-digit ("12px"
// -> 12, "abc" -> 0). Values beyond 32 bits saturate at INT_MIN/INT_MAX, and
// a hexadecimal value above 0x7FFFFFFF keeps its low 32 bits, as the colours
// written with eight digits expect.
int ParseAttributeInt(const std::string& value);
