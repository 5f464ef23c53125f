#include "text/pattern_program.h"

#include <algorithm>

namespace tooltext {
namespace {

// Sizes beyond the limit all count as one more than it.
constexpr uint64_t kTooLarge = kLargestProgram + 1;

uint64_t Capped(uint64_t size) {
  return std::min(size, kTooLarge);
}

class Builder {
 public:
  explicit Builder(const PatternSyntax& syntax)
      : nodes_(syntax.nodes), sizes_(syntax.nodes.size()), set_of_node_(syntax.nodes.size(), -1) {
    for (size_t i = 0; i < nodes_.size(); ++i) sizes_[i] = Size(i);
  }

  uint64_t size(size_t node) const { return sizes_[node]; }

  // The innermost node that alone makes the program too large.
  size_t Culprit(size_t node) const {
    while (true) {
      const std::vector<size_t>& children = nodes_[node].children;
      const auto child = std::find_if(children.begin(), children.end(),
                                      [this](size_t c) { return sizes_[c] + 1 > kLargestProgram; });
      if (child == children.end()) return node;
      node = *child;
    }
  }

  PatternProgram Build(size_t root) {
    Emit(root);
    program_.code.push_back({Op::kMatch});
    program_.anchored = Anchored(root);
    return std::move(program_);
  }

 private:
  // Nodes only refer to nodes added before them, so one pass in index
  // order sizes every child before its parent.
  uint64_t Size(size_t index) const {
    const PatternNode& node = nodes_[index];
    uint64_t sum = 0;
    for (const size_t child : node.children) sum = Capped(sum + sizes_[child]);
    switch (node.kind) {
      case NodeKind::kEmpty:
        return 0;
      case NodeKind::kUnits:
      case NodeKind::kAssertion:
        return 1;
      case NodeKind::kSequence:
        return sum;
      case NodeKind::kAlternation:
        // A split before and a jump after every option but the last.
        return Capped(sum + 2 * (node.children.size() - 1));
      case NodeKind::kRepeat: {
        const auto min = static_cast<uint64_t>(node.min);
        if (node.max == kUnboundedRepeat) {
          // x* is a split, x and a jump back; x{n,} is n copies, the last
          // followed by a split back to its start.
          return Capped(min == 0 ? sum + 2 : min * sum + 1);
        }
        // x{n,m} is n copies, then m - n that are each skipped by a split.
        const auto optional = static_cast<uint64_t>(node.max) - min;
        return Capped(min * sum + optional * (sum + 1));
      }
    }
    return 0;
  }

  uint32_t Here() const { return static_cast<uint32_t>(program_.code.size()); }
  void Put(Op op, uint32_t arg = 0, uint32_t arg2 = 0) { program_.code.push_back({op, arg, arg2}); }

  void Emit(size_t index) {
    const PatternNode& node = nodes_[index];
    switch (node.kind) {
      case NodeKind::kEmpty:
        return;
      case NodeKind::kUnits:
        EmitUnits(index);
        return;
      case NodeKind::kAssertion:
        Put(Op::kAssert, static_cast<uint32_t>(node.assertion));
        return;
      case NodeKind::kSequence:
        for (const size_t child : node.children) Emit(child);
        return;
      case NodeKind::kAlternation: {
        std::vector<uint32_t> jumps;
        for (size_t i = 0; i + 1 < node.children.size(); ++i) {
          const uint32_t split = Here();
          Put(Op::kSplit, split + 1);
          Emit(node.children[i]);
          jumps.push_back(Here());
          Put(Op::kJump);
          program_.code[split].arg2 = Here();
        }
        Emit(node.children.back());
        for (const uint32_t jump : jumps) program_.code[jump].arg = Here();
        return;
      }
      case NodeKind::kRepeat:
        EmitRepeat(node);
        return;
    }
  }

  void EmitUnits(size_t index) {
    const UnitSet& units = nodes_[index].units;
    if (const std::optional<uint32_t> unit = units.Single()) {
      Put(Op::kUnit, *unit);
      return;
    }
    // Copies of a repeated class share one set.
    if (set_of_node_[index] < 0) {
      set_of_node_[index] = static_cast<int>(program_.sets.size());
      program_.sets.push_back(units);
    }
    Put(Op::kSet, static_cast<uint32_t>(set_of_node_[index]));
  }

  void EmitRepeat(const PatternNode& node) {
    const size_t body = node.children[0];
    if (node.max == kUnboundedRepeat) {
      for (int i = 1; i < node.min; ++i) Emit(body);
      const uint32_t loop = Here();
      if (node.min == 0) {
        Put(Op::kSplit, loop + 1);
        Emit(body);
        Put(Op::kJump, loop);
        program_.code[loop].arg2 = Here();
      } else {
        Emit(body);
        Put(Op::kSplit, loop, Here() + 1);
      }
      return;
    }
    for (int i = 0; i < node.min; ++i) Emit(body);
    // x{0,3} as (x(x(x)?)?)?: every split leaves for the end at once.
    std::vector<uint32_t> splits;
    for (int i = node.min; i < node.max; ++i) {
      splits.push_back(Here());
      Put(Op::kSplit, Here() + 1);
      Emit(body);
    }
    for (const uint32_t split : splits) program_.code[split].arg2 = Here();
  }

  bool Anchored(size_t index) const {
    const PatternNode& node = nodes_[index];
    switch (node.kind) {
      case NodeKind::kAssertion:
        return node.assertion == Assertion::kTextStart;
      case NodeKind::kSequence:
        return Anchored(node.children.front());
      case NodeKind::kAlternation:
        return std::all_of(node.children.begin(), node.children.end(),
                           [this](size_t child) { return Anchored(child); });
      case NodeKind::kRepeat:
        return node.min > 0 && Anchored(node.children[0]);
      case NodeKind::kEmpty:
      case NodeKind::kUnits:
        return false;
    }
    return false;
  }

  const std::vector<PatternNode>& nodes_;
  std::vector<uint64_t> sizes_;
  std::vector<int> set_of_node_;
  PatternProgram program_;
};

}  // namespace

std::optional<PatternProgram> BuildProgram(const PatternSyntax& syntax, std::string_view text,
                                           std::string& error) {
  Builder builder(syntax);
  if (builder.size(syntax.root) + 1 > kLargestProgram) {
    const PatternNode& culprit = syntax.nodes[builder.Culprit(syntax.root)];
    error = "the pattern would compile to more than " + std::to_string(kLargestProgram) +
            " instructions " + Where(text, culprit.begin, culprit.end);
    return std::nullopt;
  }
  return builder.Build(syntax.root);
}

}  // namespace tooltext
