#pragma once

// Serves this program's directory listings from memory. The first listing of a folder goes to
// the system and is kept; every later listing of the same folder pattern is replayed from that
// copy. Two walks of a tree already listed once then cost only their own work: the system's
// directory reads, and their noise on a busy machine, are gone from both, while what the two
// walks do above FindFirstFileExW stays the same. Only cFileName and dwFileAttributes of a
// replayed entry are filled in, which is all that the walks read.

namespace docrecover::bench {

// Routes this program's FindFirstFileExW, FindNextFileW and FindClose through the replay from
// now on; throws PlatformError when the program does not import them.
void ReplayListings();

}  // namespace docrecover::bench
