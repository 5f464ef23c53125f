#include "text/pattern.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "text/utf8_unit.h"

namespace tooltext {
namespace {

// No unit: before the text's start or past its end.
constexpr uint32_t kNoUnit = UINT32_MAX;

bool IsWordUnit(uint32_t unit) {
  return (unit >= '0' && unit <= '9') || (unit >= 'A' && unit <= 'Z') ||
         (unit >= 'a' && unit <= 'z') || unit == '_';
}

// The states of the automaton at one position of the text: each
// instruction at most once, listed in the order they were reached, cleared
// in constant time (a sparse set).
class StateSet {
 public:
  explicit StateSet(size_t capacity) : dense_(capacity), index_(capacity) {}

  bool Insert(uint32_t pc) {
    if (Contains(pc)) return false;
    index_[pc] = static_cast<uint32_t>(size_);
    dense_[size_++] = pc;
    return true;
  }
  void Clear() { size_ = 0; }
  bool empty() const { return size_ == 0; }
  const uint32_t* begin() const { return dense_.data(); }
  const uint32_t* end() const { return dense_.data() + size_; }

 private:
  bool Contains(uint32_t pc) const { return index_[pc] < size_ && dense_[index_[pc]] == pc; }

  std::vector<uint32_t> dense_;
  std::vector<uint32_t> index_;
  size_t size_ = 0;
};

// What the assertions look at: a position and the units on either side.
struct Position {
  bool at_start = false;
  bool at_end = false;
  uint32_t before = kNoUnit;
  uint32_t after = kNoUnit;
};

bool Holds(Assertion assertion, const Position& here) {
  switch (assertion) {
    case Assertion::kTextStart:
      return here.at_start;
    case Assertion::kTextEnd:
      return here.at_end;
    case Assertion::kWordBoundary:
    case Assertion::kNotWordBoundary: {
      const bool boundary = IsWordUnit(here.before) != IsWordUnit(here.after);
      return boundary == (assertion == Assertion::kWordBoundary);
    }
  }
  return false;
}

class Machine {
 public:
  explicit Machine(const PatternProgram& program)
      : program_(program), current_(program.code.size()), next_(program.code.size()) {
    work_.reserve(program.code.size());
  }

  bool Search(std::string_view subject) {
    size_t at = 0;
    Position here{true, subject.empty(), kNoUnit, kNoUnit};
    Utf8Unit unit = subject.empty() ? Utf8Unit{kNoUnit, 0} : DecodeUnit(subject, 0);
    here.after = unit.value;
    while (true) {
      // A match may begin at every position (only the first when anchored).
      if (at == 0 || !program_.anchored) {
        if (Follow(current_, 0, here)) return true;
      }
      if (at == subject.size() || (current_.empty() && program_.anchored)) return false;
      at += unit.length;
      const Utf8Unit following =
          at < subject.size() ? DecodeUnit(subject, at) : Utf8Unit{kNoUnit, 0};
      const Position there{false, at == subject.size(), unit.value, following.value};
      next_.Clear();
      for (const uint32_t pc : current_) {
        const Instruction& instruction = program_.code[pc];
        const bool taken =
            (instruction.op == Op::kUnit && instruction.arg == unit.value) ||
            (instruction.op == Op::kSet && program_.sets[instruction.arg].Contains(unit.value));
        if (taken && Follow(next_, pc + 1, there)) return true;
      }
      std::swap(current_, next_);
      unit = following;
      here = there;
    }
  }

 private:
  // Adds `start` and every instruction reached from it without taking a
  // unit to `states`; true when that reaches the match. An explicit work
  // list instead of recursion, each instruction visited at most once per
  // position.
  bool Follow(StateSet& states, uint32_t start, const Position& here) {
    work_.clear();
    if (states.Insert(start)) work_.push_back(start);
    while (!work_.empty()) {
      const uint32_t pc = work_.back();
      work_.pop_back();
      const Instruction& instruction = program_.code[pc];
      switch (instruction.op) {
        case Op::kMatch:
          return true;
        case Op::kJump:
          Visit(states, instruction.arg);
          break;
        case Op::kSplit:
          Visit(states, instruction.arg2);
          Visit(states, instruction.arg);
          break;
        case Op::kAssert:
          if (Holds(static_cast<Assertion>(instruction.arg), here)) Visit(states, pc + 1);
          break;
        case Op::kUnit:
        case Op::kSet:
          break;  // waits for the next unit
      }
    }
    return false;
  }

  void Visit(StateSet& states, uint32_t pc) {
    if (states.Insert(pc)) work_.push_back(pc);
  }

  const PatternProgram& program_;
  StateSet current_;
  StateSet next_;
  std::vector<uint32_t> work_;
};

}  // namespace

std::optional<Pattern> Pattern::Compile(std::string_view text, std::string& error) {
  const std::optional<PatternSyntax> syntax = ParsePattern(text, error);
  if (!syntax) return std::nullopt;
  std::optional<PatternProgram> program = BuildProgram(*syntax, text, error);
  if (!program) return std::nullopt;
  return Pattern(std::move(*program));
}

bool Pattern::Search(std::string_view subject) const {
  return Machine(program_).Search(subject);
}

}  // namespace tooltext
