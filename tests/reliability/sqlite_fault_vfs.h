// A VFS in front of SQLite's own that fails one chosen write, sync or truncate on demand, as a
// full disk (SQLITE_FULL) or a failing one (SQLITE_IOERR) would. Registered as the default,
// so every connection the process opens afterwards goes through it; unarmed it only passes
// calls on.
#pragma once

namespace qbk::reliability {

enum class DiskFault { Full, WriteError, SyncError };

void installFaultVfs();
// Makes the `nth` file operation of the kind from now on (1: the next one) fail.
void armFault(DiskFault fault, int nth);
void disarmFault();
// Whether the armed fault has happened since it was armed.
bool faultHappened();
// Writes, syncs and truncates seen since the last call.
long long takeOperationCount();

}  // namespace qbk::reliability
