// The programs' operator new and delete, on the C runtime's heap. Nothing
// here catches an exhausted heap, so it ends the program as an uncaught
// std::bad_alloc would.
#include <cstdlib>
#include <new>

namespace {

void* Allocate(std::size_t size) noexcept { return std::malloc(size ? size : 1); }

void* AllocateOrEnd(std::size_t size) {
    void* block = Allocate(size);
    if (!block) std::abort();
    return block;
}

}  // namespace

void* operator new(std::size_t size) { return AllocateOrEnd(size); }
void* operator new[](std::size_t size) { return AllocateOrEnd(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
