// Set<E>: a set of the enumerators of E, kept as a 64-bit mask (bit n is the
// enumerator with ordinal n), like the runtime's `set of` types. E's
// ordinals must run 0..n-1 with n <= 64; the class registry checks that when
// the enumeration is registered.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <class E>
class Set {
  static_assert(std::is_enum_v<E>, "Set<E> needs an enumeration");

 public:
  constexpr Set() noexcept = default;
  constexpr Set(std::initializer_list<E> items) noexcept {
    for (E e : items) bits_ |= Bit(e);
  }

  static constexpr Set FromBits(uint64_t bits) noexcept {
    Set s;
    s.bits_ = bits;
    return s;
  }
  constexpr uint64_t Bits() const noexcept { return bits_; }

  constexpr bool Contains(E e) const noexcept { return (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const noexcept { return bits_ == 0; }
  constexpr Set& Include(E e) noexcept {
    bits_ |= Bit(e);
    return *this;
  }
  constexpr Set& Exclude(E e) noexcept {
    bits_ &= ~Bit(e);
    return *this;
  }

  // Union, difference, intersection; <= is "is a subset of".
  friend constexpr Set operator+(Set a, Set b) noexcept { return FromBits(a.bits_ | b.bits_); }
  friend constexpr Set operator-(Set a, Set b) noexcept { return FromBits(a.bits_ & ~b.bits_); }
  friend constexpr Set operator*(Set a, Set b) noexcept { return FromBits(a.bits_ & b.bits_); }
  friend constexpr bool operator<=(Set a, Set b) noexcept { return (a.bits_ & ~b.bits_) == 0; }
  friend constexpr bool operator==(const Set& a, const Set& b) noexcept = default;
  constexpr Set& operator+=(Set b) noexcept { return *this = *this + b; }
  constexpr Set& operator-=(Set b) noexcept { return *this = *this - b; }

 private:
  static constexpr uint64_t Bit(E e) noexcept {
    const auto n = static_cast<uint64_t>(e);
    return n < 64 ? uint64_t{1} << n : 0;
  }
  uint64_t bits_ = 0;
};

// Marks a type as Set<E> for the property registry.
template <class T>
struct IsSetType : std::false_type {};
template <class E>
struct IsSetType<Set<E>> : std::true_type {
  using Element = E;
};
