// The allocation functions of vantu.exe and Pelka.dll, on the process heap. The program is
// built without exceptions: the nothrow forms return null when there is no memory, and the
// plain forms, which must not, end the process as an uncaught bad_alloc would. Defining them
// here keeps the C++ runtime's exception machinery out of both binaries.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

void* Allocate(std::size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
}

void* AllocateOrEnd(std::size_t size) {
    void* p = Allocate(size);
    if (!p) std::abort();
    return p;
}

void Release(void* p) {
    if (p) HeapFree(GetProcessHeap(), 0, p);
}

} // namespace

void* operator new(std::size_t size) {
    return AllocateOrEnd(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrEnd(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
