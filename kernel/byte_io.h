#pragma once
// Explicit little-endian reading and writing of byte buffers. The reader's error is sticky: once
// a read runs past the end, every further read returns zero and ok() stays false.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace drex {

class ByteReader {
public:
  ByteReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  explicit ByteReader(const std::vector<uint8_t>& bytes) : ByteReader(bytes.data(), bytes.size()) {}

  bool ok() const { return ok_; }
  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return ok_ ? size_ - pos_ : 0; }

  uint8_t U8() {
    if (!Need(1)) return 0;
    return data_[pos_++];
  }
  uint16_t U16LE() {
    if (!Need(2)) return 0;
    const uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  int16_t I16LE() { return static_cast<int16_t>(U16LE()); }
  uint32_t U32LE() {
    if (!Need(4)) return 0;
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k)
      v = (v << 8) | data_[pos_ + static_cast<std::size_t>(k)];
    pos_ += 4;
    return v;
  }
  int32_t I32LE() { return static_cast<int32_t>(U32LE()); }
  uint64_t U64LE() {
    if (!Need(8)) return 0;
    uint64_t v = 0;
    for (int k = 7; k >= 0; --k)
      v = (v << 8) | data_[pos_ + static_cast<std::size_t>(k)];
    pos_ += 8;
    return v;
  }
  double F64LE() {
    const uint64_t bits = U64LE();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  /// Copies `n` bytes into `out`; on a short buffer `out` is zero-filled.
  void Bytes(uint8_t* out, std::size_t n) {
    if (!Need(n)) {
      if (n > 0) std::memset(out, 0, n);
      return;
    }
    if (n > 0) std::memcpy(out, data_ + pos_, n);
    pos_ += n;
  }
  void Skip(std::size_t n) {
    if (Need(n)) pos_ += n;
  }

private:
  bool Need(std::size_t n) {
    if (!ok_ || n > size_ - pos_) {
      ok_ = false;
      return false;
    }
    return true;
  }

  const uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

class ByteWriter {
public:
  explicit ByteWriter(std::vector<uint8_t>& out) : out_(out) {}

  void U8(uint8_t v) { out_.push_back(v); }
  void U16LE(uint16_t v) { Word<2>(v); }
  void I16LE(int16_t v) { U16LE(static_cast<uint16_t>(v)); }
  void U32LE(uint32_t v) { Word<4>(v); }
  void I32LE(int32_t v) { U32LE(static_cast<uint32_t>(v)); }
  void U64LE(uint64_t v) { Word<8>(v); }
  void F64LE(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U64LE(bits);
  }
  void Bytes(const uint8_t* data, std::size_t n) { out_.insert(out_.end(), data, data + n); }

private:
  /// Appends the N low bytes of `v`, least significant first, with one size change.
  template <std::size_t N> void Word(uint64_t v) {
    const std::size_t at = out_.size();
    out_.resize(at + N);
    for (std::size_t k = 0; k < N; ++k)
      out_[at + k] = static_cast<uint8_t>((v >> (8 * k)) & 0xFF);
  }

  std::vector<uint8_t>& out_;
};

} // namespace drex
