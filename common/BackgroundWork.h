#pragma once
// Work the user does not wait on (indexing a replay file, filling in the
// history behind a jump) runs on a thread that gives way to the window and
// to the receive path.

// Lowers the calling thread's priority below normal; where the platform
// cannot, the thread runs on as it was.
void LowerThreadPriority();
