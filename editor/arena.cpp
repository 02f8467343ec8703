#include "arena.h"

#include "line_index.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

namespace tivra {

char* g_arenaBase = nullptr;

namespace {

char* g_reservation = nullptr;  // what VirtualAlloc returned
SegmentEntry g_table[kSegmentCount];
int g_compactions = 0;

constexpr uint32_t kHeaderFirstFree = 2;
constexpr uint32_t kFirstBlock = 4;

unsigned char* segmentAddress(int segment) {
  return reinterpret_cast<unsigned char*>(g_arenaBase) + static_cast<size_t>(segment) * kSegmentSize;
}

uint16_t readWord(const unsigned char* segment, uint32_t offset) {
  return static_cast<uint16_t>(segment[offset] | (segment[offset + 1] << 8));
}

void writeWord(unsigned char* segment, uint32_t offset, uint32_t value) {
  segment[offset] = static_cast<unsigned char>(value);
  segment[offset + 1] = static_cast<unsigned char>(value >> 8);
}

// A free block: its next block's offset at +0, its size at +2.
uint16_t blockNext(const unsigned char* segment, uint32_t offset) { return readWord(segment, offset); }
uint16_t blockSize(const unsigned char* segment, uint32_t offset) { return readWord(segment, offset + 2); }
void setBlock(unsigned char* segment, uint32_t offset, uint32_t next, uint32_t size) {
  writeWord(segment, offset, next);
  writeWord(segment, offset + 2, size);
}

LineHandle handleAt(int segment, uint32_t offset) {
  return static_cast<LineHandle>(segment) * kHandlesPerSegment + offset / 4;
}

uint32_t offsetOfHandle(LineHandle h) { return (h % kHandlesPerSegment) * 4; }

bool ownedBy(int segment, uint32_t key) { return g_table[segment].owner == key && g_table[segment].freeInfo != 1; }

// The per-window fit index mirrors the "largest" field of the window's
// segments (0 for segments it does not own).
void fitSet(SegmentFitIndex& fit, int segment, uint16_t value) {
  int i = segment + SegmentFitIndex::kLeaves;
  fit.tree[i] = value;
  for (i >>= 1; i >= 1; i >>= 1) fit.tree[i] = std::max(fit.tree[2 * i], fit.tree[2 * i + 1]);
}

int fitFirstAtLeast(const SegmentFitIndex& fit, uint32_t size) {
  if (fit.tree[1] < size) return -1;
  int i = 1;
  while (i < SegmentFitIndex::kLeaves) i = fit.tree[2 * i] >= size ? 2 * i : 2 * i + 1;
  return i - SegmentFitIndex::kLeaves;
}

void setLargest(Instance& inst, int segment, uint16_t largest) {
  g_table[segment].largest = largest;
  fitSet(inst.text.fit, segment, largest);
}

uint16_t largestByWalking(const unsigned char* segment) {
  uint16_t largest = 0;
  for (uint32_t o = readWord(segment, kHeaderFirstFree); o != 0; o = blockNext(segment, o))
    largest = std::max(largest, blockSize(segment, o));
  return largest;
}

void formatSegment(unsigned char* segment) {
  writeWord(segment, 0, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(segment) & 0xFFFF));
  writeWord(segment, kHeaderFirstFree, kFirstBlock);
  setBlock(segment, kFirstBlock, 0, kSegmentCapacity);
}

void markFree(Instance& inst, int segment) {
  g_table[segment] = SegmentEntry{0, 1, 0};
  fitSet(inst.text.fit, segment, 0);
}

// Commits the first free segment of the table for the window: its number,
// or -1 when none is free or the commit fails.
int commitSegment(Instance& inst) {
  for (int s = 0; s < kSegmentCount; ++s) {
    if (g_table[s].freeInfo != 1) continue;
    unsigned char* address = segmentAddress(s);
    if (!VirtualAlloc(address, kSegmentSize, MEM_COMMIT, PAGE_READWRITE)) return -1;
    formatSegment(address);
    g_table[s] = SegmentEntry{ownerKey(inst.window), kSegmentCapacity, kSegmentCapacity};
    fitSet(inst.text.fit, s, kSegmentCapacity);
    return s;
  }
  return -1;
}

void decommitSegment(Instance& inst, int segment) {
  VirtualFree(segmentAddress(segment), kSegmentSize, MEM_DECOMMIT);
  markFree(inst, segment);
}

// First fit inside one segment; the segment is known to hold a block of at
// least `size` bytes.
LineHandle takeBlock(Instance& inst, int segment, uint32_t size) {
  unsigned char* seg = segmentAddress(segment);
  uint32_t link = kHeaderFirstFree;  // where the offset of the block at hand is stored
  for (uint32_t o = readWord(seg, link); o != 0; link = o, o = blockNext(seg, o)) {
    const uint16_t blockBytes = blockSize(seg, o);
    if (blockBytes < size) continue;
    const uint16_t next = blockNext(seg, o);
    if (blockBytes == size) {
      writeWord(seg, link, next);
    } else {
      setBlock(seg, o + size, next, blockBytes - size);
      writeWord(seg, link, o + size);
    }
    SegmentEntry& entry = g_table[segment];
    entry.freeInfo = static_cast<uint16_t>(entry.freeInfo - size);
    // Only taking from a block as large as the largest can lower the largest;
    // when it was the only free block (a segment filling up), what is left
    // of it is the largest.
    if (blockBytes >= entry.largest) {
      const bool onlyBlock = link == kHeaderFirstFree && next == 0;
      setLargest(inst, segment, onlyBlock ? static_cast<uint16_t>(blockBytes - size) : largestByWalking(seg));
    }
    return handleAt(segment, o);
  }
  return 0;
}

// The handle a node of the compacted segment has after compaction.
struct Relocation {
  int segment;
  const uint16_t* newOffsetOf;  // indexed by old offset / 4, in units of 4 bytes
  LineHandle operator()(LineHandle h) const {
    if (h == 0 || segmentOfHandle(h) != segment) return h;
    return handleAt(segment, uint32_t{newOffsetOf[h % kHandlesPerSegment]} * 4);
  }
};

struct UsedBlock {
  uint32_t offset;
  uint32_t size;
};

std::vector<UsedBlock> usedBlocks(const unsigned char* seg) {
  std::vector<UsedBlock> used;
  uint32_t nextFree = readWord(seg, kHeaderFirstFree);
  uint32_t pos = kFirstBlock;
  while (pos < kSegmentSize) {
    if (pos == nextFree) {
      pos += blockSize(seg, pos);
      nextFree = blockNext(seg, nextFree);
      continue;
    }
    const auto* text = reinterpret_cast<const char*>(seg + pos + 6);
    const uint32_t size = nodeSizeFor(std::strlen(text));
    used.push_back(UsedBlock{pos, size});
    pos += size;
  }
  return used;
}

void rewriteWindowHandles(Instance& inst, const Relocation& moved) {
  inst.text.firstLine = moved(inst.text.firstLine);
  inst.text.lastLine = moved(inst.text.lastLine);
  forEachLineRef(inst, [&](LineRef& r) { r.handle = moved(r.handle); });
  forEachSavedLine(inst, [&](LineHandle& h) { h = moved(h); });
  indexRelocate(inst, moved);
  if (!inst.text.continued.empty()) {
    std::unordered_set<LineHandle> continued;
    for (LineHandle h : inst.text.continued) continued.insert(moved(h));
    inst.text.continued.swap(continued);
  }
  for (int i = 0; i < inst.pinnedCount; ++i) *inst.pinned[i] = moved(*inst.pinned[i]);
}

}  // namespace

