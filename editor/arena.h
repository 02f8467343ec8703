// The text arena: one reserved range of 64 MB shared by every editor window
// of the process, cut into 1024 segments of 64 KB. A window commits
// segments as it needs them; each segment holds line nodes and a free list.
//
//   segment:  +0 low 16 bits of its own address (0)
//             +2 offset of the first free block (0 = none)
//             +4 blocks ...
//   free block: next free block's offset (0 = last), its size
//   line node:  next line (24 bits), previous line (24 bits), text, 0, padding
//
// A node of a line of length n takes (n + 10) rounded down to 4 bytes.
#pragma once

#include "instance.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tivra {

constexpr int kSegmentCount = 1024;
constexpr uint32_t kSegmentSize = 0x10000;
constexpr uint32_t kArenaSize = kSegmentCount * kSegmentSize;  // 64 MB
constexpr uint16_t kSegmentCapacity = 0xFFFC;                  // bytes of blocks in a fresh segment
constexpr uint32_t kHandlesPerSegment = kSegmentSize / 4;
constexpr uint32_t kCompactionThreshold = 4096;

// One entry of the segment table.
struct SegmentEntry {
  uint32_t owner;     // window handle of the owning editor, 0 when free
  uint16_t freeInfo;  // free entry: 1; owned entry: total free bytes
  uint16_t largest;   // largest free block
};

// Load and unload of the library.
bool reserveArena();
void releaseArena();

const SegmentEntry& segmentEntry(int segment);
int segmentOfHandle(LineHandle h);
uint32_t ownerKey(HWND hwnd);

// The arena's base address (64 KB aligned start of segment 0); null until
// the classes are registered. Read on every step along the lines, so it is
// a variable rather than a call.
extern char* g_arenaBase;
inline char* arenaBase() { return g_arenaBase; }

inline uint32_t nodeSizeFor(size_t length) { return static_cast<uint32_t>((length + 10) & ~size_t{3}); }

inline unsigned char* nodeAddress(LineHandle h) {
  return reinterpret_cast<unsigned char*>(arenaBase()) + size_t{h} * 4;
}

inline LineHandle read24(const unsigned char* p) {
  return static_cast<LineHandle>(p[0]) | (static_cast<LineHandle>(p[1]) << 8) | (static_cast<LineHandle>(p[2]) << 16);
}
inline void write24(unsigned char* p, LineHandle v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
}

inline LineHandle nodeNext(LineHandle h) { return read24(nodeAddress(h)); }
inline LineHandle nodePrev(LineHandle h) { return read24(nodeAddress(h) + 3); }
inline void setNodeNext(LineHandle h, LineHandle next) { write24(nodeAddress(h), next); }
inline void setNodePrev(LineHandle h, LineHandle prev) { write24(nodeAddress(h) + 3, prev); }
inline char* nodeText(LineHandle h) { return reinterpret_cast<char*>(nodeAddress(h) + 6); }
inline int nodeLength(LineHandle h) { return static_cast<int>(std::strlen(nodeText(h))); }

// Commits the window's first segment (window creation). False when no
// segment is free or the commit fails.
bool commitFirstSegment(Instance& inst);

// A node of `size` bytes (nodeSizeFor) in one of the window's segments, or
// 0 when the arena is exhausted. May compact one of the window's segments,
// which moves nodes: handles kept outside the instance record must be
// pinned (PinnedHandle).
LineHandle allocateNode(Instance& inst, uint32_t size);

// Gives a node back to its segment's free list.
void freeNode(Instance& inst, LineHandle h);

// Frees a detached chain of nodes linked by their next fields.
void freeChain(Instance& inst, LineHandle first);

// Decommits every segment of the window but its first, which is reset to
// one free block. Returns that segment's number.
int resetSegments(Instance& inst);

// Decommits the window's segments that hold nothing, but its first (after
// a failed insertion has taken its lines back, so that other windows can
// have the space).
void releaseEmptySegments(Instance& inst);

// Decommits every segment of the window (destruction).
void releaseSegments(Instance& inst);

// How many segments the window owns.
int ownedSegmentCount(HWND hwnd);

// Slides the used blocks of one of the window's segments together and
// rewrites every handle to a moved node. Normally called by allocateNode.
void compactSegment(Instance& inst, int segment);

// How many compactions ran since the library was loaded.
int compactionCount();

// Checks the segment structures of the window: free lists in address order
// without neighbours left unmerged, totals and largest blocks as recorded,
// every block accounted for. Returns an empty string or what is wrong.
std::string checkSegments(HWND hwnd);

}  // namespace tivra
