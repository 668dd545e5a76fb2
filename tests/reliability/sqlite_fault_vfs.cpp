#include "sqlite_fault_vfs.h"

#include <sqlite3.h>

#include <atomic>
#include <stdexcept>

namespace qbk::reliability {

namespace {

enum class Op { Write, Sync, Truncate };

std::atomic<int> armed{-1};  // a DiskFault, or -1
std::atomic<int> countdown{0};
std::atomic<bool> happened{false};
std::atomic<long long> operations{0};

sqlite3_vfs* base = nullptr;
sqlite3_vfs faultVfs;
sqlite3_io_methods faultMethods;

struct FaultFile {
  sqlite3_file head;  // first, so that SQLite sees a sqlite3_file
  sqlite3_file* real;
};

sqlite3_file* real(sqlite3_file* f) {
  return reinterpret_cast<FaultFile*>(f)->real;
}

// The error this operation must return, or SQLITE_OK.
int strike(Op op) {
  ++operations;
  const int fault = armed.load();
  if (fault < 0) return SQLITE_OK;
  const bool syncFault = fault == static_cast<int>(DiskFault::SyncError);
  if ((op == Op::Sync) != syncFault) return SQLITE_OK;
  if (--countdown != 0) return SQLITE_OK;
  armed = -1;
  happened = true;
  if (fault == static_cast<int>(DiskFault::Full)) return SQLITE_FULL;
  return op == Op::Sync ? SQLITE_IOERR_FSYNC
                        : (op == Op::Truncate ? SQLITE_IOERR_TRUNCATE : SQLITE_IOERR_WRITE);
}

int xClose(sqlite3_file* f) {
  sqlite3_file* r = real(f);
  const int rc = r->pMethods ? r->pMethods->xClose(r) : SQLITE_OK;
  sqlite3_free(r);
  return rc;
}
int xRead(sqlite3_file* f, void* buf, int n, sqlite3_int64 off) {
  return real(f)->pMethods->xRead(real(f), buf, n, off);
}
int xWrite(sqlite3_file* f, const void* buf, int n, sqlite3_int64 off) {
  if (const int rc = strike(Op::Write)) return rc;
  return real(f)->pMethods->xWrite(real(f), buf, n, off);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size) {
  if (const int rc = strike(Op::Truncate)) return rc;
  return real(f)->pMethods->xTruncate(real(f), size);
}
int xSync(sqlite3_file* f, int flags) {
  if (const int rc = strike(Op::Sync)) return rc;
  return real(f)->pMethods->xSync(real(f), flags);
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) {
  return real(f)->pMethods->xFileSize(real(f), size);
}
int xLock(sqlite3_file* f, int lock) {
  return real(f)->pMethods->xLock(real(f), lock);
}
int xUnlock(sqlite3_file* f, int lock) {
  return real(f)->pMethods->xUnlock(real(f), lock);
}
int xCheckReservedLock(sqlite3_file* f, int* out) {
  return real(f)->pMethods->xCheckReservedLock(real(f), out);
}
int xFileControl(sqlite3_file* f, int op, void* arg) {
  return real(f)->pMethods->xFileControl(real(f), op, arg);
}
int xSectorSize(sqlite3_file* f) {
  return real(f)->pMethods->xSectorSize(real(f));
}
int xDeviceCharacteristics(sqlite3_file* f) {
  return real(f)->pMethods->xDeviceCharacteristics(real(f));
}
int xShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out) {
  return real(f)->pMethods->xShmMap(real(f), region, size, extend, out);
}
int xShmLock(sqlite3_file* f, int offset, int n, int flags) {
  return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
}
void xShmBarrier(sqlite3_file* f) {
  real(f)->pMethods->xShmBarrier(real(f));
}
int xShmUnmap(sqlite3_file* f, int deleteFlag) {
  return real(f)->pMethods->xShmUnmap(real(f), deleteFlag);
}
int xFetch(sqlite3_file* f, sqlite3_int64 off, int n, void** out) {
  return real(f)->pMethods->xFetch(real(f), off, n, out);
}
int xUnfetch(sqlite3_file* f, sqlite3_int64 off, void* p) {
  return real(f)->pMethods->xUnfetch(real(f), off, p);
}

int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
  auto* wrapper = reinterpret_cast<FaultFile*>(file);
  wrapper->head.pMethods = nullptr;
  wrapper->real = static_cast<sqlite3_file*>(sqlite3_malloc(base->szOsFile));
  if (!wrapper->real) return SQLITE_NOMEM;
  wrapper->real->pMethods = nullptr;
  const int rc = base->xOpen(base, name, wrapper->real, flags, outFlags);
  if (rc != SQLITE_OK || !wrapper->real->pMethods) {
    if (wrapper->real->pMethods) wrapper->real->pMethods->xClose(wrapper->real);
    sqlite3_free(wrapper->real);
    wrapper->real = nullptr;
    return rc == SQLITE_OK ? SQLITE_CANTOPEN : rc;
  }
  wrapper->head.pMethods = &faultMethods;
  return SQLITE_OK;
}

}  // namespace

void installFaultVfs() {
  if (base) return;
  base = sqlite3_vfs_find(nullptr);
  if (!base) throw std::runtime_error("SQLite sem VFS padrão");
  faultMethods = {};
  // Version 3: the memory-mapped reads; version 2: the shared memory that WAL needs.
  faultMethods.iVersion = 3;
  faultMethods.xClose = xClose;
  faultMethods.xRead = xRead;
  faultMethods.xWrite = xWrite;
  faultMethods.xTruncate = xTruncate;
  faultMethods.xSync = xSync;
  faultMethods.xFileSize = xFileSize;
  faultMethods.xLock = xLock;
  faultMethods.xUnlock = xUnlock;
  faultMethods.xCheckReservedLock = xCheckReservedLock;
  faultMethods.xFileControl = xFileControl;
  faultMethods.xSectorSize = xSectorSize;
  faultMethods.xDeviceCharacteristics = xDeviceCharacteristics;
  faultMethods.xShmMap = xShmMap;
  faultMethods.xShmLock = xShmLock;
  faultMethods.xShmBarrier = xShmBarrier;
  faultMethods.xShmUnmap = xShmUnmap;
  faultMethods.xFetch = xFetch;
  faultMethods.xUnfetch = xUnfetch;

  faultVfs = *base;  // every other call goes straight to the real VFS
  faultVfs.zName = "qbk-fault";
  faultVfs.szOsFile = static_cast<int>(sizeof(FaultFile));
  faultVfs.xOpen = xOpen;
  if (sqlite3_vfs_register(&faultVfs, 1) != SQLITE_OK)
    throw std::runtime_error("VFS de falhas não registrado");
}

void armFault(DiskFault fault, int nth) {
  happened = false;
  countdown = nth;
  armed = static_cast<int>(fault);
}

void disarmFault() {
  armed = -1;
}

bool faultHappened() {
  return happened;
}

long long takeOperationCount() {
  return operations.exchange(0);
}

}  // namespace qbk::reliability
