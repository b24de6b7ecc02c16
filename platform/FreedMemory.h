#pragma once

namespace zarvin {

// Hands the heap's free pages back to the system. The window's start (decoded pictures let go
// once the buttons hold their pieces) and a connection's load (the profile cache file's bytes)
// free some megabytes in pieces between live blocks; the allocator keeps such pages resident
// until told, and a program that then sits in the tray for hours would hold them all along.
void ReturnFreedMemory();

}  // namespace zarvin
