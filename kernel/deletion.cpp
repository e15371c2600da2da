#include "kernel/deletion.h"

#include <algorithm>
#include <string>

#include "shell/d2consts.h"
#include "shell/platform.h"

namespace drex {
namespace {

/// The objects in use, whatever a damaged count says.
int ObjectsInUse(const Construction& c) { return std::clamp<int>(c.ObjCount, 0, MaxObjects); }

/// The number of listed references of a record, whatever a damaged count says.
int ListedRefs(const TGeomObject& o) { return std::clamp<int>(o.RefCount, 0, RefSlots - 1); }

/// For every object, the objects that list it among their references (a reference listed twice
/// appears twice), in compressed rows: the children of object p are
/// Children[Start[p] .. Start[p + 1] − 1].
struct ReverseIndex {
  std::vector<int> Start;
  std::vector<int16_t> Children;
};

void BuildReverseIndex(const Construction& c, int n, ReverseIndex& index) {
  std::vector<int>& start = index.Start;
  start.assign(static_cast<std::size_t>(n) + 2, 0);
  for (int j = 1; j <= n; ++j) {
    const TGeomObject& o = c[j];
    const int refs = ListedRefs(o);
    for (int k = 1; k <= refs; ++k) {
      const int r = o.Refs[static_cast<std::size_t>(k)];
      if (r >= 1 && r <= n) ++start[static_cast<std::size_t>(r) + 1];
    }
  }
  for (int p = 1; p <= n + 1; ++p)
    start[static_cast<std::size_t>(p)] += start[static_cast<std::size_t>(p) - 1];
  index.Children.resize(static_cast<std::size_t>(start[static_cast<std::size_t>(n) + 1]));
  std::vector<int> next(start.begin(), start.end() - 1);
  for (int j = 1; j <= n; ++j) {
    const TGeomObject& o = c[j];
    const int refs = ListedRefs(o);
    for (int k = 1; k <= refs; ++k) {
      const int r = o.Refs[static_cast<std::size_t>(k)];
      if (r >= 1 && r <= n)
        index.Children[static_cast<std::size_t>(next[static_cast<std::size_t>(r)]++)] = static_cast<int16_t>(j);
    }
  }
}

/// Marks, from the objects already marked and listed in `queue`, everything that depends on them.
/// `onMark` is called once for each object newly marked.
template <class OnMark>
void SpreadToDependants(const ReverseIndex& index, std::vector<uint8_t>& marks, std::vector<int>& queue,
                        OnMark onMark) {
  for (std::size_t head = 0; head < queue.size(); ++head) {
    const std::size_t p = static_cast<std::size_t>(queue[head]);
    for (int e = index.Start[p]; e < index.Start[p + 1]; ++e) {
      const int child = index.Children[static_cast<std::size_t>(e)];
      uint8_t& mark = marks[static_cast<std::size_t>(child)];
      if (mark) continue;
      mark = 1;
      onMark(child);
      queue.push_back(child);
    }
  }
}

} // namespace

bool DependsOn(const Construction& c, int a, int b) {
  if (a == b) return true;
  const int n = ObjectsInUse(c);
  if (a < 1 || a > n) return false;
  std::vector<uint8_t> seen(static_cast<std::size_t>(n) + 1, 0);
  std::vector<int> pending{a};
  seen[static_cast<std::size_t>(a)] = 1;
  while (!pending.empty()) {
    const TGeomObject& o = c[pending.back()];
    pending.pop_back();
    const int refs = ListedRefs(o);
    for (int k = 1; k <= refs; ++k) {
      const int r = o.Refs[static_cast<std::size_t>(k)];
      if (r == b) return true;
      if (r < 1 || r > n || seen[static_cast<std::size_t>(r)]) continue;
      seen[static_cast<std::size_t>(r)] = 1;
      pending.push_back(r);
    }
  }
  return false;
}

void MarkDependants(const Construction& c, int i, std::vector<uint8_t>& marks) {
  const int n = ObjectsInUse(c);
  marks.assign(static_cast<std::size_t>(n) + 1, 0);
  if (i < 1 || i > n) return;
  marks[static_cast<std::size_t>(i)] = 1;
  MarkDependantsOfMarked(c, marks);
}

void MarkDependantsOfMarked(const Construction& c, std::vector<uint8_t>& marks) {
  const int n = ObjectsInUse(c);
  marks.resize(static_cast<std::size_t>(n) + 1, 0);
  marks[0] = 0;
  std::vector<int> queue;
  for (int j = 1; j <= n; ++j) {
    if (marks[static_cast<std::size_t>(j)] == 0) continue;
    marks[static_cast<std::size_t>(j)] = 1;
    queue.push_back(j);
  }
  if (queue.empty()) return;
  ReverseIndex index;
  BuildReverseIndex(c, n, index);
  SpreadToDependants(index, marks, queue, [](int) {});
}

DeletionCounts CloseSelection(Construction& c) {
  const int n = ObjectsInUse(c);
  DeletionCounts counts;
  std::vector<uint8_t> marks(static_cast<std::size_t>(n) + 1, 0);
  std::vector<int> queue;
  for (int j = 1; j <= n; ++j) {
    if (!c[j].Selected) continue;
    marks[static_cast<std::size_t>(j)] = 1;
    queue.push_back(j);
  }
  counts.Selected = static_cast<int>(queue.size());
  if (queue.empty()) return counts;
  ReverseIndex index;
  BuildReverseIndex(c, n, index);
  SpreadToDependants(index, marks, queue, [&](int child) {
    c[child].Selected = 1;
    ++counts.Dependants;
  });
  return counts;
}

int Renumbering::RemovedObjects() const {
  if (Objects.empty()) return 0;
  return static_cast<int>(std::count(Objects.begin() + 1, Objects.end(), 0));
}

void RemoveSelected(Construction& c, Renumbering& moved) {
  const int n = ObjectsInUse(c);
  moved.Objects.assign(static_cast<std::size_t>(n) + 1, 0);
  int kept = 0;
  for (int j = 1; j <= n; ++j)
    if (!c[j].Selected) moved.Objects[static_cast<std::size_t>(j)] = ++kept;

  // New numbers never exceed old ones, so walking upwards never overwrites a record still to move.
  for (int j = 1; j <= n; ++j) {
    const int to = moved.Objects[static_cast<std::size_t>(j)];
    if (to == 0) continue;
    if (to != j) c[to] = c[j];
    TGeomObject& o = c[to];
    const int refs = ListedRefs(o);
    for (int k = 1; k <= refs; ++k) {
      int16_t& r = o.Refs[static_cast<std::size_t>(k)];
      r = static_cast<int16_t>(moved.Object(r));
    }
  }
  c.ObjCount = static_cast<int16_t>(kept);

  const int measures = std::clamp<int>(c.MeasureCount, 0, MaxMeasurements);
  moved.Measures.assign(static_cast<std::size_t>(measures), -1);
  int keptMeasures = 0;
  for (int k = 0; k < measures; ++k) {
    Measurement m = c.Measurements[static_cast<std::size_t>(k)];
    const int used = m.Type == 1 ? 2 : 3;
    bool gone = false;
    for (int p = 0; p < used; ++p)
      gone = gone || moved.Removed(m.Objects[static_cast<std::size_t>(p)]);
    if (gone) continue;
    for (int p = 0; p < used; ++p) {
      int16_t& number = m.Objects[static_cast<std::size_t>(p)];
      number = static_cast<int16_t>(moved.Object(number));
    }
    moved.Measures[static_cast<std::size_t>(k)] = keptMeasures;
    c.Measurements[static_cast<std::size_t>(keptMeasures++)] = m;
  }
  c.MeasureCount = static_cast<int16_t>(keptMeasures);
}

bool ConfirmDeletion(Platform& desktop, const MsgTable& msgs, const DeletionCounts& counts) {
  const std::string text = FormatMsg(msgs[58], {std::to_string(counts.Selected), std::to_string(counts.Dependants)});
  return desktop.MessageBox(MsgType::Confirmation, text, mbYes | mbNo) == mbYes;
}

bool AskAndRemoveSelected(Construction& c, Platform& desktop, const MsgTable& msgs, Renumbering& moved) {
  moved.Objects.clear();
  moved.Measures.clear();
  const DeletionCounts counts = CloseSelection(c);
  if (!ConfirmDeletion(desktop, msgs, counts)) return false;
  RemoveSelected(c, moved);
  return true;
}

} // namespace drex
