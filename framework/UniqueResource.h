#pragma once
// One owner type per release rule: each alias below knows the one call that
// releases its kind of resource, so every handle in the program has exactly
// one place where it is freed.
#include <windows.h>

#include <utility>

template <class Traits>
class UniqueResource {
 public:
  using Type = typename Traits::Type;

  UniqueResource() = default;
  explicit UniqueResource(Type value) : m_value(value) {}
  ~UniqueResource() { reset(); }

  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : m_value(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Type get() const { return m_value; }
  bool valid() const { return Traits::IsValid(m_value); }
  explicit operator bool() const { return valid(); }

  // Hands the resource over to someone else who then releases it.
  Type release() { return std::exchange(m_value, Traits::Invalid()); }

  void reset(Type value = Traits::Invalid()) {
    Type old = std::exchange(m_value, value);
    if (Traits::IsValid(old)) Traits::Release(old);
  }

 private:
  Type m_value = Traits::Invalid();
};

// Kernel objects; both null and INVALID_HANDLE_VALUE (-1, what the device
// library returns on failure) mean "nothing to close".
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Release(Type h) { ::CloseHandle(h); }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

struct ModuleTraits {
  using Type = HMODULE;
  static Type Invalid() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Release(Type h) { ::FreeLibrary(h); }
};
using UniqueModule = UniqueResource<ModuleTraits>;

// Brushes, bitmaps, fonts: anything DeleteObject frees.
struct GdiObjectTraits {
  using Type = HGDIOBJ;
  static Type Invalid() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Release(Type h) { ::DeleteObject(h); }
};
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;

// Memory DCs made with CreateCompatibleDC.
struct MemoryDcTraits {
  using Type = HDC;
  static Type Invalid() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Release(Type h) { ::DeleteDC(h); }
};
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;

// Blocks from the process heap.
struct HeapBlockTraits {
  using Type = void*;
  static Type Invalid() { return nullptr; }
  static bool IsValid(Type p) { return p != nullptr; }
  static void Release(Type p) { ::HeapFree(::GetProcessHeap(), 0, p); }
};
using UniqueHeapBlock = UniqueResource<HeapBlockTraits>;
