// Private to the codec: lets RapidJSON's Writer append straight into a caller's string, so
// a reused buffer keeps its capacity and no intermediate document or buffer is built.
#pragma once

#include <rapidjson/writer.h>

#include <cstring>
#include <string>
#include <string_view>

namespace qbk::data::json {

// The Writer reserves room for a whole token (a string's worst-case escaped length) before
// writing it character by character, so the string is grown ahead and each character is a
// plain store. The destructor trims the string to what was written; without commit() it
// drops everything this output appended, so a failed encoding leaves no half-written JSON.
class StringOutput {
 public:
  using Ch = char;
  explicit StringOutput(std::string& out) : out_(out), start_(out.size()), pos_(start_) {}
  StringOutput(const StringOutput&) = delete;
  StringOutput& operator=(const StringOutput&) = delete;
  ~StringOutput() {
    if (!released_) out_.resize(committed_ ? pos_ : start_);
  }

  // Grows the string a slice at a time: the string doubles its own capacity as needed, and
  // only the slice is zero-filled ahead of the writes (a reused reply buffer keeps its
  // capacity, so a large packet costs no reallocation and no clearing of unused room).
  void reserve(std::size_t count) {
    if (pos_ + count > out_.size()) out_.resize(pos_ + count + kSlice);
  }
  void putUnchecked(char c) { out_[pos_++] = c; }
  void Put(char c) {
    reserve(1);
    putUnchecked(c);
  }
  void Flush() {}
  void append(std::string_view s) {
    reserve(s.size());
    if (!s.empty()) std::memcpy(out_.data() + pos_, s.data(), s.size());
    pos_ += s.size();
  }
  void commit() { committed_ = true; }
  // Commits and trims now, and lets go of the string: the caller may move it away at once.
  void release() {
    out_.resize(pos_);
    released_ = true;
  }

 private:
  static constexpr std::size_t kSlice = 16 * 1024;
  std::string& out_;
  std::size_t start_;
  std::size_t pos_;
  bool committed_ = false;
  bool released_ = false;
};

// Found by argument-dependent lookup from inside the Writer, ahead of RapidJSON's generic
// versions that would go through Put() for every character.
inline void PutReserve(StringOutput& os, std::size_t count) {
  os.reserve(count);
}
inline void PutUnsafe(StringOutput& os, char c) {
  os.putUnchecked(c);
}

// The Writer, with access to its output so that texts needing no escapes (nearly all of
// them) are copied in one piece rather than looked at character by character.
class JsonWriter : public rapidjson::Writer<StringOutput> {
 public:
  explicit JsonWriter(StringOutput& os) : rapidjson::Writer<StringOutput>(os) {}
  StringOutput& output() { return *os_; }
};

}  // namespace qbk::data::json
