#pragma once

// Makes the calling thread, and the threads it starts from then on, give way to the
// program's other threads and to other programs when the cores are busy: for work
// that may lag behind, so that what must happen on time (reading a copy off the
// clipboard before the next one replaces it) gets the cores first.
void giveWayToTimelyWork();

// Makes the calling thread run in what the program's other threads and other programs
// leave of the cores: for work done ahead of its need, which is not to slow the work
// that is due, only to fill the time it leaves idle.
void workInSpareTime();