bool reserveArena() {
  if (g_arenaBase) return true;
  // One segment more than needed, so that segment 0 can start 64 KB aligned.
  void* raw = VirtualAlloc(nullptr, kArenaSize + kSegmentSize, MEM_RESERVE, PAGE_NOACCESS);
  if (!raw) return false;
  g_reservation = static_cast<char*>(raw);
  const uintptr_t aligned = (reinterpret_cast<uintptr_t>(raw) + kSegmentSize - 1) & ~uintptr_t{kSegmentSize - 1};
  g_arenaBase = reinterpret_cast<char*>(aligned);
  for (SegmentEntry& e : g_table) e = SegmentEntry{0, 1, 0};
  return true;
}

void releaseArena() {
  if (!g_reservation) return;
  VirtualFree(g_reservation, 0, MEM_RELEASE);
  g_reservation = nullptr;
  g_arenaBase = nullptr;
}

const SegmentEntry& segmentEntry(int segment) { return g_table[segment]; }

int segmentOfHandle(LineHandle h) { return static_cast<int>(h / kHandlesPerSegment); }

uint32_t ownerKey(HWND hwnd) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd)); }

bool commitFirstSegment(Instance& inst) {
  if (!g_arenaBase) return false;
  return commitSegment(inst) >= 0;
}

