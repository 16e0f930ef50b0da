#pragma once
// The common part of every random source: dispatch of the draw kinds, and Release.
// The implementing class supplies Draw(), one 64-bit draw; it may replace any of the
// shaping functions below with its own (a source whose native draw is narrower does).

#include "random/random.h"

template <class T>
class IRandomImpl : public IRandom {
 public:
  std::uint64_t GetInt(RandomKind kind) override {
    switch (kind) {
      case RandomKind::Int32:
        return Self().DrawInt32();
      case RandomKind::Int31:
        return Self().DrawInt31();
      case RandomKind::Int64:
        return Self().DrawInt64();
      case RandomKind::Int63:
        return Self().DrawInt63();
      default:
        return kInvalidKindInt;
    }
  }

  double GetReal(RandomKind kind) override {
    switch (kind) {
      case RandomKind::RealClosed:
        return Self().DrawRealClosed();
      case RandomKind::RealHalfOpen:
        return Self().DrawRealHalfOpen();
      case RandomKind::RealOpen:
        return Self().DrawRealOpen();
      case RandomKind::RealRes53:
        return Self().DrawRealRes53();
      default:
        return kInvalidKindReal;
    }
  }

  void Release() override { delete &Self(); }

  // The reals of one 64-bit draw, and of a 27-bit high and a 26-bit low part.
  static double RealClosedOf(std::uint64_t draw) {
    return static_cast<double>(draw >> 11) * (1.0 / 9007199254740991.0);
  }
  static double RealHalfOpenOf(std::uint64_t draw) {
    return static_cast<double>(draw >> 11) * (1.0 / 9007199254740992.0);
  }
  static double RealOpenOf(std::uint64_t draw) {
    return (static_cast<double>(draw >> 12) + 0.5) * (1.0 / 4503599627370496.0);
  }
  static double RealRes53Of(std::uint64_t high27, std::uint64_t low26) {
    return (static_cast<double>(high27) * 67108864.0 + static_cast<double>(low26)) *
           (1.0 / 9007199254740992.0);
  }

 protected:
  ~IRandomImpl() = default;

  std::uint64_t DrawInt32() { return Self().Draw() >> 32; }
  std::uint64_t DrawInt31() { return Self().Draw() >> 33; }
  std::uint64_t DrawInt64() { return Self().Draw(); }
  std::uint64_t DrawInt63() { return Self().Draw() >> 1; }
  double DrawRealClosed() { return RealClosedOf(Self().Draw()); }
  double DrawRealHalfOpen() { return RealHalfOpenOf(Self().Draw()); }
  double DrawRealOpen() { return RealOpenOf(Self().Draw()); }
  double DrawRealRes53() {
    const std::uint64_t high = Self().Draw() >> 37;
    const std::uint64_t low = Self().Draw() >> 38;
    return RealRes53Of(high, low);
  }

  // Set once the source is ready to draw: seeded, or its provider acquired.
  bool m_seeded = false;

 private:
  T& Self() { return static_cast<T&>(*this); }
};
