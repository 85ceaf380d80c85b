// Move-only owners for Win32 handles, COM pointers and COM apartment scopes.
#pragma once

#include <objbase.h>
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

namespace platform::win32 {

template <class T> struct NullValue {
    static T value() { return T{}; }
};
struct InvalidHandleValue {
    static HANDLE value() { return INVALID_HANDLE_VALUE; }
};

template <class T, auto Close, class Invalid = NullValue<T>> class Unique {
  public:
    Unique() = default;
    explicit Unique(T value) : value_(value) {}
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }
    T get() const { return value_; }
    explicit operator bool() const { return value_ != Invalid::value(); }
    T release() { return std::exchange(value_, Invalid::value()); }
    void reset(T value = Invalid::value()) {
        if (*this)
            Close(value_);
        value_ = value;
    }

  private:
    T value_ = Invalid::value();
};

using UniqueHandle = Unique<HANDLE, &CloseHandle>;
using UniqueFile = Unique<HANDLE, &CloseHandle, InvalidHandleValue>;

// Releases in its destructor; put() releases the old pointer before handing out T**.
template <class T> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_)
            p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { reset(); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** put() {
        reset();
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }
    template <class U> ComPtr<U> as(REFIID iid) const {
        ComPtr<U> out;
        if (p_)
            p_->QueryInterface(iid, out.putVoid());
        return out;
    }

  private:
    T* p_ = nullptr;
};

// Joins the thread to a COM apartment for the scope; uninitialises only if its own call succeeded
// (S_FALSE counts, RPC_E_CHANGED_MODE does not), so the thread's COM state is left as it was found.
class ComScope {
  public:
    explicit ComScope(DWORD model = COINIT_APARTMENTTHREADED) : hr_(CoInitializeEx(nullptr, model)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    HRESULT result() const { return hr_; }

  private:
    HRESULT hr_;
};

static_assert(sizeof(wchar_t) == sizeof(char16_t));

// Unit-by-unit conversions between the core's UTF-16 and Windows' wide strings.
inline std::wstring wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}
inline std::u16string utf16(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}
inline std::u16string utf16(const wchar_t* text) {
    return text ? utf16(std::wstring_view(text)) : std::u16string();
}

} // namespace platform::win32
