#pragma once
// How the process treats memory it frees: kept for reuse rather than handed back to the system
// at once. Set once, at the start of the program.

namespace quorvella {

// The synthesisers allocate and free megabytes for each sentence, and loading a lesson builds
// and drops a document of the lesson's size. By default glibc hands such memory back to the
// system as soon as it is freed (and serves the largest blocks with fresh mappings), so that the
// next sentence or lesson faults it in again page by page: milliseconds before a word is heard.
// Kept, it is reused at once; what the process holds at its peak is unchanged.
void keepFreedMemoryForReuse();

} // namespace quorvella
