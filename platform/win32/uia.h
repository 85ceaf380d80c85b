// The few UI Automation client interfaces the charm-bar watch uses, declared here because the MinGW-w64
// headers lack them. Slot order follows the system's vtables; unused slots are placeholders.
#pragma once

#include <oleauto.h>
#include <unknwn.h>
#include <windows.h>

#include <atomic>

#include "platform/automation.h"

namespace platform::win32::uia {

#define SC_UIA_SLOT(n) virtual HRESULT STDMETHODCALLTYPE unused##n() = 0

inline constexpr GUID kClsidCUIAutomation = {
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
inline constexpr GUID kIidIUIAutomation = {
    0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
inline constexpr GUID kIidEventHandler = {
    0x146c3c17, 0xf12e, 0x4e22, {0x8c, 0x27, 0xf8, 0x94, 0xb9, 0xb7, 0x9c, 0x69}};
inline constexpr GUID kIidWindowPattern = {
    0x0faef453, 0x9208, 0x43ef, {0xbb, 0xb2, 0x3b, 0x48, 0x51, 0x77, 0x86, 0x4f}};

inline constexpr int kTreeScopeSubtree = 7;
inline constexpr int kWindowControlTypeId = 50032;
inline constexpr int kWindowPatternId = 10009;

struct IElement : IUnknown {
    SC_UIA_SLOT(0);
    SC_UIA_SLOT(1);
    SC_UIA_SLOT(2);
    SC_UIA_SLOT(3);
    SC_UIA_SLOT(4);
    SC_UIA_SLOT(5);
    SC_UIA_SLOT(6);
    SC_UIA_SLOT(7);
    SC_UIA_SLOT(8);
    SC_UIA_SLOT(9);
    SC_UIA_SLOT(10);
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPatternAs(int patternId, REFIID riid, void** pattern) = 0;
    SC_UIA_SLOT(12);
    SC_UIA_SLOT(13);
    SC_UIA_SLOT(14);
    SC_UIA_SLOT(15);
    SC_UIA_SLOT(16);
    SC_UIA_SLOT(17);
    virtual HRESULT STDMETHODCALLTYPE get_CurrentControlType(int* controlType) = 0;
    SC_UIA_SLOT(19);
    SC_UIA_SLOT(20);
    SC_UIA_SLOT(21);
    SC_UIA_SLOT(22);
    SC_UIA_SLOT(23);
    SC_UIA_SLOT(24);
    SC_UIA_SLOT(25);
    virtual HRESULT STDMETHODCALLTYPE get_CurrentAutomationId(BSTR* id) = 0;
    SC_UIA_SLOT(27);
    SC_UIA_SLOT(28);
    SC_UIA_SLOT(29);
    SC_UIA_SLOT(30);
    SC_UIA_SLOT(31);
    SC_UIA_SLOT(32);
    virtual HRESULT STDMETHODCALLTYPE get_CurrentNativeWindowHandle(void** window) = 0;
};

struct IEventHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE HandleAutomationEvent(IElement* sender, int eventId) = 0;
};

struct IAutomation : IUnknown {
    SC_UIA_SLOT(0);
    SC_UIA_SLOT(1);
    virtual HRESULT STDMETHODCALLTYPE GetRootElement(IElement** root) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(void* window, IElement** element) = 0;
    SC_UIA_SLOT(4);
    SC_UIA_SLOT(5);
    SC_UIA_SLOT(6);
    SC_UIA_SLOT(7);
    SC_UIA_SLOT(8);
    SC_UIA_SLOT(9);
    SC_UIA_SLOT(10);
    SC_UIA_SLOT(11);
    SC_UIA_SLOT(12);
    SC_UIA_SLOT(13);
    SC_UIA_SLOT(14);
    SC_UIA_SLOT(15);
    SC_UIA_SLOT(16);
    SC_UIA_SLOT(17);
    SC_UIA_SLOT(18);
    SC_UIA_SLOT(19);
    SC_UIA_SLOT(20);
    SC_UIA_SLOT(21);
    SC_UIA_SLOT(22);
    SC_UIA_SLOT(23);
    SC_UIA_SLOT(24);
    SC_UIA_SLOT(25);
    SC_UIA_SLOT(26);
    SC_UIA_SLOT(27);
    SC_UIA_SLOT(28);
    virtual HRESULT STDMETHODCALLTYPE AddAutomationEventHandler(int eventId, IElement* element, int scope,
                                                                IUnknown* cacheRequest,
                                                                IEventHandler* handler) = 0;
    SC_UIA_SLOT(30);
    SC_UIA_SLOT(31);
    SC_UIA_SLOT(32);
    SC_UIA_SLOT(33);
    SC_UIA_SLOT(34);
    SC_UIA_SLOT(35);
    SC_UIA_SLOT(36);
    SC_UIA_SLOT(37);
    virtual HRESULT STDMETHODCALLTYPE RemoveAllEventHandlers() = 0;
};

struct IWindowPattern : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
};

#undef SC_UIA_SLOT

// The watch's event handler: our one class with a base. It reports each sender's automation id and
// window to the sink; a failed read reports no match.
class EventHandler final : public IEventHandler {
  public:
    explicit EventHandler(automation::EventSink sink) : sink_(std::move(sink)) {}
    EventHandler(const EventHandler&) = delete;
    EventHandler& operator=(const EventHandler&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE HandleAutomationEvent(IElement* sender, int eventId) override;

  private:
    ~EventHandler() = default;
    std::atomic<ULONG> refCount_{1};
    const automation::EventSink sink_;
};

} // namespace platform::win32::uia
