#pragma once

namespace vimbrel::win32 {

// Holds one reference to a COM interface and releases it when it goes.
template <typename Interface> struct Com
{
    Interface* p = nullptr;
    Com() = default;
    Com(Com&& other) noexcept : p(other.p) { other.p = nullptr; }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com()
    {
        if (p != nullptr) {
            p->Release();
        }
    }
    Interface** put() { return &p; }
    void** putVoid() { return reinterpret_cast<void**>(&p); }
    Interface* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

} // namespace vimbrel::win32
