// A library that the probe loads at run time, so that its thread-local variable lives in
// dynamic thread storage: each thread's block of it is allocated when the thread first uses it.
#include <cstdlib>

namespace {
thread_local void* held = nullptr;
}

extern "C" void holdABlockInThreadStorage()
{
    held = std::malloc(8);
}
