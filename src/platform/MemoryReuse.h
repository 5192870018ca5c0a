#pragma once

// The process's policy for memory it frees. A copy of a 4K screen passes through
// buffers of 25-33 MB, several a second in a burst of copies; giving each back to
// the system when it is freed means the next one is faulted in again page by page,
// which on some machines costs more than the work done on it.

// From now on, freed buffers up to the size of a 4K screen stay with the process for
// the next ones, until returnFreedMemory(). Called once, before the first image.
void keepFreedMemoryForReuse();

// Gives what the process holds unused back to the system: when a burst of work is
// over, so that a program that waits for the next one does not sit on its peak.
void returnFreedMemory();
