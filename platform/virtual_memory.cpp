// Reserved and committed address space over mmap/mprotect/madvise.
//
// A reservation is mapped without access and without swap reservation;
// committing a range makes it readable and writable, decommitting gives the
// pages back to the system (so a later commit reads zero again) and removes
// access. Releasing unmaps the whole reservation.
#include "win32.h"

#include <sys/mman.h>
#include <unistd.h>

#include <map>

namespace {

struct Reservation {
  SIZE_T size;
};

// base address -> reservation; process-wide, like the address space itself.
// Never torn down: a library releases its reservation when it is unloaded,
// which happens after the static objects are destroyed.
std::map<uintptr_t, Reservation>& reservations() {
  static auto& table = *new std::map<uintptr_t, Reservation>;
  return table;
}

SIZE_T pageSize() {
  static const SIZE_T size = static_cast<SIZE_T>(sysconf(_SC_PAGESIZE));
  return size;
}

// The reservation that holds [address, address + size), or end().
std::map<uintptr_t, Reservation>::iterator owningReservation(uintptr_t address, SIZE_T size) {
  auto& table = reservations();
  auto it = table.upper_bound(address);
  if (it == table.begin()) return table.end();
  --it;
  if (address + size > it->first + it->second.size) return table.end();
  return it;
}

int protection(DWORD protect) {
  switch (protect) {
    case PAGE_READWRITE:
      return PROT_READ | PROT_WRITE;
    case PAGE_READONLY:
      return PROT_READ;
    default:
      return PROT_NONE;
  }
}

// Rounds [address, address + size) out to whole pages.
void pageAlign(uintptr_t& address, SIZE_T& size) {
  const SIZE_T page = pageSize();
  uintptr_t start = address & ~(page - 1);
  uintptr_t end = (address + size + page - 1) & ~(page - 1);
  address = start;
  size = end - start;
}

}  // namespace

LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect) {
  if (size == 0) return nullptr;
  if (allocationType & MEM_RESERVE) {
    if (address) return nullptr;  // we never place reservations at a chosen address
    SIZE_T length = size;
    uintptr_t dummy = 0;
    pageAlign(dummy, length);
    void* base = mmap(nullptr, length, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED) return nullptr;
    reservations()[reinterpret_cast<uintptr_t>(base)] = Reservation{length};
    if (allocationType & MEM_COMMIT) {
      if (mprotect(base, length, protection(protect)) != 0) {
        munmap(base, length);
        reservations().erase(reinterpret_cast<uintptr_t>(base));
        return nullptr;
      }
    }
    return base;
  }
  if (allocationType & MEM_COMMIT) {
    uintptr_t start = reinterpret_cast<uintptr_t>(address);
    SIZE_T length = size;
    pageAlign(start, length);
    if (!address || owningReservation(start, length) == reservations().end()) return nullptr;
    if (mprotect(reinterpret_cast<void*>(start), length, protection(protect)) != 0) return nullptr;
    return address;
  }
  return nullptr;
}

BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD freeType) {
  uintptr_t start = reinterpret_cast<uintptr_t>(address);
  if (freeType == MEM_RELEASE) {
    auto it = reservations().find(start);
    if (size != 0 || it == reservations().end()) return FALSE;
    munmap(address, it->second.size);
    reservations().erase(it);
    return TRUE;
  }
  if (freeType == MEM_DECOMMIT) {
    auto it = owningReservation(start, size ? size : 1);
    if (it == reservations().end()) return FALSE;
    if (size == 0) {  // decommit the whole reservation
      if (start != it->first) return FALSE;
      size = it->second.size;
    }
    SIZE_T length = size;
    pageAlign(start, length);
    // MADV_DONTNEED on private anonymous memory drops the pages: the next
    // commit sees zero-filled memory, as a fresh commit must.
    madvise(reinterpret_cast<void*>(start), length, MADV_DONTNEED);
    mprotect(reinterpret_cast<void*>(start), length, PROT_NONE);
    return TRUE;
  }
  return FALSE;
}
