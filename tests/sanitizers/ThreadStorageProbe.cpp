// Checks the leak checker of the sanitizer pass on what the test programs do when Qt loads its
// plugins: threads whose only pointer to a heap block lies in the thread storage of a library
// loaded at run time. Such a block is no leak. Usage: probe LIBRARY [lose]; with "lose" the
// probe also loses one block, which must be reported.
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <pthread.h>
#include <unistd.h>

namespace {

// A page holds 128 of the smallest heap chunks. Thread i takes i of them before its block of
// the library's storage, so that some thread's block starts 16 bytes into a page, where the
// leak checker's interception of __tls_get_addr mistook it for the header of an old glibc.
constexpr int kThreads = 128;
void* padding[kThreads][kThreads];

pthread_barrier_t allHold;
void (*hold)() = nullptr;

void* holdingThread(void* index)
{
    const auto count = reinterpret_cast<long>(index);
    for (long i = 0; i < count; ++i)
        padding[count][i] = std::malloc(8);
    hold();
    pthread_barrier_wait(&allHold);
    for (;;)
        pause();
}

[[gnu::noinline]] void loseABlock()
{
    auto* volatile lost = static_cast<char*>(std::malloc(24));
    lost[0] = 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    void* library = dlopen(argv[1], RTLD_NOW);
    hold = library ? reinterpret_cast<void (*)()>(dlsym(library, "holdABlockInThreadStorage")) : nullptr;
    if (!hold) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 2;
    }
    pthread_barrier_init(&allHold, nullptr, kThreads + 1);
    for (long i = 0; i < kThreads; ++i) {
        pthread_t thread;
        if (pthread_create(&thread, nullptr, holdingThread, reinterpret_cast<void*>(i)) != 0)
            return 2;
    }
    pthread_barrier_wait(&allHold);
    if (argc > 2)
        loseABlock();
    // The leak check runs at exit, while every thread still holds its block.
    std::exit(0);
}