LineHandle allocateNode(Instance& inst, uint32_t size) {
  if (!g_arenaBase) return 0;
  int segment = fitFirstAtLeast(inst.text.fit, size);
  if (segment < 0) {
    const uint32_t key = ownerKey(inst.window);
    int best = -1;
    uint32_t bestFree = 0;
    for (int s = 0; s < kSegmentCount; ++s) {
      if (ownedBy(s, key) && (best < 0 || g_table[s].freeInfo > bestFree)) {
        best = s;
        bestFree = g_table[s].freeInfo;
      }
    }
    // Large texts spread over new segments; only a segment with enough
    // scattered free space is worth compacting.
    if (bestFree < size || bestFree < kCompactionThreshold) segment = commitSegment(inst);
    if (segment < 0) {
      if (best < 0 || bestFree < size) return 0;
      compactSegment(inst, best);
      segment = best;
    }
  }
  return takeBlock(inst, segment, size);
}

void freeNode(Instance& inst, LineHandle h) {
  const int segment = segmentOfHandle(h);
  unsigned char* seg = segmentAddress(segment);
  const uint32_t offset = offsetOfHandle(h);
  const uint32_t size = nodeSizeFor(std::strlen(nodeText(h)));
  if (!inst.text.continued.empty()) inst.text.continued.erase(h);
  SegmentEntry& entry = g_table[segment];
  entry.freeInfo = static_cast<uint16_t>(entry.freeInfo + size);

  // The free blocks before and after the node, in address order.
  uint32_t before = 0;
  uint32_t after = readWord(seg, kHeaderFirstFree);
  while (after != 0 && after < offset) {
    before = after;
    after = blockNext(seg, after);
  }
  uint32_t merged;  // the block that now holds the node's bytes
  if (before != 0 && before + blockSize(seg, before) == offset) {
    setBlock(seg, before, after, blockSize(seg, before) + size);
    merged = before;
  } else {
    setBlock(seg, offset, after, size);
    writeWord(seg, before == 0 ? kHeaderFirstFree : before, offset);
    merged = offset;
  }
  if (after != 0 && merged + blockSize(seg, merged) == after)
    setBlock(seg, merged, blockNext(seg, after), blockSize(seg, merged) + blockSize(seg, after));
  // Freeing only grows blocks, so the largest is the old one or the merged one.
  setLargest(inst, segment, std::max(entry.largest, blockSize(seg, merged)));
}

void freeChain(Instance& inst, LineHandle first) {
  while (first != 0) {
    const LineHandle next = nodeNext(first);
    freeNode(inst, first);
    first = next;
  }
}

int resetSegments(Instance& inst) {
  const uint32_t key = ownerKey(inst.window);
  int kept = -1;
  for (int s = 0; s < kSegmentCount; ++s) {
    if (!ownedBy(s, key)) continue;
    if (kept < 0) {
      kept = s;
      formatSegment(segmentAddress(s));
      g_table[s].freeInfo = kSegmentCapacity;
      setLargest(inst, s, kSegmentCapacity);
    } else {
      decommitSegment(inst, s);
    }
  }
  if (kept < 0) kept = commitSegment(inst);
  return kept;
}

void releaseEmptySegments(Instance& inst) {
  const uint32_t key = ownerKey(inst.window);
  bool first = true;
  for (int s = 0; s < kSegmentCount; ++s) {
    if (!ownedBy(s, key)) continue;
    if (!first && g_table[s].freeInfo == kSegmentCapacity) decommitSegment(inst, s);
    first = false;
  }
}

