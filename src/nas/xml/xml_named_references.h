#pragma once
// The named character references an XML text may use: the 252 character
// entity names of HTML 4.01 and "apos", in a hash table of 130 buckets.
// A name's key is the sum of its characters, folded to lower case, modulo
// 130. Each bucket is one string of packed entries: one digit for the
// name's length, four digits for its code point, then the name in lower
// case. Where HTML has a capital and a small form of one name (Eacute and
// eacute), the capital one comes first.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvesta {

inline constexpr std::size_t kNamedReferenceBuckets = 130;

// The packed entries of one bucket.
std::string_view NamedReferenceBucket(std::size_t bucket);

// The bucket a name (folded to lower case, ASCII) belongs in.
std::size_t NamedReferenceKey(std::string_view lowerName);

// The code point of a named reference, 0 when the name is unknown.
// `lowerName` is the name folded to lower case; `capitalForm` tells whether
// the reference as written had a capital letter, which picks the capital
// one of a pair (&Eacute; 201, &eacute; 233). Names without a pair match
// regardless of case.
std::uint32_t LookupNamedReference(std::string_view lowerName, bool capitalForm);

} // namespace corvesta
