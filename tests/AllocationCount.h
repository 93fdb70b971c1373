#pragma once

namespace vesk::test {

// The heap allocations made on the calling thread so far. Counts only in an
// executable built with AllocationCount.cpp, which replaces operator new;
// other threads (the log file's writer, say) keep their own count.
long allocationsOnThisThread();

} // namespace vesk::test