void releaseSegments(Instance& inst) {
  const uint32_t key = ownerKey(inst.window);
  for (int s = 0; s < kSegmentCount; ++s) {
    if (ownedBy(s, key)) decommitSegment(inst, s);
  }
}

int ownedSegmentCount(HWND hwnd) {
  const uint32_t key = ownerKey(hwnd);
  int count = 0;
  for (int s = 0; s < kSegmentCount; ++s) count += ownedBy(s, key) ? 1 : 0;
  return count;
}

void compactSegment(Instance& inst, int segment) {
  HCURSOR previousCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  unsigned char* seg = segmentAddress(segment);
  const std::vector<UsedBlock> used = usedBlocks(seg);

  static uint16_t newOffsetOf[kHandlesPerSegment];
  uint32_t next = kFirstBlock;
  for (const UsedBlock& b : used) {
    newOffsetOf[b.offset / 4] = static_cast<uint16_t>(next / 4);
    next += b.size;
  }
  const Relocation moved{segment, newOffsetOf};

  // Links first, while every node is still where its handle says: links
  // inside the segment are rewritten in the moving node, links from other
  // segments in the neighbour.
  for (const UsedBlock& b : used) {
    const LineHandle self = handleAt(segment, b.offset);
    const LineHandle newSelf = moved(self);
    const LineHandle after = nodeNext(self);
    const LineHandle before = nodePrev(self);
    if (after != 0) {
      if (segmentOfHandle(after) == segment)
        setNodeNext(self, moved(after));
      else
        setNodePrev(after, newSelf);
    }
    if (before != 0) {
      if (segmentOfHandle(before) == segment)
        setNodePrev(self, moved(before));
      else
        setNodeNext(before, newSelf);
    }
  }
  // Blocks only move down, in address order, so nothing is overwritten
  // before it has moved.
  for (const UsedBlock& b : used) {
    const uint32_t to = uint32_t{newOffsetOf[b.offset / 4]} * 4;
    if (to != b.offset) std::memmove(seg + to, seg + b.offset, b.size);
  }
  if (next < kSegmentSize) {
    writeWord(seg, kHeaderFirstFree, next);
    setBlock(seg, next, 0, kSegmentSize - next);
  } else {
    writeWord(seg, kHeaderFirstFree, 0);
  }
  setLargest(inst, segment, g_table[segment].freeInfo);
  rewriteWindowHandles(inst, moved);
  ++g_compactions;
  SetCursor(previousCursor);
}

int compactionCount() { return g_compactions; }

std::string checkSegments(HWND hwnd) {
  const uint32_t key = ownerKey(hwnd);
  for (int s = 0; s < kSegmentCount; ++s) {
    if (!ownedBy(s, key)) continue;
    const std::string where = "segment " + std::to_string(s) + ": ";
    const unsigned char* seg = segmentAddress(s);
    uint32_t total = 0;
    uint16_t largest = 0;
    uint32_t previousEnd = 0;
    int blocks = 0;
    for (uint32_t o = readWord(seg, kHeaderFirstFree); o != 0; o = blockNext(seg, o)) {
      const uint32_t size = blockSize(seg, o);
      if (o < kFirstBlock || o % 4 != 0 || size < 4 || size % 4 != 0 || o + size > kSegmentSize)
        return where + "bad free block at " + std::to_string(o);
      if (previousEnd != 0 && o == previousEnd) return where + "free blocks not merged at " + std::to_string(o);
      if (previousEnd != 0 && o < previousEnd) return where + "free list out of order at " + std::to_string(o);
      previousEnd = o + size;
      total += size;
      largest = std::max<uint16_t>(largest, static_cast<uint16_t>(size));
      if (++blocks > 16384) return where + "free list loops";
    }
    if (total != g_table[s].freeInfo)
      return where + "total free " + std::to_string(g_table[s].freeInfo) + ", counted " + std::to_string(total);
    if (largest != g_table[s].largest)
      return where + "largest " + std::to_string(g_table[s].largest) + ", counted " + std::to_string(largest);
    uint32_t covered = 0;
    for (const UsedBlock& b : usedBlocks(seg)) covered += b.size;
    if (covered + total != kSegmentCapacity) return where + "blocks do not cover the segment";
  }
  return {};
}

}  // namespace tivra
